// A registry held in plain containers, for the tests of what reads it.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "discovery/game_folder.h"
#include "discovery/registry.h"

namespace testing_support {

// String values by key ("HKCU\..." or "HKLM32\..."/"HKLM64\..." for the
// views); a key opens when it or a key below it has values.
class MapRegistry : public modRegistry::RegistryApi {
 public:
  std::map<std::string, std::map<std::string, std::string>> Keys;

  // The folder the game's own installer records.
  void SetGameFolder(const std::string& folder) {
    Keys[std::string("HKLM32\\") + discovery::kGameKey][discovery::kGameValue] = folder;
  }

  int32_t OpenKey(uint32_t root, const std::string& subKey, uint32_t, uint32_t access,
                  modRegistry::KeyHandle& key) override {
    const char* view = (access & modRegistry::kKeyWow64_64Key) != 0 ? "HKLM64\\" : "HKLM32\\";
    opened_.push_back((root == modRegistry::kHkeyCurrentUser ? "HKCU\\" : view) + subKey);
    key = opened_.size();
    auto below = Keys.lower_bound(opened_.back());
    return below != Keys.end() && below->first.rfind(opened_.back(), 0) == 0
               ? modRegistry::kErrorSuccess
               : modRegistry::kErrorFileNotFound;
  }
  int32_t QueryValue(modRegistry::KeyHandle key, const std::string& name, uint32_t& type, uint8_t* data,
                     uint32_t& length) override {
    const std::string& text = Keys[opened_.at(key - 1)][name];
    if (text.empty()) return modRegistry::kErrorFileNotFound;
    std::memcpy(data, text.c_str(), text.size() + 1);
    length = static_cast<uint32_t>(text.size() + 1);
    type = modRegistry::kRegSz;
    return modRegistry::kErrorSuccess;
  }
  int32_t CloseKey(modRegistry::KeyHandle) override { return modRegistry::kErrorSuccess; }
  int32_t EnumKey(modRegistry::KeyHandle key, uint32_t index, std::string& name) override {
    const std::string parent = opened_.at(key - 1) + "\\";
    for (const auto& [path, values] : Keys) {
      if (path.rfind(parent, 0) == 0 && index-- == 0) {
        name = path.substr(parent.size());
        return modRegistry::kErrorSuccess;
      }
    }
    return modRegistry::kErrorNoMoreItems;
  }

 private:
  std::vector<std::string> opened_;
};

}  // namespace testing_support
