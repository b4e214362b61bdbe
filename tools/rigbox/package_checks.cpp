#include "package_checks.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <tuple>
#include <unordered_map>

#include "cli.h"
#include "game/car_id.h"
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

bool IsCarScript(const std::string& name) {
  return std::any_of(
      std::begin(game::kSharedScripts), std::end(game::kSharedScripts),
      [&](const game::SharedScript& script) { return MatchKey(name) == MatchKey(script.CarScript); });
}

}  // namespace

std::vector<NameClash> FindNameClashes(const std::vector<std::string>& paths) {
  struct Seen {
    size_t Index;
    std::string Part;
    bool Whole;
  };
  std::unordered_map<std::string, Seen> seen;  // by MatchKey of each leading part
  std::vector<NameClash> clashes;
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    for (size_t end = 1; end <= path.size(); ++end) {
      if (end < path.size() && !IsSlash(path[end])) continue;
      std::string part = path.substr(0, end);
      bool whole = end == path.size();
      auto [found, added] = seen.try_emplace(MatchKey(part), Seen{i, part, whole});
      const Seen& first = found->second;
      if (added || (Spelling(first.Part) == Spelling(part) && !first.Whole && !whole)) continue;
      // A part added earlier on this path would make any deeper part new.
      clashes.push_back(NameClash{first.Index, i, first.Part, part, first.Whole, whole});
      break;
    }
  }
  return clashes;
}

std::optional<NameClash> FindNameClash(const std::vector<std::string>& paths) {
  std::vector<NameClash> clashes = FindNameClashes(paths);
  if (clashes.empty()) return std::nullopt;
  return clashes.front();
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

std::string CarIdProblem(const std::string& id) {
  constexpr size_t kLength = std::tuple_size_v<decltype(modRIGBOX::RigboxHeader::CarID)>;
  if (id.size() != kLength) {
    return std::string(id.size() < kLength ? "is too short" : "is too long") + ": a car ID has exactly " +
           std::to_string(kLength) + " characters";
  }
  for (char c : id) {
    // The installer's rule is the one rule: a character is valid where an
    // ID made of it alone is.
    if (game::CheckCarID(std::string(kLength, c), {}) == game::kCarIdInvalid) {
      return "holds " + Quoted(modRIGBOX::PrintableName(std::string(1, c))) +
             ", not a valid character: a car ID takes A to Y (no Z), 0 to 9 and _";
    }
  }
  if (game::CheckCarID(id, {}) == game::kCarIdReserved) {
    return "is reserved: one of the game's own cars has it";
  }
  return "";
}

void WarnOfCarIdCase(const std::string& id) {
  std::string upper(id);
  for (char& c : upper) c = support::AsciiUpper(c);
  if (upper == id) return;
  std::string warning =
      "car ID " + Quoted(id) + ": Windows and the game take its folder for that of " + Quoted(upper);
  if (game::CheckCarID(upper, {}) == game::kCarIdReserved) warning += ", one of the game's own cars";
  Warn(warning);
}

bool IsJunkFile(const std::string& name) {
  std::string key = MatchKey(name);
  return key == "thumbs.db" || key == "desktop.ini" || key == ".ds_store" || key.rfind("._", 0) == 0;
}

bool IsJunkFolder(const std::string& name) {
  std::string key = MatchKey(name);
  return key == ".git" || key == ".svn" || key == ".hg";
}

std::string NestedCarFolder(const std::vector<std::string>& paths) {
  std::set<std::string> holders;  // "" for the packed folder itself
  for (const std::string& path : paths) {
    size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) {
      if (IsCarScript(path)) holders.insert("");
    } else if (IsCarScript(path.substr(slash + 1))) {
      holders.insert(path.substr(0, slash));
    }
  }
  return holders.size() == 1 ? *holders.begin() : "";
}

std::vector<std::string> MissingCarScripts(const std::vector<std::string>& topLevelNames) {
  std::vector<std::string> missing;
  for (const game::SharedScript& script : game::kSharedScripts) {
    bool found = std::any_of(topLevelNames.begin(), topLevelNames.end(), [&](const std::string& name) {
      return MatchKey(name) == MatchKey(script.CarScript);
    });
    if (!found) missing.emplace_back(script.CarScript);
  }
  return missing;
}

std::vector<std::string> TopLevelNames(const std::vector<modRIGBOX::RigboxEntry>& entries) {
  std::vector<std::string> names;
  for (const modRIGBOX::RigboxEntry& entry : entries) {
    if (modRIGBOX::FolderWithoutTrailingSeparator(modRIGBOX::EntrySubFolder(entry)).empty()) {
      names.push_back(modRIGBOX::EntryFileName(entry));
    }
  }
  return names;
}

void WarnOfMissingCarScripts(const std::string& package, const std::vector<std::string>& topLevelNames) {
  for (const std::string& script : MissingCarScripts(topLevelNames)) {
    Warn(Quoted(package) + " lacks " + script + ", which the installer registers with the game");
  }
}

Result<std::vector<modRIGBOX::RigboxEntry>> VerifyOpenPackage(const std::string& path) {
  std::vector<modRIGBOX::RigboxEntry> entries;
  // Damage first: it explains any other fault the changed bytes make.
  if (!modRIGBOX::CheckPackageIntegrity(nullptr, nullptr) || !modRIGBOX::VerifyPackage(entries))
    return PackageError(path);
  std::string id = modRIGBOX::GetPackageCarID();
  if (std::string problem = CarIdProblem(id); !problem.empty()) {
    return Error(Quoted(path) + ": car ID " + Quoted(modRIGBOX::PrintableName(id)) + " " + problem);
  }
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
