#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "package/package_bytes.h"
#include "package/rigbox.h"

namespace {

using namespace package_bytes;
using testing_support::ReadFile;
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

TEST_F(PackageOpen, PackageFileInMode1) {
  std::string path = Put("car.rigbox", ExamplePackage());
  ASSERT_TRUE(modRIGBOX::OpenPackage(1, path, "", 0)) << modRIGBOX::LastErrText;
  EXPECT_FALSE(modRIGBOX::PackageInExe);
  EXPECT_EQ(modRIGBOX::HeaderPos, 0);
  EXPECT_EQ(modRIGBOX::PackageHeader.FileCount, 2);
  EXPECT_EQ(modRIGBOX::PackageHeader.DirPos, 41);
  EXPECT_EQ(modRIGBOX::GetPackageCarID(), "ABC");
  EXPECT_TRUE(modRIGBOX::ClosePackage());
}

TEST_F(PackageOpen, AppendedPackageInMode2) {
  // An executable part of 200,000 bytes puts the header at 200,001.
  std::string path = Put("setup.exe", SelfExtracting(ExamplePackage(), 200000));
  ASSERT_TRUE(modRIGBOX::OpenPackage(2, path, "", 0)) << modRIGBOX::LastErrText;
  EXPECT_TRUE(modRIGBOX::PackageInExe);
  EXPECT_EQ(modRIGBOX::HeaderPos, 200001);
  EXPECT_EQ(modRIGBOX::PackageHeader.EndPos, 216);
  EXPECT_TRUE(modRIGBOX::ClosePackage());
  // The header outlives the close.
  EXPECT_EQ(modRIGBOX::GetPackageCarID(), "ABC");
  EXPECT_EQ(modRIGBOX::HeaderPos, 200001);
}

TEST_F(PackageOpen, ModesLookInTheirOwnPlace) {
  std::string exe = Put("setup.exe", SelfExtracting(ExamplePackage(), 300));
  std::string package = Put("car.rigbox", ExamplePackage());
  // Mode 1 on an executable reads its first bytes as the header.
  EXPECT_FALSE(modRIGBOX::OpenPackage(1, exe, "", 0));
  EXPECT_EQ(modRIGBOX::LastErrNumber, -1);
  EXPECT_EQ(modRIGBOX::LastErrText, "No RIGBOX File!");
  modRIGBOX::ClosePackage();
  // Mode 2 on a package file takes the last four bytes of the last entry's
  // name padding, 20 20 20 20, as the header's position, far past the end:
  // nothing there is a package.
  EXPECT_FALSE(modRIGBOX::OpenPackage(2, package, "", 0));
  EXPECT_EQ(modRIGBOX::HeaderPos, 0x20202020);
  EXPECT_EQ(modRIGBOX::LastErrNumber, -1);
  EXPECT_EQ(modRIGBOX::LastErrText, "No RIGBOX File!");
}

TEST_F(PackageOpen, TrailerOfZeroOrBelowIsABadPosition) {
  for (int32_t trailer : {0, -1, -200000}) {
    std::string path = Put("setup.exe", "MZ" + std::string(100, 'x') + ExamplePackage() + Le32(trailer));
    EXPECT_FALSE(modRIGBOX::OpenPackage(2, path, "", 0)) << trailer;
    EXPECT_EQ(modRIGBOX::LastErrNumber, 63) << trailer;
    EXPECT_EQ(modRIGBOX::LastErrText, "Cannot read the header of \"" + path + "\" at file position " +
                                          std::to_string(trailer) + ": Bad record number");
    modRIGBOX::ClosePackage();
  }
}

TEST_F(PackageOpen, TrailerPointingAtOtherBytes) {
  std::string path = Put("setup.exe", "MZ" + std::string(100, 'x') + ExamplePackage() + Le32(50));
  EXPECT_FALSE(modRIGBOX::OpenPackage(2, path, "", 0));
  EXPECT_EQ(modRIGBOX::LastErrNumber, -1);
  EXPECT_EQ(modRIGBOX::LastErrText, "No RIGBOX File!");
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
    if (!c.Opens) {
      EXPECT_EQ(modRIGBOX::LastErrNumber, -1) << c.Defect;
    }
    modRIGBOX::ClosePackage();
    // The same header behind an executable behaves alike in mode 2.
    std::string exe = Put("case.exe", SelfExtracting(c.Header, 64));
    modRIGBOX::LastErrText = "";
    EXPECT_EQ(modRIGBOX::OpenPackage(2, exe, "", 0), c.Opens) << c.Defect;
    EXPECT_EQ(modRIGBOX::LastErrText, c.Error) << c.Defect;
    modRIGBOX::ClosePackage();
  }
}

TEST_F(PackageOpen, FileErrorsNameTheFile) {
  std::string missing = dir_.Folder() + "missing.rigbox";
  EXPECT_FALSE(modRIGBOX::OpenPackage(1, missing, "", 0));
  EXPECT_EQ(modRIGBOX::LastErrNumber, 53);
  EXPECT_EQ(modRIGBOX::LastErrText, "Cannot open \"" + missing + "\": File not found");
  modRIGBOX::ClosePackage();

  // A file shorter than a header is no package, not one padded with zeros.
  std::string shortFile = Put("short.rigbox", ExamplePackage().substr(0, 24));
  EXPECT_FALSE(modRIGBOX::OpenPackage(1, shortFile, "", 0));
  EXPECT_EQ(modRIGBOX::LastErrNumber, -1);
  EXPECT_EQ(modRIGBOX::LastErrText, "No RIGBOX File!");
  modRIGBOX::ClosePackage();

  std::string tiny = Put("tiny.exe", "MZ\x01");
  EXPECT_FALSE(modRIGBOX::OpenPackage(2, tiny, "", 0));
  EXPECT_EQ(modRIGBOX::LastErrNumber, 63);
  EXPECT_EQ(modRIGBOX::LastErrText, "Cannot read the trailer of \"" + tiny + "\": Bad record number");
  modRIGBOX::ClosePackage();

  // A trailer that leaves too few bytes for a whole header.
  std::string cut = Put("cut.exe", "MZ" + std::string(98, 'x') + "RIGBOX" + Le32(101));
  EXPECT_FALSE(modRIGBOX::OpenPackage(2, cut, "", 0));
  EXPECT_EQ(modRIGBOX::LastErrNumber, -1);
  EXPECT_EQ(modRIGBOX::LastErrText, "No RIGBOX File!");
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
}

TEST_F(PackageOpen, FailedOpenStaysOpenUntilClosed) {
  std::string path = Put("bad.rigbox", Header("rigbox", 0, kVersion1, 0, 26, 25, "ABC"));
  EXPECT_FALSE(modRIGBOX::OpenPackage(1, path, "", 0));
  EXPECT_TRUE(modRIGBOX::PackageFileNum.IsOpen());
  EXPECT_TRUE(modRIGBOX::ClosePackage());
  EXPECT_FALSE(modRIGBOX::PackageFileNum.IsOpen());
  EXPECT_EQ(modRIGBOX::LastErrText, "No RIGBOX File!");  // the close leaves it
}

TEST_F(PackageOpen, UnknownModeFails) {
  EXPECT_FALSE(modRIGBOX::OpenPackage(3, dir_.Folder() + "x", "", 0));
  EXPECT_EQ(modRIGBOX::LastErrText, "Unknown package mode 3");
}

}  // namespace
