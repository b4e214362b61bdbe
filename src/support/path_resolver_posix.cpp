#include "support/path_resolver_posix.h"

#include <dirent.h>

#include <algorithm>

#include "support/ascii_case.h"
#include "support/platform.h"

namespace platform {
namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// The folder a native path's last name lies in, as the listing is keyed.
std::string FolderOf(const std::string& nativePath) {
  size_t slash = nativePath.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : nativePath.substr(0, slash);
}

}  // namespace

const std::unordered_map<std::string, std::string>* PathResolver::NamesIn(const std::string& dir,
                                                                          const struct stat* known) {
  const std::string key = dir.empty() ? "." : dir;
  struct stat st;
  if (known != nullptr) {
    st = *known;
  } else if (stat(key.c_str(), &st) != 0) {
    return nullptr;
  }
  if (!S_ISDIR(st.st_mode)) return nullptr;
  if (dir_ == key && SameTime(mtime_, st.st_mtim)) return &byLower_;
  DIR* handle = opendir(key.c_str());
  if (handle == nullptr) return nullptr;
  dir_ = key;
  mtime_ = st.st_mtim;
  byLower_.clear();
  while (const dirent* entry = readdir(handle)) {
    std::string name(entry->d_name);
    if (name == "." || name == "..") continue;
    byLower_.emplace(support::AsciiLowered(name), name);  // first one wins on clashes
  }
  closedir(handle);
  return &byLower_;
}

const std::string* PathResolver::Match(const std::string& dir, const std::string& name,
                                       const struct stat* known) {
  const auto* names = NamesIn(dir, known);
  if (names == nullptr) return nullptr;
  auto found = names->find(support::AsciiLowered(name));
  return found == names->end() ? nullptr : &found->second;
}

std::string PathResolver::Resolve(const std::string& path) {
  std::string slashed(path);
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  if (asWritten_ || slashed.empty() || Exists(slashed)) return slashed;

  // Most misses are new files in a folder that exists as written: only the
  // last name then needs looking up.
  size_t lastSlash = slashed.rfind('/');
  if (lastSlash != std::string::npos && lastSlash > 0 && lastSlash + 1 < slashed.size()) {
    std::string parent = slashed.substr(0, lastSlash);
    std::string name = slashed.substr(lastSlash + 1);
    struct stat st;
    if (name != "." && name != ".." && stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      const std::string* match = Match(parent, name, &st);
      return parent + "/" + (match != nullptr ? *match : name);
    }
  }

  // Walk the components; the first one that exists in no letter case ends
  // the lookup, since nothing below it can exist. A name with a backslash
  // that exists as written is one name: a Linux folder may have one.
  std::string result = slashed[0] == '/' ? "/" : "";
  size_t start = slashed[0] == '/' ? 1 : 0;
  bool lookingUp = true;
  while (start <= slashed.size()) {
    size_t end = slashed.find('/', start);
    if (end == std::string::npos) end = slashed.size();
    const size_t slash = std::min(path.find('/', start), path.size());
    if (lookingUp && slash != end && (start == 0 || path[start - 1] == '/')) {
      const std::string whole = path.substr(start, slash - start);
      if (Exists(JoinPath(result, whole)) || Match(result, whole) != nullptr) {
        end = slash;
        slashed.replace(start, end - start, whole);
      }
    }
    std::string component = slashed.substr(start, end - start);
    std::string chosen = component;
    if (lookingUp && !component.empty() && component != "." && component != "..") {
      if (!Exists(JoinPath(result, component))) {
        const std::string* match = Match(result, component);
        if (match != nullptr) {
          chosen = *match;
        } else {
          lookingUp = false;
        }
      }
    }
    if (!result.empty() && result.back() != '/') result += '/';
    result += chosen;
    if (end == slashed.size()) break;
    start = end + 1;
    if (start == slashed.size()) {
      result += '/';
      break;
    }
  }
  return result;
}

void PathResolver::Added(const std::string& nativePath) {
  const std::string dir = FolderOf(nativePath);
  if (dir_ != dir) return;
  struct stat st;
  if (stat(dir.c_str(), &st) != 0) {
    dir_.clear();
    return;
  }
  std::string name = nativePath.substr(nativePath.rfind('/') + 1);  // npos + 1 is 0
  byLower_.emplace(support::AsciiLowered(name), name);
  mtime_ = st.st_mtim;
}

// A change within the clock's tick could leave the folder's time as it
// was, and a name that clashed with the gone one may have to take its
// place: the listing is read again when next needed.
void PathResolver::Removed(const std::string& nativePath) {
  if (dir_ == FolderOf(nativePath)) dir_.clear();
}

void PathResolver::Moved(const std::string& fromNativePath, const std::string& toNativePath) {
  Removed(fromNativePath);
  Added(toNativePath);
}

}  // namespace platform
