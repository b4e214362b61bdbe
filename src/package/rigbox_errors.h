// How the package module fills LastFailure, LastErrNumber and LastErrText;
// shared by the files of the module only. Each returns false.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/failure.h"

namespace modRIGBOX {

// The failure is recorded in place, not built and moved: the Windows
// installer has no room for a temporary at every call.
bool Fail(support::FailureKind kind, int16_t number, std::string_view what, const std::string& file,
          std::string_view detail);
bool Fail(support::FailureKind kind, int16_t number, std::string_view what);
// The last platform failure, while doing what to file.
bool FailOs(std::string_view what, const std::string& file, std::string_view detail = {});
// A malformed package (kind BadPackage, number -1), of what is wrong.
bool FailMalformed(std::string_view what);

}  // namespace modRIGBOX
