#include "package/rigbox_errors.h"

#include <utility>

#include "package/rigbox.h"

namespace modRIGBOX {

bool Fail(support::Failure failure) {
  LastErrNumber = failure.Number;
  LastErrText = support::FailureText(failure);
  LastFailure = std::move(failure);
  return false;
}

support::Failure Malformed(std::string what) {
  return support::MakeFailure(support::FailureKind::BadPackage, kFormatError, std::move(what));
}

}  // namespace modRIGBOX
