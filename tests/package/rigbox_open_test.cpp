#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "common/temp_dir.h"
#include "package/package_bytes.h"
#include "package/rigbox.h"

namespace {

using namespace package_bytes;
using testing_support::TempDir;
using testing_support::WriteFile;

class PackageOpen : public ::testing::Test {
 protected:
  void TearDown() override { modRIGBOX::ClosePackage(); }

  // Writes bytes to a file of the temporary folder and gives its path.
  std::string Put(const std::string& name, const std::string& bytes) {
    WriteFile(dir_ / name, bytes);
    return dir_.Folder() + name;
  }

  TempDir dir_;
};

// Mode 1 reads a package file from its start; mode 2 an executable whose
// part of 200,000 bytes puts the header at 200,001. The header outlives
// the close.
TEST_F(PackageOpen, EachModeFindsItsPackage) {
  const struct {
    int32_t Mode;
    std::string Bytes;
    int32_t HeaderPos;
  } cases[] = {{1, ExamplePackage(), 0}, {2, SelfExtracting(ExamplePackage(), 200000), 200001}};
  for (const auto& c : cases) {
    ASSERT_TRUE(modRIGBOX::OpenPackage(c.Mode, Put("case.bin", c.Bytes), "", 0)) << modRIGBOX::LastErrText;
    EXPECT_EQ(modRIGBOX::PackageInExe, c.Mode == 2);
    EXPECT_EQ(modRIGBOX::PackageHeader.FileCount, 2);
    EXPECT_EQ(modRIGBOX::PackageHeader.DirPos, 41);
    EXPECT_EQ(modRIGBOX::PackageHeader.EndPos, 216);
    EXPECT_TRUE(modRIGBOX::ClosePackage());
    EXPECT_EQ(modRIGBOX::GetPackageCarID(), "ABC");
    EXPECT_EQ(modRIGBOX::HeaderPos, c.HeaderPos);
  }
}

// Each mode looks in its own place, and each failure gives its number and
// text. Mode 2 on a package file takes the last four bytes of the last
// entry's name padding, 20 20 20 20, as the header's position: past the end.
TEST_F(PackageOpen, FailuresGiveTheirNumberAndText) {
  const std::string path = dir_.Folder() + "case.bin";
  const std::string exe = SelfExtracting(ExamplePackage(), 300);
  const std::string badPosition = "Cannot read the header of \"" + path + "\" at file position ";
  auto withTrailer = [](int32_t trailer) {
    return "MZ" + std::string(100, 'x') + ExamplePackage() + Le32(trailer);
  };
  const struct {
    int32_t Mode;
    std::optional<std::string> Bytes;  // nothing: no file
    int16_t Number;
    std::string Text;
  } cases[] = {
      {1, exe, -1, "No RIGBOX File!"},
      {2, ExamplePackage(), -1, "No RIGBOX File!"},
      {2, withTrailer(0), 63, badPosition + "0: Bad record number"},
      {2, withTrailer(-200000), 63, badPosition + "-200000: Bad record number"},
      {2, withTrailer(50), -1, "No RIGBOX File!"},
      {1, std::nullopt, 53, "Cannot open \"" + path + "\": File not found"},
      // A file shorter than a header is no package, not one padded with zeros.
      {1, ExamplePackage().substr(0, 24), -1, "No RIGBOX File!"},
      {2, "MZ\x01", 63, "Cannot read the trailer of \"" + path + "\": Bad record number"},
      // A trailer that leaves too few bytes for a whole header.
      {2, "MZ" + std::string(98, 'x') + "RIGBOX" + Le32(101), -1, "No RIGBOX File!"},
      {3, exe, 5, "Unknown package mode 3"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir_ / "case.bin");
    if (c.Bytes) Put("case.bin", *c.Bytes);
    EXPECT_FALSE(modRIGBOX::OpenPackage(c.Mode, path, "", 0)) << c.Text;
    EXPECT_EQ(modRIGBOX::LastErrNumber, c.Number) << c.Text;
    EXPECT_EQ(modRIGBOX::LastErrText, c.Text);
    modRIGBOX::ClosePackage();
  }
}

struct HeaderCase {
  const char* Defect;
  std::string Header;
  bool Opens;
  const char* Error;
};

TEST_F(PackageOpen, HeaderChecksInTheirOrder) {
  const std::string two = std::string("\x00\x00\x00\x40", 4);
  const HeaderCase cases[] = {
      {"lower-case magic", Header("rigbox", 0, kVersion1, 0, 26, 25, "ABC"), false, "No RIGBOX File!"},
      {"version 2.0", Header("RIGBOX", 0, two, 0, 26, 25, "ABC"), false, "Wrong RIGBOX version"},
      {"version 1.0 as a double's high half",
       Header("RIGBOX", 0, std::string("\x00\x00\xF0\x3F", 4), 0, 26, 25, "ABC"), false,
       "Wrong RIGBOX version"},
      {"magic and version wrong", Header("rigbox", 0, two, 0, 26, 25, "ABC"), false, "No RIGBOX File!"},
      {"non-zero flags", Header("RIGBOX", 0x55, kVersion1, 0, 26, 25, "ABC"), true, ""},
      {"wrong EndPos", Header("RIGBOX", 0, kVersion1, 0, 26, 99999, "ABC"), true, ""},
  };
  for (const auto& c : cases) {
    std::string path = Put("case.rigbox", c.Header);
    modRIGBOX::LastErrText = "";
    EXPECT_EQ(modRIGBOX::OpenPackage(1, path, "", 0), c.Opens) << c.Defect;
    EXPECT_EQ(modRIGBOX::LastErrText, c.Error) << c.Defect;
    modRIGBOX::ClosePackage();
    // The same header behind an executable behaves alike in mode 2.
    std::string exe = Put("case.exe", SelfExtracting(c.Header, 64));
    modRIGBOX::LastErrText = "";
    EXPECT_EQ(modRIGBOX::OpenPackage(2, exe, "", 0), c.Opens) << c.Defect;
    EXPECT_EQ(modRIGBOX::LastErrText, c.Error) << c.Defect;
    modRIGBOX::ClosePackage();
  }
}

TEST_F(PackageOpen, ChecksCloseAndKeepTheReason) {
  std::string bad =
      Put("bad.rigbox", Header("RIGBOX", 0, std::string("\x00\x00\x00\x40", 4), 0, 26, 25, "XYZ"));
  EXPECT_FALSE(modRIGBOX::CheckPackageFile(bad));
  EXPECT_FALSE(modRIGBOX::PackageFileNum.IsOpen());
  EXPECT_EQ(modRIGBOX::LastErrText, "Wrong RIGBOX version");
  EXPECT_EQ(modRIGBOX::GetPackageCarID(), "XYZ");  // what was read stays

  std::string exe = Put("setup.exe", SelfExtracting(ExamplePackage(), 1000));
  EXPECT_TRUE(modRIGBOX::CheckAppendedPackage(exe));
  EXPECT_FALSE(modRIGBOX::PackageFileNum.IsOpen());
  EXPECT_EQ(modRIGBOX::GetPackageCarID(), "ABC");
  EXPECT_FALSE(modRIGBOX::CheckAppendedPackage(bad));
  EXPECT_FALSE(modRIGBOX::CheckPackageFile(exe));
  // A failed open, unlike a check, keeps the file until the close.
  EXPECT_FALSE(modRIGBOX::OpenPackage(1, bad, "", 0));
  EXPECT_TRUE(modRIGBOX::PackageFileNum.IsOpen());
  EXPECT_TRUE(modRIGBOX::ClosePackage());
  EXPECT_FALSE(modRIGBOX::PackageFileNum.IsOpen());
  EXPECT_EQ(modRIGBOX::LastErrText, "Wrong RIGBOX version");  // the close leaves it
}

}  // namespace
