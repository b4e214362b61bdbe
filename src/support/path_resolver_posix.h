// Program paths name files as Windows does, in any letter case and with
// backslashes; a POSIX file system matches names exactly. The resolver
// finds the spelling that exists, component by component.
//
// Extraction creates thousands of files in one folder, and rescanning the
// folder for each would be quadratic: the last folder listed is kept and
// checked against the folder's change time. What this program changes
// itself it reports (Added, Removed, Moved), so two changes within one
// tick of the clock cannot leave the listing behind.
#pragma once

#include <sys/stat.h>

#include <string>
#include <unordered_map>

namespace platform {

class PathResolver {
 public:
  // The path the system is given for a program path: slashes for
  // backslashes, and each existing component in the spelling it has on
  // disk. From the first component that exists in no letter case on, the
  // rest stays as the program wrote it. Where the path does not exist with
  // slashes, a name between two slashes that exists with its backslashes
  // keeps them (a Linux folder named in a launcher's file may have one).
  std::string Resolve(const std::string& path);
  // From now on Resolve changes the separators alone.
  void TakeNamesAsWritten() { asWritten_ = true; }

  // The native path (as Resolve gave it) now names a new file or folder.
  void Added(const std::string& nativePath);
  // The native path names nothing any more.
  void Removed(const std::string& nativePath);
  void Moved(const std::string& fromNativePath, const std::string& toNativePath);

 private:
  // known: the folder's stat, when the caller has just taken it. Null when
  // the folder cannot be listed.
  const std::unordered_map<std::string, std::string>* NamesIn(const std::string& dir,
                                                              const struct stat* known = nullptr);
  // The spelling on disk of name in dir, null when there is none.
  const std::string* Match(const std::string& dir, const std::string& name,
                           const struct stat* known = nullptr);

  // One folder's names by their lower-case form; dir_ is empty when none is
  // held ("." stands for the current folder).
  std::string dir_;
  struct timespec mtime_ {};
  std::unordered_map<std::string, std::string> byLower_;
  bool asWritten_ = false;
};

}  // namespace platform
