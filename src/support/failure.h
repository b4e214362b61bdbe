// How the core and the tool carry a failure: its kind and the context it
// happened in, apart from the sentence that reports it. Callers decide on
// the kind and the context; the text is made from them, last, in one place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace support {

enum class FailureKind : uint8_t {
  None,
  NotPackage,    // no package where one should start, or too short for a header
  WrongVersion,  // a package of a version this program does not read
  BadPackage,    // a directory or an entry that cannot be right
  TooBig,        // a package that would pass the format's limits
  BadName,       // a name the format will not store
  Damaged,       // bytes that differ from the checksum the installer was made with
  Misuse,        // a call at the wrong time or with an argument no caller passes
  // Failures of the system; Number says which.
  System,
  InUse,         // held by another program past the retries
  AccessDenied,  // refused by permissions, or a folder where a file should be
};

struct Failure {
  FailureKind Kind = FailureKind::None;
  // The run-time error number reported with it: the system's, -1 for a
  // malformed package, else the core's own.
  int16_t Number = 0;
  // What was being done or looked at, up to the file it names.
  std::string What;
  // The file it names, in the program's own form; empty when it names none.
  std::string File;
  // What follows the file: a position, a range, the reason.
  std::string Detail;

  // Kept out of line: the Windows installer builds many failures and has
  // no room for their string moves inlined at every one.
  Failure();
  Failure(const Failure& other);
  Failure(Failure&& other) noexcept;
  Failure& operator=(const Failure& other);
  Failure& operator=(Failure&& other) noexcept;
  ~Failure();
};

Failure MakeFailure(FailureKind kind, int16_t number, std::string_view what);
// The failure of the last platform call, while doing what; its kind and
// number are the system's.
Failure SystemFailure(std::string_view what);
bool IsSystemFailure(FailureKind kind);

// What + the quoted file in the system's own form + Detail, and for a
// system failure ": " + reason. The caller may give the reason in the
// player's language; without it, the system's own description.
std::string FailureText(const Failure& failure, const std::string& reason);
std::string FailureText(const Failure& failure);

}  // namespace support
