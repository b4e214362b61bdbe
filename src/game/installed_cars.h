// The list of cars installed into a game folder, kept in the profile file
// "Vehiforge.ini" there: section "Cars", keys "CarsCount" and CarID1 to
// CarID N.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/script_registration.h"

namespace game {

// Replaces installedCars with the list in the profile file of gameFolder
// (a folder path ending with a separator), followed by the cars only
// Windows' copy of the file lists (StoreCopyOf). False, with an empty list,
// when neither file has a usable "CarsCount".
bool LoadINI(const std::string& gameFolder, std::vector<std::string>& installedCars);

// Writes the whole list as a fresh profile file and marks it read-only,
// hidden and system; then the same into Windows' copy of it, when there is
// one. The old file is replaced only by a complete new one. The sink, when
// given, hears of a file that failed ("Vehiforge.ini" or the copy's path)
// and why, and of the copy written.
bool WriteINI(const std::string& gameFolder, const std::vector<std::string>& installedCars,
              ProgressSink* sink = nullptr);

// A decimal number, fraction rounded to the nearest integer (halves to the
// even one), as a 16-bit signed integer; nothing when it is no number or
// out of range. Blanks around it are allowed.
std::optional<int16_t> ToInteger16(const std::string& text);

}  // namespace game
