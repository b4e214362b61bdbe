#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <tuple>

#include "common/temp_dir.h"
#include "discovery/game_folder.h"

namespace {

using namespace discovery;
using namespace modRegistry;
using namespace testing_support;

// String values by root, view and key; a key's subkeys are the keys below it.
class MapRegistry : public RegistryApi {
 public:
  using Key = std::tuple<uint32_t, bool, std::string>;  // root, 64-bit view, path
  std::map<Key, std::map<std::string, std::string>> Keys;

  int32_t OpenKey(uint32_t root, const std::string& subKey, uint32_t, uint32_t access,
                  KeyHandle& key) override {
    const Key wanted{root, (access & kKeyWow64_64Key) != 0, subKey};
    opened_.push_back(wanted);
    key = opened_.size();
    const bool exists = std::any_of(Keys.begin(), Keys.end(), [&](const auto& each) {
      return std::get<0>(each.first) == root && std::get<1>(each.first) == std::get<1>(wanted) &&
             (std::get<2>(each.first) + "\\").rfind(subKey + "\\", 0) == 0;
    });
    return exists ? kErrorSuccess : kErrorFileNotFound;
  }

  int32_t QueryValue(KeyHandle key, const std::string& valueName, uint32_t& type, uint8_t* data,
                     uint32_t& length) override {
    auto found = Keys.find(opened_.at(key - 1));
    if (found == Keys.end() || found->second.count(valueName) == 0) return kErrorFileNotFound;
    const std::string& text = found->second[valueName];
    std::memcpy(data, text.c_str(), text.size() + 1);
    length = static_cast<uint32_t>(text.size() + 1);
    type = kRegSz;
    return kErrorSuccess;
  }

  int32_t CloseKey(KeyHandle) override { return kErrorSuccess; }

  int32_t EnumKey(KeyHandle key, uint32_t index, std::string& name) override {
    const auto& [root, view, path] = opened_.at(key - 1);
    std::set<std::string> names;
    for (const auto& [each, values] : Keys) {
      const std::string& below = std::get<2>(each);
      if (std::get<0>(each) == root && std::get<1>(each) == view && below.rfind(path + "\\", 0) == 0) {
        names.insert(below.substr(path.size() + 1, below.find('\\', path.size() + 1) - path.size() - 1));
      }
    }
    if (index >= names.size()) return kErrorNoMoreItems;
    name = *std::next(names.begin(), index);
    return kErrorSuccess;
  }

 private:
  std::vector<Key> opened_;
};

const MapRegistry::Key kSteam{kHkeyCurrentUser, false, "Software\\Valve\\Steam"};
const char kGog[] = "Software\\GOG.com\\Games\\";

class DiscoveryGameFolder : public ::testing::Test {
 protected:
  // Reads with the sources Windows has, on every system.
  bool Read() {
    folder = "untouched";
    return ReadGameFolder(registry, folder, RecordedStoreCopyFolders);
  }
  // A folder holding the game, its name as a store may spell it.
  std::string Game(const std::string& relative, const char* executable = "Gravelon.exe") {
    WriteFile(temp / (relative + "/" + executable), "MZ");
    return (temp / relative).string() + static_cast<char>(std::filesystem::path::preferred_separator);
  }
  std::string Escaped(std::string path) {
    for (size_t at = 0; (at = path.find('\\', at)) != std::string::npos; at += 2) path.insert(at, 1, '\\');
    return path;
  }

  TempDir temp;
  MapRegistry registry;
  std::string folder;
};

// Steam records its folder with slashes; a library listed in either of its
// files is searched in the files' order, each library's folders by name.
TEST_F(DiscoveryGameFolder, SteamCopyWithoutTheRegistryValue) {
  std::string steam = (temp / "Steam").string();
  std::replace(steam.begin(), steam.end(), '\\', '/');
  registry.Keys[kSteam]["SteamPath"] = steam;
  WriteFile(temp / "Steam/steamapps/common/Other Game/other.exe", "MZ");
  WriteFile(temp / "Steam/config/libraryfolders.vdf",
            "\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + Escaped((temp / "Library").string()) +
                "\"\n\t}\n}\n");
  const std::string expected = Game("Library/steamapps/common/Gravelon", "GRAVELON.EXE");
  Game("Library/steamapps/common/Zeta");
  EXPECT_TRUE(Read());
  EXPECT_EQ(folder, expected);

  // The value the game's own installer records wins wherever it exists.
  registry.Keys[{kHkeyLocalMachine, false, kGameKey}][kGameValue] = "X:\\Recorded\\";
  EXPECT_TRUE(Read());
  EXPECT_EQ(folder, "X:\\Recorded\\");
}

// GOG's records in the 32-bit view first, then in the 64-bit one.
TEST_F(DiscoveryGameFolder, GogCopyInEitherView) {
  registry.Keys[{kHkeyLocalMachine, false, std::string(kGog) + "1207658930"}]["path"] =
      (temp / "Other").string();
  registry.Keys[{kHkeyLocalMachine, true, std::string(kGog) + "1207658931"}]["path"] =
      (temp / "GOG Gravelon").string();
  const std::string expected = Game("GOG Gravelon");
  Game("Other/not-the-game");
  EXPECT_TRUE(Read());
  EXPECT_EQ(folder, expected);
}

TEST_F(DiscoveryGameFolder, NothingFound) {
  registry.Keys[kSteam]["SteamPath"] = (temp / "Steam").string();
  Game("Steam/steamapps/common/Gravelon/deeper");  // two levels down
  registry.Keys[{kHkeyLocalMachine, false, std::string(kGog) + "1"}]["path"] = (temp / "missing").string();
  EXPECT_FALSE(Read());
  EXPECT_EQ(folder, "untouched");
}

}  // namespace
