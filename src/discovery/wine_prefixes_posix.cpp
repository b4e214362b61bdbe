// The walk through the folders where Linux game launchers keep Wine
// prefixes. Files and folders are reached only through the platform layer.
#include <cstdint>
#include <set>
#include <string_view>
#include <utility>

#include "discovery/launcher_files.h"
#include "discovery/wine_prefixes.h"
#include "support/platform.h"

namespace discovery {
namespace {

using platform::JoinPath;

enum class Source {
  SteamRoot,      // steamapps/compatdata/<app>, its own and the listed libraries'
  PrefixFolder,   // every entry is a prefix
  LutrisGames,    // *.yml naming game: prefix:
  HeroicGames,    // *.json naming winePrefix
  HeroicConfig,   // config.json: winePrefix, and each prefix in defaultWinePrefix
  BottlesData,    // data.yml: each bottle in custom_bottles_path
  BottlesFolder,  // every entry is a bottle, or names one in its placeholder.yml
  FaugusGames,    // games.json naming each game's prefix
  Minigalaxy,     // config.json: <install_dir>/<game>/prefix
};

// Where a location's folder is: below the home, the XDG data or config
// folder, or the sandbox folder below the home that a Flatpak or Snap
// launcher takes for its home (and its XDG folders).
enum class Base { Home, DataHome, ConfigHome };

struct Location {
  Base base;
  const char* sandbox;
  Source source;
  const char* folder;
  const char* launcher;
};

constexpr const char kSteamFlatpak[] = ".var/app/com.valvesoftware.Steam";
constexpr const char kSteamSnap[] = "snap/steam/common";
constexpr const char kBottlesFlatpak[] = ".var/app/com.usebottles.bottles";
constexpr const char kLutrisFlatpak[] = ".var/app/net.lutris.Lutris";
constexpr const char kHeroicFlatpak[] = ".var/app/com.heroicgameslauncher.hgl";
constexpr const char kFaugusFlatpak[] = ".var/app/io.github.Faugus.faugus-launcher";
constexpr const char kMinigalaxyFlatpak[] = ".var/app/io.github.sharkwouter.Minigalaxy";

constexpr Location kLocations[] = {
    {Base::Home, "", Source::SteamRoot, ".steam/steam", "Steam"},
    {Base::Home, "", Source::SteamRoot, ".steam/root", "Steam"},
    {Base::DataHome, "", Source::SteamRoot, "Steam", "Steam"},
    {Base::Home, "", Source::SteamRoot, ".steam/debian-installation", "Steam"},
    {Base::Home, kSteamFlatpak, Source::SteamRoot, ".steam/steam", "Steam"},
    {Base::Home, kSteamFlatpak, Source::SteamRoot, ".local/share/Steam", "Steam"},
    {Base::Home, kSteamFlatpak, Source::SteamRoot, "data/Steam", "Steam"},
    {Base::Home, kSteamSnap, Source::SteamRoot, ".steam/steam", "Steam"},
    {Base::Home, kSteamSnap, Source::SteamRoot, ".local/share/Steam", "Steam"},
    {Base::DataHome, "", Source::BottlesFolder, "bottles/bottles", "Bottles"},
    {Base::DataHome, "", Source::BottlesData, "bottles/data.yml", "Bottles"},
    {Base::Home, kBottlesFlatpak, Source::BottlesFolder, "data/bottles/bottles", "Bottles"},
    {Base::Home, kBottlesFlatpak, Source::BottlesData, "data/bottles/data.yml", "Bottles"},
    {Base::DataHome, "", Source::LutrisGames, "lutris/games", "Lutris"},
    {Base::ConfigHome, "", Source::LutrisGames, "lutris/games", "Lutris"},
    {Base::Home, kLutrisFlatpak, Source::LutrisGames, "data/lutris/games", "Lutris"},
    {Base::Home, kLutrisFlatpak, Source::LutrisGames, "config/lutris/games", "Lutris"},
    {Base::ConfigHome, "", Source::HeroicGames, "heroic/GamesConfig", "Heroic"},
    {Base::ConfigHome, "", Source::HeroicConfig, "heroic/config.json", "Heroic"},
    {Base::Home, "", Source::PrefixFolder, "Games/Heroic/Prefixes", "Heroic"},
    {Base::Home, "", Source::PrefixFolder, "Games/Heroic/Prefixes/default", "Heroic"},
    {Base::Home, kHeroicFlatpak, Source::HeroicGames, "config/heroic/GamesConfig", "Heroic"},
    {Base::Home, kHeroicFlatpak, Source::HeroicConfig, "config/heroic/config.json", "Heroic"},
    {Base::Home, "", Source::PrefixFolder, ".PlayOnLinux/wineprefix", "PlayOnLinux"},
    {Base::Home, "", Source::PrefixFolder, ".cxoffice", "CrossOver"},
    {Base::Home, "", Source::PrefixFolder, ".Phoenicis/containers/wineprefix", "Phoenicis"},
    {Base::Home, "", Source::PrefixFolder, "Faugus", "Faugus"},
    {Base::Home, "", Source::PrefixFolder, "Games/Faugus", "Faugus"},
    {Base::DataHome, "", Source::FaugusGames, "faugus-launcher/games.json", "Faugus"},
    {Base::ConfigHome, "", Source::FaugusGames, "faugus-launcher/games.json", "Faugus"},
    {Base::Home, kFaugusFlatpak, Source::FaugusGames, "data/faugus-launcher/games.json", "Faugus"},
    {Base::Home, kFaugusFlatpak, Source::FaugusGames, "config/faugus-launcher/games.json", "Faugus"},
    {Base::Home, "", Source::PrefixFolder, "Games/umu", "umu"},
    {Base::ConfigHome, "", Source::Minigalaxy, "minigalaxy/config.json", "Minigalaxy"},
    {Base::Home, kMinigalaxyFlatpak, Source::Minigalaxy, "config/minigalaxy/config.json", "Minigalaxy"},
};

// A launcher's own record of the games it installed: the member key names
// each game's folder, or its program when namesProgram.
struct StoreRecord {
  Base base;
  const char* sandbox;
  const char* file;
  const char* key;
  const char* store;
  bool namesProgram;
};

constexpr StoreRecord kStoreRecords[] = {
    {Base::ConfigHome, "", "heroic/gog_store/installed.json", "install_path", "GOG", false},
    {Base::ConfigHome, "", "heroic/legendaryConfig/legendary/installed.json", "install_path", "Epic", false},
    {Base::ConfigHome, "", "heroic/nile_config/nile/installed.json", "path", "Amazon", false},
    {Base::ConfigHome, "", "heroic/sideload_apps/library.json", "executable", "Heroic", true},
    {Base::Home, kHeroicFlatpak, "config/heroic/gog_store/installed.json", "install_path", "GOG", false},
    {Base::Home, kHeroicFlatpak, "config/heroic/legendaryConfig/legendary/installed.json", "install_path",
     "Epic", false},
    {Base::Home, kHeroicFlatpak, "config/heroic/nile_config/nile/installed.json", "path", "Amazon", false},
    {Base::Home, kHeroicFlatpak, "config/heroic/sideload_apps/library.json", "executable", "Heroic", true},
};

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The folder a program path names, "" when it names none.
std::string FolderOf(const std::string& program) {
  const size_t slash = program.rfind('/');
  return slash == std::string::npos || slash == 0 ? std::string() : program.substr(0, slash);
}

// One file or folder, however it is reached: ~/.steam/steam usually links
// to ~/.local/share/Steam.
using Identity = std::pair<uint64_t, uint64_t>;

bool IdentityOf(const std::string& path, platform::PathKind kind, Identity& identity) {
  platform::PathInfo info;
  if (!platform::GetPathInfo(path, info) || info.Kind != kind) return false;
  identity = {info.Volume, info.Index};
  return true;
}

class Walk {
 public:
  explicit Walk(std::string home) : home_(std::move(home)) {
    while (home_.size() > 1 && home_.back() == '/') home_.pop_back();
  }

  // A prefix, or a folder holding one as pfx/ (Proton's layout, which
  // Steam, Heroic and Lutris use); whether it is one.
  bool Add(const std::string& candidate) {
    for (const std::string& folder : {candidate, JoinPath(candidate, "pfx")}) {
      Identity identity;
      if (!IdentityOf(JoinPath(folder, "system.reg"), platform::PathKind::File, identity)) continue;
      if (seen_.insert(identity).second) {
        found_.Prefixes.push_back(folder);
        found_.PrefixLaunchers.push_back(launcher_);
      }
      return true;
    }
    return false;
  }

  void Visit(const StoreRecord& record) {
    const std::string sandbox = *record.sandbox ? JoinPath(home_, record.sandbox) : home_;
    const std::string path = JoinPath(*record.sandbox ? sandbox : BaseFolder(record.base), record.file);
    for (const std::string& named : JsonStrings(ReadLauncherFile(path), record.key)) {
      for (const std::string& each : Paths(named, sandbox)) {
        const std::string folder = record.namesProgram ? FolderOf(each) : each;
        if (!folder.empty()) found_.StoreCopies.push_back({folder, record.store});
      }
    }
  }

  void Visit(const Location& location) {
    launcher_ = location.launcher;
    const std::string sandbox = *location.sandbox ? JoinPath(home_, location.sandbox) : home_;
    const std::string path =
        JoinPath(*location.sandbox ? sandbox : BaseFolder(location.base), location.folder);
    switch (location.source) {
      case Source::SteamRoot:
        for (const std::string& library : SteamLibraries(path)) {
          for (const std::string& each : Paths(library, sandbox)) {
            if (AddSteamLibrary(each) && each == path) AddShortcuts(path, sandbox);
          }
        }
        return;
      case Source::BottlesData:
        for (const std::string& each :
             Paths(YamlScalar(ReadLauncherFile(path), {"custom_bottles_path"}), sandbox)) {
          AddEach(each);
        }
        return;
      case Source::HeroicConfig: {
        const std::string text = ReadLauncherFile(path);
        for (const std::string& named : JsonStrings(text, "winePrefix")) AddNamed(named, sandbox);
        for (const std::string& named : JsonStrings(text, "defaultWinePrefix")) {
          for (const std::string& each : Paths(named, sandbox)) AddEach(each);
        }
        return;
      }
      case Source::FaugusGames:
        for (const std::string& named : JsonStrings(ReadLauncherFile(path), "prefix"))
          AddNamed(named, sandbox);
        return;
      case Source::Minigalaxy:
        AddMinigalaxyGames(path, sandbox);
        return;
      default:
        break;
    }
    for (const std::string& name : SortedNames(path)) {
      const std::string entry = JoinPath(path, name);
      if (location.source == Source::PrefixFolder) {
        Add(entry);
      } else if (location.source == Source::BottlesFolder) {
        // A bottle kept elsewhere leaves a placeholder in its name's folder.
        if (!Add(entry))
          AddNamed(YamlScalar(ReadLauncherFile(JoinPath(entry, "placeholder.yml")), {"Path"}), sandbox);
      } else if (location.source == Source::LutrisGames && EndsWith(name, ".yml")) {
        AddLutrisGame(ReadLauncherFile(entry), sandbox);
      } else if (location.source == Source::HeroicGames && EndsWith(name, ".json")) {
        for (const std::string& named : JsonStrings(ReadLauncherFile(entry), "winePrefix"))
          AddNamed(named, sandbox);
      }
    }
  }

  LauncherFolders Found() && { return std::move(found_); }

 private:
  // A Lutris game without a prefix of its own runs in the nearest folder
  // above its program that is one.
  void AddLutrisGame(const std::string& gameFile, const std::string& sandbox) {
    const std::string prefix = YamlScalar(gameFile, {"game", "prefix"});
    if (!prefix.empty()) {
      AddNamed(prefix, sandbox);
      return;
    }
    for (const std::string& program : Paths(YamlScalar(gameFile, {"game", "exe"}), sandbox)) {
      for (std::string folder = FolderOf(program); !folder.empty(); folder = FolderOf(folder)) {
        if (Add(folder)) break;
      }
    }
  }

  // Minigalaxy keeps each Windows game's prefix in the game's folder.
  void AddMinigalaxyGames(const std::string& configFile, const std::string& sandbox) {
    const std::vector<std::string> named = JsonStrings(ReadLauncherFile(configFile), "install_dir");
    for (const std::string& folder : Paths(named.empty() ? "GOG Games" : named.front(), sandbox)) {
      for (const std::string& game : SortedNames(folder)) Add(JoinPath(JoinPath(folder, game), "prefix"));
    }
  }

  // The XDG folders as their rules take them: unset, empty or relative,
  // the default below the home.
  std::string BaseFolder(Base base) const {
    if (base == Base::Home) return home_;
    const bool data = base == Base::DataHome;
    std::string folder = platform::GetEnv(data ? "XDG_DATA_HOME" : "XDG_CONFIG_HOME");
    if (!folder.empty() && folder[0] == '/') return folder;
    return JoinPath(home_, data ? ".local/share" : ".config");
  }

  // Where a path named in a launcher's file may be: ~ and relative paths
  // are taken from the home. A sandboxed launcher sees its sandbox folder
  // as the home, so a path below the home may be there instead.
  std::vector<std::string> Paths(const std::string& named, const std::string& sandbox) const {
    if (named.empty()) return {};
    std::string path = named;
    if (named == "~" || named.rfind("~/", 0) == 0) {
      path = home_ + named.substr(1);
    } else if (named[0] != '/') {
      path = JoinPath(home_, named);
    }
    std::vector<std::string> paths{path};
    if (sandbox != home_ && path.rfind(home_ + "/", 0) == 0) {
      paths.push_back(sandbox + path.substr(home_.size()));
    }
    return paths;
  }

  void AddNamed(const std::string& named, const std::string& sandbox) {
    for (const std::string& path : Paths(named, sandbox)) Add(path);
  }

  // A launcher's folder of prefixes, one per game or bottle.
  void AddEach(const std::string& folder) {
    for (const std::string& name : SortedNames(folder)) Add(JoinPath(folder, name));
  }

  // Whether the library is new.
  bool AddSteamLibrary(const std::string& library) {
    Identity identity;
    if (!IdentityOf(library, platform::PathKind::Folder, identity) ||
        !seenLibraries_.insert(identity).second) {
      return false;
    }
    found_.SteamLibraries.push_back(library);
    AddEach(JoinPath(library, "steamapps/compatdata"));
    return true;
  }

  // The games a Steam folder's users added as non-Steam shortcuts.
  void AddShortcuts(const std::string& steam, const std::string& sandbox) {
    const std::string userdata = JoinPath(steam, "userdata");
    for (const std::string& user : SortedNames(userdata)) {
      const std::string file = JoinPath(JoinPath(userdata, user), "config/shortcuts.vdf");
      for (const std::string& named : SteamShortcutFolders(ReadLauncherFile(file))) {
        for (const std::string& each : Paths(named, sandbox)) found_.StoreCopies.push_back({each, "Steam"});
      }
    }
  }

  std::string home_;
  std::set<Identity> seen_;
  std::set<Identity> seenLibraries_;
  const char* launcher_ = "";  // of the location visited
  LauncherFolders found_;
};

// Proton's game drive S: is the steamapps folder of the game's library (two
// levels above the game's folder, which reads as S:\common\<game>): the
// library whose steamapps/compatdata/<app>/pfx the prefix is. Newer runtimes
// link it at each start and may leave the link out in between.
std::string ProtonGameDrive(std::string prefix) {
  while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
  for (const char* name : {"pfx", "", "compatdata"}) {  // "": the app's number
    const size_t slash = prefix.rfind('/');
    if (slash == std::string::npos || (*name && prefix.compare(slash + 1, std::string::npos, name) != 0))
      return std::string();
    prefix.resize(slash);
  }
  return EndsWith(prefix, "/steamapps") ? platform::RealPath(prefix) : std::string();
}

}  // namespace

LauncherFolders DiscoverLaunchers() {
  const std::string home = platform::GetEnv("HOME");
  Walk walk(home);
  const std::string wineprefix = platform::GetEnv("WINEPREFIX");
  if (!wineprefix.empty()) walk.Add(wineprefix);
  if (!home.empty()) {
    walk.Add(JoinPath(home, ".wine"));
    walk.Add(JoinPath(home, ".var/app/org.winehq.Wine/data/wine"));
    for (const Location& location : kLocations) walk.Visit(location);
    for (const StoreRecord& record : kStoreRecords) walk.Visit(record);
  }
  return std::move(walk).Found();
}

const LauncherFolders& SystemLaunchers() {
  static const LauncherFolders found = DiscoverLaunchers();
  return found;
}

std::string DosDriveRoot(const std::string& prefix, char driveLetter) {
  const std::string link = JoinPath(prefix, std::string("dosdevices/") + driveLetter + ":");
  platform::PathInfo info;
  if (platform::GetPathInfo(link, info) && info.IsLink) {
    std::string root = platform::RealPath(link);
    if (!root.empty()) return root;
  }
  if (driveLetter == 'c') return platform::RealPath(JoinPath(prefix, "drive_c"));
  if (driveLetter == 's') return ProtonGameDrive(prefix);
  return std::string();
}

}  // namespace discovery
