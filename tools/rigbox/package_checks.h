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
// Why the pair clashes, for a message that has named both paths.
std::string ClashReason(const NameClash& clash);

// One warning per car script that the installer registers with the game and
// topLevelNames (the names in the car's own folder) lacks; any letter case
// will do, as the game's names are matched without case.
void WarnOfMissingCarScripts(const std::string& package, const std::vector<std::string>& topLevelNames);

// The open package's entries after every check of "rigbox verify": those
// the installer makes before it writes anything, and FindNameClash.
Result<std::vector<modRIGBOX::RigboxEntry>> VerifyOpenPackage(const std::string& path);

}  // namespace rigbox_tool
