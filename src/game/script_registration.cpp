#include "game/script_registration.h"

#include "support/platform.h"
#include "support/tools.h"

namespace game {
namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kTextsBanner[] = "// Created by Vehiforge";
constexpr char kIconsBanner[] = "// --- Created by Vehiforge. Do not modyfy. ---";

// !include("path"), the path's separators written as double backslashes.
std::string IncludeLine(const std::string& includePath) { return "!include(\"" + includePath + "\")"; }

bool ResetAttributes(const std::string& path) {
  return platform::SetFileAttributes(path, platform::kAttrNormal);
}

bool AppendBytes(const std::string& path, const std::string& bytes) {
  platform::File file;
  if (!file.Open(path, platform::OpenMode::Append)) return false;
  bool written = file.WriteAll(bytes.data(), bytes.size());
  return file.Close() && written;
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
bool AppendSharedLine(const std::string& path, const std::string& line) {
  std::string bytes = EndsOpenLine(path) ? kLineEnd : "";
  bytes += line + kLineEnd + kLineEnd;
  return AppendBytes(path, bytes);
}

// The leading empty line ends a last line that has no line end.
bool AppendTopLevelLine(const std::string& path, const std::string& banner, const std::string& line) {
  return AppendBytes(path, std::string(kLineEnd) + banner + kLineEnd + line + kLineEnd + kLineEnd);
}

bool Report(ProgressSink& sink, const std::string& shownName) {
  sink.AddProgress(1);
  sink.SetCreatingFile(shownName);
  return true;
}

// Cars and parts: the shared scripts belong to the game and must exist; the
// attribute reset fails for a missing one before anything is created.
bool RegisterInGameScript(const std::string& gameFolder, const std::string& relativePath,
                          const std::string& shownName, const std::string& line, ProgressSink& sink) {
  std::string path = gameFolder + relativePath;
  if (!ResetAttributes(path)) return false;
  if (!AppendSharedLine(path, line)) return false;
  return Report(sink, shownName);
}

}  // namespace

bool UpdateGVCarsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink) {
  // Opened under its lower-case name; the game folder's own spelling is
  // found whatever its case.
  return RegisterInGameScript(gameFolder, "Data\\Cars\\cars.scr", "Data\\Cars\\Cars.scr",
                              IncludeLine(carId + "\\\\Cars.scr"), sink);
}

bool UpdateGVPartsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink) {
  return RegisterInGameScript(gameFolder, "Data\\Cars\\Parts.scr", "Data\\Cars\\Parts.scr",
                              IncludeLine(carId + "\\\\Parts.scr"), sink);
}

bool UpdateGVTextsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink) {
  std::string sharedLine = IncludeLine(carId + "\\\\Texts.scr");
  std::string topLine = IncludeLine("Cars\\\\Texts.scr");
  std::string topPath = gameFolder + "Data\\Texts.scr";
  // Reset on every call, whether or not the line is then written.
  if (!ResetAttributes(topPath)) return false;
  if (!modTools::FileContains(topPath, topLine) && !AppendTopLevelLine(topPath, kTextsBanner, topLine)) {
    return false;
  }
  // No reset here: a read-only shared texts script fails the append.
  if (!AppendSharedLine(gameFolder + "Data\\Cars\\Texts.scr", sharedLine)) return false;
  return Report(sink, "Data\\Cars\\Texts.scr");
}

bool UpdateGVIconsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink) {
  std::string sharedLine = IncludeLine(carId + "\\\\Icons.scr");
  std::string topLine = IncludeLine("..\\\\..\\\\Cars\\\\Icons.scr");
  std::string topPath = gameFolder + "Data\\Menu\\uidef\\Textures.def";
  // A file that has the line already is not touched at all, attributes
  // included; a missing one reads as empty and then fails the reset.
  if (!modTools::FileContains(topPath, topLine)) {
    if (!ResetAttributes(topPath)) return false;
    if (!AppendTopLevelLine(topPath, kIconsBanner, topLine)) return false;
  }
  if (!AppendSharedLine(gameFolder + "Data\\Cars\\Icons.scr", sharedLine)) return false;
  return Report(sink, "Data\\Cars\\Icons.scr");
}

}  // namespace game
