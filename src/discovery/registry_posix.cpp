#include "discovery/registry.h"
#include "discovery/wine_prefixes.h"
#include "discovery/wine_registry.h"

namespace modRegistry {

// The prefixes are looked for once, at the first read.
RegistryApi& SystemRegistry() {
  static WineRegistryApi registry(discovery::SystemLaunchers().Prefixes, discovery::DosDriveRoot);
  return registry;
}

}  // namespace modRegistry
