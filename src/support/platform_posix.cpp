#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "support/path_resolver_posix.h"
#include "support/platform.h"
#include "support/platform_failure.h"

namespace platform {
namespace {

int16_t NumberFromErrno(int err) {
  switch (err) {
    case ENOENT:
      return kErrFileNotFound;
    case ENOTDIR:
      return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      return kErrPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kErrDiskFull;
    case ENOMEM:
      return kErrOutOfMemory;
    case ENAMETOOLONG:
    case EINVAL:
      return kErrBadFileName;
    case EISDIR:
    case EEXIST:
    case ENOTEMPTY:
    case EBUSY:
      return kErrPathFileAccess;
    default:
      return kErrDeviceIo;
  }
}

bool Fail(int err) { return FailWith(NumberFromErrno(err)); }

// ENOENT stands for a missing file and for a missing folder on the way to
// it; Windows tells the two apart (53 and 76), so the parent decides here.
bool FailAt(const std::string& nativePath, int err) {
  size_t slash = nativePath.rfind('/');
  if (err == ENOENT && slash != std::string::npos && slash > 0) {
    struct stat st;
    if (stat(nativePath.substr(0, slash).c_str(), &st) != 0) return FailWith(kErrPathNotFound);
  }
  return Fail(err);
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// One cache per thread: a resolver is not shared.
thread_local PathResolver tResolver;

// An unlink or rmdir of native has returned result.
bool RemovedAt(const std::string& native, int result) {
  if (result != 0) return FailAt(native, errno);
  tResolver.Removed(native);
  return true;
}

}  // namespace

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string NativePath(const std::string& path) { return tResolver.Resolve(path); }

void TakeNamesAsWritten() { tResolver.TakeNamesAsWritten(); }

bool File::Open(const std::string& path, OpenMode mode) {
  Close();
  std::string native = NativePath(path);
  int flags = O_CLOEXEC;
  switch (mode) {
    case OpenMode::Read:
    case OpenMode::ReadLocked:
      flags |= O_RDONLY;
      break;
    case OpenMode::Write:
      flags |= O_WRONLY | O_CREAT | O_TRUNC;
      break;
    case OpenMode::Append:
      flags |= O_WRONLY | O_CREAT | O_APPEND;
      break;
    case OpenMode::CreateNew:
      flags |= O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
      break;
  }
  bool canWrite = mode != OpenMode::Read && mode != OpenMode::ReadLocked;
  bool existed = !canWrite || Exists(native);
  int fd = open(native.c_str(), flags, 0666);
  if (fd < 0) return FailAt(native, errno);
  // Only reading opens a folder; writing one fails with EISDIR.
  struct stat st;
  if (!canWrite && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    close(fd);
    return FailWith(kErrPathFileAccess);
  }
  if (!existed) tResolver.Added(native);
  handle_ = fd;
  return true;
}

bool File::Close() {
  if (handle_ == kInvalid) return true;
  int fd = static_cast<int>(handle_);
  handle_ = kInvalid;
  if (close(fd) != 0) return Fail(errno);
  return true;
}

int64_t File::Size() {
  struct stat st;
  if (fstat(static_cast<int>(handle_), &st) != 0) {
    Fail(errno);
    return -1;
  }
  return st.st_size;
}

bool File::Seek(int64_t offset) {
  if (offset < 0) return FailWith(kErrBadRecordNumber);
  if (lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) < 0) return Fail(errno);
  return true;
}

int64_t File::Tell() {
  off_t position = lseek(static_cast<int>(handle_), 0, SEEK_CUR);
  if (position < 0) {
    Fail(errno);
    return -1;
  }
  return position;
}

bool File::ReadExact(void* buffer, size_t size) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    ssize_t got = read(static_cast<int>(handle_), bytes, size);
    if (got < 0) {
      if (errno == EINTR) continue;
      return Fail(errno);
    }
    if (got == 0) return FailWith(kErrInputPastEnd);
    bytes += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

bool File::WriteAll(const void* buffer, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  while (size > 0) {
    ssize_t put = write(static_cast<int>(handle_), bytes, size);
    if (put < 0) {
      if (errno == EINTR) continue;
      return Fail(errno);
    }
    bytes += put;
    size -= static_cast<size_t>(put);
  }
  return true;
}

int64_t File::CopyRangeTo(int64_t offset, size_t size, File& to) {
#ifdef __linux__
  auto from = static_cast<off64_t>(offset);
  ssize_t copied =
      copy_file_range(static_cast<int>(handle_), &from, static_cast<int>(to.handle_), nullptr, size, 0);
  if (copied >= 0) return copied;
  Fail(errno);
#else
  FailWith(kErrDeviceIo);
#endif
  return -1;
}

FileView::FileView(File& file, int64_t offset, size_t size) {
  if (offset < 0 || size == 0) return;
  static const auto page = static_cast<int64_t>(sysconf(_SC_PAGESIZE));
  int64_t start = offset - offset % page;
  skip_ = static_cast<size_t>(offset - start);
  length_ = skip_ + size;
  void* base = mmap(nullptr, length_, PROT_READ, MAP_PRIVATE, static_cast<int>(file.handle_),
                    static_cast<off_t>(start));
  if (base != MAP_FAILED) base_ = base;
}

FileView::~FileView() {
  if (base_ != nullptr) munmap(base_, length_);
}

bool File::Flush() {
  if (fsync(static_cast<int>(handle_)) != 0) return Fail(errno);
  return true;
}

bool FlushBatch(const std::string& folder) {
  std::string native = NativePath(folder);
  int fd = open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return FailAt(native, errno);
#ifdef __linux__
  // Also reports a write-back of the batch that failed after its close.
  int result = syncfs(fd);
#else
  sync();
  int result = fsync(fd);
#endif
  int err = errno;
  close(fd);
  return result == 0 || Fail(err);
}

bool File::SetLength(int64_t length) {
  if (ftruncate(static_cast<int>(handle_), static_cast<off_t>(length)) != 0) return Fail(errno);
  return true;
}

bool SetFileAttributes(const std::string& path, unsigned attributes) {
  std::string native = NativePath(path);
  struct stat st;
  if (stat(native.c_str(), &st) != 0) return FailAt(native, errno);
  mode_t mode = st.st_mode & 07777;
  if (attributes & kAttrReadOnly) {
    mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
    if (chmod(native.c_str(), mode) != 0) return Fail(errno);
    return true;
  }
  // "Normal" means writable by us. Someone else's file that we may write
  // already (a shared game folder) needs no chmod, which would fail.
  if (st.st_uid != geteuid() && access(native.c_str(), W_OK) == 0) return true;
  if ((mode & S_IWUSR) == 0 && chmod(native.c_str(), mode | S_IWUSR) != 0) return Fail(errno);
  if (access(native.c_str(), W_OK) != 0) return Fail(errno);
  return true;
}

bool IsReadOnly(const std::string& path) {
  struct stat st;
  if (stat(NativePath(path).c_str(), &st) != 0) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool DeleteFile(const std::string& path) {
  std::string native = NativePath(path);
  return RemovedAt(native, unlink(native.c_str()));
}

bool PassesThroughLink(const std::string& path, size_t from) {
  // Only letter case and separators differ: the positions stay.
  std::string native = NativePath(path);
  for (size_t end = native.find('/', from + 1);; end = native.find('/', end + 1)) {
    struct stat st;
    if (lstat(native.substr(0, end).c_str(), &st) != 0 || S_ISLNK(st.st_mode)) return true;
    if (end == std::string::npos) return false;
  }
}

bool RemoveFolder(const std::string& path) {
  std::string native = NativePath(path);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  return RemovedAt(native, rmdir(native.c_str()));
}

// unlink removes the link itself, never what it leads to.
bool RemoveLink(const std::string& path) { return DeleteFile(path); }

// A file's mode does not keep its name from being unlinked.
bool ClearName(const std::string& path) {
  std::string native = NativePath(path);
  int result = unlink(native.c_str());
  return (result != 0 && errno == ENOENT) || RemovedAt(native, result);
}

bool ReplaceFile(const std::string& from, const std::string& to) {
  std::string nativeTo = NativePath(to);
  std::string nativeFrom = NativePath(from);
  // The new file takes the old one's permissions and, where we may give
  // it, its owner: a read-only script stays read-only. Given through the
  // new file itself, so a link put in its place passes nothing on.
  struct stat old;
  if (stat(nativeTo.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    int fd = open(nativeFrom.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return FailAt(nativeFrom, errno);
    fchmod(fd, old.st_mode & 07777);
    [[maybe_unused]] int given = geteuid() == 0 ? fchown(fd, old.st_uid, old.st_gid) : 0;
    close(fd);
  }
  if (rename(nativeFrom.c_str(), nativeTo.c_str()) != 0) return FailAt(nativeFrom, errno);
  tResolver.Moved(nativeFrom, nativeTo);
  // The new name lives in the folder: sync it, or a power loss may bring
  // back the old file. The move has happened either way.
  size_t slash = nativeTo.rfind('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : nativeTo.substr(0, slash);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
  return true;
}

bool FolderExists(const std::string& path) {
  struct stat st;
  std::string native = NativePath(path);
  return !native.empty() && stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeSureDirectoryPathExists(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsSeparator(path[i])) last = i;
  }
  if (last == std::string::npos) return true;
  // Resolve each level afresh: a level created just now must be found by
  // the lookup of the next one.
  for (size_t i = 1; i <= last; ++i) {
    if (!IsSeparator(path[i]) || IsSeparator(path[i - 1])) continue;
    std::string native = NativePath(path.substr(0, i));
    if (mkdir(native.c_str(), 0777) == 0) {
      tResolver.Added(native);
    } else if (errno != EEXIST) {
      return Fail(errno);
    }
  }
  return true;
}

bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::string native = NativePath(path);
  DIR* handle = opendir(native.empty() ? "." : native.c_str());
  if (handle == nullptr) return FailAt(native, errno);
  errno = 0;
  while (const dirent* entry = readdir(handle)) {
    FolderEntry found{entry->d_name};
    if (found.Name == "." || found.Name == "..") continue;
    // A link to a folder is not followed, as it could lead back up.
    struct stat st;
    std::string full = JoinPath(native, found.Name);
    found.IsFolder = lstat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    found.IsFile = !found.IsFolder && stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    entries.push_back(std::move(found));
    errno = 0;
  }
  int err = errno;
  closedir(handle);
  return err == 0 || Fail(err);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  return stat(NativePath(a).c_str(), &first) == 0 && stat(NativePath(b).c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

namespace {

PathKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return PathKind::File;
  if (S_ISDIR(mode)) return PathKind::Folder;
  if (S_ISFIFO(mode)) return PathKind::Pipe;
  if (S_ISSOCK(mode)) return PathKind::Socket;
  return PathKind::Device;
}

// The name, or what a link leads to, is not there.
bool IsMissing(int err) { return err == ENOENT || err == ENOTDIR || err == ELOOP; }

}  // namespace

bool GetPathInfo(const std::string& path, PathInfo& info) {
  info = PathInfo{};
  std::string native = NativePath(path);
  struct stat st;
  if (lstat(native.c_str(), &st) != 0) return IsMissing(errno) || Fail(errno);
  info.IsLink = S_ISLNK(st.st_mode);
  if (info.IsLink && stat(native.c_str(), &st) != 0) return IsMissing(errno) || Fail(errno);
  info.Kind = KindOf(st.st_mode);
  info.Volume = static_cast<uint64_t>(st.st_dev);
  info.Index = static_cast<uint64_t>(st.st_ino);
  info.Size = static_cast<int64_t>(st.st_size);
  info.Modified =
      static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u + static_cast<uint64_t>(st.st_mtim.tv_nsec);
  return true;
}

bool CopyPermissions(const std::string& from, const std::string& to) {
  struct stat st;
  if (stat(NativePath(from).c_str(), &st) != 0) return Fail(errno);
  if (chmod(NativePath(to).c_str(), st.st_mode & 07777) != 0) return Fail(errno);
  return true;
}

std::string ExecutablePath() {
  std::vector<char> buffer(PATH_MAX + 1);
  ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) {
    Fail(errno);
    return std::string();
  }
  return std::string(buffer.data(), static_cast<size_t>(length));
}

int64_t MonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

std::string LinkedFile(const std::string& path) {
  PathInfo info;
  return GetPathInfo(path, info) && info.IsLink ? RealPath(path) : std::string();
}

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(NativePath(path).c_str(), resolved) == nullptr) {
    Fail(errno);
    return std::string();
  }
  return resolved;
}

std::string GetEnv(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string MakeTemporaryFolder() {
  std::string base = GetEnv("TMPDIR");
  std::string pattern = (base.empty() ? "/tmp" : base) + "/rigbox-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    Fail(errno);
    return std::string();
  }
  return pattern;
}

bool IsElevated() { return geteuid() == 0; }

std::string VirtualStorePath(const std::string& /*path*/) { return std::string(); }

std::string ProgramsFolder(bool /*everyUser*/) { return std::string(); }

}  // namespace platform
