// Whether a car ID can name the car's folder under "Data\Cars\", and
// whether that folder may be written at all.
#pragma once

#include <string>

namespace game {

// False for an ID that would lead out of "Data\Cars\" or cannot name a
// folder: a path separator, a colon, one of * ? " < > |, a control
// character, a byte outside printable ASCII, or a last dot or blank.
bool IsUsableFolderName(const std::string& carId);

// False when the system refuses to let this program create a file in the
// game's "Data\Cars\" folder for want of rights (a standard user and a
// game under Program Files); a probe file is made and deleted again. Other
// failures, a missing folder among them, are the run's to report.
bool MayWriteCarsFolder(const std::string& gameFolder);

}  // namespace game
