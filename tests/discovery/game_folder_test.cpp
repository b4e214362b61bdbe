#include <gtest/gtest.h>

#include <algorithm>

#include "common/map_registry.h"
#ifndef _WIN32
#include "common/scoped_env.h"
#endif
#include "common/temp_dir.h"
#include "discovery/game_folder.h"
#include "discovery/wine_registry.h"

namespace {

using namespace discovery;
using namespace testing_support;

// Counts the keys left open; every key is opened as usual.
struct CheckedRegistry : MapRegistry {
  int32_t OpenKey(uint32_t root, const std::string& subKey, uint32_t options, uint32_t access,
                  modRegistry::KeyHandle& key) override {
    EXPECT_EQ(options, 0u) << subKey;
    ++Open;
    return MapRegistry::OpenKey(root, subKey, options, access, key);
  }
  int32_t CloseKey(modRegistry::KeyHandle key) override {
    --Open;
    return MapRegistry::CloseKey(key);
  }
  int Open = 0;
};

// Store copies as Windows records them, looked for on every system; the
// registry value wins over all of them.
TEST(DiscoveryGameFolder, StoreCopiesWithoutTheRegistryValue) {
  TempDir temp;
  CheckedRegistry registry;
  std::string folder = "untouched";
  FolderOrigin origin;
  auto read = [&] { return ReadGameFolder(registry, folder, origin, RecordedStoreCopyFolders); };
  auto at = [&](const char* relative) {
    return (temp.Path() / std::filesystem::path(relative).make_preferred()).string();
  };
  auto game = [&](const char* relative, const char* executable = "Gravelon.exe") {
    WriteFile(std::filesystem::path(at(relative)) / executable, "MZ");
    return at(relative) + static_cast<char>(std::filesystem::path::preferred_separator);
  };
  // Steam records its own folder with slashes.
  std::string steam = (temp / "Steam").string(), library = (temp / "Library").string();
  std::replace(steam.begin(), steam.end(), '\\', '/');
  game("Steam/steamapps/common/Gravelon/deeper");  // two levels down
  registry.Keys["HKCU\\Software\\Valve\\Steam"]["SteamPath"] = steam;
  EXPECT_FALSE(read());
  EXPECT_EQ(folder, "untouched");

  // GOG's records in the 32-bit view, then in the 64-bit one, each game of each.
  registry.Keys["HKLM32\\Software\\GOG.com\\Games\\1"]["path"] = at("Other");
  registry.Keys["HKLM64\\Software\\GOG.com\\Games\\1"]["path"] = at("Gone");
  registry.Keys["HKLM64\\Software\\GOG.com\\Games\\2"]["path"] = at("GOG");
  const std::string gog = game("GOG");
  game("Other/deeper");
  EXPECT_EQ(RecordedStoreCopyFolders(registry),
            (std::vector<StoreCopy>{{at("Steam/steamapps/common/Gravelon"), "Steam"},
                                    {at("Other"), "GOG"},
                                    {at("Gone"), "GOG"},
                                    {at("GOG"), "GOG"}}));
  EXPECT_TRUE(read());
  EXPECT_EQ(folder, gog);
  EXPECT_EQ(origin.Kind, OriginKind::StoreCopy);
  EXPECT_EQ(origin.Text, "GOG");
  EXPECT_EQ(registry.Open, 0);

  // Steam's libraries come first, from either of its library files, each
  // library's folders by name.
  std::string escaped;
  for (char c : library) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  WriteFile(temp / "Steam/config/libraryfolders.vdf",
            "\"libraryfolders\" { \"1\" { \"path\" \"" + escaped + "\" } }");
  const std::string copy = game("Library/steamapps/common/Gravelon", "GRAVELON.EXE");
  game("Library/steamapps/common/Zeta");
  EXPECT_TRUE(read());
  EXPECT_EQ(folder, copy);
  EXPECT_EQ(origin.Text, "Steam");

  // The registry's value wins where it holds the game, as it stands; a
  // stale one gives way to the copies, and shows only when none holds it.
  registry.SetGameFolder(at("Stale"));
  EXPECT_TRUE(read());
  EXPECT_EQ(folder, copy);
  game("Recorded");
  registry.SetGameFolder(at("Recorded"));
  EXPECT_TRUE(read());
  EXPECT_EQ(folder, at("Recorded"));
  EXPECT_EQ(origin.Kind, OriginKind::Registry);
}

// Without the user's SteamPath, the machine's InstallPath names Steam (as
// when another account installed it); Epic's manifests, by name, come after
// GOG's records, their JSON scanned for InstallLocation alone.
TEST(DiscoveryGameFolder, MachineSteamAndEpicManifests) {
  TempDir temp;
  MapRegistry registry;
  auto at = [&](const char* relative) { return (temp / relative).make_preferred().string(); };
  WriteFile(temp / "Steam/steamapps/common/G/x", "");
  registry.Keys["HKLM64\\Software\\Valve\\Steam"]["InstallPath"] = at("Steam");
  registry.Keys["HKLM32\\Software\\GOG.com\\Games\\1"]["path"] = at("GOG");
  std::string location;  // escaped as JSON may escape it
  for (char c : at("Epic Game"))
    location += c == '\\' || c == '/' ? std::string("\\") + c : std::string(1, c);
  const std::filesystem::path manifests = temp / "Epic/EpicGamesLauncher/Data/Manifests";
  const std::string decoy = R"({"Name": "\"InstallLocation\": \"decoy\"", "InstallLocation" :)";
  WriteFile(manifests / "B.ITEM", decoy + "\n \"" + location + "\"}");
  WriteFile(manifests / "A.item", R"({"InstallLocation": 7, "x": "y"})");
  WriteFile(manifests / "C.item.bak", R"({"InstallLocation": "old"})");
  EXPECT_EQ(EpicGameFolders(manifests.string()), std::vector<std::string>{at("Epic Game")});
  std::vector<StoreCopy> expected{{at("Steam/steamapps/common/G"), "Steam"}, {at("GOG"), "GOG"}};
#ifndef _WIN32
  ScopedEnv env;
  env.Set("ProgramData", temp.Path().string());
  expected.push_back({at("Epic Game"), "Epic"});
#endif
  EXPECT_EQ(RecordedStoreCopyFolders(registry), expected);
  registry.Keys["HKCU\\Software\\Valve\\Steam"]["SteamPath"] = at("User");
  expected.erase(expected.begin());
  EXPECT_EQ(RecordedStoreCopyFolders(registry), expected);
}

// Each Wine prefix's value in turn: one whose folder is gone, or lacks the
// game, gives way to the next prefix's; the origin names the prefix used.
TEST(DiscoveryGameFolder, StaleWinePrefixValuesGiveWay) {
  TempDir temp;
  auto prefix = [&](const std::string& name, const std::string& value) {  // a value with slashes only
    WriteFile(temp / name / "system.reg",
              "[Software\\\\Brackmoor\\\\Gravelon] 1\n\"DestinationDir\"=\"" + value + "\"\n");
    return (temp / name).string();
  };
  const std::string gone = (temp / "gone").generic_string(), game = (temp / "game").generic_string();
  WriteFile(temp / "game/gravelon.EXE", "MZ");
  modRegistry::WineRegistryApi api({prefix("a", gone), prefix("b", temp.Path().generic_string()),
                                    prefix("c", game), prefix("d", temp.Path().generic_string())},
                                   nullptr);
  std::string folder;
  FolderOrigin origin;
  auto none = [](modRegistry::RegistryApi&) { return std::vector<StoreCopy>(); };
  EXPECT_TRUE(ReadGameFolder(api, folder, origin, none));
  EXPECT_EQ(folder, game);
  EXPECT_EQ(origin.Text, (temp / "c").string());
  std::filesystem::remove(temp / "game/gravelon.EXE");
  EXPECT_TRUE(ReadGameFolder(api, folder, origin, none));
  EXPECT_EQ(folder, gone);
  EXPECT_EQ(origin.Text, (temp / "a").string());
}

}  // namespace
