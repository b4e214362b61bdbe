#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <set>

#include "support/platform.h"
#include "support/tools.h"
#include "wizard/wine_prefixes.h"
#include "wizard/wine_registry.h"

namespace modRegistry {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// The canonical form of an existing path, "" when it does not exist.
std::string Canonical(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return std::string();
  return resolved;
}

bool IsFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> SortedSubfolders(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    std::string name(entry->d_name);
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// Adds candidate when it holds a registry and is not in the list yet under
// another name (~/.steam/steam usually links to ~/.local/share/Steam).
void AddPrefix(const std::string& candidate, std::set<std::string>& seen,
               std::vector<std::string>& prefixes) {
  if (!IsFile(Join(candidate, "system.reg"))) return;
  if (seen.insert(Canonical(candidate)).second) prefixes.push_back(candidate);
}

void AddProtonPrefixes(const std::string& library, std::set<std::string>& seenLibraries,
                       std::set<std::string>& seen, std::vector<std::string>& prefixes) {
  std::string canonical = Canonical(library);
  if (canonical.empty() || !seenLibraries.insert(canonical).second) return;
  std::string compatdata = Join(library, "steamapps/compatdata");
  for (const std::string& app : SortedSubfolders(compatdata)) {
    AddPrefix(Join(Join(compatdata, app), "pfx"), seen, prefixes);
  }
}

bool IsPathKey(const std::string& key) {
  return key.size() == 4 && (key[0] | 0x20) == 'p' && (key[1] | 0x20) == 'a' && (key[2] | 0x20) == 't' &&
         (key[3] | 0x20) == 'h';
}

}  // namespace

std::vector<std::string> SteamLibraryPaths(std::string_view vdfText) {
  std::vector<std::string> paths;
  size_t pos = 0;
  auto skipBlanks = [&] {
    while (pos < vdfText.size() && (vdfText[pos] == ' ' || vdfText[pos] == '\t' || vdfText[pos] == '\r' ||
                                    vdfText[pos] == '\n' || vdfText[pos] == '{' || vdfText[pos] == '}')) {
      ++pos;
    }
  };
  auto quoted = [&](std::string& out) {
    out.clear();
    if (pos >= vdfText.size() || vdfText[pos] != '"') return false;
    for (++pos; pos < vdfText.size() && vdfText[pos] != '"'; ++pos) {
      if (vdfText[pos] == '\\' && pos + 1 < vdfText.size()) ++pos;
      out += vdfText[pos];
    }
    ++pos;
    return true;
  };
  std::string key;
  std::string value;
  while (true) {
    skipBlanks();
    if (!quoted(key)) break;
    while (pos < vdfText.size() && (vdfText[pos] == ' ' || vdfText[pos] == '\t')) ++pos;
    if (pos < vdfText.size() && vdfText[pos] == '"') {
      quoted(value);
      // Current files name the folder "path"; older ones list it under a
      // number ("1" "/mnt/games/SteamLibrary").
      const bool numbered = !key.empty() && key.find_first_not_of("0123456789") == std::string::npos;
      if (IsPathKey(key) || (numbered && !value.empty() && value[0] == '/')) paths.push_back(value);
    }
  }
  return paths;
}

std::vector<std::string> DiscoverWinePrefixes() {
  std::vector<std::string> prefixes;
  std::set<std::string> seen;
  std::string wineprefix = platform::GetEnv("WINEPREFIX");
  if (!wineprefix.empty()) {
    AddPrefix(wineprefix, seen, prefixes);
    return prefixes;
  }
  std::string home = platform::GetEnv("HOME");
  if (home.empty()) return prefixes;
  AddPrefix(Join(home, ".wine"), seen, prefixes);

  std::set<std::string> seenLibraries;
  for (const char* steam : {".steam/steam", ".local/share/Steam"}) {
    std::string root = Join(home, steam);
    AddProtonPrefixes(root, seenLibraries, seen, prefixes);
    std::string vdf = modTools::ReadTextFile(Join(root, "steamapps/libraryfolders.vdf"));
    for (const std::string& library : SteamLibraryPaths(vdf)) {
      AddProtonPrefixes(library, seenLibraries, seen, prefixes);
    }
  }
  return prefixes;
}

std::string DosDriveRoot(const std::string& prefix, char driveLetter) {
  std::string link = Join(prefix, std::string("dosdevices/") + driveLetter + ":");
  struct stat st;
  if (lstat(link.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return std::string();
  return Canonical(link);
}

}  // namespace modRegistry
