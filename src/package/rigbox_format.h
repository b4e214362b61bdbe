// The two records of a RIGBOX package and their byte form. Records are read
// and written field by field at named offsets through bounds-checked
// little-endian readers and writers, never by copying a struct.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace modRIGBOX {

// Reads little-endian fields at offsets of a byte span. A read that would
// leave the span gives 0 and clears ok for good, so a caller checks once at
// the end instead of after every field.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  int16_t I16(size_t offset);
  int32_t I32(size_t offset);
  uint32_t U32(size_t offset);
  float F32(size_t offset);
  // Copies out.size() bytes starting at offset.
  void Chars(size_t offset, std::span<char> out);
  bool Ok() const { return ok_; }

 private:
  bool Fits(size_t offset, size_t size);

  std::span<const uint8_t> bytes_;
  bool ok_ = true;
};

// The writing counterpart of ByteReader, with the same sticky ok flag.
class ByteWriter {
 public:
  explicit ByteWriter(std::span<uint8_t> bytes) : bytes_(bytes) {}

  void I16(size_t offset, int16_t value);
  void I32(size_t offset, int32_t value);
  void U32(size_t offset, uint32_t value);
  void F32(size_t offset, float value);
  void Chars(size_t offset, std::span<const char> text);
  bool Ok() const { return ok_; }

 private:
  bool Fits(size_t offset, size_t size);

  std::span<uint8_t> bytes_;
  bool ok_ = true;
};

/*
  RigboxHeader: 25 bytes at package position 1, no padding.

   offset  0      6       8         12          14       18       22      25
           +------+-------+---------+-----------+--------+--------+-------+
           |Magic |Flags  |Version  |FileCount  |DirPos  |EndPos  |CarID  |
           |char 6|int16  |float32  |int16      |int32   |int32   |char 3 |
           +------+-------+---------+-----------+--------+--------+-------+

  Magic "RIGBOX"; Version 1.0 (bytes 00 00 80 3F); DirPos the position of the
  first directory entry; EndPos the position of the package's last byte;
  CarID padded with spaces.
*/
struct RigboxHeader {
  static constexpr size_t kSize = 25;
  static constexpr size_t kMagicOffset = 0;
  static constexpr size_t kFlagsOffset = 6;
  static constexpr size_t kVersionOffset = 8;
  static constexpr size_t kFileCountOffset = 12;
  static constexpr size_t kDirPosOffset = 14;
  static constexpr size_t kEndPosOffset = 18;
  static constexpr size_t kCarIdOffset = 22;

  std::array<char, 6> Magic{};
  int16_t Flags = 0;
  float Version = 0.0F;
  int16_t FileCount = 0;
  int32_t DirPos = 0;
  int32_t EndPos = 0;
  std::array<char, 3> CarID{};
};

/*
  RigboxEntry: one directory entry, 88 bytes, no padding.

   offset  0       4          8                  24                       88
           +-------+----------+------------------+------------------------+
           |Size   |Position  |SubFolder         |FileName                |
           |int32  |int32     |char 16           |char 64                 |
           +-------+----------+------------------+------------------------+

  Position is the 1-based package position of the file's first byte.
  SubFolder: folder name, one NUL, then spaces (NUL and 15 spaces for the
  car's own folder). FileName: the name padded with spaces, no NUL.
*/
struct RigboxEntry {
  static constexpr size_t kSize = 88;
  static constexpr size_t kSizeOffset = 0;
  static constexpr size_t kPositionOffset = 4;
  static constexpr size_t kSubFolderOffset = 8;
  static constexpr size_t kFileNameOffset = 24;

  int32_t Size = 0;
  int32_t Position = 0;
  std::array<char, 16> SubFolder{};
  std::array<char, 64> FileName{};
};

inline constexpr std::string_view kRigboxMagic = "RIGBOX";
// The exact bits of the single-precision 1.0 the format requires; any other
// bit pattern is another version, even one that compares equal as a number.
inline constexpr uint32_t kRigboxVersionBits = 0x3F800000U;
// Positions start at 1, and the data area right after the header.
inline constexpr int32_t kFirstDataPosition = static_cast<int32_t>(RigboxHeader::kSize) + 1;

std::optional<RigboxHeader> ParseRigboxHeader(std::span<const uint8_t> bytes);
std::array<uint8_t, RigboxHeader::kSize> SerializeRigboxHeader(const RigboxHeader& header);
std::optional<RigboxEntry> ParseRigboxEntry(std::span<const uint8_t> bytes);
std::array<uint8_t, RigboxEntry::kSize> SerializeRigboxEntry(const RigboxEntry& entry);

bool HasRigboxMagic(const RigboxHeader& header);
bool HasRigboxVersion(const RigboxHeader& header);

// A header as a new package starts: magic, version 1.0, no files, EndPos 25,
// the first three characters of carId padded with spaces.
RigboxHeader NewRigboxHeader(std::string_view carId, int16_t flags);

// The folder name an entry stores: the text before the first NUL, or, for a
// field without a NUL, the whole field without its trailing spaces.
std::string EntrySubFolder(const RigboxEntry& entry);
// The file name an entry stores: the field without its trailing spaces.
std::string EntryFileName(const RigboxEntry& entry);
// The entry's name as a path inside the car's folder, "Parts\x.scr".
std::string EntryPath(const RigboxEntry& entry);

// Field forms of the two names; false when the name does not fit (15
// characters for the folder, which needs room for its NUL, 64 for the file).
bool SetEntrySubFolder(RigboxEntry& entry, std::string_view subFolder);
bool SetEntryFileName(RigboxEntry& entry, std::string_view fileName);

}  // namespace modRIGBOX
