// The thin layer between the core and the operating system. The core never
// calls the system directly, so it builds for POSIX and for 32-bit Windows
// alike; each function has one implementation per platform
// (platform_posix.cpp, platform_win32.cpp).
//
// Paths are UTF-8 text in the program's own form. On Windows that is the
// Windows path as it stands. On POSIX a path may use backslashes as well as
// slashes (game paths are built as GameFolder + "Data\Cars\..."), and each
// component is matched without regard to letter case among the entries that
// exist, as Windows would (NativePath).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A failure of the last platform call, as an error number of the installer's
// own numbering (the classic run-time error numbers: 53 file not found, 76
// path not found, 70 permission denied, ...) and a plain description.
struct OsError {
  int16_t Number = 0;
  std::string Description;
};

// Error numbers the core itself raises for failures that are not system calls.
inline constexpr int16_t kErrOutOfMemory = 7;
inline constexpr int16_t kErrBadFileName = 52;
inline constexpr int16_t kErrFileNotFound = 53;
inline constexpr int16_t kErrDiskFull = 61;
inline constexpr int16_t kErrInputPastEnd = 62;
inline constexpr int16_t kErrBadRecordNumber = 63;
inline constexpr int16_t kErrPermissionDenied = 70;
inline constexpr int16_t kErrPathFileAccess = 75;
inline constexpr int16_t kErrPathNotFound = 76;
inline constexpr int16_t kErrDeviceIo = 57;
// Held open by another program (the game, a scanner) past the retries.
inline constexpr int16_t kErrFileInUse = 55;

// The description that goes with one of the numbers above.
std::string ErrorDescription(int16_t number);

// The error of the last failed call of this layer on this thread.
OsError LastError();

enum class OpenMode {
  Read,        // existing file, read only; others may read, write and delete it
  ReadLocked,  // the same, but others may only read while it is open
  Write,       // create or truncate, write only
  Append,      // create if missing, every write goes to the end
  // A new file, write only; fails when anything stands at the name, a link
  // above all, which is never followed (temporary and probe files).
  CreateNew,
};

// An open file. Positions are 0-based byte offsets.
class File {
 public:
  File() = default;
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;

  bool Open(const std::string& path, OpenMode mode);
  bool Close();
  bool IsOpen() const { return handle_ != kInvalid; }

  // Length of the file in bytes, or -1.
  int64_t Size();
  bool Seek(int64_t offset);
  // Current position, or -1.
  int64_t Tell();
  // Reads exactly size bytes; a short read fails with kErrInputPastEnd.
  bool ReadExact(void* buffer, size_t size);
  bool WriteAll(const void* buffer, size_t size);
  // Copies up to size bytes from offset `offset` of this file to the current
  // position of to inside the system, without passing them through this
  // program; this file's own position stays. Returns the number copied, 0 at
  // the end of this file, or -1 when the system will not copy between these
  // two files (not available, as on Windows; different file systems, ...)
  // or the copy failed; the caller then copies through memory.
  int64_t CopyRangeTo(int64_t offset, size_t size, File& to);
  // Makes what was written durable before, say, it replaces another file.
  bool Flush();
  // Before closing a file of a batch that FlushBatch ends (see there).
  bool FlushInBatch();
  // Cuts the file (or extends it with zeros) to length bytes.
  bool SetLength(int64_t length);

 private:
  friend class FileView;
#ifdef _WIN32
  // No file handle is null; a zero keeps a global File out of the
  // installer's initialised data.
  static constexpr intptr_t kInvalid = 0;
#else
  static constexpr intptr_t kInvalid = -1;
#endif
  intptr_t handle_ = kInvalid;
};

#ifdef _WIN32
// Inline, so the stub drops the copying that can never happen.
inline int64_t File::CopyRangeTo(int64_t, size_t, File&) { return -1; }
#endif

// Part of an open file, mapped read-only into memory, so that reading it
// copies nothing; unmapped on destruction. Data() is null where the system
// maps nothing (Windows, where the installer has no room for it) or the
// mapping failed: the caller then reads.
class FileView {
 public:
#ifdef _WIN32
  FileView(File&, int64_t, size_t) {}
  const uint8_t* Data() const { return nullptr; }
#else
  FileView(File& file, int64_t offset, size_t size);
  ~FileView();
  FileView(const FileView&) = delete;
  FileView& operator=(const FileView&) = delete;
  const uint8_t* Data() const {
    return base_ == nullptr ? nullptr : static_cast<const uint8_t*>(base_) + skip_;
  }

 private:
  void* base_ = nullptr;
  size_t length_ = 0;
  size_t skip_ = 0;  // from the page boundary below offset
#endif
};

// Makes a batch of new files under folder (a car's), and the folder entries
// that name them, durable before anything else names them. Windows gives an
// ordinary user no flush of a whole volume, so there each file flushes
// itself in FlushInBatch and nothing is left; on POSIX one flush of the file
// system here costs a fraction of a flush per file.
#ifdef _WIN32
inline bool File::FlushInBatch() { return Flush(); }
inline bool FlushBatch(const std::string&) { return true; }
#else
inline bool File::FlushInBatch() { return true; }
bool FlushBatch(const std::string& folder);
#endif

// Windows attribute bits; other platforms map them (read-only: no write
// permission for anyone; hidden and system have no equivalent there).
inline constexpr unsigned kAttrNormal = 0;
inline constexpr unsigned kAttrReadOnly = 1;
inline constexpr unsigned kAttrHidden = 2;
inline constexpr unsigned kAttrSystem = 4;

// Fails when the file does not exist.
bool SetFileAttributes(const std::string& path, unsigned attributes);
// True when the path names an existing file that is marked read-only.
bool IsReadOnly(const std::string& path);
bool DeleteFile(const std::string& path);
// Moves from over to, replacing to in one step where the system allows it;
// the move itself is made durable too. A file that was at to passes its
// attributes (read-only above all) to the one that replaces it.
bool ReplaceFile(const std::string& from, const std::string& to);

// Frees a name for a new file: removes the file (read-only too) or the link
// standing there, never what a link leads to. True when nothing stands
// there any more; a folder there fails.
bool ClearName(const std::string& path);

// True when a name of path past its first `from` characters is a link, a
// junction or another reparse point, or cannot be examined: what is
// written there could land anywhere.
bool PassesThroughLink(const std::string& path, size_t from);

// Removes an empty folder.
bool RemoveFolder(const std::string& path);
// Removes a symbolic link (or a junction) itself, whatever it leads to.
bool RemoveLink(const std::string& path);

bool FolderExists(const std::string& path);
// Creates every missing folder named in path up to its last separator;
// what follows the last separator is a file name and is not created.
bool MakeSureDirectoryPathExists(const std::string& path);

// One name in a folder.
struct FolderEntry {
  std::string Name;
  bool IsFolder = false;  // a folder itself, not a link to one
  bool IsFile = false;    // a file with data, also through a link
};

// The entries of a folder, without "." and "..", in the system's order.
bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries);

// True when both paths name one existing file, however they are spelled.
bool SameFile(const std::string& a, const std::string& b);

// What a path leads to once its symbolic links are followed: the tool packs
// a car's folder as its author sees it, and writes over regular files only.
enum class PathKind { Missing, File, Folder, Device, Pipe, Socket };
struct PathInfo {
  PathKind Kind = PathKind::Missing;
  bool IsLink = false;  // the name itself is a symbolic link (or a junction)
  // Together they tell one file or folder from another, however reached.
  uint64_t Volume = 0;
  uint64_t Index = 0;
  // What it leads to: its length, and when its data last changed, in the
  // system's own units (only ever compared with another stamp of it).
  int64_t Size = 0;
  uint64_t Modified = 0;
};
// Fails only when the path cannot be examined. A missing name, and a link
// that leads nowhere (to a missing name or round in a circle), give Missing.
bool GetPathInfo(const std::string& path, PathInfo& info);

// Gives to the permissions of from (above all its execute bits) where the
// system has such permissions; elsewhere there is nothing to do.
bool CopyPermissions(const std::string& from, const std::string& to);

// Full path of the running program's own file, as the system reports it.
std::string ExecutablePath();

// True for the characters that separate path components here: the
// backslash everywhere, the slash too (Windows accepts both).
bool IsSeparator(char c);

// Whether the file systems of this system take names that differ only in
// letter case for one name.
#ifdef _WIN32
inline constexpr bool kNamesIgnoreCase = true;
#else
inline constexpr bool kNamesIgnoreCase = false;
#endif

// The separator this system writes between path components.
#ifdef _WIN32
inline constexpr char kPreferredSeparator = '\\';
#else
inline constexpr char kPreferredSeparator = '/';
#endif

// The path the system is given for a program path (see the top of this file).
std::string NativePath(const std::string& path);

#ifndef _WIN32
// From now on every name is taken in the letter case it is written in: the
// rigbox tool's names come from a POSIX shell, and its output must never
// replace a file whose name differs in case alone.
void TakeNamesAsWritten();
#endif

// folder and name with one separator between them, this system's when folder
// ends with none; an empty folder gives name as it stands.
std::string JoinPath(const std::string& folder, const std::string& name);

// The file a symbolic link at path leads to, "" when path is no link.
// Windows' file links are rare and replaced as a whole: "" there.
#ifdef _WIN32
inline std::string LinkedFile(const std::string& /*path*/) { return {}; }
#else
std::string LinkedFile(const std::string& path);
#endif

#ifndef _WIN32
// Where path leads once its links, "." and ".." are resolved, "" when it
// leads nowhere. Only Wine's drive links and linked game files need it.
std::string RealPath(const std::string& path);
#endif

// Value of an environment variable, empty when unset.
std::string GetEnv(const char* name);

// A new, empty folder of this process's own in the system's folder for
// temporary files, "" on failure. The caller removes it.
std::string MakeTemporaryFolder();

// True when the program runs with an administrator's rights: elevated on
// Windows, as root elsewhere.
bool IsElevated();

// Where Windows keeps its own copy of the file at path for programs it
// virtualizes: under the user's VirtualStore folder when path lies in a
// protected folder of the system drive, else "". Such a program (an old
// game) reads the copy whenever it exists. "" on other systems.
std::string VirtualStorePath(const std::string& path);

// Milliseconds from an arbitrary start on a clock that never goes back, for
// intervals (a change of the system's time does not move it).
int64_t MonotonicMilliseconds();

}  // namespace platform
