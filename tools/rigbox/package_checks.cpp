#include "package_checks.h"

#include <algorithm>
#include <unordered_map>

#include "cli.h"
#include "game/script_registration.h"
#include "package/rigbox.h"
#include "package/safe_names.h"
#include "support/ascii_case.h"

namespace rigbox_tool {
namespace {

bool IsSlash(char c) { return c == '/' || c == '\\'; }

// A path as the installer's name matching sees it: one separator, no case.
std::string MatchKey(const std::string& path) {
  std::string key(path);
  for (char& c : key) c = IsSlash(c) ? '/' : support::AsciiLower(c);
  return key;
}

std::string Spelling(const std::string& path) {
  std::string spelling(path);
  std::replace_if(spelling.begin(), spelling.end(), IsSlash, '/');
  return spelling;
}

}  // namespace

std::optional<NameClash> FindNameClash(const std::vector<std::string>& paths) {
  struct Seen {
    size_t Index;
    std::string Part;
    bool Whole;
  };
  std::unordered_map<std::string, Seen> seen;  // by MatchKey of each leading part
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    for (size_t end = 1; end <= path.size(); ++end) {
      if (end < path.size() && !IsSlash(path[end])) continue;
      std::string part = path.substr(0, end);
      bool whole = end == path.size();
      auto [found, added] = seen.try_emplace(MatchKey(part), Seen{i, part, whole});
      const Seen& first = found->second;
      if (added || (Spelling(first.Part) == Spelling(part) && !first.Whole && !whole)) continue;
      return NameClash{first.Index, i, first.Part, part, first.Whole, whole};
    }
  }
  return std::nullopt;
}

std::string ClashReason(const NameClash& clash) {
  const char* oneName = " differ only in letter case, one name to the installer";
  if (Spelling(clash.FirstPart) != Spelling(clash.SecondPart)) {
    if (clash.FirstWhole && clash.SecondWhole) return std::string("their names") + oneName;
    return Quoted(clash.FirstPart) + " and " + Quoted(clash.SecondPart) + oneName;
  }
  if (clash.FirstWhole && clash.SecondWhole) return "they have the same name";
  return Quoted(clash.FirstWhole ? clash.FirstPart : clash.SecondPart) + " names both a file and a folder";
}

void WarnOfMissingCarScripts(const std::string& package, const std::vector<std::string>& topLevelNames) {
  for (const game::SharedScript& script : game::kSharedScripts) {
    bool found = std::any_of(topLevelNames.begin(), topLevelNames.end(), [&](const std::string& name) {
      return MatchKey(name) == MatchKey(script.CarScript);
    });
    if (!found) {
      Warn(Quoted(package) + " lacks " + script.CarScript + ", which the installer registers with the game");
    }
  }
}

Result<std::vector<modRIGBOX::RigboxEntry>> VerifyOpenPackage(const std::string& path) {
  std::vector<modRIGBOX::RigboxEntry> entries;
  if (!modRIGBOX::VerifyPackage(entries)) return PackageError(path);
  // The names are plain ASCII by now, so ASCII case is all the case there is.
  std::vector<std::string> paths;
  for (const modRIGBOX::RigboxEntry& entry : entries) {
    std::string folder(modRIGBOX::FolderWithoutTrailingSeparator(modRIGBOX::EntrySubFolder(entry)));
    paths.push_back((folder.empty() ? "" : folder + "\\") + modRIGBOX::EntryFileName(entry));
  }
  if (std::optional<NameClash> clash = FindNameClash(paths)) {
    auto label = [&](size_t index) { return std::to_string(index + 1) + " (" + Quoted(paths[index]) + ")"; };
    return Error(Quoted(path) + ": Entry " + label(clash->First) + " and entry " + label(clash->Second) +
                 ": " + ClashReason(*clash));
  }
  return entries;
}

}  // namespace rigbox_tool
