#include "discovery/game_folder.h"

#include <algorithm>
#include <utility>

#include "discovery/launcher_files.h"
#include "support/ascii_case.h"
#include "support/platform.h"
#include "support/tools.h"

namespace discovery {
namespace {

using modRegistry::RegistryApi;

constexpr const char kSteamKey[] = "Software\\Valve\\Steam";
constexpr const char kEpicManifests[] = "Epic\\EpicGamesLauncher\\Data\\Manifests";
// The registry's 32-bit view, then its 64-bit one.
constexpr uint32_t kViews[] = {0, modRegistry::kKeyWow64_64Key};

// Appends the path of each GOG game recorded in one view of the registry.
void AddGogGameFolders(RegistryApi& registry, uint32_t view, std::vector<StoreCopy>& folders) {
  modRegistry::KeyHandle key = 0;
  std::string name;
  if (registry.OpenKey(modRegistry::kHkeyLocalMachine, kGogGamesKey, 0, modRegistry::kKeyRead | view, key) ==
      modRegistry::kErrorSuccess) {
    for (uint32_t index = 0; registry.EnumKey(key, index, name) == modRegistry::kErrorSuccess; ++index) {
      std::string path;
      if (modRegistry::ReadRegistryValue(registry, modRegistry::kHkeyLocalMachine,
                                         kGogGamesKey + ("\\" + name), "path", path, view) &&
          !path.empty()) {
        folders.push_back({std::move(path), "GOG"});
      }
    }
  }
  registry.CloseKey(key);
}

// Whether the folder holds kGameExecutable; on POSIX the platform layer
// matches its name without case, as Windows does.
bool HoldsGame(const std::string& folder) {
  return !folder.empty() && modTools::FileExists(modTools::AddBackslash(folder) + kGameExecutable);
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

std::vector<std::string> EpicGameFolders(const std::string& manifests) {
  std::vector<std::string> folders;
  for (const std::string& name : SortedNames(manifests)) {
    if (name.size() < 5 ||
        !support::EqualsIgnoringCase(std::string_view(name).substr(name.size() - 5), ".item"))
      continue;
    std::string folder =
        ScanJsonString(ReadLauncherFile(platform::JoinPath(manifests, name)), "InstallLocation");
    if (!folder.empty()) folders.push_back(std::move(folder));
  }
  return folders;
}

std::vector<StoreCopy> RecordedStoreCopyFolders(RegistryApi& registry) {
  std::vector<StoreCopy> folders;
  std::string steam;
  // Steam installed by another account records itself for the machine only.
  bool found = modRegistry::ReadRegistryValue(registry, modRegistry::kHkeyCurrentUser, kSteamKey, "SteamPath",
                                              steam) &&
               !steam.empty();
  for (uint32_t view : kViews) {
    if (!found)
      found = modRegistry::ReadRegistryValue(registry, modRegistry::kHkeyLocalMachine, kSteamKey,
                                             "InstallPath", steam, view) &&
              !steam.empty();
  }
  if (found) {
    // Steam records its folder with slashes; the folders found below it
    // read as the system writes them.
    std::replace(steam.begin(), steam.end(), '/', platform::kPreferredSeparator);
    for (std::string& folder : SteamGameFolders(SteamLibraries(steam)))
      folders.push_back({std::move(folder), "Steam"});
  }
  for (uint32_t view : kViews) AddGogGameFolders(registry, view, folders);
  const std::string programData = platform::GetEnv("ProgramData");
  if (!programData.empty()) {
    for (std::string& folder : EpicGameFolders(platform::JoinPath(programData, kEpicManifests)))
      folders.push_back({std::move(folder), "Epic"});
  }
  return folders;
}

bool ReadGameFolder(RegistryApi& registry, std::string& folder, FolderOrigin& origin, FolderSource source) {
  // The first value, or the first that holds the game, and where it came from.
  std::string value, shown;
  FolderOrigin shownOrigin;
  bool found = false, holds = false;
  do {
    if (!modRegistry::ReadRegistryValue(registry, modRegistry::kHkeyLocalMachine, kGameKey, kGameValue,
                                        value))
      break;
    holds = HoldsGame(value);
    if (!found || holds) {
      const std::string prefix = registry.ValueSource();
      shown = value;
      shownOrigin = {OriginKind::Registry, prefix, prefix.empty() ? std::string() : PrefixLauncher(prefix)};
      found = true;
    }
  } while (!holds && registry.SkipValueSource());
  registry.RewindValueSources();
  for (const StoreCopy& candidate : holds ? std::vector<StoreCopy>() : source(registry)) {
    if (HoldsGame(candidate.Folder)) {
      folder = modTools::AddBackslash(candidate.Folder);
      origin = {OriginKind::StoreCopy, candidate.Store, std::string()};
      return true;
    }
  }
  // When nothing holds the game, the value is shown as it stands.
  if (found) {
    folder = shown;
    origin = shownOrigin;
  }
  return found;
}

}  // namespace discovery
