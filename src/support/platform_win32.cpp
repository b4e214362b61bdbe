// The platform layer over the wide Win32 API: program paths are UTF-8 and
// every call hands the system their UTF-16 form, so names outside the ANSI
// code page work whatever the system's settings.
#include "support/platform.h"

#include <string>

#include "support/platform_failure.h"
#include "support/text_format.h"
#include "support/wide_text.h"
#include "support/windows_include.h"
// After windows.h.
#include <knownfolders.h>
#include <shlobj.h>

namespace platform {
namespace {

// CreateDirectoryW's limit (MAX_PATH less room for an 8.3 name); longer
// paths go to the system in the \\?\ form.
constexpr size_t kShortPathLimit = MAX_PATH - 12;

// ReadFile and WriteFile take 32-bit counts.
constexpr size_t kMaxChunk = 1u << 30;

int16_t NumberFromSystem(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return kErrFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
      return kErrPathNotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return kErrFileInUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
      return kErrPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
      return kErrDiskFull;
    case ERROR_HANDLE_EOF:
      return kErrInputPastEnd;
    case ERROR_NEGATIVE_SEEK:
      return kErrBadRecordNumber;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return kErrOutOfMemory;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_PARAMETER:
      return kErrBadFileName;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
    case ERROR_DIR_NOT_EMPTY:
    case ERROR_BUSY:
    case ERROR_CANNOT_MAKE:
      return kErrPathFileAccess;
    default:
      return kErrDeviceIo;
  }
}

bool Fail(DWORD error) { return FailWith(NumberFromSystem(error)); }

using support::Narrow;
using support::Widen;

bool StartsWith(const std::wstring& text, const wchar_t* prefix) { return text.rfind(prefix, 0) == 0; }

// The name the system is given. A long path only works in the \\?\ form,
// which skips all normalisation, so it is made full and clean first.
std::wstring SystemPath(const std::string& path) {
  std::wstring wide = Widen(path);
  if (wide.size() < kShortPathLimit || StartsWith(wide, L"\\\\?\\") || StartsWith(wide, L"\\\\.\\"))
    return wide;
  DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return wide;
  full.resize(length);
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  if (full.size() >= 3 && full[1] == L':') return L"\\\\?\\" + full;
  return wide;
}

DWORD AttributesOf(const std::wstring& systemPath) { return GetFileAttributesW(systemPath.c_str()); }

bool IsFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// CREATE_ALWAYS refuses an existing hidden or system file unless those bits
// are asked for again; truncating keeps them, as it keeps a mode on POSIX.
DWORD AttributesForRewrite(const std::wstring& systemPath) {
  DWORD attributes = AttributesOf(systemPath);
  if (attributes == INVALID_FILE_ATTRIBUTES || IsFolder(attributes)) return FILE_ATTRIBUTE_NORMAL;
  DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

// Length of the part of path that names a drive or share rather than a
// folder that could be created: "C:\", "\\server\share\", "\".
size_t RootLength(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return (path.size() >= 3 && IsSeparator(path[2])) ? 3 : 2;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    size_t position = 2;
    for (int component = 0; component < 2 && position < path.size(); ++component) {
      while (position < path.size() && !IsSeparator(path[position])) ++position;
      if (position < path.size()) ++position;
    }
    return position;
  }
  return (!path.empty() && IsSeparator(path[0])) ? 1 : 0;
}

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// A file just written may be held a moment by a virus scanner or the search
// indexer, or by the game while it closes. Such failures are tried again
// for about two seconds in all, with growing pauses.
constexpr DWORD kFirstPause = 10;  // milliseconds
constexpr DWORD kRetryTime = 2000;

bool MayPassSoon(DWORD error, const std::wstring& target) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
  // Access denied on a plain file is a scanner or a delete still pending;
  // on a read-only file or a folder it stays.
  DWORD attributes = AttributesOf(target);
  return error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

// call() is a system call that sets the last error when it returns false.
template <typename Call>
bool Retried(const std::wstring& target, Call call) {
  DWORD waited = 0;
  for (DWORD pause = kFirstPause;; pause *= 2) {
    if (call()) return true;
    DWORD error = GetLastError();
    if (waited >= kRetryTime || !MayPassSoon(error, target)) {
      SetLastError(error);
      return false;
    }
    if (pause > kRetryTime - waited) pause = kRetryTime - waited;
    Sleep(pause);
    waited += pause;
  }
}

}  // namespace

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Windows matches names without regard to case by itself.
std::string NativePath(const std::string& path) { return path; }

bool File::Open(const std::string& path, OpenMode mode) {
  Close();
  std::wstring name = SystemPath(path);
  DWORD access = GENERIC_READ;
  DWORD disposition = OPEN_EXISTING;
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  DWORD share = FILE_SHARE_READ;
  switch (mode) {
    case OpenMode::Read:
      // A game file another program holds open, letting others read, is
      // still there to read.
      share |= FILE_SHARE_WRITE | FILE_SHARE_DELETE;
      break;
    case OpenMode::ReadLocked:
      // The program's own file, which holds the package, must not change
      // while it is read.
      break;
    case OpenMode::Write:
      access = GENERIC_WRITE | FILE_READ_ATTRIBUTES;
      disposition = CREATE_ALWAYS;
      attributes = AttributesForRewrite(name);
      break;
    case OpenMode::Append:
      // Without FILE_WRITE_DATA every write goes to the end of the file.
      access = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
      disposition = OPEN_ALWAYS;
      break;
    case OpenMode::CreateNew:
      access = GENERIC_WRITE;
      disposition = CREATE_NEW;
      attributes = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
      break;
  }
  HANDLE handle = INVALID_HANDLE_VALUE;
  auto open = [&] {
    handle = CreateFileW(name.c_str(), access, share, nullptr, disposition, attributes, nullptr);
    return handle != INVALID_HANDLE_VALUE;
  };
  // Reading asks for no sharing that a holder could refuse for long.
  bool opened = mode != OpenMode::Read && mode != OpenMode::ReadLocked ? Retried(name, open) : open();
  if (!opened) {
    DWORD error = GetLastError();
    // A folder opened as a file is refused as access denied.
    if (error == ERROR_ACCESS_DENIED && IsFolder(AttributesOf(name))) return FailWith(kErrPathFileAccess);
    return Fail(error);
  }
  handle_ = reinterpret_cast<intptr_t>(handle);
  return true;
}

bool File::Close() {
  if (handle_ == kInvalid) return true;
  HANDLE handle = AsHandle(handle_);
  handle_ = kInvalid;
  if (!CloseHandle(handle)) return Fail(GetLastError());
  return true;
}

int64_t File::Size() {
  LARGE_INTEGER size;
  if (!IsOpen()) {
    Fail(ERROR_INVALID_HANDLE);
    return -1;
  }
  if (!GetFileSizeEx(AsHandle(handle_), &size)) {
    Fail(GetLastError());
    return -1;
  }
  return size.QuadPart;
}

bool File::Seek(int64_t offset) {
  if (offset < 0) return FailWith(kErrBadRecordNumber);
  if (!IsOpen()) return Fail(ERROR_INVALID_HANDLE);
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(AsHandle(handle_), distance, nullptr, FILE_BEGIN)) return Fail(GetLastError());
  return true;
}

int64_t File::Tell() {
  LARGE_INTEGER zero;
  zero.QuadPart = 0;
  LARGE_INTEGER position;
  if (!IsOpen()) {
    Fail(ERROR_INVALID_HANDLE);
    return -1;
  }
  if (!SetFilePointerEx(AsHandle(handle_), zero, &position, FILE_CURRENT)) {
    Fail(GetLastError());
    return -1;
  }
  return position.QuadPart;
}

bool File::ReadExact(void* buffer, size_t size) {
  if (!IsOpen()) return Fail(ERROR_INVALID_HANDLE);
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    DWORD chunk = static_cast<DWORD>(size < kMaxChunk ? size : kMaxChunk);
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle_), bytes, chunk, &got, nullptr)) return Fail(GetLastError());
    if (got == 0) return FailWith(kErrInputPastEnd);
    bytes += got;
    size -= got;
  }
  return true;
}

bool File::WriteAll(const void* buffer, size_t size) {
  if (!IsOpen()) return Fail(ERROR_INVALID_HANDLE);
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  while (size > 0) {
    DWORD chunk = static_cast<DWORD>(size < kMaxChunk ? size : kMaxChunk);
    DWORD put = 0;
    if (!WriteFile(AsHandle(handle_), bytes, chunk, &put, nullptr)) return Fail(GetLastError());
    // A write that makes no progress would loop for ever.
    if (put == 0) return FailWith(kErrDeviceIo);
    bytes += put;
    size -= put;
  }
  return true;
}

bool File::Flush() {
  if (!IsOpen()) return Fail(ERROR_INVALID_HANDLE);
  if (!FlushFileBuffers(AsHandle(handle_))) return Fail(GetLastError());
  return true;
}

bool File::SetLength(int64_t length) {
  if (!Seek(length)) return false;
  if (!SetEndOfFile(AsHandle(handle_))) return Fail(GetLastError());
  return true;
}

bool SetFileAttributes(const std::string& path, unsigned attributes) {
  DWORD value = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE);
  if (value == 0) value = FILE_ATTRIBUTE_NORMAL;
  if (!SetFileAttributesW(SystemPath(path).c_str(), value)) return Fail(GetLastError());
  return true;
}

bool IsReadOnly(const std::string& path) {
  DWORD attributes = AttributesOf(SystemPath(path));
  return attributes != INVALID_FILE_ATTRIBUTES && !IsFolder(attributes) &&
         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool DeleteFile(const std::string& path) {
  std::wstring name = SystemPath(path);
  if (!Retried(name, [&] { return DeleteFileW(name.c_str()) != 0; })) return Fail(GetLastError());
  return true;
}

bool ClearName(const std::string& path) {
  std::wstring name = SystemPath(path);
  DWORD attributes = AttributesOf(name);  // a link's own, not its target's
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || Fail(error);
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveLink(path);
  if (IsFolder(attributes)) return FailWith(kErrPathFileAccess);
  // A read-only file refuses deletion.
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFile(path);
}

bool PassesThroughLink(const std::string& path, size_t from) {
  for (size_t end = path.find_first_of("\\/", from + 1);; end = path.find_first_of("\\/", end + 1)) {
    DWORD attributes = AttributesOf(SystemPath(path.substr(0, end)));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
      return true;
    if (end == std::string::npos) return false;
  }
}

bool RemoveFolder(const std::string& path) {
  if (!RemoveDirectoryW(SystemPath(path).c_str())) return Fail(GetLastError());
  return true;
}

bool RemoveLink(const std::string& path) {
  std::wstring name = SystemPath(path);
  // A link to a folder, and a junction, go as folders do; a link to a file
  // as a file.
  if (RemoveDirectoryW(name.c_str()) || DeleteFileW(name.c_str())) return true;
  return Fail(GetLastError());
}

bool ReplaceFile(const std::string& from, const std::string& to) {
  std::wstring target = SystemPath(to);
  // A read-only target refuses the move; the new file takes its attributes.
  DWORD attributes = AttributesOf(target);
  bool kept = attributes != INVALID_FILE_ATTRIBUTES && !IsFolder(attributes);
  if (kept) SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::wstring source = SystemPath(from);
  if (!Retried(target, [&] {
        return MoveFileExW(source.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
      })) {
    DWORD error = GetLastError();
    if (kept) SetFileAttributesW(target.c_str(), attributes);
    return Fail(error);
  }
  if (kept) SetFileAttributesW(target.c_str(), attributes);
  return true;
}

bool FolderExists(const std::string& path) {
  return !path.empty() && IsFolder(AttributesOf(SystemPath(path)));
}

bool MakeSureDirectoryPathExists(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsSeparator(path[i])) last = i;
  }
  if (last == std::string::npos) return true;
  for (size_t i = RootLength(path); i <= last; ++i) {
    if (!IsSeparator(path[i]) || (i > 0 && IsSeparator(path[i - 1]))) continue;
    std::wstring level = SystemPath(path.substr(0, i));
    if (CreateDirectoryW(level.c_str(), nullptr)) continue;
    DWORD error = GetLastError();
    // An existing level may also answer access denied (a protected parent).
    if (error == ERROR_ALREADY_EXISTS || IsFolder(AttributesOf(level))) continue;
    return Fail(error);
  }
  return true;
}

bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::wstring pattern = SystemPath(path);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || Fail(error);  // a drive's root may have no entries at all
  }
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A junction or link to a folder is not followed, as it could lead back up.
    bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entries.push_back({Narrow(name), folder && !link, !folder});
  } while (FindNextFileW(find, &data));
  DWORD error = GetLastError();
  FindClose(find);
  return error == ERROR_NO_MORE_FILES || Fail(error);
}

bool SameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION info[2];
  const std::string* paths[] = {&a, &b};
  for (int i = 0; i < 2; ++i) {
    HANDLE handle = CreateFileW(SystemPath(*paths[i]).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BOOL got = GetFileInformationByHandle(handle, &info[i]);
    CloseHandle(handle);
    if (!got) return false;
  }
  return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
         info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

namespace {

// Only symbolic links and junctions lead elsewhere; other reparse points
// (cloud placeholders, deduplicated files) are the files they stand for.
bool IsLinkEntry(const std::wstring& name) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(name.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
         (data.dwReserved0 == IO_REPARSE_TAG_SYMLINK || data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

PathKind KindOf(HANDLE handle, BY_HANDLE_FILE_INFORMATION& file) {
  switch (GetFileType(handle)) {
    case FILE_TYPE_DISK:
      if (!GetFileInformationByHandle(handle, &file)) return PathKind::Missing;
      return (file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::File;
    case FILE_TYPE_PIPE:
      return PathKind::Pipe;
    default:
      return PathKind::Device;
  }
}

}  // namespace

bool GetPathInfo(const std::string& path, PathInfo& info) {
  info = PathInfo{};
  std::wstring name = SystemPath(path);
  info.IsLink = IsLinkEntry(name);
  // Opened for its attributes alone, following links; a folder needs the
  // backup flag to be opened at all.
  HANDLE handle =
      CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_CANT_RESOLVE_FILENAME || Fail(error);
  }
  BY_HANDLE_FILE_INFORMATION file{};
  info.Kind = KindOf(handle, file);
  DWORD error = GetLastError();
  CloseHandle(handle);
  if (info.Kind == PathKind::Missing) return Fail(error);
  info.Volume = file.dwVolumeSerialNumber;
  info.Index = (static_cast<uint64_t>(file.nFileIndexHigh) << 32) | file.nFileIndexLow;
  info.Size = static_cast<int64_t>((static_cast<uint64_t>(file.nFileSizeHigh) << 32) | file.nFileSizeLow);
  info.Modified =
      (static_cast<uint64_t>(file.ftLastWriteTime.dwHighDateTime) << 32) | file.ftLastWriteTime.dwLowDateTime;
  return true;
}

// A program runs by its name here, not by a permission bit.
bool CopyPermissions(const std::string& /*from*/, const std::string& /*to*/) { return true; }

int64_t MonotonicMilliseconds() { return static_cast<int64_t>(GetTickCount64()); }

std::string ExecutablePath() {
  // GetModuleFileNameW truncates silently; grow until the whole name fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      Fail(GetLastError());
      return std::string();
    }
    if (length < buffer.size()) {
      buffer.resize(length);
      return Narrow(buffer);
    }
    if (buffer.size() >= 32768) {
      FailWith(kErrBadFileName);
      return std::string();
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string GetEnv(const char* name) {
  std::wstring wideName = Widen(name);
  std::wstring value(64, L'\0');
  // The second call gets the size the first one asked for.
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return std::string();
    if (length < value.size()) {
      value.resize(length);
      return Narrow(value);
    }
    value.resize(length);
  }
  return std::string();
}

std::string MakeTemporaryFolder() {
  std::wstring base(MAX_PATH + 1, L'\0');
  DWORD length = GetTempPathW(static_cast<DWORD>(base.size()), base.data());
  if (length == 0 || length >= base.size()) {
    Fail(length == 0 ? GetLastError() : DWORD{ERROR_FILENAME_EXCED_RANGE});
    return std::string();
  }
  base.resize(length);
  // The process ID keeps other processes out; the count, earlier runs of
  // this ID whose folders were left behind.
  // Digits by hand: std::to_wstring links the C runtime's printf into every
  // program of this library, the installer too (28 KB).
  std::wstring prefix = base + L"rigbox-" + Widen(support::DecimalText(GetCurrentProcessId())) + L"-";
  for (unsigned count = 0; count < 1000; ++count) {
    std::wstring folder = prefix + Widen(support::DecimalText(count));
    if (CreateDirectoryW(folder.c_str(), nullptr)) return Narrow(folder);
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  Fail(GetLastError());
  return std::string();
}

bool IsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  BOOL got = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
  CloseHandle(token);
  return got && elevation.TokenIsElevated != 0;
}

namespace {

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path))) result = path;
  CoTaskMemFree(path);
  return result;
}

bool IsInside(const std::wstring& path, const std::wstring& folder) {
  size_t length = folder.size();
  while (length > 0 && folder[length - 1] == L'\\') --length;
  return length > 0 && path.size() > length && path[length] == L'\\' &&
         CompareStringOrdinal(path.c_str(), static_cast<int>(length), folder.c_str(),
                              static_cast<int>(length), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::string VirtualStorePath(const std::string& path) {
  std::wstring wide = Widen(path);
  std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size() || full[1] != L':') return std::string();
  full.resize(length);
  // A 32-bit program is told the 32-bit Program Files folder; the other
  // one is protected as well.
  bool isProtected = IsInside(full, Widen(GetEnv("ProgramW6432")));
  static const KNOWNFOLDERID* const kProtected[] = {&FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86,
                                                    &FOLDERID_ProgramData, &FOLDERID_Windows};
  for (const KNOWNFOLDERID* folder : kProtected)
    isProtected = isProtected || IsInside(full, KnownFolder(*folder));
  std::wstring store = isProtected ? KnownFolder(FOLDERID_LocalAppData) : std::wstring();
  return store.empty() ? std::string() : Narrow(store + L"\\VirtualStore" + full.substr(2));
}

}  // namespace platform
