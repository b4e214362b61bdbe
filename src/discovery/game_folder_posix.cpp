#include "discovery/game_folder.h"

#include <utility>

#include "discovery/launcher_files.h"
#include "discovery/wine_prefixes.h"
#include "discovery/wine_registry.h"
#include "support/ascii_case.h"

namespace discovery {
namespace {

constexpr const char kSteamKey[] = "Software\\Valve\\Steam";

// A Windows Steam installed into a prefix records its folder in the
// prefix's user.reg; "" when there is none.
std::string PrefixSteamPath(const std::string& prefix) {
  const modRegistry::RegistryFile file(prefix, "user.reg");
  const std::string_view userReg = file.Text();
  if (!modRegistry::MayHoldKey(userReg, kSteamKey)) return std::string();
  const auto key = modRegistry::FindWineRegKey(userReg, kSteamKey);
  if (!key) return std::string();
  for (const modRegistry::WineRegValue& value : *key) {
    if (value.Type != modRegistry::kRegSz || !support::EqualsIgnoringCase(value.Name, "SteamPath")) continue;
    std::string steam = modRegistry::Utf16LeToUtf8(value.Data);
    if (!steam.empty() && steam.back() == '\0') steam.pop_back();
    return steam;
  }
  return std::string();
}

// That Steam's folder and the libraries it lists, all Windows paths of the
// prefix.
std::vector<std::string> PrefixSteamLibraries(const std::string& prefix) {
  std::vector<std::string> libraries;
  const std::string steam = PrefixSteamPath(prefix);
  if (steam.empty()) return libraries;
  for (const std::string& library : SteamLibraries(modRegistry::MapDosPath(steam, prefix, DosDriveRoot)))
    libraries.push_back(modRegistry::MapDosPath(library, prefix, DosDriveRoot));
  return libraries;
}

}  // namespace

std::vector<StoreCopy> StoreCopiesFound(const LauncherFolders& found, modRegistry::RegistryApi& registry) {
  std::vector<StoreCopy> copies;
  for (std::string& folder : SteamGameFolders(found.SteamLibraries))
    copies.push_back({std::move(folder), "Steam"});
  copies.insert(copies.end(), found.StoreCopies.begin(), found.StoreCopies.end());
  for (const std::string& prefix : found.Prefixes) {
    for (std::string& folder : SteamGameFolders(PrefixSteamLibraries(prefix)))
      copies.push_back({std::move(folder), "Steam"});
  }
  for (StoreCopy& copy : GogGameFolders(registry)) copies.push_back(std::move(copy));
  return copies;
}

std::vector<StoreCopy> StoreCopyFolders(modRegistry::RegistryApi& registry) {
  return StoreCopiesFound(SystemLaunchers(), registry);
}

std::string PrefixLauncher(const std::string& prefix) {
  const LauncherFolders& found = SystemLaunchers();
  for (size_t i = 0; i < found.Prefixes.size(); ++i)
    if (found.Prefixes[i] == prefix) return found.PrefixLaunchers[i];
  return std::string();
}

}  // namespace discovery
