#include "package/rigbox_errors.h"

#include "package/rigbox.h"

namespace modRIGBOX {
namespace {

bool Recorded(const std::string& file, std::string_view detail) {
  LastFailure.File = file;
  LastFailure.Detail = detail;
  LastErrNumber = LastFailure.Number;
  LastErrText = support::FailureText(LastFailure);
  return false;
}

}  // namespace

bool Fail(support::FailureKind kind, int16_t number, std::string_view what, const std::string& file,
          std::string_view detail) {
  LastFailure = support::MakeFailure(kind, number, what);
  return Recorded(file, detail);
}

bool Fail(support::FailureKind kind, int16_t number, std::string_view what) {
  return Fail(kind, number, what, std::string(), {});
}

bool FailOs(std::string_view what, const std::string& file, std::string_view detail) {
  LastFailure = support::SystemFailure(what);
  return Recorded(file, detail);
}

bool FailMalformed(std::string_view what) {
  return Fail(support::FailureKind::BadPackage, kFormatError, what);
}

}  // namespace modRIGBOX
