#include "support/tools.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/temp_dir.h"
#include "support/platform.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

using SupportFileTools = TempDirTest;
using SupportCheckFolder = TempDirTest;

TEST(SupportAddBackslash, AddsOneOnlyWhenMissing) {
  EXPECT_EQ(modTools::AddBackslash("C:\\Games\\Gravelon"),
            std::string("C:\\Games\\Gravelon") + platform::kPreferredSeparator);
  EXPECT_EQ(modTools::AddBackslash("/home/player/Gravelon/"), "/home/player/Gravelon/");
  EXPECT_EQ(modTools::AddBackslash(""), "\\");
  EXPECT_EQ(modTools::AddBackslash("C:\\"), "C:\\");
}

// A folder of that name is no file.
TEST_F(SupportFileTools, FileExistsForFilesOnly) {
  WriteFile(dir / "t.scr", "x");
  EXPECT_TRUE(modTools::FileExists(dir.Folder() + "t.scr"));
  EXPECT_FALSE(modTools::FileExists(dir.Folder() + "Missing.exe"));
  EXPECT_FALSE(modTools::FileExists(dir.Path().string()));
}

TEST_F(SupportFileTools, ReadTextFileGivesEveryByte) {
  WriteFile(dir / "empty.txt", "");
  WriteFile(dir / "t.scr", std::string("first line\r\nsecond\0line\r\n", 25));
  EXPECT_EQ(modTools::ReadTextFile(dir.Folder() + "t.scr"), ReadFile(dir / "t.scr"));
  EXPECT_EQ(modTools::ReadTextFile(dir.Folder() + "empty.txt"), "");
  EXPECT_EQ(modTools::ReadTextFile(dir.Folder() + "missing.txt"), "");
}

TEST_F(SupportFileTools, FileContainsMatchesBytesExactly) {
  WriteFile(dir / "t.scr", std::string("first line\r\nsecond\0line\r\n", 25));
  EXPECT_TRUE(modTools::FileContains(dir.Folder() + "t.scr", "line\r\nsecond"));
  EXPECT_FALSE(modTools::FileContains(dir.Folder() + "t.scr", "SECOND"));
}

// CheckFolder creates every missing level; MakeFolder takes a last level
// without a separator for a file name.
TEST_F(SupportCheckFolder, CreatesEveryMissingLevel) {
  std::string deep = dir.Folder() + "Data\\Cars\\ABC\\Parts\\";
  EXPECT_FALSE(modTools::CheckFolder(deep, false));
  EXPECT_TRUE(modTools::CheckFolder(deep, true));
  EXPECT_TRUE(fs::is_directory(dir / "Data/Cars/ABC/Parts"));
  EXPECT_FALSE(modTools::MakeFolder(dir.Folder() + "One\\Two"));
  EXPECT_TRUE(fs::is_directory(dir / "One"));
  EXPECT_FALSE(fs::exists(dir / "One/Two"));
  fs::create_directory(dir / "One/Two");
  EXPECT_TRUE(modTools::MakeFolder(dir.Folder() + "One\\Two"));
}

#ifndef _WIN32
using SupportNativePath = TempDirTest;

TEST_F(SupportNativePath, MatchesExistingComponentsInAnyCase) {
  WriteFile(dir / "Data/Cars/Cars.scr", "x");
  EXPECT_EQ(platform::NativePath(dir.Folder() + "data\\CARS\\cars.scr"),
            (dir / "Data/Cars/Cars.scr").string());
  // A missing component keeps the case the program gave it, and so does
  // everything below it.
  EXPECT_EQ(platform::NativePath(dir.Folder() + "DATA\\Cars\\NEW\\Body.dds"),
            (dir / "Data/Cars/NEW/Body.dds").string());
  EXPECT_EQ(modTools::ReadTextFile(dir.Folder() + "DATA\\cars\\CARS.SCR"), "x");
}
#endif

}  // namespace
