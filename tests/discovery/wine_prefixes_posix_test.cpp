#include <gtest/gtest.h>

#include <filesystem>

#include "common/scoped_env.h"
#include "common/temp_dir.h"
#include "discovery/wine_prefixes.h"

namespace {

namespace fs = std::filesystem;
using namespace modRegistry;
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
    env.Set("WINEPREFIX", std::nullopt);
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
}

// WINEPREFIX, ~/.wine, the Proton prefixes of each Steam library, then the
// prefixes Lutris games name from the home (~ or relative) or absolute.
TEST_F(DiscoveryWinePrefixes, EveryLaunchersPrefixesInOrder) {
  fs::path own = MakePrefix(temp / "own");
  env.Set("WINEPREFIX", own.string());
  MakePrefix(home / ".wine");
  fs::path steam = home / ".local/share/Steam";
  fs::path compat = steam / "steamapps/compatdata";
  MakePrefix(compat / "200" / "pfx");
  MakePrefix(compat / "100" / "pfx");
  fs::create_directories(compat / "300" / "pfx");  // no registry yet
  // ~/.steam/steam links to the same installation: its prefixes come once.
  fs::create_directories(home / ".steam");
  fs::create_symlink(steam, home / ".steam" / "steam");
  // A second library listed in libraryfolders.vdf.
  fs::path library = temp / "library";
  MakePrefix(library / "steamapps/compatdata/400/pfx");
  WriteFile(steam / "steamapps/libraryfolders.vdf",
            "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + steam.string() +
                "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + library.string() + "\"\n\t}\n}\n");
  fs::create_symlink("loop", home / "loop");
  const std::string lutris[] = {"~/Games/tilde", "Games/relative", (temp / "absolute").string(), "~/loop"};
  for (const std::string& written : lutris) {
    WriteFile(home / ".local/share/lutris/games" / (std::to_string(&written - lutris) + ".yml"),
              "game:\n  prefix: " + written + "\n");
  }
  for (const fs::path& prefix : {home / "Games/tilde", home / "Games/relative", temp / "absolute"})
    MakePrefix(prefix);

  fs::path viaLink = home / ".steam/steam/steamapps/compatdata";
  EXPECT_EQ(DiscoverWinePrefixes(), (std::vector<std::string>{
                                        own.string(),
                                        (home / ".wine").string(),
                                        (viaLink / "100" / "pfx").string(),
                                        (viaLink / "200" / "pfx").string(),
                                        (library / "steamapps/compatdata/400/pfx").string(),
                                        (home / "Games/tilde").string(),
                                        (home / "Games/relative").string(),
                                        (temp / "absolute").string(),
                                    }));
}

TEST(DiscoverySteamLibraries, FoldersOfTheLibraryFile) {
  const char vdf[] =
      "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/u/.local/share/"
      "Steam\"\n\t\t\"label\"\t\t\"\"\n"
      "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"123\"\n\t\t}\n\t}\n"
      "\t\"1\"\n\t{\n\t\t\"PATH\"\t\t\"/mnt/games/Steam \\\"Library\\\"\"\n\t}\n}\n";
  EXPECT_EQ(modRegistry::SteamLibraryPaths(vdf),
            (std::vector<std::string>{"/home/u/.local/share/Steam", "/mnt/games/Steam \"Library\""}));
  const char oldVdf[] =
      "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1600000000\"\n\t\"1\"\t\t\"/mnt/old\"\n}\n";
  EXPECT_EQ(modRegistry::SteamLibraryPaths(oldVdf), (std::vector<std::string>{"/mnt/old"}));
  EXPECT_TRUE(modRegistry::SteamLibraryPaths("").empty());
}

TEST(DiscoveryLauncherFiles, LutrisGamePrefix) {
  const struct {
    const char* yaml;
    const char* prefix;
  } cases[] = {
      {"game:\n  exe: /g/x.exe\n  prefix: /p/x\nwine:\n  version: w\n", "/p/x"},
      {"game:\r\n  prefix: /p/crlf # set by hand\r\n", "/p/crlf"},
      {"game:\n  prefix: '/p/it''s'\n", "/p/it's"},
      {"game:\n  prefix: \"/p/\\\"q\\\"\"\n", "/p/\"q\""},
      {"game:\n  prefix: /p/a long\n    name\n  exe: x\n", "/p/a long name"},
      {"game:\n  args:\n    prefix: /nested\n  prefix: /p/own\n", "/p/own"},
      {"game:\n  exe: /g/x.exe\nwine:\n  prefix: /other/section\n", ""},
      {"game:\n  prefix: ~\n", ""},
      {"name: no game\n", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LutrisGamePrefix(c.yaml), c.prefix) << c.yaml;
}

TEST(DiscoveryLauncherFiles, HeroicWinePrefixes) {
  EXPECT_EQ(HeroicWinePrefixes(
                R"({"a": {"winePrefix": "\/p\/\"a\"", "autoSync": true, "wineVersion": {"type": "proton"}},
                                   "b": {"winePrefix":"/p/b"}, "version": "v0"})"),
            (std::vector<std::string>{"/p/\"a\"", "/p/b"}));
  EXPECT_TRUE(HeroicWinePrefixes(R"({"a": {"winePrefix": null, "list": ["x", "y"]}})").empty());
}

}  // namespace
