// Whether a car ID can name the car's folder under "Data\Cars\".
#pragma once

#include <string>

namespace game {

// False for an ID that would lead out of "Data\Cars\" or cannot name a
// folder: a path separator, a colon, one of * ? " < > |, a control
// character, a byte outside printable ASCII, or a last dot or blank.
bool IsUsableFolderName(const std::string& carId);

}  // namespace game
