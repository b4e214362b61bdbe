#include "discovery/game_folder.h"

#include <utility>

#include "discovery/wine_prefixes.h"

namespace discovery {

// Here Steam records nothing in a registry: its libraries are the ones the
// walk through the launchers' folders found.
std::vector<StoreCopy> StoreCopyFolders(modRegistry::RegistryApi& /*registry*/) {
  std::vector<StoreCopy> copies;
  for (std::string& folder : SteamGameFolders(SystemLaunchers().SteamLibraries))
    copies.push_back({std::move(folder), "Steam"});
  return copies;
}

std::string PrefixLauncher(const std::string& prefix) {
  const LauncherFolders& found = SystemLaunchers();
  for (size_t i = 0; i < found.Prefixes.size(); ++i)
    if (found.Prefixes[i] == prefix) return found.PrefixLaunchers[i];
  return std::string();
}

}  // namespace discovery
