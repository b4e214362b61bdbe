#include "game/car_removal.h"

#include <algorithm>
#include <string_view>

#include "game/game_files.h"
#include "game/install_record.h"
#include "support/ascii_case.h"
#include "support/platform.h"
#include "support/tools.h"

namespace game {
namespace {

// Beside each script it replaces, so each rewrite is a rename on one disk.
constexpr char kTempName[] = "rigbox-remove.tmp";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The line's content without the blanks around it.
std::string_view Trimmed(const std::string& text, TextLine line) {
  size_t start = line.Start;
  size_t end = line.End;
  while (start < end && IsBlank(text[start])) ++start;
  while (end > start && IsBlank(text[end - 1])) --end;
  return std::string_view(text.data() + start, end - start);
}

// A package name as the installer matches it on disk: without letter case,
// one kind of separator.
std::string Key(std::string path) {
  for (char& c : path) {
    c = support::AsciiLower(c);
    if (c == '/') c = '\\';
  }
  return path;
}

// The folder's files and folders as they lie on disk, links not followed.
bool Walk(const std::string& base, const std::string& shownBase, const std::string& relative,
          std::vector<std::string>& paths, CarFiles& files, std::vector<FileFault>& faults) {
  std::vector<platform::FolderEntry> entries;
  if (!platform::ListFolder(base + relative, entries)) {
    faults.push_back({shownBase + relative, Because(ScriptFault::CannotList)});
    return false;
  }
  for (const platform::FolderEntry& entry : entries) {
    std::string path = relative + entry.Name;
    if (!entry.IsFolder) {
      paths.push_back(path);
      continue;
    }
    files.Folders.push_back(path + '\\');
    if (!Walk(base, shownBase, path + '\\', paths, files, faults)) return false;
  }
  return true;
}

// Without a record, the file each package name was written to: the name
// as it stands when it exists, else the one that matches it in another
// letter case, as the install found it.
std::vector<std::string> WrittenByPackage(const std::vector<std::string>& paths,
                                          const std::vector<std::string>& entryPaths) {
  std::vector<std::string> written;
  for (const std::string& entryPath : entryPaths) {
    std::string key = Key(entryPath);
    const std::string* match = nullptr;
    for (const std::string& path : paths) {
      if (Key(path) != key) continue;
      if (match == nullptr || path == entryPath) match = &path;
    }
    if (match != nullptr) written.push_back(*match);
  }
  return written;
}

}  // namespace

std::string WithoutLine(const std::string& text, const std::string& line) {
  std::string result;
  size_t start = 0;
  while (start < text.size()) {
    TextLine current = LineAt(text, start);
    size_t next = std::min(current.Next, text.size());
    if (!support::EqualsIgnoringCase(Trimmed(text, current), line)) {
      result.append(text, start, next - start);
    } else if (next < text.size() && LineAt(text, next).End == next) {
      next = LineAt(text, next).Next;  // the empty line written after it
    }
    start = next;
  }
  return result;
}

namespace {

// Whether WithoutLine would take something out.
bool HoldsLine(const std::string& text, const std::string& line) {
  return WithoutLine(text, line).size() != text.size();
}

// A script that cannot be read may hold the line.
bool MayHoldLine(const std::string& path, const std::string& line) {
  std::string text;
  return !modTools::ReadExistingFile(path, text) || HoldsLine(text, line);
}

}  // namespace

bool HasCarLines(const std::string& gameFolder, const std::string& carId) {
  return std::any_of(std::begin(kSharedScripts), std::end(kSharedScripts), [&](const SharedScript& script) {
    std::string line = CarIncludeLine(carId, script);
    std::string path = gameFolder + script.Path;
    std::string copy = StoreCopyOf(path);
    return MayHoldLine(path, line) || (!copy.empty() && MayHoldLine(copy, line));
  });
}

namespace {

// A mod manager keeps a script as a link into its own store, from which it
// deploys it again: the store's file must lose the line, not the link.
std::string FileBehind(const std::string& path) {
  std::string target = platform::LinkedFile(path);
  return target.empty() ? path : target;
}

// False when the file cannot be read, or held the line and could not be
// rewritten without it; rewritten tells whether it was.
bool RemoveLine(const std::string& path, const std::string& shownName, const std::string& line,
                std::vector<FileFault>& faults, bool& rewritten) {
  std::string text;
  std::optional<ScriptFault> fault;
  if (!modTools::ReadExistingFile(path, text)) {
    fault = Because(ScriptFault::CannotRead);
  } else if (HoldsLine(text, line)) {
    std::string target = FileBehind(path);
    std::string tempPath = target.substr(0, target.find_last_of("\\/") + 1) + kTempName;
    fault = ReplaceWholeFile(target, tempPath, WithoutLine(text, line));
    rewritten = !fault;
  }
  if (fault) faults.push_back({shownName, *fault});
  return !fault;
}

// Whether line starts with "!include(", the ID and a backslash once its
// blanks and quotes are skipped, a slash counting as a backslash and
// letters compared without case.
bool IncludesUnder(std::string_view line, const std::string& carId) {
  constexpr std::string_view kHead = "!include(";
  const size_t size = kHead.size() + carId.size() + 1;
  size_t at = 0;  // in the wanted text, which is never built
  for (char c : line) {
    if (at == size) break;
    if (IsBlank(c) || c == '"') continue;
    char wanted = at < kHead.size() ? kHead[at] : at < size - 1 ? carId[at - kHead.size()] : '\\';
    if (support::AsciiLower(c == '/' ? '\\' : c) != support::AsciiLower(wanted)) return false;
    ++at;
  }
  return at == size;
}

// found gets shownName, ": " and the first such line as it stands.
bool FindIn(const std::string& path, std::string_view shownName, const std::string& carId,
            std::string& found) {
  std::string text = modTools::ReadTextFile(path);
  for (size_t start = 0; start < text.size();) {
    TextLine line = LineAt(text, start);
    std::string_view content(text.data() + start, line.End - start);
    if (IncludesUnder(content, carId)) {
      found = shownName;
      found += ": ";
      found += content;
      return true;
    }
    start = line.Next;
  }
  return false;
}

}  // namespace

void RemoveCarLines(const std::string& gameFolder, const std::string& carId, std::vector<FileFault>& faults,
                    std::vector<std::string>& copiesUpdated, std::vector<std::string>* rewritten) {
  for (const SharedScript& script : kSharedScripts) {
    std::string path = gameFolder + script.Path;
    std::string line = CarIncludeLine(carId, script);
    bool changed = false;
    if (!RemoveLine(path, script.ShownName, line, faults, changed)) continue;
    if (changed && rewritten != nullptr) rewritten->push_back(script.ShownName);
    // Windows' copy, which the game reads instead, loses the line too.
    std::string copy = StoreCopyOf(path);
    changed = false;
    if (copy.empty()) continue;
    if (std::optional<ScriptFault> fault = CopyFault(copy)) {
      faults.push_back({copy, *fault});
    } else if (RemoveLine(copy, copy, line, faults, changed) && changed) {
      copiesUpdated.push_back(copy);
      if (rewritten != nullptr) rewritten->push_back(copy);
    }
  }
}

std::string FindCarInclude(const std::string& gameFolder, const std::string& carId) {
  std::string found;
  for (const SharedScript& script : kSharedScripts) {
    std::string path = gameFolder + script.Path;
    std::string copy = StoreCopyOf(path);  // without one this reads no text
    if (FindIn(path, script.ShownName, carId, found) || FindIn(copy, copy, carId, found)) break;
  }
  return found;
}

bool FindCarFiles(const std::string& carFolder, const std::string& shownPrefix,
                  const std::vector<std::string>& entryPaths, CarFiles& files,
                  std::vector<FileFault>& faults) {
  files = CarFiles{};
  if (!platform::FolderExists(carFolder)) return true;
  InstallRecord record;
  RecordState state = ReadRecord(carFolder, record);
  if (state == RecordState::Broken) {
    faults.push_back({shownPrefix + kRecordName, Because(ScriptFault::CannotRead)});
    return false;
  }
  files.Recorded = state == RecordState::Read;
  std::vector<std::string> paths;
  if (!Walk(carFolder, shownPrefix, "", paths, files, faults)) return false;
  std::vector<std::string> written;
  if (!files.Recorded) written = WrittenByPackage(paths, entryPaths);
  for (const std::string& path : paths) {
    std::vector<std::string>* list = &files.Foreign;
    if (files.Recorded) {
      if (path == kRecordName) continue;
      if (const RecordedFile* recorded = record.Find(path))
        list = IsUnchanged(carFolder + path, *recorded) ? &files.Remove : &files.Changed;
    } else if (std::find(written.begin(), written.end(), path) != written.end()) {
      list = &files.Remove;
    }
    list->push_back(path);
  }
  return true;
}

void RemoveCarFiles(const std::string& carFolder, const std::string& shownPrefix, const CarFiles& files,
                    std::vector<FileFault>& faults) {
  for (const std::string& path : files.Remove) {
    if (!platform::ClearName(carFolder + path))
      faults.push_back({shownPrefix + path, Because(ScriptFault::CannotDelete)});
  }
  // The record goes last: a run cut off before it still knows the car.
  if (!faults.empty() || (files.Recorded && !platform::ClearName(carFolder + kRecordName))) return;
  // Deepest first; a folder that still holds something stays.
  for (auto folder = files.Folders.rbegin(); folder != files.Folders.rend(); ++folder)
    platform::RemoveFolder(carFolder + *folder);
  platform::RemoveFolder(carFolder);
}

std::string CarFolderSpelling(const std::string& gameFolder, const std::string& carId) {
  std::string cars = gameFolder + "Data\\Cars\\", found;
  std::vector<platform::FolderEntry> entries;
  platform::ListFolder(cars, entries);
  for (const platform::FolderEntry& entry : entries) {
    // A link to a folder counts: the game goes through it.
    if (!support::EqualsIgnoringCase(entry.Name, carId) || !platform::FolderExists(cars + entry.Name))
      continue;
    if (found.empty() || entry.Name == carId) found = entry.Name;
  }
  return found;
}

}  // namespace game
