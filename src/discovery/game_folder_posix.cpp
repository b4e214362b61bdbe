#include "discovery/game_folder.h"
#include "discovery/wine_prefixes.h"

namespace discovery {

// Here Steam records nothing in a registry: its libraries are the ones the
// walk through the launchers' folders found.
std::vector<std::string> StoreCopyFolders(modRegistry::RegistryApi& /*registry*/) {
  return SteamGameFolders(SystemLaunchers().SteamLibraries);
}

}  // namespace discovery
