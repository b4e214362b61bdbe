#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "discovery/launcher_files.h"

namespace {

using namespace discovery;
using namespace testing_support;

// The launchers' own files, byte for byte as they write them (launchers/).
std::string Launcher(const char* name) { return ReadFile(std::string(RIGBOX_LAUNCHERS_DIR "/") + name); }

// PyYAML, Lutris's writer, escapes every non-ASCII letter and folds long
// values with an escaped line break.
TEST(DiscoveryLauncherFiles, LutrisGameFile) {
  const std::string yaml = Launcher("lutris-gravelon-1700000000.yml");
  EXPECT_EQ(YamlScalar(yaml, {"game", "prefix"}),
            "/home/gracz/Gry/Wyścigi/Gravelon Rally Championship Edition (wersja pudełkowa)");
  EXPECT_EQ(YamlScalar(yaml, {"wine", "version"}), "wine-ge-8-26-x86_64");
  EXPECT_EQ(YamlScalar(yaml, {"requires"}), "");  // null
  EXPECT_EQ(YamlScalar(yaml, {"game"}), "");      // a mapping
  EXPECT_EQ(YamlScalar(yaml, {"system", "env", "prefix"}), "");
  EXPECT_EQ(YamlScalar(Launcher("bottles-data.yml"), {"custom_bottles_path"}),
            "/home/gracz/Gry/Wyścigi/Butelki");
}

// Only the value at the path counts, whatever the file's style.
TEST(DiscoveryLauncherFiles, YamlKeyPaths) {
  const struct {
    const char* yaml;
    const char* prefix;
  } cases[] = {
      {"game:\r\n  prefix: /p/crlf # set by hand\r\n", "/p/crlf"},
      {"game: {prefix: '/p/it''s'}\n", "/p/it's"},
      {"game:\n  args:\n    prefix: /nested\n  prefix: /p/own\n", "/p/own"},
      {"game:\n  [prefix, x]: /key/is/a/list\n  prefix: /p/after\n", "/p/after"},
      {"wine:\n  prefix: /other/section\ngame:\n  - prefix: /in/a/list\n", ""},
      {"game: &g\n  prefix: ~\nother: *g\n", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(YamlScalar(c.yaml, {"game", "prefix"}), c.prefix) << c.yaml;
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
