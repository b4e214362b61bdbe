// Finding the game's folder: the value the game's own installer records,
// else a store copy (Steam, GOG) that records none, found where its store
// keeps it.
#pragma once

#include <string>
#include <vector>

#include "discovery/registry.h"

namespace discovery {

inline constexpr const char* kGameKey = "SOFTWARE\\Brackmoor\\Gravelon";
inline constexpr const char* kGameValue = "DestinationDir";
// The file that makes a folder the game's folder.
inline constexpr const char* kGameExecutable = "Gravelon.exe";
// Where GOG records each game it installed, a subkey per game.
inline constexpr const char* kGogGamesKey = "Software\\GOG.com\\Games";

// The folders one level below steamapps/common of each library, in the
// libraries' order, each library's by name.
std::vector<std::string> SteamGameFolders(const std::vector<std::string>& libraries);

// A folder where a game store may keep the game, and the store's name.
struct StoreCopy {
  std::string Folder;
  std::string Store;  // "Steam", "GOG", "Epic"
  bool operator==(const StoreCopy&) const = default;
};

// Where the game folder came from, for the unattended mode to say: Text is
// the Wine prefix whose registry recorded it (empty for Windows' own
// registry), or the store whose copy it is; Launcher the launcher whose
// files named that prefix. Picked: chosen in the window.
enum class OriginKind { None, CommandLine, Registry, StoreCopy, Picked };
struct FolderOrigin {
  OriginKind Kind = OriginKind::None;
  std::string Text;
  std::string Launcher;
};

// The launcher whose files named this Wine prefix (wine_prefixes.h); "" for
// any other prefix, and on Windows.
std::string PrefixLauncher(const std::string& prefix);

// The path of each GOG game (HKLM\Software\GOG.com\Games\*) in the
// registry's own view: a Wine prefix's registry shows both views at once.
std::vector<StoreCopy> GogGameFolders(modRegistry::RegistryApi& registry);

// The install folder that each Epic manifest (*.item, JSON) in the folder
// records, by the manifests' names.
std::vector<std::string> EpicGameFolders(const std::string& manifests);

// The store copies the registry and the stores' records tell of, as Windows
// keeps them: the game folders of the Steam folder that Steam records for
// the user (HKCU\Software\Valve\Steam, SteamPath) or else for the machine
// (HKLM\Software\Valve\Steam, InstallPath) and of the libraries it lists;
// then the path of each GOG game (HKLM\Software\GOG.com\Games\*); each HKLM
// key in the 32-bit view, then in the 64-bit one; then Epic's games, from
// the manifests in %ProgramData%\Epic\EpicGamesLauncher\Data\Manifests.
std::vector<StoreCopy> RecordedStoreCopyFolders(modRegistry::RegistryApi& registry);

// Where this system's store copies may be: on Windows those above; on
// POSIX the game folders of the Steam libraries that the launcher walk
// found (wine_prefixes.h).
std::vector<StoreCopy> StoreCopyFolders(modRegistry::RegistryApi& registry);

using FolderSource = std::vector<StoreCopy> (*)(modRegistry::RegistryApi& registry);

// The game folder: the first of the registry's values (one per Wine prefix,
// in their order) whose folder holds kGameExecutable (its name matched
// without case), taken as it stands; else the first of source's folders
// that holds it, with a trailing separator; else the first value, which
// the player sees and may correct. False, with folder and origin
// untouched, when none of them gives one.
bool ReadGameFolder(modRegistry::RegistryApi& registry, std::string& folder, FolderOrigin& origin,
                    FolderSource source = StoreCopyFolders);

}  // namespace discovery
