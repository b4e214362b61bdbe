// The parts of the platform layer that are the same on every system.
#include "support/platform.h"
#include "support/platform_failure.h"

namespace platform {
namespace {

#ifdef _WIN32
// The installer has one thread; a plain static keeps the TLS runtime out.
OsError sLastError;
#else
thread_local OsError sLastError;
#endif

}  // namespace

bool FailWith(int16_t number) {
  sLastError.Number = number;
  sLastError.Description = ErrorDescription(number);
  return false;
}

OsError LastError() { return sLastError; }

std::string ErrorDescription(int16_t number) {
  switch (number) {
    case kErrOutOfMemory:
      return "Out of memory";
    case kErrBadFileName:
      return "Bad file name";
    case kErrFileNotFound:
      return "File not found";
    case kErrDiskFull:
      return "Disk full";
    case kErrInputPastEnd:
      return "Input past end of file";
    case kErrBadRecordNumber:
      return "Bad record number";
    case kErrPermissionDenied:
      return "Permission denied";
    case kErrPathFileAccess:
      return "Path/File access error";
    case kErrPathNotFound:
      return "Path not found";
    case kErrFileInUse:
      return "in use by another program, for example the game: close it and try again";
    default:
      return "Device I/O error";
  }
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || IsSeparator(folder.back())) return folder + name;
  return folder + kPreferredSeparator + name;
}

// Ownership of the handle is the same on every system; only Close differs.
File::~File() { Close(); }

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = kInvalid; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = kInvalid;
  }
  return *this;
}

}  // namespace platform
