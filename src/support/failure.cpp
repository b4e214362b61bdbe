#include "support/failure.h"

#include "support/platform.h"

namespace support {

Failure::Failure() = default;
Failure::Failure(const Failure& other) = default;
Failure::Failure(Failure&& other) noexcept = default;
Failure& Failure::operator=(const Failure& other) = default;
Failure& Failure::operator=(Failure&& other) noexcept = default;
Failure::~Failure() = default;

Failure MakeFailure(FailureKind kind, int16_t number, std::string_view what) {
  Failure failure;
  failure.Kind = kind;
  failure.Number = number;
  failure.What = what;
  return failure;
}

Failure SystemFailure(std::string_view what) {
  int16_t number = platform::LastError().Number;
  FailureKind kind = FailureKind::System;
  if (number == platform::kErrFileInUse) kind = FailureKind::InUse;
  if (number == platform::kErrPermissionDenied || number == platform::kErrPathFileAccess)
    kind = FailureKind::AccessDenied;
  return MakeFailure(kind, number, what);
}

bool IsSystemFailure(FailureKind kind) { return kind >= FailureKind::System; }

std::string FailureText(const Failure& failure, const std::string& reason) {
  std::string text = failure.What;
  // Paths are shown as the system names them, so a POSIX player reads a
  // POSIX path rather than the wizard's mix of separators.
  if (!failure.File.empty()) {
    text += " \"";
    text += platform::NativePath(failure.File);
    text += '"';
  }
  text += failure.Detail;
  if (IsSystemFailure(failure.Kind)) {
    text += ": ";
    text += reason;
  }
  return text;
}

std::string FailureText(const Failure& failure) {
  return FailureText(failure, platform::ErrorDescription(failure.Number));
}

}  // namespace support
