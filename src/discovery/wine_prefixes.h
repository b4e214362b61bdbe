// Where the Wine prefixes of this user are, and what their drive letters
// stand for. POSIX only (wine_prefixes_posix.cpp).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace modRegistry {

// The prefixes whose registry a game may be recorded in, in the order they
// are asked: $WINEPREFIX, ~/.wine, then those of the game launchers (Steam,
// Bottles, Lutris, Heroic, PlayOnLinux) in the order of the table in
// wine_prefixes_posix.cpp, each folder's entries in byte order. Only folders
// holding a system.reg (directly or in pfx/) are returned, each once.
std::vector<std::string> DiscoverWinePrefixes();

// The library folders a Steam libraryfolders.vdf lists.
std::vector<std::string> SteamLibraryPaths(std::string_view vdfText);

// The winePrefix values of a Heroic GamesConfig .json file.
std::vector<std::string> HeroicWinePrefixes(std::string_view jsonText);

// The game: prefix: value of a Lutris game .yml file, "" when it has none.
std::string LutrisGamePrefix(std::string_view yamlText);

// The native folder of drive driveLetter ('c') of prefix: where its
// dosdevices/c: link leads, or "" when there is no such link.
std::string DosDriveRoot(const std::string& prefix, char driveLetter);

}  // namespace modRegistry
