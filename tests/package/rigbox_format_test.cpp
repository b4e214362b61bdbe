#include "package/rigbox_format.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>

#include "package/package_bytes.h"
#include "package/rigbox.h"

namespace {

using namespace package_bytes;
using modRIGBOX::RigboxEntry;

std::span<const uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Text(std::span<const uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

TEST(PackageFormat, HeaderRoundTripsByteForByte) {
  // Negative and high-bit values catch sign and byte-order slips.
  std::string bytes = Header("RIGBOX", -2, kVersion1, 0x1234, 0x01020304, -7, "X Y");
  auto header = modRIGBOX::ParseRigboxHeader(Bytes(bytes));
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(header->Flags, -2);
  EXPECT_EQ(header->FileCount, 0x1234);
  EXPECT_EQ(header->DirPos, 0x01020304);
  EXPECT_EQ(header->EndPos, -7);
  EXPECT_EQ(Text(modRIGBOX::SerializeRigboxHeader(*header)), bytes);
  EXPECT_FALSE(modRIGBOX::ParseRigboxHeader(Bytes(bytes.substr(0, 24))).has_value());
}

TEST(PackageFormat, ReaderOkFlagStaysClearedAfterAnOverrun) {
  std::string bytes = Le32(5) + Le16(7);
  modRIGBOX::ByteReader reader(Bytes(bytes));
  EXPECT_EQ(reader.I32(0), 5);
  EXPECT_EQ(reader.I32(4), 0);  // only two bytes left
  EXPECT_EQ(reader.I16(4), 0);  // in range, but the failure sticks
  EXPECT_FALSE(reader.Ok());
}

// A field is written in its own bytes, never into the next one's.
TEST(PackageFormat, WriterKeepsToEachFieldsBytes) {
  std::array<uint8_t, 6> bytes{};
  modRIGBOX::ByteWriter writer(bytes);
  writer.U32(1, 0x04030201);
  EXPECT_EQ(bytes, (std::array<uint8_t, 6>{0, 1, 2, 3, 4, 0}));
}

// Bytes after a SubFolder's NUL are ignored; without a NUL, as without one
// in a FileName, trailing spaces end the name and inner ones are kept.
TEST(PackageFormat, NameFieldReadings) {
  const struct {
    std::string SubFolder, FileName, Path;
  } cases[] = {
      {"Parts" + std::string("\0junk\0\0\0\0\0\0", 11), Name("my body  tex.txt"), "Parts\\my body  tex.txt"},
      {"My Parts        ", std::string(64, 'n'), "My Parts\\" + std::string(64, 'n')},
      {"ABCDEFGHIJKLMNOP", std::string(64, ' '), "ABCDEFGHIJKLMNOP\\"},
  };
  for (const auto& c : cases) {
    RigboxEntry entry;
    std::copy(c.SubFolder.begin(), c.SubFolder.end(), entry.SubFolder.begin());
    std::copy(c.FileName.begin(), c.FileName.end(), entry.FileName.begin());
    EXPECT_EQ(modRIGBOX::EntryPath(entry), c.Path);
  }
}

// The bytes written are the creating tests' business; here the limits.
TEST(PackageFormat, NameFieldsHaveRoomForTheLongestNames) {
  RigboxEntry entry;
  EXPECT_TRUE(modRIGBOX::SetEntrySubFolder(entry, std::string(15, 'a')));
  EXPECT_FALSE(modRIGBOX::SetEntrySubFolder(entry, std::string(16, 'a')));  // no room for the NUL
  EXPECT_TRUE(modRIGBOX::SetEntryFileName(entry, std::string(64, 'a')));
  EXPECT_FALSE(modRIGBOX::SetEntryFileName(entry, std::string(65, 'a')));
}

}  // namespace
