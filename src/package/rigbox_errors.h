// How the package module fills LastFailure, LastErrNumber and LastErrText;
// shared by the files of the module only.
#pragma once

#include <string>

#include "support/failure.h"

namespace modRIGBOX {

// Records failure as the module's last error, its number and its text.
// Returns false.
bool Fail(support::Failure failure);
// A malformed package (kind BadPackage, number -1), of what is wrong.
support::Failure Malformed(std::string what);

}  // namespace modRIGBOX
