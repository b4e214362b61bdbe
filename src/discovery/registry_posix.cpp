#include "discovery/game_folder.h"
#include "discovery/registry.h"
#include "discovery/wine_prefixes.h"
#include "discovery/wine_registry.h"

namespace modRegistry {

// The prefixes are looked for once, at the first read. GOG's games are
// asked for after the game's own key.
RegistryApi& SystemRegistry() {
  static WineRegistryApi registry(discovery::SystemLaunchers().Prefixes, discovery::DosDriveRoot,
                                  {discovery::kGogGamesKey});
  return registry;
}

}  // namespace modRegistry
