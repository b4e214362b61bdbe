// How the tool carries a failure up to the one place that reports it: an
// Error in the tool's own words, naming the file, the entry and the reason,
// which each caller on the way up may lead with what it was doing.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "support/failure.h"

namespace rigbox_tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

class Error {
 public:
  explicit Error(std::string message, int exitStatus = kExitFailure)
      : message_(std::move(message)), exitStatus_(exitStatus) {}
  // A failure of the core or the system, told in its own words.
  explicit Error(support::Failure cause)
      : message_(support::FailureText(cause)), exitStatus_(kExitFailure), cause_(std::move(cause)) {}

  // The same failure led by context, such as "Cannot pack \"car\": ".
  Error Prefixed(const std::string& context) const {
    Error prefixed = *this;
    prefixed.message_ = context + message_;
    return prefixed;
  }
  const std::string& Message() const { return message_; }
  // What the core or the system reported; kind None for the tool's own words.
  const support::Failure& Cause() const { return cause_; }
  // kExitFailure, or kExitUsage for a command line the tool cannot follow.
  int ExitStatus() const { return exitStatus_; }

 private:
  std::string message_;
  int exitStatus_;
  support::Failure cause_;
};

// A value, or the Error that kept it from being made.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  Result(rigbox_tool::Error error) : error_(std::move(error)) {}

  explicit operator bool() const { return value_.has_value(); }
  T& operator*() { return *value_; }
  T* operator->() { return &*value_; }
  rigbox_tool::Error Error() const { return *error_; }

 private:
  std::optional<T> value_;
  std::optional<rigbox_tool::Error> error_;
};

// What a step that makes nothing gives when it succeeds.
struct Done {};
using Status = Result<Done>;

}  // namespace rigbox_tool
