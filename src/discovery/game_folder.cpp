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

// Appends the path of each GOG game recorded in one view of the registry.
void AddGogGameFolders(RegistryApi& registry, uint32_t view, std::vector<StoreCopy>& folders) {
  modRegistry::KeyHandle key = 0;
  std::string name;
  if (registry.OpenKey(modRegistry::kHkeyLocalMachine, kGogGames, 0, modRegistry::kKeyRead | view, key) ==
      modRegistry::kErrorSuccess) {
    for (uint32_t index = 0; registry.EnumKey(key, index, name) == modRegistry::kErrorSuccess; ++index) {
      std::string path;
      if (modRegistry::ReadRegistryValue(registry, modRegistry::kHkeyLocalMachine, kGogGames + ("\\" + name),
                                         "path", path, view) &&
          !path.empty()) {
        folders.push_back({std::move(path), "GOG"});
      }
    }
  }
  registry.CloseKey(key);
}

}  // namespace

std::vector<std::string> SteamGameFolders(const std::vector<std::string>& libraries) {
  std::vector<std::string> folders;
  for (const std::string& library : libraries) {
    const std::string common = platform::JoinPath(platform::JoinPath(library, "steamapps"), "common");
    for (const std::string& name : SortedNames(common)) folders.push_back(platform::JoinPath(common, name));
  }
  return folders;
}

std::vector<StoreCopy> GogGameFolders(RegistryApi& registry) {
  std::vector<StoreCopy> folders;
  AddGogGameFolders(registry, 0, folders);
  return folders;
}

std::vector<StoreCopy> RecordedStoreCopyFolders(RegistryApi& registry) {
  std::vector<StoreCopy> folders;
  std::string steam;
  if (modRegistry::ReadRegistryValue(registry, modRegistry::kHkeyCurrentUser, "Software\\Valve\\Steam",
                                     "SteamPath", steam) &&
      !steam.empty()) {
    // Steam records its folder with slashes; the folders found below it
    // read as the system writes them.
    std::replace(steam.begin(), steam.end(), '/', platform::kPreferredSeparator);
    for (std::string& folder : SteamGameFolders(SteamLibraries(steam)))
      folders.push_back({std::move(folder), "Steam"});
  }
  for (uint32_t view : {0u, modRegistry::kKeyWow64_64Key}) AddGogGameFolders(registry, view, folders);
  return folders;
}

bool ReadGameFolder(RegistryApi& registry, std::string& folder, FolderOrigin& origin, FolderSource source) {
  if (modRegistry::ReadRegistryValue(registry, modRegistry::kHkeyLocalMachine, kGameKey, kGameValue,
                                     folder)) {
    const std::string prefix = registry.ValueSource();
    origin = {OriginKind::Registry, prefix, prefix.empty() ? std::string() : PrefixLauncher(prefix)};
    return true;
  }
  for (const StoreCopy& candidate : source(registry)) {
    const std::string withSeparator = modTools::AddBackslash(candidate.Folder);
    // On POSIX the platform layer matches the name without case, as Windows does.
    if (modTools::FileExists(withSeparator + kGameExecutable)) {
      folder = withSeparator;
      origin = {OriginKind::StoreCopy, candidate.Store, std::string()};
      return true;
    }
  }
  return false;
}

}  // namespace discovery
