#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "package/package_bytes.h"
#include "package/rigbox.h"

namespace {

using namespace package_bytes;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

class PackageCreate : public ::testing::Test {
 protected:
  void TearDown() override { modRIGBOX::ClosePackage(); }

  std::string Source(const std::string& name, const std::string& bytes) {
    WriteFile(dir_ / "src" / name, bytes);
    return dir_.Folder() + "src/" + name;
  }

  TempDir dir_;
};

TEST_F(PackageCreate, WritesTheExampleByteForByte) {
  std::string out = dir_.Folder() + "car.rigbox";
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, out, "ABC", 0));
  ASSERT_TRUE(modRIGBOX::AddPackageFile(Source("a", kFirstData), "", "Cars.scr")) << modRIGBOX::LastErrText;
  ASSERT_TRUE(modRIGBOX::AddPackageFile(Source("b", kSecondData), "Parts", "engine.scr"))
      << modRIGBOX::LastErrText;
  EXPECT_EQ(modRIGBOX::PackageHeader.FileCount, 2);
  EXPECT_EQ(modRIGBOX::PackageHeader.EndPos, 40);  // data only, until the close adds the directory
  ASSERT_TRUE(modRIGBOX::ClosePackage()) << modRIGBOX::LastErrText;
  EXPECT_EQ(ReadFile(dir_ / "car.rigbox"), ExamplePackage());
  EXPECT_EQ(modRIGBOX::PackageHeader.DirPos, 41);
  EXPECT_EQ(modRIGBOX::PackageHeader.EndPos, 216);
}

TEST_F(PackageCreate, ReplacesAnExistingFileEntirely) {
  WriteFile(dir_ / "car.rigbox", std::string(5000, '#'));
  std::string out = dir_.Folder() + "car.rigbox";
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, out, "AB", 7));
  ASSERT_TRUE(modRIGBOX::ClosePackage());
  // Header only: no files, the directory would start at 26.
  EXPECT_EQ(ReadFile(dir_ / "car.rigbox"), Header("RIGBOX", 7, kVersion1, 0, 26, 25, "AB "));
}

TEST_F(PackageCreate, CarIdAndFlagsAreCutToTheirFields) {
  std::string out = dir_.Folder() + "car.rigbox";
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, out, "ABCD", 0x12345));
  ASSERT_TRUE(modRIGBOX::ClosePackage());
  EXPECT_EQ(ReadFile(dir_ / "car.rigbox"), Header("RIGBOX", 0x2345, kVersion1, 0, 26, 25, "ABC"));
}

TEST_F(PackageCreate, EmptyFilesAndLongNames) {
  std::string out = dir_.Folder() + "car.rigbox";
  std::string longName(64, 'n');
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, out, "ZZ9", 0));
  ASSERT_TRUE(modRIGBOX::AddPackageFile(Source("e", ""), "Textures\\HiRes", longName))
      << modRIGBOX::LastErrText;
  ASSERT_TRUE(modRIGBOX::AddPackageFile(Source("f", "xy"), "", "f.txt"));
  ASSERT_TRUE(modRIGBOX::ClosePackage());
  std::string expected = Header("RIGBOX", 0, kVersion1, 2, 28, 27 + 2 * 88, "ZZ9") + "xy" +
                         Entry(0, 26, Folder("Textures\\HiRes"), longName) +
                         Entry(2, 26, Folder(""), Name("f.txt"));
  EXPECT_EQ(ReadFile(dir_ / "car.rigbox"), expected);
}

struct RefusedName {
  std::string SubFolder;
  std::string FileName;
  std::string Error;
};

TEST_F(PackageCreate, RefusesNamesThatCannotBeStoredSafely) {
  std::string source = Source("s", "data");
  const RefusedName cases[] = {
      {"..", "x.txt", "Cannot store \"..\\x.txt\", its folder name has a \"..\" part"},
      {"", "a/b", "Cannot store \"a/b\", its file name has a slash or backslash"},
      {"SixteenCharsLong", "x",
       "Cannot store \"SixteenCharsLong\\x\", its folder name is longer than 15 characters"},
  };
  std::string out = dir_.Folder() + "car.rigbox";
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, out, "ABC", 0));
  for (const auto& c : cases) {
    EXPECT_FALSE(modRIGBOX::AddPackageFile(source, c.SubFolder, c.FileName));
    EXPECT_EQ(modRIGBOX::LastErrNumber, 52);
    EXPECT_EQ(modRIGBOX::LastErrText, c.Error);
  }
  EXPECT_EQ(modRIGBOX::PackageHeader.FileCount, 0);
  EXPECT_TRUE(modRIGBOX::PackageDir.empty());
}

TEST_F(PackageCreate, MissingSourceNamesIt) {
  std::string out = dir_.Folder() + "car.rigbox";
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, out, "ABC", 0));
  std::string missing = dir_.Folder() + "nothing.txt";
  EXPECT_FALSE(modRIGBOX::AddPackageFile(missing, "", "nothing.txt"));
  EXPECT_EQ(modRIGBOX::LastErrNumber, 53);
  EXPECT_EQ(modRIGBOX::LastErrText, "Cannot open \"" + missing + "\": File not found");
}

TEST_F(PackageCreate, AddingNeedsAPackageBeingCreated) {
  std::string source = Source("s", "data");
  WriteFile(dir_ / "car.rigbox", ExamplePackage());
  ASSERT_TRUE(modRIGBOX::OpenPackage(1, dir_.Folder() + "car.rigbox", "", 0));
  EXPECT_FALSE(modRIGBOX::AddPackageFile(source, "", "s"));
  EXPECT_EQ(modRIGBOX::LastErrNumber, 5);  // a call at the wrong time
  EXPECT_EQ(modRIGBOX::LastErrText, "Cannot add \"" + source + "\", no package is being created");
}

TEST_F(PackageCreate, CloseAfterAFailedCreateFailsAndKeepsTheReason) {
  std::string out = dir_.Folder() + "no-such-folder/car.rigbox";
  EXPECT_FALSE(modRIGBOX::OpenPackage(0, out, "ABC", 0));
  std::string reason = modRIGBOX::LastErrText;
  EXPECT_FALSE(modRIGBOX::ClosePackage());
  EXPECT_EQ(modRIGBOX::LastErrText, reason);
  // The next package is made as usual.
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, dir_.Folder() + "car.rigbox", "ABC", 0));
  ASSERT_TRUE(modRIGBOX::AddPackageFile(Source("a", kFirstData), "", "Cars.scr"));
  EXPECT_TRUE(modRIGBOX::ClosePackage()) << modRIGBOX::LastErrText;
}

TEST_F(PackageCreate, FileBiggerThanOneChunk) {
  std::string big(2 * 1024 * 1024 + 12345, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 31 % 251);
  std::string out = dir_.Folder() + "car.rigbox";
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, out, "BIG", 0));
  ASSERT_TRUE(modRIGBOX::AddPackageFile(Source("big", big), "", "big.bin"));
  ASSERT_TRUE(modRIGBOX::ClosePackage());
  int32_t size = static_cast<int32_t>(big.size());
  EXPECT_EQ(ReadFile(dir_ / "car.rigbox"),
            Header("RIGBOX", 0, kVersion1, 1, 26 + size, 25 + size + 88, "BIG") + big +
                Entry(size, 26, Folder(""), Name("big.bin")));
}

}  // namespace
