#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <set>
#include <string_view>
#include <utility>

#include "discovery/wine_prefixes.h"
#include "discovery/wine_registry.h"
#include "support/platform.h"
#include "support/tools.h"

namespace modRegistry {
namespace {

// A launcher's own file is small; anything bigger is not one of them.
constexpr off_t kMaxLauncherFileBytes = 4 << 20;

enum class Source {
  SteamRoot,     // steamapps/compatdata/<app> and the libraries of steamapps/libraryfolders.vdf
  PrefixFolder,  // every entry is a prefix
  LutrisGames,   // *.yml naming game: prefix:
  HeroicGames,   // *.json naming winePrefix
};

// Where launchers keep prefixes, in the order they are asked. The folder is
// below the home, or below the sandbox folder that a Flatpak or Snap
// launcher takes for its home.
struct Location {
  const char* sandbox;
  Source source;
  const char* folder;
};

constexpr const char kSteamFlatpak[] = ".var/app/com.valvesoftware.Steam";
constexpr const char kSteamSnap[] = "snap/steam/common";
constexpr const char kLutrisFlatpak[] = ".var/app/net.lutris.Lutris";

constexpr Location kLocations[] = {
    {"", Source::SteamRoot, ".steam/steam"},
    {"", Source::SteamRoot, ".local/share/Steam"},
    {kSteamFlatpak, Source::SteamRoot, ".steam/steam"},
    {kSteamFlatpak, Source::SteamRoot, ".local/share/Steam"},
    {kSteamFlatpak, Source::SteamRoot, "data/Steam"},
    {kSteamSnap, Source::SteamRoot, ".steam/steam"},
    {kSteamSnap, Source::SteamRoot, ".local/share/Steam"},
    {"", Source::PrefixFolder, ".local/share/bottles/bottles"},
    {".var/app/com.usebottles.bottles", Source::PrefixFolder, "data/bottles/bottles"},
    {"", Source::LutrisGames, ".local/share/lutris/games"},
    {"", Source::LutrisGames, ".config/lutris/games"},
    {kLutrisFlatpak, Source::LutrisGames, "data/lutris/games"},
    {kLutrisFlatpak, Source::LutrisGames, "config/lutris/games"},
    {"", Source::HeroicGames, ".config/heroic/GamesConfig"},
    {"", Source::PrefixFolder, "Games/Heroic/Prefixes"},
    {"", Source::PrefixFolder, "Games/Heroic/Prefixes/default"},
    {".var/app/com.heroicgameslauncher.hgl", Source::HeroicGames, "config/heroic/GamesConfig"},
    {"", Source::PrefixFolder, ".PlayOnLinux/wineprefix"},
};

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The canonical form of an existing path, "" when it does not exist. The
// system gives up on link chains after a fixed depth, so loops end here.
std::string Canonical(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return std::string();
  return resolved;
}

// A launcher's file, "" unless it is a regular file of a sane size (a
// stray link to a device or a fifo must not hang the installer).
std::string ReadLauncherFile(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxLauncherFileBytes) {
    return std::string();
  }
  return modTools::ReadTextFile(path);
}

std::vector<std::string> SortedNames(const std::string& folder) {
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

bool IsPathKey(const std::string& key) {
  return key.size() == 4 && (key[0] | 0x20) == 'p' && (key[1] | 0x20) == 'a' && (key[2] | 0x20) == 't' &&
         (key[3] | 0x20) == 'h';
}

// Every "key" "value" pair of a .vdf file, or "key": "value" of a JSON
// file; everything else is skipped. A backslash takes the next character
// as it is (\" and \\ in both, \/ in JSON).
std::vector<std::pair<std::string, std::string>> QuotedPairs(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> pairs;
  size_t pos = 0;
  auto quoted = [&] {
    std::string out;
    for (++pos; pos < text.size() && text[pos] != '"'; ++pos) {
      if (text[pos] == '\\' && pos + 1 < text.size()) ++pos;
      out += text[pos];
    }
    ++pos;
    return out;
  };
  while (pos < text.size()) {
    if (text[pos] != '"') {
      ++pos;
      continue;
    }
    std::string key = quoted();
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == ':')) ++pos;
    if (pos < text.size() && text[pos] == '"') pairs.emplace_back(std::move(key), quoted());
  }
  return pairs;
}

size_t IndentOf(std::string_view line) {
  size_t indent = line.find_first_not_of(' ');
  return indent == std::string_view::npos ? 0 : indent;
}

std::string_view TrimmedLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  line.remove_prefix(std::min(line.size(), IndentOf(line)));
  return line;
}

// The text after "key:" when line (unindented) is that key, nullopt otherwise.
std::optional<std::string_view> AfterKey(std::string_view line, std::string_view key) {
  if (line.substr(0, key.size()) != key || line.substr(key.size(), 1) != ":") return std::nullopt;
  std::string_view rest = line.substr(key.size() + 1);
  if (!rest.empty() && rest[0] != ' ') return std::nullopt;
  return TrimmedLine(rest);
}

// A YAML scalar as written on one (folded) line: quoted or plain; ~ and
// null are no value.
std::string YamlScalar(std::string_view text) {
  std::string out;
  if (!text.empty() && (text[0] == '\'' || text[0] == '"')) {
    const char quote = text[0];
    for (size_t i = 1; i < text.size(); ++i) {
      if (quote == '\'' && text[i] == '\'') {
        if (i + 1 >= text.size() || text[i + 1] != '\'') break;
        ++i;  // '' is one quote
      } else if (quote == '"' && text[i] == '"') {
        break;
      } else if (quote == '"' && text[i] == '\\' && i + 1 < text.size()) {
        ++i;
      }
      out += text[i];
    }
    return out;
  }
  size_t comment = text.find(" #");
  out = TrimmedLine(text.substr(0, comment));
  if (out == "~" || out == "null" || out == "Null" || out == "NULL") out.clear();
  return out;
}

class Discovery {
 public:
  explicit Discovery(std::string home) : home_(std::move(home)) {
    while (home_.size() > 1 && home_.back() == '/') home_.pop_back();
  }

  // A prefix, or a folder holding one as pfx/ (Proton's layout, which
  // Steam, Heroic and Lutris use).
  void Add(const std::string& candidate) {
    for (const std::string& folder : {candidate, Join(candidate, "pfx")}) {
      struct stat st;
      if (stat(Join(folder, "system.reg").c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
      // ~/.steam/steam usually links to ~/.local/share/Steam: each prefix
      // once, told by its registry file (cheaper than resolving the path).
      if (seen_.insert({st.st_dev, st.st_ino}).second) prefixes_.push_back(folder);
      return;
    }
  }

  void Visit(const Location& location) {
    const std::string sandbox = *location.sandbox ? Join(home_, location.sandbox) : home_;
    const std::string folder = Join(sandbox, location.folder);
    if (location.source == Source::SteamRoot) {
      AddSteamLibrary(folder);
      std::string vdf = ReadLauncherFile(Join(folder, "steamapps/libraryfolders.vdf"));
      for (const std::string& library : SteamLibraryPaths(vdf)) {
        for (const std::string& path : Paths(library, sandbox)) AddSteamLibrary(path);
      }
      return;
    }
    for (const std::string& name : SortedNames(folder)) {
      const std::string path = Join(folder, name);
      std::vector<std::string> named;
      if (location.source == Source::PrefixFolder) {
        Add(path);
      } else if (location.source == Source::LutrisGames && EndsWith(name, ".yml")) {
        named.push_back(LutrisGamePrefix(ReadLauncherFile(path)));
      } else if (location.source == Source::HeroicGames && EndsWith(name, ".json")) {
        named = HeroicWinePrefixes(ReadLauncherFile(path));
      }
      for (const std::string& each : named) {
        for (const std::string& prefix : Paths(each, sandbox)) Add(prefix);
      }
    }
  }

  std::vector<std::string> Prefixes() && { return std::move(prefixes_); }

 private:
  // Where a path named in a launcher's file may be: ~ and relative paths
  // are taken from the home. A sandboxed launcher sees its sandbox folder
  // as the home, so a path below the home may be there instead.
  std::vector<std::string> Paths(const std::string& named, const std::string& sandbox) const {
    if (named.empty()) return {};
    std::string path = named;
    if (named == "~" || named.rfind("~/", 0) == 0) {
      path = home_ + named.substr(1);
    } else if (named[0] != '/') {
      path = Join(home_, named);
    }
    std::vector<std::string> paths{path};
    if (sandbox != home_ && path.rfind(home_ + "/", 0) == 0) {
      paths.push_back(sandbox + path.substr(home_.size()));
    }
    return paths;
  }

  void AddSteamLibrary(const std::string& library) {
    std::string canonical = Canonical(library);
    if (canonical.empty() || !seenLibraries_.insert(canonical).second) return;
    const std::string compatdata = Join(library, "steamapps/compatdata");
    for (const std::string& app : SortedNames(compatdata)) Add(Join(compatdata, app));
  }

  std::string home_;
  std::set<std::pair<dev_t, ino_t>> seen_;
  std::set<std::string> seenLibraries_;
  std::vector<std::string> prefixes_;
};

}  // namespace

std::vector<std::string> SteamLibraryPaths(std::string_view vdfText) {
  std::vector<std::string> paths;
  for (auto& [key, value] : QuotedPairs(vdfText)) {
    // Current files name the folder "path"; older ones list it under a
    // number ("1" "/mnt/games/SteamLibrary").
    const bool numbered = !key.empty() && key.find_first_not_of("0123456789") == std::string::npos;
    if (IsPathKey(key) || (numbered && !value.empty() && value[0] == '/')) paths.push_back(std::move(value));
  }
  return paths;
}

std::vector<std::string> HeroicWinePrefixes(std::string_view jsonText) {
  std::vector<std::string> prefixes;
  for (auto& [key, value] : QuotedPairs(jsonText)) {
    if (key == "winePrefix") prefixes.push_back(std::move(value));
  }
  return prefixes;
}

std::string LutrisGamePrefix(std::string_view yamlText) {
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < yamlText.size();) {
    size_t end = std::min(yamlText.find('\n', start), yamlText.size());
    lines.push_back(yamlText.substr(start, end - start));
    start = end + 1;
  }
  bool inGame = false;
  size_t childIndent = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = TrimmedLine(lines[i]);
    if (line.empty() || line[0] == '#') continue;
    const size_t indent = IndentOf(lines[i]);
    if (indent == 0) {
      inGame = AfterKey(line, "game").has_value();
      childIndent = 0;
      continue;
    }
    if (!inGame) continue;
    if (childIndent == 0) childIndent = indent;
    std::optional<std::string_view> value = AfterKey(line, "prefix");
    if (indent != childIndent || !value) continue;
    // A long value goes on over more deeply indented lines, folded into one.
    std::string text(*value);
    while (i + 1 < lines.size() && !TrimmedLine(lines[i + 1]).empty() && IndentOf(lines[i + 1]) > indent) {
      text += ' ';
      text += TrimmedLine(lines[++i]);
    }
    return YamlScalar(text);
  }
  return std::string();
}

std::vector<std::string> DiscoverWinePrefixes() {
  const std::string home = platform::GetEnv("HOME");
  Discovery discovery(home);
  const std::string wineprefix = platform::GetEnv("WINEPREFIX");
  if (!wineprefix.empty()) discovery.Add(wineprefix);
  if (!home.empty()) {
    discovery.Add(Join(home, ".wine"));
    for (const Location& location : kLocations) discovery.Visit(location);
  }
  return std::move(discovery).Prefixes();
}

std::string DosDriveRoot(const std::string& prefix, char driveLetter) {
  std::string link = Join(prefix, std::string("dosdevices/") + driveLetter + ":");
  struct stat st;
  if (lstat(link.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return std::string();
  return Canonical(link);
}

}  // namespace modRegistry
