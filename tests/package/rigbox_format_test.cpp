#include "package/rigbox_format.h"

#include <gtest/gtest.h>

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

TEST(PackageFormat, ParsesTheExampleEntries) {
  std::string package = ExamplePackage();
  auto first = modRIGBOX::ParseRigboxEntry(Bytes(package.substr(40, 88)));
  auto second = modRIGBOX::ParseRigboxEntry(Bytes(package.substr(128, 88)));
  ASSERT_TRUE(first.has_value() && second.has_value());
  EXPECT_EQ(first->Size, 10);
  EXPECT_EQ(first->Position, 26);
  EXPECT_EQ(modRIGBOX::EntryPath(*first), "Cars.scr");
  EXPECT_EQ(second->Size, 5);
  EXPECT_EQ(second->Position, 36);
  EXPECT_EQ(modRIGBOX::EntryPath(*second), "Parts\\engine.scr");
  EXPECT_EQ(Text(modRIGBOX::SerializeRigboxEntry(*second)), package.substr(128, 88));
  EXPECT_FALSE(modRIGBOX::ParseRigboxEntry(Bytes(package.substr(40, 87))).has_value());
}

TEST(PackageFormat, ReaderOkFlagStaysClearedAfterAnOverrun) {
  std::string bytes = Le32(5) + Le16(7);
  modRIGBOX::ByteReader reader(Bytes(bytes));
  EXPECT_EQ(reader.I32(0), 5);
  EXPECT_EQ(reader.I32(4), 0);  // only two bytes left
  EXPECT_FALSE(reader.Ok());
  EXPECT_EQ(reader.I16(4), 0);  // in range, but the failure sticks
  EXPECT_FALSE(reader.Ok());
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
    ASSERT_EQ(c.SubFolder.size(), 16U) << c.Path;
    std::copy(c.SubFolder.begin(), c.SubFolder.end(), entry.SubFolder.begin());
    std::copy(c.FileName.begin(), c.FileName.end(), entry.FileName.begin());
    EXPECT_EQ(modRIGBOX::EntryPath(entry), c.Path);
  }
}

TEST(PackageFormat, NameFieldsAreWrittenAsTheMakerDoes) {
  RigboxEntry entry;
  entry.Size = 5;
  entry.Position = 36;
  ASSERT_TRUE(modRIGBOX::SetEntrySubFolder(entry, "Parts"));
  ASSERT_TRUE(modRIGBOX::SetEntryFileName(entry, "engine.scr"));
  EXPECT_EQ(Text(modRIGBOX::SerializeRigboxEntry(entry)), ExamplePackage().substr(128, 88));
  EXPECT_TRUE(modRIGBOX::SetEntrySubFolder(entry, std::string(15, 'a')));
  EXPECT_FALSE(modRIGBOX::SetEntrySubFolder(entry, std::string(16, 'a')));  // no room for the NUL
  EXPECT_TRUE(modRIGBOX::SetEntryFileName(entry, std::string(64, 'a')));
  EXPECT_FALSE(modRIGBOX::SetEntryFileName(entry, std::string(65, 'a')));
}

TEST(PackageFormat, CutAtNul) {
  EXPECT_EQ(modRIGBOX::CutAtNul(std::string("Parts\0  ", 8)), "Parts");
  EXPECT_EQ(modRIGBOX::CutAtNul(std::string("\0Parts", 6)), "");
  EXPECT_EQ(modRIGBOX::CutAtNul("Parts"), "Parts");
}

}  // namespace
