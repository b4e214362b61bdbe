#include "discovery/game_folder.h"

namespace discovery {

std::vector<StoreCopy> StoreCopyFolders(modRegistry::RegistryApi& registry) {
  return RecordedStoreCopyFolders(registry);
}

}  // namespace discovery
