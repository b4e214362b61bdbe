#include <gtest/gtest.h>

#include <utility>

#include "common/temp_dir.h"
#include "discovery/launcher_files.h"

namespace {

using namespace discovery;
using namespace testing_support;

// The launchers' own files, byte for byte as they write them (launchers/).
std::string Launcher(const char* name) { return ReadFile(std::string(RIGBOX_LAUNCHERS_DIR "/") + name); }

// Both files a Steam folder may have, in both formats Steam has written:
// the old one numbers its libraries beside other numbered entries.
TEST(DiscoverySteamLibraries, FoldersOfBothLibraryFiles) {
  TempDir temp;
  WriteFile(temp / "steamapps/libraryfolders.vdf",
            "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1600000000\"\n\t\"1\"\t\t\"/mnt/old\"\n"
            "\t\"2\"\t\t\"Z:\\\\Games\"\n\t\"3\"\t\t\"1234\"\n\t\"4\"\t\t\"1:\\\\x\"\n}\n");
  WriteFile(temp / "config/libraryfolders.vdf",
            "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/u/Steam\"\n\t\t\"apps\"\n\t\t{\n"
            "\t\t\t\"228980\"\t\t\"123\"\n\t\t}\n\t}\n\t\"1\"\n\t{\n\t\t\"oath\" \"/x\" \"p@th\" \"/y\"\n"
            "\t\t\"PATH\"\t\t\"D:\\\\Steam \\\"Library\\\"\"\n\t}\n}\n");
  const std::string steam = temp.Path().string();
  EXPECT_EQ(SteamLibraries(steam), (std::vector<std::string>{steam, "/mnt/old", "Z:\\Games", "/home/u/Steam",
                                                             "D:\\Steam \"Library\""}));
  // A launcher's file is small: one byte over the limit is no library file.
  const std::string small = "\"1\" \"/x\"";
  const size_t room = static_cast<size_t>(kMaxLauncherFileBytes) - small.size();
  WriteFile(temp / "config/libraryfolders.vdf", small + std::string(room, ' '));
  EXPECT_EQ(SteamLibraries(steam), (std::vector<std::string>{steam, "/mnt/old", "Z:\\Games", "/x"}));
  WriteFile(temp / "config/libraryfolders.vdf", small + std::string(room + 1, ' '));
  EXPECT_EQ(SteamLibraries(steam), (std::vector<std::string>{steam, "/mnt/old", "Z:\\Games"}));
}

// PyYAML, Lutris's writer, escapes every non-ASCII letter and folds long
// values with an escaped line break.
TEST(DiscoveryLauncherFiles, LutrisGamePrefix) {
  EXPECT_EQ(YamlScalar(Launcher("lutris-gravelon-1700000000.yml"), {"game", "prefix"}),
            "/home/gracz/Gry/Wyścigi/Gravelon Rally Championship Edition (wersja pudełkowa)");
}

TEST(DiscoveryLauncherFiles, BottlesCustomPath) {
  EXPECT_EQ(YamlScalar(Launcher("bottles-data.yml"), {"custom_bottles_path"}),
            "/home/gracz/Gry/Wyścigi/Butelki");
}

// Whatever the file's style: a key nested deeper, under a list key, in
// another section or inside a list is not the one at the path; null is none.
TEST(DiscoveryLauncherFiles, OnlyTheScalarAtThePathCounts) {
  for (const auto& [yaml, prefix] : {
           std::pair{"game:\n  args:\n    prefix: /nested\n  prefix: /p/own\n", "/p/own"},
           std::pair{"game:\n  [prefix, x]: /key/is/a/list\n  prefix: /p/after\n", "/p/after"},
           std::pair{"wine:\n  prefix: /other/section\ngame:\n  - prefix: /in/a/list\n", ""},
           std::pair{"game: &g\n  prefix: ~\nother: *g\n", ""},
           std::pair{"game:\n  prefix: null\n", ""},
           std::pair{"- game:\n    prefix: /in/a/list\n", ""},
       }) {
    EXPECT_EQ(YamlScalar(yaml, {"game", "prefix"}), prefix) << yaml;
  }
  // Nesting as deep as the limit (100 levels, the document's own included) is
  // still read; one level deeper ends the read.
  const auto nested = [](size_t deep) {
    return "game: {prefix: /p}\nx: " + std::string(deep, '[') + std::string(deep, ']');
  };
  EXPECT_EQ(YamlScalar(nested(99), {"game", "prefix"}), "/p");
  EXPECT_EQ(YamlScalar(nested(100), {"game", "prefix"}), "");
}

// Heroic escapes quotes and line breaks, and a tool may escape non-ASCII.
TEST(DiscoveryLauncherFiles, HeroicFiles) {
  EXPECT_EQ(JsonStrings(Launcher("heroic-GamesConfig-1207658930.json"), "winePrefix"),
            std::vector<std::string>{"/home/gracz/Gry/Wyścigi/Heroic/Gravelon"});
  const std::string config = Launcher("heroic-config.json");
  EXPECT_EQ(JsonStrings(config, "winePrefix"),
            std::vector<std::string>{"/home/gracz/Games/Heroic/Prefixes/default"});
  EXPECT_EQ(JsonStrings(config, "defaultWinePrefix"),
            std::vector<std::string>{"/home/gracz/Gry/Wyścigi/Heroic"});
  EXPECT_TRUE(JsonStrings(R"({"winePrefix": null, "list": ["winePrefix", "/x"]})", "winePrefix").empty());
}

TEST(DiscoveryLauncherFiles, BrokenFilesGiveNothing) {
  const std::string lutris = Launcher("lutris-gravelon-1700000000.yml");
  const std::string heroic = Launcher("heroic-GamesConfig-1207658930.json");
  for (const std::string& yaml :
       {lutris.substr(0, lutris.find("pude\\u0142kowa)\"")), lutris + "\n  bad: \"open\n",
        std::string(200000, '['), std::string("game:\n  prefix: \xff\xfe/p\n")}) {
    EXPECT_EQ(YamlScalar(yaml, {"game", "prefix"}), "") << yaml.substr(0, 40);
  }
  for (const std::string& json : {heroic.substr(0, heroic.size() - 2), heroic + "}", std::string(200000, '['),
                                  std::string("{\"winePrefix\": \"/p/\xff\"}")}) {
    EXPECT_TRUE(JsonStrings(json, "winePrefix").empty()) << json.substr(0, 40);
  }
}

}  // namespace
