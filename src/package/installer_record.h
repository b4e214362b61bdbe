// The record rigbox sfx puts between an installer program and its package:
// a checksum of every package byte and the car's details. It sits in the
// program's part of the file, so readers that follow only the trailer never
// see it, and installers made without it read as before.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/platform.h"

namespace modRIGBOX {

/*
  InstallerRecord: the details, then a 32-byte tail that ends where the
  package's header starts.

   details: Name, Version, Author (UTF-8, lengths in the tail)
   tail     0        4      8     10     12     14       16       20     24      32
            +--------+------+-----+------+------+--------+--------+------+-------+
            |Package |Pkg   |Name |Ver.  |Auth. |Format  |Record  |Record|Magic  |
            |length  |CRC   |len  |len   |len   |version |length  |CRC   |8 chars|
            +--------+------+-----+------+------+--------+--------+------+-------+

  CRCs are CRC-32C: of every package byte, and of the record's bytes before
  the record CRC. Record length counts the details and the tail.
*/
struct InstallerRecord {
  static constexpr size_t kTailSize = 32;
  static constexpr uint16_t kFormatVersion = 1;

  uint32_t PackageLength = 0;
  uint32_t PackageCrc = 0;
  std::string Name;
  std::string Version;
  std::string Author;
};

inline constexpr char kRecordMagic[] = "RIGBOXCK";

enum class RecordState : uint8_t { None, Found, Damaged };

std::vector<uint8_t> SerializeInstallerRecord(const InstallerRecord& record);

// What the bytes of file before headerOffset hold: no record, a whole one
// (then in record), or one with a byte changed. A record with one byte of
// its magic changed counts as damaged, not as none: one flipped byte must
// not turn a damaged installer into an unchecked one.
RecordState ReadInstallerRecord(platform::File& file, int64_t headerOffset, InstallerRecord& record);

}  // namespace modRIGBOX
