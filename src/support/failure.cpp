#include "support/failure.h"

#include <utility>

#include "support/platform.h"

namespace support {

Failure Failure::WithFile(std::string file) && {
  File = std::move(file);
  return std::move(*this);
}

Failure Failure::WithDetail(std::string detail) && {
  Detail = std::move(detail);
  return std::move(*this);
}

Failure MakeFailure(FailureKind kind, int16_t number, std::string what) {
  Failure failure;
  failure.Kind = kind;
  failure.Number = number;
  failure.What = std::move(what);
  return failure;
}

Failure SystemFailure(std::string what) {
  int16_t number = platform::LastError().Number;
  FailureKind kind = FailureKind::System;
  if (number == platform::kErrFileInUse) kind = FailureKind::InUse;
  if (number == platform::kErrPermissionDenied || number == platform::kErrPathFileAccess)
    kind = FailureKind::AccessDenied;
  return MakeFailure(kind, number, std::move(what));
}

bool IsSystemFailure(FailureKind kind) { return kind >= FailureKind::System; }

std::string FailureText(const Failure& failure, const std::string& reason) {
  std::string text = failure.What;
  // Paths are shown as the system names them, so a POSIX player reads a
  // POSIX path rather than the wizard's mix of separators.
  if (!failure.File.empty()) text += " \"" + platform::NativePath(failure.File) + "\"";
  text += failure.Detail;
  if (IsSystemFailure(failure.Kind)) text += ": " + reason;
  return text;
}

std::string FailureText(const Failure& failure) {
  return FailureText(failure, platform::ErrorDescription(failure.Number));
}

}  // namespace support
