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
// holds no line); copiesUpdated gets each copy rewritten.
void RemoveCarLines(const std::string& gameFolder, const std::string& carId, std::vector<FileFault>& faults,
                    std::vector<std::string>& copiesUpdated);

// Where a shared script, or Windows' copy of one, still includes a file
// under the car's folder however it is spelled: a line that reads
// "!include(", the ID and a backslash once blanks and quotes are skipped,
// a slash counting as a backslash and letters compared without case. The
// script's shown name (the full path of a copy), ": " and the first such
// line as it stands; "" when there is none. A commented-out line does not
// count; nor does a script that cannot be read, which RemoveCarLines
// reports.
std::string FindCarInclude(const std::string& gameFolder, const std::string& carId);

// Deletes the package's files (entryPaths: "Parts\x.scr" inside the car's
// folder, matched without regard to letter case) from carFolder, which
// ends with a separator, then every folder left empty, carFolder included.
// Links are never followed: what lies behind them is not the car's. kept
// gets the files that were not the package's (shownPrefix + their path).
void RemoveCarFiles(const std::string& carFolder, const std::string& shownPrefix,
                    const std::vector<std::string>& entryPaths, std::vector<std::string>& kept,
                    std::vector<FileFault>& faults);

}  // namespace game
