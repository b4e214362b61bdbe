#include "wizard/registry.h"
#include "wizard/wine_prefixes.h"
#include "wizard/wine_registry.h"

namespace modRegistry {

// The prefixes are looked for once, at the first read.
RegistryApi& SystemRegistry() {
  static WineRegistryApi registry(DiscoverWinePrefixes(), DosDriveRoot);
  return registry;
}

}  // namespace modRegistry
