// Where the Wine prefixes and Steam libraries of this user are, and what the
// prefixes' drive letters stand for. POSIX only (wine_prefixes_posix.cpp).
#pragma once

#include <string>
#include <vector>

#include "discovery/game_folder.h"

namespace discovery {

struct LauncherFolders {
  // The prefixes whose registry a game may be recorded in, in the order
  // they are asked: $WINEPREFIX, ~/.wine, Flatpak Wine's, then those of the
  // game launchers (Steam, Bottles, Lutris, Heroic, PlayOnLinux, CrossOver,
  // Phoenicis, Faugus, umu, Minigalaxy) in the order of the table in
  // wine_prefixes_posix.cpp, each folder's entries in byte order. Only
  // folders holding a system.reg (directly or in pfx/) count, each once.
  std::vector<std::string> Prefixes;
  // By Prefixes: the launcher whose files named it, as above; "" for
  // $WINEPREFIX, ~/.wine and Flatpak Wine's.
  std::vector<std::string> PrefixLaunchers;
  // Every Steam folder and library found on the way, each once, in that order.
  std::vector<std::string> SteamLibraries;
  // The game folders the launchers' own records name: Steam's non-Steam
  // shortcuts, then Heroic's games of each store (GOG, Epic, Amazon, then
  // the sideloaded ones by their program's folder), native before Flatpak.
  std::vector<StoreCopy> StoreCopies;
};

// Walks the launchers' folders below $HOME (and $XDG_DATA_HOME,
// $XDG_CONFIG_HOME) as they are now.
LauncherFolders DiscoverLaunchers();

// The same, walked once, at the first call.
const LauncherFolders& SystemLaunchers();

// Where store copies of the game may be, in this order: the game folders of
// found's Steam libraries (steamapps/common/*), its StoreCopies, those of
// the Windows Steam installed in each prefix (SteamPath in its user.reg,
// then the libraries that Steam lists), and the GOG games that registry
// records (the Wine registry of found's prefixes).
std::vector<StoreCopy> StoreCopiesFound(const LauncherFolders& found, modRegistry::RegistryApi& registry);

// The native folder of drive driveLetter ('c') of prefix: where its
// dosdevices/c: link leads; without a link that leads somewhere, c: is the
// prefix's drive_c and s: Proton's game drive (wine_prefixes_posix.cpp);
// else "".
std::string DosDriveRoot(const std::string& prefix, char driveLetter);

}  // namespace discovery
