#include "discovery/game_folder.h"

namespace discovery {

std::vector<std::string> StoreCopyFolders(modRegistry::RegistryApi& registry) {
  return RecordedStoreCopyFolders(registry);
}

}  // namespace discovery
