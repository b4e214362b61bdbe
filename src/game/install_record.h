// What one install put in a car's folder, kept as a small text file inside
// that folder. Removal and updates work from it, so they touch exactly the
// files the install wrote and that nobody changed since.
//
// The file is UTF-8 with LF line ends: a first line naming the format and
// its version, then "key=value" lines. Readers skip keys they do not know,
// so later versions can add header fields.
//   car=ABC
//   program=0.96.0.0
//   package=<identity of the package's header and directory>
//   name=, version=, author=        the car's, as its installer names it
//   file=<size> <modified> <name>   one per file, name relative to the folder
//   pending=<name>                  being written by an install cut off
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/game_files.h"

namespace game {

// Inside the car's folder; the game reads only the scripts it includes.
inline constexpr char kRecordName[] = "rigbox-install-record.txt";

struct RecordedFile {
  std::string Name;  // as on disk below the car's folder, with backslashes
  int64_t Size = 0;
  uint64_t Modified = 0;  // the platform's own modification stamp
  // Listed before an install writes it: the file is the car's whatever its
  // stamp, as the install that would have stamped it was cut off.
  bool Pending = false;
};

struct InstallRecord {
  std::string CarId;
  std::string Program;
  std::string Package;
  std::vector<RecordedFile> Files;
  // The car's details; kept for people, never read back.
  std::string Name{}, Version{}, Author{};

  const RecordedFile* Find(const std::string& name) const;
};

std::string RecordText(const InstallRecord& record);
// False for a text that is not a whole record of this format.
bool ParseRecord(const std::string& text, InstallRecord& record);

// The record in carFolder (ending with a separator). Missing when there is
// no record file; Broken when one is there but cannot be read or parsed.
enum class RecordState { Missing, Read, Broken };
RecordState ReadRecord(const std::string& carFolder, InstallRecord& record);

// Written whole beside the old one, flushed, then moved over it.
std::optional<ScriptFault> WriteRecord(const std::string& carFolder, const InstallRecord& record);

// The file at path as the record stamps it; false when it is no regular
// file of its own (missing, a folder, a link).
bool StampFile(const std::string& path, RecordedFile& file);

// True when the file at path is still as the install left it.
bool IsUnchanged(const std::string& path, const RecordedFile& file);

// An install in three steps, so that a run cut off at any point leaves a
// record that covers every file of the car on the disk.
class RecordedInstall {
 public:
  // Reads the car's earlier record in carFolder (ending with a separator),
  // when there is one: the files an update may have to take away.
  RecordedInstall(const std::string& carFolder, const std::string& shownPrefix, const std::string& carId);
  // Before the package's files (names: inside the folder, with
  // backslashes) are written: the record lists them as pending, beside
  // every file of the earlier record.
  std::optional<FileFault> Begin(const std::string& program, const std::string& package,
                                 const std::vector<std::string>& names);
  // The car's name, version and author, for Begin and Finish to record.
  InstallRecord& Details() { return next_; }
  // Once they are written: deletes the earlier record's files that the
  // package no longer holds and that nobody changed since, then writes the
  // record with the package's files alone, stamped. A fault names the file
  // (shownPrefix + its path) that stopped it.
  std::optional<FileFault> Finish();

 private:
  std::string folder_, shown_;
  InstallRecord previous_, next_;
};

// Whether two names below a car's folder are one file to this system:
// letter case counts only where the file system tells names apart by it.
bool SameFileName(const std::string& a, const std::string& b);

}  // namespace game
