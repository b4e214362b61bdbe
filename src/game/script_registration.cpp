#include "game/script_registration.h"

#include <optional>

#include "support/platform.h"
#include "support/tools.h"

namespace game {
namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kTextsBanner[] = "// Created by Vehiforge";
constexpr char kIconsBanner[] = "// --- Created by Vehiforge. Do not modyfy. ---";

// !include("path"), the path's separators written as double backslashes.
std::string IncludeLine(const std::string& includePath) { return "!include(\"" + includePath + "\")"; }

// A whole line of the file, not a substring: the same text inside a
// comment must not stop the registration.
bool HoldsLine(const std::string& path, const std::string& line) {
  return HasWholeLine(modTools::ReadTextFile(path), line);
}

using Fault = std::optional<ScriptFault>;

Fault ResetAttributes(const std::string& path) {
  if (platform::SetFileAttributes(path, platform::kAttrNormal)) return std::nullopt;
  int16_t number = platform::LastError().Number;
  bool missing = number == platform::kErrFileNotFound || number == platform::kErrPathNotFound;
  return missing ? ScriptFault::Missing : ScriptFault::CannotOpen;
}

// Flushed before the profile file lists the car: after a power loss the
// list never names a car whose lines were lost.
Fault AppendBytes(const std::string& path, const std::string& bytes) {
  platform::File file;
  if (!file.Open(path, platform::OpenMode::Append)) return Because(ScriptFault::CannotOpen);
  bool written = file.WriteAll(bytes.data(), bytes.size()) && file.Flush();
  if (!file.Close() || !written) return ScriptFault::WriteFailed;
  return std::nullopt;
}

// True when the file's last byte ends a line; an empty, missing or
// unreadable file needs no line end in front of what is appended.
bool EndsOpenLine(const std::string& path) {
  platform::File file;
  if (!file.Open(path, platform::OpenMode::Read)) return false;
  int64_t size = file.Size();
  char last = '\n';
  if (size <= 0 || !file.Seek(size - 1) || !file.ReadExact(&last, 1)) return false;
  return last != '\n' && last != '\r';
}

// One line per registered car. A hand-edited script may lack the final
// line end; the include line must not be joined to its last line.
Fault AppendSharedLine(const std::string& path, const std::string& line) {
  std::string bytes = EndsOpenLine(path) ? kLineEnd : "";
  bytes += line + kLineEnd + kLineEnd;
  return AppendBytes(path, bytes);
}

// The leading empty line ends a last line that has no line end.
Fault AppendTopLevelLine(const std::string& path, const std::string& banner, const std::string& line) {
  return AppendBytes(path, std::string(kLineEnd) + banner + kLineEnd + line + kLineEnd + kLineEnd);
}

// Ends an operation at the step that failed.
bool Fail(ProgressSink& sink, const std::string& shownName, ScriptFault fault) {
  sink.ScriptFailed(shownName, fault);
  return false;
}

bool Report(ProgressSink& sink, const std::string& shownName) {
  sink.AddProgress(1);
  sink.SetCreatingFile(shownName);
  return true;
}

// A change to a game file, then the same change to Windows' copy of it
// when it keeps one, which the game reads instead. change(path, changed)
// returns its fault and sets changed when it wrote.
template <typename Change>
bool ChangeWithCopy(const std::string& path, const std::string& shownName, const std::string& line,
                    ProgressSink& sink, Change change) {
  bool changed = false;
  if (Fault fault = change(path, changed)) return Fail(sink, shownName, *fault);
  sink.ScriptLine(shownName, line, changed);
  std::string copy = StoreCopyOf(path);
  if (copy.empty()) return true;
  changed = false;
  Fault fault = CopyFault(copy);
  if (!fault) fault = change(copy, changed);
  if (fault) return Fail(sink, copy, *fault);
  if (changed) sink.CopyUpdated(copy);
  return true;
}

// Cars and parts: the shared scripts belong to the game and must exist; the
// attribute reset fails for a missing one before anything is created. The
// texts and icons scripts get no reset: a read-only one fails the append, a
// missing one is created by it. One that holds the line is left alone,
// attributes included.
bool RegisterInSharedScript(const std::string& gameFolder, const SharedScript& script,
                            const std::string& carId, bool resetFirst, ProgressSink& sink) {
  std::string line = CarIncludeLine(carId, script);
  auto addLine = [&](const std::string& path, bool& changed) -> Fault {
    if (HoldsLine(path, line)) return std::nullopt;
    Fault fault = resetFirst ? ResetAttributes(path) : std::nullopt;
    if (!fault) fault = AppendSharedLine(path, line);
    changed = !fault;
    return fault;
  };
  return ChangeWithCopy(gameFolder + script.Path, script.ShownName, line, sink, addLine) &&
         Report(sink, script.ShownName);
}

}  // namespace

std::string CarIncludeLine(const std::string& carId, const SharedScript& script) {
  return IncludeLine(carId + "\\\\" + script.CarScript);
}

TextLine LineAt(const std::string& text, size_t start) {
  size_t end = text.find('\n', start);
  if (end == std::string::npos) return {start, text.size(), text.size() + 1};
  size_t next = end + 1;
  if (end > start && text[end - 1] == '\r') --end;
  return {start, end, next};
}

bool HasWholeLine(const std::string& text, const std::string& line) {
  for (size_t start = 0; start <= text.size();) {
    TextLine current = LineAt(text, start);
    if (text.compare(current.Start, current.End - current.Start, line) == 0) return true;
    start = current.Next;
  }
  return false;
}

// The cars script is opened under its lower-case name; the game folder's
// own spelling is found whatever its case.
bool UpdateGVCarsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink) {
  return RegisterInSharedScript(gameFolder, kSharedScripts[0], carId, true, sink);
}

bool UpdateGVPartsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink) {
  return RegisterInSharedScript(gameFolder, kSharedScripts[1], carId, true, sink);
}

bool UpdateGVTextsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink) {
  const std::string topName = "Data\\Texts.scr";
  std::string topLine = IncludeLine("Cars\\\\Texts.scr");
  // Reset on every call, whether or not the line is then written.
  auto addTopLine = [&](const std::string& path, bool& changed) {
    Fault fault = ResetAttributes(path);
    if (fault || modTools::FileContains(path, topLine)) return fault;
    fault = AppendTopLevelLine(path, kTextsBanner, topLine);
    changed = !fault;
    return fault;
  };
  return ChangeWithCopy(gameFolder + topName, topName, topLine, sink, addTopLine) &&
         RegisterInSharedScript(gameFolder, kSharedScripts[2], carId, false, sink);
}

bool UpdateGVIconsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink) {
  const std::string topName = "Data\\Menu\\uidef\\Textures.def";
  std::string topLine = IncludeLine("..\\\\..\\\\Cars\\\\Icons.scr");
  // A file that has the line already is not touched at all, attributes
  // included; a missing one reads as empty and then fails the reset.
  auto addTopLine = [&](const std::string& path, bool& changed) {
    if (modTools::FileContains(path, topLine)) return Fault();
    Fault fault = ResetAttributes(path);
    if (!fault) fault = AppendTopLevelLine(path, kIconsBanner, topLine);
    changed = !fault;
    return fault;
  };
  return ChangeWithCopy(gameFolder + topName, topName, topLine, sink, addTopLine) &&
         RegisterInSharedScript(gameFolder, kSharedScripts[3], carId, false, sink);
}

}  // namespace game
