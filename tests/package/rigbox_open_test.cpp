#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "common/temp_dir.h"
#include "package/package_bytes.h"
#include "package/rigbox.h"

namespace {

using namespace package_bytes;
using support::FailureKind;
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
// the close. Opening checks magic and version only, not flags or EndPos.
TEST_F(PackageOpen, EachModeFindsItsPackage) {
  const struct {
    int32_t Mode;
    std::string Bytes;
    int32_t HeaderPos;
  } cases[] = {{1, Header("RIGBOX", 0x55, kVersion1, 2, 41, 99999, "ABC") + ExamplePackage().substr(25), 0},
               {2, SelfExtracting(ExamplePackage(), 200000), 200001}};
  for (const auto& c : cases) {
    ASSERT_TRUE(modRIGBOX::OpenPackage(c.Mode, Put("case.bin", c.Bytes), "", 0)) << modRIGBOX::LastErrText;
    EXPECT_EQ(modRIGBOX::PackageInExe, c.Mode == 2);
    EXPECT_EQ(modRIGBOX::PackageHeader.FileCount, 2);
    EXPECT_EQ(modRIGBOX::PackageHeader.DirPos, 41);
    EXPECT_TRUE(modRIGBOX::ClosePackage());
    EXPECT_EQ(modRIGBOX::GetPackageCarID(), "ABC");
    EXPECT_EQ(modRIGBOX::HeaderPos, c.HeaderPos);
  }
}

// Each mode looks in its own place, and each failure gives its kind, number
// and text. Mode 2 on a package file takes the last four bytes of the last
// entry's name padding, 20 20 20 20, as the header's position: past the end.
TEST_F(PackageOpen, FailuresGiveTheirKindNumberAndText) {
  const std::string path = dir_.Folder() + "case.bin";
  const std::string exe = SelfExtracting(ExamplePackage(), 300);
  auto versioned = [](const char* bits) {
    return Header("RIGBOX", 0, std::string(bits, 4), 0, 26, 25, "ABC");
  };
  const std::string badPosition = "Cannot read the header of \"" + path + "\" at file position ";
  const struct {
    int32_t Mode;
    std::optional<std::string> Bytes;  // nothing: no file
    FailureKind Kind;
    int16_t Number;
    std::string Text;
  } cases[] = {
      {1, exe, FailureKind::NotPackage, -1, "No RIGBOX File!"},
      {2, ExamplePackage(), FailureKind::NotPackage, -1, "No RIGBOX File!"},
      {2, "MZ" + ExamplePackage() + Le32(0), FailureKind::System, 63, badPosition + "0: Bad record number"},
      {1, std::nullopt, FailureKind::System, 53, "Cannot open \"" + path + "\": File not found"},
      // A file shorter than a header is no package, not one padded with zeros.
      {1, ExamplePackage().substr(0, 24), FailureKind::NotPackage, -1, "No RIGBOX File!"},
      {2, "MZ\x01", FailureKind::System, 63,
       "Cannot read the trailer of \"" + path + "\": Bad record number"},
      {3, exe, FailureKind::Misuse, 5, "Unknown package mode 3"},
      // Versions 2.0 and 0.5, on either side of 1.0.
      {1, versioned("\x00\x00\x00\x40"), FailureKind::WrongVersion, -1, "Wrong RIGBOX version"},
      {2, SelfExtracting(versioned("\x00\x00\x00\x3F"), 9), FailureKind::WrongVersion, -1,
       "Wrong RIGBOX version"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir_ / "case.bin");
    if (c.Bytes) Put("case.bin", *c.Bytes);
    EXPECT_FALSE(modRIGBOX::OpenPackage(c.Mode, path, "", 0)) << c.Text;
    EXPECT_EQ(modRIGBOX::LastFailure.Kind, c.Kind) << c.Text;
    EXPECT_EQ(modRIGBOX::LastErrNumber, c.Number) << c.Text;
    EXPECT_EQ(modRIGBOX::LastErrText, c.Text);
    modRIGBOX::ClosePackage();
  }
}

// The text shows the file as the system names it; the failure keeps it as
// given, so a caller can tell whether it names the caller's file.
TEST_F(PackageOpen, FailureKeepsTheFileAsGiven) {
  std::string given = dir_.Folder() + "sub\\car.rigbox";
  EXPECT_FALSE(modRIGBOX::OpenPackage(1, given, "", 0));
  EXPECT_EQ(modRIGBOX::LastFailure.File, given);
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
}

// Unlike a check, a failed open keeps the file until the close, which
// leaves the reason as it was.
TEST_F(PackageOpen, FailedOpenHoldsTheFileUntilTheClose) {
  EXPECT_FALSE(modRIGBOX::OpenPackage(1, Put("bad.rigbox", "too short for a header"), "", 0));
  EXPECT_TRUE(modRIGBOX::PackageFileNum.IsOpen());
  EXPECT_TRUE(modRIGBOX::ClosePackage());
  EXPECT_FALSE(modRIGBOX::PackageFileNum.IsOpen());
  EXPECT_EQ(modRIGBOX::LastErrText, "No RIGBOX File!");  // the close leaves it
}

}  // namespace
