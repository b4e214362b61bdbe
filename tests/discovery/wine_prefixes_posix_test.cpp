#include <gtest/gtest.h>

#include <filesystem>

#include "common/scoped_env.h"
#include "common/temp_dir.h"
#include "discovery/wine_prefixes.h"

namespace {

namespace fs = std::filesystem;
using namespace discovery;
using namespace testing_support;

// A prefix with a registry and a c: drive linked as Wine links it.
fs::path MakePrefix(const fs::path& prefix) {
  WriteFile(prefix / "system.reg", "");
  fs::create_directories(prefix / "drive_c");
  fs::create_directories(prefix / "dosdevices");
  fs::create_symlink("../drive_c", prefix / "dosdevices" / "c:");
  return prefix;
}

class DiscoveryWinePrefixes : public ::testing::Test {
 protected:
  void SetUp() override {
    home = temp / "home";
    fs::create_directories(home);
    env.Set("HOME", home.string());
    for (const char* name : {"WINEPREFIX", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) env.Set(name, std::nullopt);
  }
  TempDir temp;
  fs::path home;
  ScopedEnv env;
};

TEST_F(DiscoveryWinePrefixes, DriveRootsFollowTheDosdevicesLinks) {
  fs::path prefix = MakePrefix(temp / "pfx");
  EXPECT_EQ(DosDriveRoot(prefix.string(), 'c'), fs::canonical(prefix / "drive_c").string());
  EXPECT_EQ(DosDriveRoot(prefix.string(), 'd'), "");
  fs::create_directories(prefix / "dosdevices" / "e:");  // a folder, not a link
  EXPECT_EQ(DosDriveRoot(prefix.string(), 'e'), "");
  fs::create_symlink(temp / "gone", prefix / "dosdevices" / "f:");
  EXPECT_EQ(DosDriveRoot(prefix.string(), 'f'), "");
  // Without a link that leads somewhere, c: is drive_c, and s: (Proton's
  // game drive) the steamapps folder of the library holding the prefix.
  const fs::path proton = temp / "lib/steamapps/compatdata/7/pfx", other = temp / "lib/steamapps/x/7/pfx";
  fs::create_directories(proton / "drive_c");
  fs::create_directories(proton / "dosdevices");
  fs::create_symlink(temp / "gone", proton / "dosdevices" / "s:");  // a link that leads nowhere
  fs::create_directories(other);
  EXPECT_EQ(DosDriveRoot(proton.string(), 'c'), fs::canonical(proton / "drive_c").string());
  EXPECT_EQ(DosDriveRoot(proton.string() + "/", 's'), fs::canonical(temp / "lib/steamapps").string());
  for (const fs::path& none : {prefix, other, proton / "drive_c"})
    EXPECT_EQ(DosDriveRoot(none.string(), 's'), "");
}

// WINEPREFIX, ~/.wine, the Proton prefixes of each Steam library, then the
// prefixes the other launchers name, from the home (~ or relative) or
// absolute, each once however it is reached. The installer's end-to-end
// test sets the XDG folders.
TEST_F(DiscoveryWinePrefixes, EveryLaunchersPrefixesInOrder) {
  fs::path own = MakePrefix(temp / "own");
  env.Set("WINEPREFIX", own.string());
  MakePrefix(home / ".wine");
  fs::path steam = home / ".local/share/Steam", compat = steam / "steamapps/compatdata";
  for (const char* app : {"200", "100"}) MakePrefix(compat / app / "pfx");
  fs::create_directories(compat / "300" / "pfx");  // no registry yet
  // ~/.steam/steam links to the same installation: its prefixes come once.
  fs::create_directories(home / ".steam");
  fs::create_symlink(steam, home / ".steam" / "steam");
  MakePrefix(home / ".steam/debian-installation/steamapps/compatdata/1/pfx");
  // Libraries of both library files, the stale one's and the current one's.
  // A Linux folder's name may hold a backslash, which Steam's file escapes.
  fs::path library = temp / "lib\\rary", current = temp / "current";
  MakePrefix(library / "steamapps/compatdata/400/pfx");
  MakePrefix(current / "steamapps/compatdata/500/pfx");
  WriteFile(steam / "steamapps/libraryfolders.vdf", "\"1\" \"" + (temp / "lib\\\\rary").string() + "\"");
  WriteFile(steam / "config/libraryfolders.vdf", "\"0\" { \"path\" \"" + (temp / "gone").string() +
                                                     "\" } \"1\" { \"path\" \"" + current.string() + "\" }");
  // Bottles' own folder, then its custom one.
  MakePrefix(home / ".local/share/bottles/bottles/b");
  WriteFile(home / ".local/share/bottles/data.yml",
            "custom_bottles_path: " + (temp / "bottles").string() + "\n");
  fs::create_symlink("loop", home / "loop");
  const std::string lutris[] = {"~/Games/tilde", "Games/relative", (temp / "absolute").string(), "~/loop"};
  for (const std::string& written : lutris) {
    WriteFile(home / ".local/share/lutris/games" / (std::to_string(&written - lutris) + ".yml"),
              "game:\n  prefix: " + written + "\n");
  }
  // Heroic's default folder holds a prefix per game. A relative
  // $XDG_CONFIG_HOME counts as unset, as the XDG rules say.
  env.Set("XDG_CONFIG_HOME", "relative");
  WriteFile(home / ".config/heroic/config.json",
            R"({"defaultSettings": {"defaultWinePrefix": ")" + (temp / "heroic").string() + R"("}})");
  for (const char* prefix : {"bottles/c", "home/Games/tilde", "home/Games/relative", "absolute",
                             "heroic/Gravelon/pfx", "heroic/Another"})
    MakePrefix(temp / prefix);

  std::vector<std::string> expected;
  for (const char* path :
       {"own", "home/.wine", "home/.steam/steam/steamapps/compatdata/100/pfx",
        "home/.steam/steam/steamapps/compatdata/200/pfx", "lib\\rary/steamapps/compatdata/400/pfx",
        "current/steamapps/compatdata/500/pfx", "home/.steam/debian-installation/steamapps/compatdata/1/pfx",
        "home/.local/share/bottles/bottles/b", "bottles/c", "home/Games/tilde", "home/Games/relative",
        "absolute", "heroic/Another", "heroic/Gravelon/pfx"}) {
    expected.push_back((temp / path).string());
  }
  const LauncherFolders found = DiscoverLaunchers();
  EXPECT_EQ(found.Prefixes, expected);
  // Each by the launcher whose files named it.
  EXPECT_EQ(found.PrefixLaunchers,
            (std::vector<std::string>{"", "", "Steam", "Steam", "Steam", "Steam", "Steam", "Bottles",
                                      "Bottles", "Lutris", "Lutris", "Lutris", "Heroic", "Heroic"}));
  EXPECT_EQ(found.SteamLibraries,
            (std::vector<std::string>{(home / ".steam/steam").string(), library.string(), current.string(),
                                      (home / ".steam/debian-installation").string()}));
}

// Absolute XDG folders are taken as they are; with the home at the root, a
// path named from the home is still absolute. A launcher's file may be
// named by its extension alone; a backup beside it is not read.
TEST_F(DiscoveryWinePrefixes, AbsoluteXdgFoldersAndTheRootAsHome) {
  env.Set("HOME", "/");
  env.Set("XDG_DATA_HOME", (temp / "data").string());
  env.Set("XDG_CONFIG_HOME", (temp / "config").string());
  WriteFile(temp / "data/lutris/games/.yml",
            "game:\n  prefix: " + (temp / "lutris").string().substr(1) + "\n");
  WriteFile(temp / "data/lutris/games/g.yml.bak", "game:\n  prefix: " + (temp / "old").string() + "\n");
  WriteFile(temp / "config/heroic/GamesConfig/.json",
            R"({"g": {"winePrefix": ")" + (temp / "heroic").string() + "\"}}");
  for (const char* prefix : {"lutris", "heroic", "old"}) MakePrefix(temp / prefix);
  EXPECT_EQ(DiscoverLaunchers().Prefixes,
            (std::vector<std::string>{(temp / "lutris").string(), (temp / "heroic").string()}));
}

}  // namespace
