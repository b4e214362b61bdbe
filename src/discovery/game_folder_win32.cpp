#include "discovery/game_folder.h"

namespace discovery {

std::vector<StoreCopy> StoreCopyFolders(modRegistry::RegistryApi& registry) {
  return RecordedStoreCopyFolders(registry);
}

std::string PrefixLauncher(const std::string& /*prefix*/) { return std::string(); }

}  // namespace discovery
