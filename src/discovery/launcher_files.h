// Reading the files in which game launchers keep their folders. Steam's
// library list (VDF) has no Debian-packaged reader, so it is read here, on
// every system; the YAML of Lutris and Bottles and the JSON of Heroic are
// read with libyaml and nlohmann-json, on POSIX only, where those run.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace discovery {

// A launcher's own file is small; anything bigger is not one of them.
inline constexpr int64_t kMaxLauncherFileBytes = 4 << 20;

// The file's bytes, "" unless it is a regular file of at most
// kMaxLauncherFileBytes: a stray link to a device or a fifo must not hang
// the installer.
std::string ReadLauncherFile(const std::string& path);

// The names in a launcher's folder in byte order; none when it cannot be
// listed.
std::vector<std::string> SortedNames(const std::string& folder);

// The library folders a Steam libraryfolders.vdf lists: the "path" values
// (key in any letter case) of the current format, the numbered absolute
// paths of the old one ("1" "/mnt/games/SteamLibrary").
std::vector<std::string> SteamLibraryPaths(std::string_view vdfText);

// A Steam folder, then the libraries its two library files list, in the
// order of the files: steamapps/libraryfolders.vdf, which current Steam may
// leave stale, then config/libraryfolders.vdf, which it writes.
std::vector<std::string> SteamLibraries(const std::string& steamFolder);

// The first string value of a member named key in a JSON text, found by a
// scan that knows strings (with the escapes \\ and \", any other escaped
// character taken as it is) but not the nesting; "" when there is none.
// Enough for a launcher's flat record, in a program too small for a parser.
std::string ScanJsonString(std::string_view jsonText, std::string_view key);

#ifndef _WIN32
// The scalar at keyPath (a key of the top mapping, then of the mapping it
// holds, ...) of a YAML file's first document; "" when there is none, when
// it is null or not a scalar, and for a file that is no YAML.
std::string YamlScalar(std::string_view yamlText, std::initializer_list<std::string_view> keyPath);

// Every string that a member named key holds, at any depth of a JSON file,
// in the file's order; none for a file that is no JSON.
std::vector<std::string> JsonStrings(std::string_view jsonText, std::string_view key);

// One text value of a binary VDF file and the key it stands under.
struct BinaryVdfText {
  std::string Key;
  std::string Value;
  bool operator==(const BinaryVdfText&) const = default;
};

// Every text value of a binary VDF file (Steam's shortcuts.vdf), at any
// depth, in the file's order; none for a file that is truncated, unbalanced
// or holds a type this reader does not know.
std::vector<BinaryVdfText> BinaryVdfTexts(std::string_view bytes);

// The folders a shortcuts.vdf names for its games, in the file's order:
// each shortcut's StartDir and the folder of its Exe, without the quotes
// Steam puts around them.
std::vector<std::string> SteamShortcutFolders(std::string_view vdfBytes);
#endif

}  // namespace discovery
