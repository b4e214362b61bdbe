#include "game/car_removal.h"

#include <algorithm>

#include "game/game_files.h"
#include "support/ascii_case.h"
#include "support/platform.h"
#include "support/tools.h"

namespace game {
namespace {

// Beside each script it replaces, so each rewrite is a rename on one disk.
constexpr char kTempName[] = "rigbox-remove.tmp";

// A name as the installer matches it on disk: without letter case, one
// kind of separator.
std::string Key(std::string path) {
  for (char& c : path) {
    c = support::AsciiLower(c);
    if (c == '/') c = '\\';
  }
  return path;
}

// The car's folder as it lies on disk, links not followed.
struct CarTree {
  std::vector<std::string> Files;    // paths inside the folder
  std::vector<std::string> Folders;  // each before the folders inside it
};

void Walk(const std::string& base, const std::string& relative, CarTree& tree) {
  std::vector<platform::FolderEntry> entries;
  if (!platform::ListFolder(base + relative, entries)) return;
  for (const platform::FolderEntry& entry : entries) {
    std::string path = relative + entry.Name;
    if (entry.IsFolder) {
      tree.Folders.push_back(path + '\\');
      Walk(base, path + '\\', tree);
    } else {
      tree.Files.push_back(path);
    }
  }
}

// A read-only file refuses deletion on Windows.
bool Delete(const std::string& path) {
  if (platform::DeleteFile(path)) return true;
  return platform::IsReadOnly(path) && platform::SetFileAttributes(path, platform::kAttrNormal) &&
         platform::DeleteFile(path);
}

}  // namespace

std::string WithoutLine(const std::string& text, const std::string& line) {
  std::string result;
  size_t start = 0;
  while (start < text.size()) {
    TextLine current = LineAt(text, start);
    size_t next = std::min(current.Next, text.size());
    if (text.compare(current.Start, current.End - current.Start, line) != 0) {
      result.append(text, start, next - start);
    } else if (next < text.size() && LineAt(text, next).End == next) {
      next = LineAt(text, next).Next;  // the empty line written after it
    }
    start = next;
  }
  return result;
}

bool HasCarLines(const std::string& gameFolder, const std::string& carId) {
  return std::any_of(std::begin(kSharedScripts), std::end(kSharedScripts), [&](const SharedScript& script) {
    std::string line = CarIncludeLine(carId, script);
    std::string path = gameFolder + script.Path;
    std::string copy = StoreCopyOf(path);
    return HasWholeLine(modTools::ReadTextFile(path), line) ||
           (!copy.empty() && HasWholeLine(modTools::ReadTextFile(copy), line));
  });
}

namespace {

// False when the file held the line and could not be rewritten without it.
bool RemoveLine(const std::string& path, const std::string& shownName, const std::string& line,
                std::vector<FileFault>& faults) {
  std::string text = modTools::ReadTextFile(path);
  if (!HasWholeLine(text, line)) return true;
  std::string tempPath = path.substr(0, path.find_last_of("\\/") + 1) + kTempName;
  std::optional<ScriptFault> fault = ReplaceWholeFile(path, tempPath, WithoutLine(text, line));
  if (fault) faults.push_back({shownName, *fault});
  return !fault;
}

}  // namespace

void RemoveCarLines(const std::string& gameFolder, const std::string& carId, std::vector<FileFault>& faults,
                    std::vector<std::string>& copiesUpdated) {
  for (const SharedScript& script : kSharedScripts) {
    std::string path = gameFolder + script.Path;
    std::string line = CarIncludeLine(carId, script);
    if (!RemoveLine(path, script.ShownName, line, faults)) continue;
    // Windows' copy, which the game reads instead, loses the line too.
    std::string copy = StoreCopyOf(path);
    if (copy.empty() || !HasWholeLine(modTools::ReadTextFile(copy), line)) continue;
    if (RemoveLine(copy, copy, line, faults)) copiesUpdated.push_back(copy);
  }
}

void RemoveCarFiles(const std::string& carFolder, const std::string& shownPrefix,
                    const std::vector<std::string>& entryPaths, std::vector<std::string>& kept,
                    std::vector<FileFault>& faults) {
  CarTree tree;
  Walk(carFolder, "", tree);
  std::vector<std::string> wanted;
  wanted.reserve(entryPaths.size());
  for (const std::string& entryPath : entryPaths) wanted.push_back(Key(entryPath));
  for (const std::string& path : tree.Files) {
    if (std::find(wanted.begin(), wanted.end(), Key(path)) == wanted.end()) {
      kept.push_back(shownPrefix + path);
    } else if (!Delete(carFolder + path)) {
      faults.push_back({shownPrefix + path, ScriptFault::CannotDelete});
    }
  }
  // Deepest first; a folder that still holds something stays.
  for (auto folder = tree.Folders.rbegin(); folder != tree.Folders.rend(); ++folder)
    platform::RemoveFolder(carFolder + *folder);
  platform::RemoveFolder(carFolder);
}

}  // namespace game
