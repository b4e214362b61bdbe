#include "package/rigbox_errors.h"

#include "package/rigbox.h"
#include "support/platform.h"

namespace modRIGBOX {

// Paths are shown as the system names them, so a POSIX player reads a
// POSIX path rather than the wizard's mix of separators.
std::string Quoted(const std::string& path) { return "\"" + platform::NativePath(path) + "\""; }

bool FailOs(const std::string& what) {
  platform::OsError error = platform::LastError();
  LastErrNumber = error.Number;
  LastErrText = what + ": " + error.Description;
  return false;
}

bool FailNumber(int16_t number, const std::string& text) {
  LastErrNumber = number;
  LastErrText = text;
  return false;
}

bool FailFormat(const std::string& text) {
  LastErrNumber = kFormatError;
  LastErrText = text;
  return false;
}

}  // namespace modRIGBOX
