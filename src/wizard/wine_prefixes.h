// Where the Wine prefixes of this user are, and what their drive letters
// stand for. POSIX only (wine_prefixes_posix.cpp).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace modRegistry {

// The prefixes whose registry a game may be recorded in, in the order they
// are asked: $WINEPREFIX alone when it is set; otherwise ~/.wine, then the
// Proton prefixes steamapps/compatdata/<app>/pfx of the Steam installations
// ~/.steam/steam and ~/.local/share/Steam and of the library folders their
// steamapps/libraryfolders.vdf lists. Only folders holding a system.reg are
// returned, each once.
std::vector<std::string> DiscoverWinePrefixes();

// The library folders a Steam libraryfolders.vdf lists.
std::vector<std::string> SteamLibraryPaths(std::string_view vdfText);

// The native folder of drive driveLetter ('c') of prefix: where its
// dosdevices/c: link leads, or "" when there is no such link.
std::string DosDriveRoot(const std::string& prefix, char driveLetter);

}  // namespace modRegistry
