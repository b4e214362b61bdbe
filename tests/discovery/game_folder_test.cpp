#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "common/temp_dir.h"
#include "discovery/game_folder.h"

namespace {

using namespace discovery;
using namespace modRegistry;
using namespace testing_support;

// String values by key ("HKCU\..." or "HKLM32\..."/"HKLM64\..." for the
// views); a key opens when it or a key below it has values.
class MapRegistry : public RegistryApi {
 public:
  std::map<std::string, std::map<std::string, std::string>> Keys;

  int32_t OpenKey(uint32_t root, const std::string& subKey, uint32_t, uint32_t access,
                  KeyHandle& key) override {
    const char* view = (access & kKeyWow64_64Key) != 0 ? "HKLM64\\" : "HKLM32\\";
    opened_.push_back((root == kHkeyCurrentUser ? "HKCU\\" : view) + subKey);
    key = opened_.size();
    auto below = Keys.lower_bound(opened_.back());
    return below != Keys.end() && below->first.rfind(opened_.back(), 0) == 0 ? kErrorSuccess
                                                                             : kErrorFileNotFound;
  }
  int32_t QueryValue(KeyHandle key, const std::string& name, uint32_t& type, uint8_t* data,
                     uint32_t& length) override {
    const std::string& text = Keys[opened_.at(key - 1)][name];
    if (text.empty()) return kErrorFileNotFound;
    std::memcpy(data, text.c_str(), text.size() + 1);
    length = static_cast<uint32_t>(text.size() + 1);
    type = kRegSz;
    return kErrorSuccess;
  }
  int32_t CloseKey(KeyHandle) override { return kErrorSuccess; }
  int32_t EnumKey(KeyHandle key, uint32_t index, std::string& name) override {
    const std::string parent = opened_.at(key - 1) + "\\";
    for (const auto& [path, values] : Keys) {
      if (path.rfind(parent, 0) == 0 && index-- == 0) {
        name = path.substr(parent.size());
        return kErrorSuccess;
      }
    }
    return kErrorNoMoreItems;
  }

 private:
  std::vector<std::string> opened_;
};

// Store copies as Windows records them, looked for on every system; the
// registry value wins over all of them.
TEST(DiscoveryGameFolder, StoreCopiesWithoutTheRegistryValue) {
  TempDir temp;
  MapRegistry registry;
  std::string folder = "untouched";
  auto read = [&] { return ReadGameFolder(registry, folder, RecordedStoreCopyFolders); };
  auto game = [&](const std::string& relative, const char* executable = "Gravelon.exe") {
    const std::filesystem::path folder = temp.Path() / std::filesystem::path(relative).make_preferred();
    WriteFile(folder / executable, "MZ");
    return folder.string() + static_cast<char>(std::filesystem::path::preferred_separator);
  };
  // Steam records its own folder with slashes.
  std::string steam = (temp / "Steam").string(), library = (temp / "Library").string();
  std::replace(steam.begin(), steam.end(), '\\', '/');
  game("Steam/steamapps/common/Gravelon/deeper");  // two levels down
  registry.Keys["HKCU\\Software\\Valve\\Steam"]["SteamPath"] = steam;
  EXPECT_FALSE(read());
  EXPECT_EQ(folder, "untouched");

  // GOG's records in the 32-bit view, then in the 64-bit one.
  registry.Keys["HKLM32\\Software\\GOG.com\\Games\\1"]["path"] = (temp / "Other").string();
  registry.Keys["HKLM64\\Software\\GOG.com\\Games\\2"]["path"] = (temp / "GOG").string();
  const std::string gog = game("GOG");
  game("Other/deeper");
  EXPECT_TRUE(read());
  EXPECT_EQ(folder, gog);

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

  registry.Keys["HKLM32\\" + std::string(kGameKey)][kGameValue] = "X:\\Recorded\\";
  EXPECT_TRUE(read());
  EXPECT_EQ(folder, "X:\\Recorded\\");
}

}  // namespace
