// Checks the tool makes of a package beyond those the installer makes: the
// installer takes what it is given, so an author must hear of what it would
// lose or miss before players do.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "package/rigbox_format.h"
#include "result.h"

namespace rigbox_tool {

// Two stored paths the installer would take for one name at some level:
// Part is the clashing leading part of each path (the whole path, or one of
// its folders), and Whole tells which it is.
struct NameClash {
  size_t First = 0;
  size_t Second = 0;
  std::string FirstPart;
  std::string SecondPart;
  bool FirstWhole = false;
  bool SecondWhole = false;
};

// The first pair of paths (separated by '/' or '\') that name one file or
// folder once letter case is ignored, as the installer matches names
// (ASCII letters only); also a file stored twice, or a name that is both a
// file and a folder. Paths that merely share a folder are no clash.
std::optional<NameClash> FindNameClash(const std::vector<std::string>& paths);
// Every such pair: a path is named in one pair at most, the first that
// clashes with it, and is left out of the search after that.
std::vector<NameClash> FindNameClashes(const std::vector<std::string>& paths);
// Why the pair clashes, for a message that has named both paths.
std::string ClashReason(const NameClash& clash);

// Why id cannot be the car ID of a package, or "" when it can: the ID field
// holds exactly 3 characters, and the installer's own rule takes no other
// character and none of the game's own IDs.
std::string CarIdProblem(const std::string& id);
// Warns of an ID in lower case, in part or whole: Windows and the game take
// it for the folder of its upper-case form.
void WarnOfCarIdCase(const std::string& id);

// Whether name (any case) is one of the files a system leaves in a folder
// (Thumbs.db, desktop.ini, .DS_Store, ._*) or a version control folder
// (.git, .svn, .hg): nothing a car needs.
bool IsJunkFile(const std::string& name);
bool IsJunkFolder(const std::string& name);

// The folder below the packed one that seems to hold the car: the one
// folder (a path of paths' separators) whose own files include car scripts,
// when the packed folder's do not; "" otherwise.
std::string NestedCarFolder(const std::vector<std::string>& paths);

// The car scripts the installer registers with the game that topLevelNames
// (the names in the car's own folder) lacks, in any letter case.
std::vector<std::string> MissingCarScripts(const std::vector<std::string>& topLevelNames);
// The names of entries in the car's own folder.
std::vector<std::string> TopLevelNames(const std::vector<modRIGBOX::RigboxEntry>& entries);

// One warning per car script that the installer registers with the game and
// topLevelNames (the names in the car's own folder) lacks; any letter case
// will do, as the game's names are matched without case.
void WarnOfMissingCarScripts(const std::string& package, const std::vector<std::string>& topLevelNames);

// The open package's entries after every check of "rigbox verify": those
// the installer makes before it writes anything, CarIdProblem and
// FindNameClash.
Result<std::vector<modRIGBOX::RigboxEntry>> VerifyOpenPackage(const std::string& path);

}  // namespace rigbox_tool
