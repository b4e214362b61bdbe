// The car in Windows' list of installed programs: an uninstall entry per
// game folder and car, whose commands run a copy of this program without
// its package, kept where no removal ever has to delete it. The copy
// removes the car from its install record alone (--remove --car).
#pragma once

#include <cstdint>
#include <string>

#include "discovery/registry.h"

namespace wizard {

inline constexpr char kUninstallKeys[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The entry's key below kUninstallKeys: the car's ID and a digest of the
// game folder (letter case and a last separator ignored), so a second
// install of the car into that game replaces the entry.
std::string UninstallKeyName(const std::string& gameFolder, const std::string& carId);

// The command that removes the car with the program at uninstaller,
// asking first; with kQuiet after it, without a word.
std::string UninstallCommand(const std::string& uninstaller, const std::string& gameFolder,
                             const std::string& carId);
inline constexpr char kQuiet[] = " --silent";

// "<name> (<ID>)", or the ID alone for a car without a name.
std::string CarShownName(const std::string& name, const std::string& carId);

// What the uninstaller asks before it removes the car from gameFolder:
// the car named as its install record there names it.
std::string RemovalQuestion(const std::string& gameFolder, const std::string& carId);

// The entry's command that asks first, once the player said Yes, cannot
// do its work unelevated where the car's folder cannot be written or the
// entry is the machine's (an install that ran elevated): it then runs once
// more as administrator, with kAsked so that it does not ask again.
bool RemovalNeedsRights(const std::string& gameFolder, const std::string& carId,
                        modRegistry::RegistryApi& registry);
inline constexpr char kAsked[] = " --asked";
// Windows' command line without the program's name: the same arguments
// for the elevated run.
std::string ArgumentsOf(const std::string& commandLine);

// The version the bytes of a program carry in their version resource
// (file version, most significant part first); 0 when there is none.
uint64_t ProgramVersion(const std::string& program);

// What the entry says of the car; each text outlives the call it is for.
struct InstalledCar {
  const std::string &GameFolder, &CarId, &Name, &Version, &Author;
  int64_t Bytes;  // of its files
};

// After an install on Windows: the program's first programLength bytes
// (the program without its package) kept as the uninstaller, replaced only
// by a newer version, then the entry. "" when both are in place, else
// what failed; nothing at all where the registry keeps no
// entries (Linux, tests).
std::string RegisterUninstall(modRegistry::RegistryApi& registry, const InstalledCar& car,
                              const std::string& programPath, int64_t programLength);

// After a removal that left nothing of the car: its entry, in either root.
void UnregisterUninstall(modRegistry::RegistryApi& registry, const std::string& gameFolder,
                         const std::string& carId);

}  // namespace wizard
