#include "support/tools.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/temp_dir.h"
#include "support/platform.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

TEST(SupportAddBackslash, AddsOneOnlyWhenMissing) {
  EXPECT_EQ(modTools::AddBackslash("C:\\Games\\Gravelon"),
            std::string("C:\\Games\\Gravelon") + platform::kPreferredSeparator);
  EXPECT_EQ(modTools::AddBackslash("/home/player/Gravelon/"), "/home/player/Gravelon/");
  EXPECT_EQ(modTools::AddBackslash(""), "\\");
  EXPECT_EQ(modTools::AddBackslash("C:\\"), "C:\\");
}

// Existence, reading and searching of a file go through one read; a
// missing file or a folder is as good as an empty file.
TEST(SupportFileTools, ExistsReadAndContains) {
  TempDir dir;
  WriteFile(dir / "empty.txt", "");
  WriteFile(dir / "t.scr", std::string("first line\r\nsecond\0line\r\n", 25));
  std::string path = dir.Folder() + "t.scr";
  EXPECT_TRUE(modTools::FileExists(path));
  EXPECT_FALSE(modTools::FileExists(dir.Folder() + "Missing.exe"));
  EXPECT_EQ(modTools::ReadTextFile(path), ReadFile(dir / "t.scr"));
  EXPECT_EQ(modTools::ReadTextFile(dir.Folder() + "empty.txt"), "");
  EXPECT_EQ(modTools::ReadTextFile(dir.Folder() + "missing.txt"), "");
  EXPECT_TRUE(modTools::FileContains(path, "line\r\nsecond"));
  EXPECT_FALSE(modTools::FileContains(path, "SECOND"));
}

// CheckFolder creates every missing level; MakeFolder takes a last level
// without a separator for a file name.
TEST(SupportCheckFolder, CreatesEveryMissingLevel) {
  TempDir dir;
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
TEST(SupportNativePath, MatchesExistingComponentsInAnyCase) {
  TempDir dir;
  WriteFile(dir / "Data/Cars/Cars.scr", "x");
  EXPECT_EQ(platform::NativePath(dir.Folder() + "data\\CARS\\cars.scr"),
            (dir / "Data/Cars/Cars.scr").string());
  // A missing component keeps the case the program gave it, and so does
  // everything below it.
  EXPECT_EQ(platform::NativePath(dir.Folder() + "DATA\\Cars\\NEW\\Body.dds"),
            (dir / "Data/Cars/NEW/Body.dds").string());
  EXPECT_EQ(modTools::ReadTextFile(dir.Folder() + "DATA\\cars\\CARS.SCR"), "x");
}

TEST(SupportNativePath, CreatedFilesAreFoundAgainInAnyCase) {
  TempDir dir;
  std::string folder = dir.Folder() + "Out\\";
  ASSERT_TRUE(modTools::CheckFolder(folder, true));
  for (int i = 0; i < 50; ++i) {
    platform::File file;
    ASSERT_TRUE(file.Open(folder + "File" + std::to_string(i) + ".bin", platform::OpenMode::Write));
  }
  // The listing cached while creating must know the new names.
  platform::File again;
  ASSERT_TRUE(again.Open(folder + "FILE7.BIN", platform::OpenMode::Write));
  ASSERT_TRUE(again.WriteAll("z", 1));
  again.Close();
  EXPECT_EQ(ReadFile(dir / "Out/File7.bin"), "z");
  EXPECT_FALSE(fs::exists(dir / "Out/FILE7.BIN"));
}
#endif

}  // namespace
