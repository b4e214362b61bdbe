// Taking an installed car out of a game folder again: its include lines
// leave the four shared scripts and its files leave its folder. Each step
// can be cut off and run again, and a second run finishes the job.
#pragma once

#include <string>
#include <vector>

#include "game/script_registration.h"

namespace game {

// text without every whole line that is line once the blanks (spaces,
// tabs) around it are ignored and letters compared without case, each with
// the one empty line that follows it (the install writes one); every other
// byte stays.
std::string WithoutLine(const std::string& text, const std::string& line);

// True when one of the shared scripts, or Windows' copy of one
// (StoreCopyOf), holds the car's line as WithoutLine matches it, or cannot
// be read, so it may.
bool HasCarLines(const std::string& gameFolder, const std::string& carId);

// Rewrites each shared script that holds the car's line without it: a
// whole new file beside it, flushed, then moved over it, keeping its
// attributes; then Windows' copy of it in the same way. A script that is a
// link keeps being one: the file it leads to is rewritten, beside itself.
// Faults for those that could not be read or rewritten (a missing one
// holds no line); copiesUpdated gets each copy rewritten, and rewritten,
// when given, each file rewritten (a script's shown name, a copy's path).
void RemoveCarLines(const std::string& gameFolder, const std::string& carId, std::vector<FileFault>& faults,
                    std::vector<std::string>& copiesUpdated, std::vector<std::string>* rewritten = nullptr);

// Where a shared script, or Windows' copy of one, still includes a file
// under the car's folder however it is spelled: a line that reads
// "!include(", the ID and a backslash once blanks and quotes are skipped,
// a slash counting as a backslash and letters compared without case. The
// script's shown name (the full path of a copy), ": " and the first such
// line as it stands; "" when there is none. A commented-out line does not
// count; nor does a script that cannot be read, which RemoveCarLines
// reports.
std::string FindCarInclude(const std::string& gameFolder, const std::string& carId);

// A car's folder as the removal found it, before it deletes anything:
// paths inside the folder, with backslashes.
struct CarFiles {
  bool Recorded = false;             // worked out from the install record
  std::vector<std::string> Remove;   // the car's own, unchanged since install
  std::vector<std::string> Changed;  // the car's, changed since install: kept
  std::vector<std::string> Foreign;  // not installed by this car: kept
  std::vector<std::string> Folders;  // each before the folders inside it
};

// Works out what removing the car from carFolder (ending with a
// separator) deletes: from its install record when it has one, else from
// the package's file names (entryPaths). Nothing behind a link counts,
// and a name is the car's only as the install wrote it: another name in
// another letter case is another file wherever the system tells them
// apart. False, with faults (shownPrefix + the path), when a folder or
// the record cannot be read.
bool FindCarFiles(const std::string& carFolder, const std::string& shownPrefix,
                  const std::vector<std::string>& entryPaths, CarFiles& files,
                  std::vector<FileFault>& faults);

// Deletes the files found, then the record, then every folder left empty,
// carFolder included. A file that cannot be deleted is a fault (shown as
// shownPrefix + its path), and keeps the record for a run that finishes.
void RemoveCarFiles(const std::string& carFolder, const std::string& shownPrefix, const CarFiles& files,
                    std::vector<FileFault>& faults);

// The spelling on disk of the car's folder under "Data\Cars\" of
// gameFolder, matched without letter case (the exact one first); "" when
// there is none.
std::string CarFolderSpelling(const std::string& gameFolder, const std::string& carId);

}  // namespace game
