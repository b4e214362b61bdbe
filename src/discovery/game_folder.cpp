#include "discovery/game_folder.h"

#include <algorithm>
#include <utility>

#include "discovery/launcher_files.h"
#include "support/platform.h"
#include "support/tools.h"

namespace discovery {
namespace {

using modRegistry::RegistryApi;

constexpr const char kGogGames[] = "Software\\GOG.com\\Games";

std::vector<std::string> RecordedSteamLibraries(RegistryApi& registry) {
  std::string steam;
  if (!modRegistry::ReadRegistryValue(registry, modRegistry::kHkeyCurrentUser, "Software\\Valve\\Steam",
                                      "SteamPath", steam) ||
      steam.empty()) {
    return {};
  }
  // Steam records its folder with slashes; the folders found below it read
  // as the system writes them.
  std::replace(steam.begin(), steam.end(), '/', platform::kPreferredSeparator);
  std::vector<std::string> libraries = ListedSteamLibraries(steam);
  libraries.insert(libraries.begin(), steam);
  return libraries;
}

std::vector<std::string> GogGameFolders(RegistryApi& registry, uint32_t view) {
  std::vector<std::string> names;
  modRegistry::KeyHandle key = 0;
  if (registry.OpenKey(modRegistry::kHkeyLocalMachine, kGogGames, 0, modRegistry::kKeyRead | view, key) ==
      modRegistry::kErrorSuccess) {
    std::string name;
    for (uint32_t index = 0; registry.EnumKey(key, index, name) == modRegistry::kErrorSuccess; ++index) {
      names.push_back(name);
    }
  }
  registry.CloseKey(key);
  std::vector<std::string> folders;
  for (const std::string& name : names) {
    std::string path;
    const std::string game = std::string(kGogGames) + "\\" + name;
    if (modRegistry::ReadRegistryValue(registry, modRegistry::kHkeyLocalMachine, game, "path", path, view) &&
        !path.empty()) {
      folders.push_back(std::move(path));
    }
  }
  return folders;
}

}  // namespace

std::vector<std::string> SteamGameFolders(const std::vector<std::string>& libraries) {
  std::vector<std::string> folders;
  for (const std::string& library : libraries) {
    const std::string common = platform::JoinPath(platform::JoinPath(library, "steamapps"), "common");
    std::vector<platform::FolderEntry> entries;
    if (!platform::ListFolder(common, entries)) continue;
    std::vector<std::string> names;
    for (platform::FolderEntry& entry : entries) names.push_back(std::move(entry.Name));
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) folders.push_back(platform::JoinPath(common, name));
  }
  return folders;
}

std::vector<std::string> RecordedStoreCopyFolders(RegistryApi& registry) {
  std::vector<std::string> folders = SteamGameFolders(RecordedSteamLibraries(registry));
  for (uint32_t view : {0u, modRegistry::kKeyWow64_64Key}) {
    for (std::string& folder : GogGameFolders(registry, view)) folders.push_back(std::move(folder));
  }
  return folders;
}

bool ReadGameFolder(RegistryApi& registry, std::string& folder, FolderSource source) {
  if (modRegistry::ReadRegistryValue(registry, modRegistry::kHkeyLocalMachine, kGameKey, kGameValue,
                                     folder)) {
    return true;
  }
  for (const std::string& candidate : source(registry)) {
    const std::string withSeparator = modTools::AddBackslash(candidate);
    // On POSIX the platform layer matches the name without case, as Windows does.
    if (modTools::FileExists(withSeparator + kGameExecutable)) {
      folder = withSeparator;
      return true;
    }
  }
  return false;
}

}  // namespace discovery
