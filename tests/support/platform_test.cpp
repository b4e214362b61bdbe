// The platform layer's contract, the same on every system: the Windows and
// POSIX variants must give the same results and the same error numbers.
#include "support/platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/temp_dir.h"
#include "support/tools.h"

#ifdef _WIN32
#include "support/windows_include.h"
#endif

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

int16_t LastNumber() { return platform::LastError().Number; }

// Whether a handle of this process still holds the file.
bool HeldOpen(const fs::path& file) {
#ifdef _WIN32
  HANDLE handle = CreateFileW(file.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  CloseHandle(handle);
  return false;
#else
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    if (fs::equivalent(entry.path(), file, error)) return true;
  }
  return false;
#endif
}

#ifdef __linux__
// Copies inside the system leave the source's position. Only Linux copies
// there; elsewhere CopyRangeTo is a plain -1 and the caller copies by itself.
TEST(SupportPlatformFile, CopiesRangesInsideTheSystemWhereItCan) {
  TempDir dir;
  WriteFile(dir / "data.bin", "0123456789");
  platform::File in;
  platform::File out;
  ASSERT_TRUE(in.Open(dir.Folder() + "data.bin", platform::OpenMode::Read));
  ASSERT_TRUE(out.Open(dir.Folder() + "out.bin", platform::OpenMode::Write));
  ASSERT_TRUE(out.WriteAll("ab", 2));
  EXPECT_EQ(in.CopyRangeTo(6, 3, out), 3);
  EXPECT_EQ(in.CopyRangeTo(8, 5, out), 2);
  EXPECT_EQ(in.CopyRangeTo(10, 5, out), 0);
  EXPECT_EQ(in.Tell(), 0);
  out.Close();
  EXPECT_EQ(ReadFile(dir / "out.bin"), "ab67889");
  // Not into a file opened for appending: refused, so the caller copies.
  ASSERT_TRUE(out.Open(dir.Folder() + "out.bin", platform::OpenMode::Append));
  EXPECT_EQ(in.CopyRangeTo(0, 3, out), -1);
}
#endif

// A read that finds too few bytes fails rather than padding.
TEST(SupportPlatformFile, ReadsAtPositions) {
  TempDir dir;
  WriteFile(dir / "data.bin", "0123456789");
  platform::File in;
  ASSERT_TRUE(in.Open(dir.Folder() + "data.bin", platform::OpenMode::Read));
  EXPECT_EQ(in.Size(), 10);
  char buffer[3];
  ASSERT_TRUE(in.Seek(20));  // past the end a seek succeeds
  ASSERT_TRUE(in.Seek(8));
  EXPECT_FALSE(in.ReadExact(buffer, 3));
  EXPECT_EQ(LastNumber(), platform::kErrInputPastEnd);
}

TEST(SupportPlatformFile, MovedFileKeepsItsHandle) {
  TempDir dir;
  WriteFile(dir / "a.bin", "xy");
  platform::File first;
  ASSERT_TRUE(first.Open(dir.Folder() + "a.bin", platform::OpenMode::Read));
  platform::File second(std::move(first));
  EXPECT_FALSE(first.IsOpen());
  // Assigning over an open file closes the handle it held.
  platform::File third;
  ASSERT_TRUE(third.Open(dir.Folder() + "b.bin", platform::OpenMode::Write));
  EXPECT_TRUE(HeldOpen(dir / "b.bin"));
  third = std::move(second);
  EXPECT_FALSE(HeldOpen(dir / "b.bin"));
  EXPECT_FALSE(second.IsOpen());
  third = std::move(third);  // onto itself: still open
  char buffer[2];
  ASSERT_TRUE(third.ReadExact(buffer, 2));
  EXPECT_EQ(std::string(buffer, 2), "xy");
}

// Failures of Open, by their number: the two systems report them alike.
TEST(SupportPlatformFile, OpenFailuresHaveTheirNumbers) {
  TempDir dir;
  fs::create_directory(dir / "Folder");
  WriteFile(dir / "plain.txt", "x");
  const struct {
    const char* name;
    platform::OpenMode mode;
    int16_t number;
  } cases[] = {
      {"NoFolder\\missing.txt", platform::OpenMode::Read, platform::kErrPathNotFound},
      // A folder is no file, whichever way it is opened.
      {"Folder", platform::OpenMode::Read, platform::kErrPathFileAccess},
      // A file where a folder should be.
      {"plain.txt\\inner.txt", platform::OpenMode::Read, platform::kErrPathNotFound},
  };
  for (const auto& c : cases) {
    platform::File file;
    EXPECT_FALSE(file.Open(dir.Folder() + c.name, c.mode)) << c.name;
    EXPECT_EQ(LastNumber(), c.number) << c.name << " mode " << static_cast<int>(c.mode);
  }
}

// The new file takes the old one's place, and a script the player marked
// read-only stays so once rewritten, until the mark is taken away.
TEST(SupportPlatformFiles, ReplaceFileMovesOverTheOldKeepingItsReadOnlyMark) {
  TempDir dir;
  WriteFile(dir / "Cars.scr", "old");
  WriteFile(dir / "Cars.scr.new", "new");
  const std::string path = dir.Folder() + "Cars.scr";
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrReadOnly));
  EXPECT_TRUE(platform::ReplaceFile(path + ".new", path));
  EXPECT_EQ(ReadFile(dir / "Cars.scr"), "new");
  EXPECT_FALSE(fs::exists(dir / "Cars.scr.new"));
  EXPECT_TRUE(platform::IsReadOnly(path));
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrNormal));
  EXPECT_FALSE(platform::IsReadOnly(path));
}

// One file, however spelled; a missing one is the same as nothing.
TEST(SupportPlatformFiles, SameFileNeedsBothToExist) {
  TempDir dir;
  WriteFile(dir / "Cars.scr", "x");
  const std::string path = dir.Folder() + "Cars.scr", missing = dir.Folder() + "Gone.scr";
  EXPECT_TRUE(platform::SameFile(path, dir.Folder() + "CARS.SCR"));
  EXPECT_FALSE(platform::SameFile(path, missing));
  EXPECT_FALSE(platform::SameFile(missing, path));
}

// Each reports a missing file by the same number, with its description.
TEST(SupportPlatformFiles, MissingFileFailsAlike) {
  TempDir dir;
  std::string path = dir.Folder() + "Cars.scr";
  EXPECT_FALSE(platform::IsReadOnly(path));
  EXPECT_FALSE(platform::SetFileAttributes(path, platform::kAttrNormal));
  EXPECT_EQ(LastNumber(), platform::kErrFileNotFound);
  EXPECT_FALSE(platform::DeleteFile(path));
  EXPECT_EQ(LastNumber(), platform::kErrFileNotFound);
  EXPECT_FALSE(platform::ReplaceFile(path + ".new", path));
  EXPECT_EQ(LastNumber(), platform::kErrFileNotFound);
  EXPECT_EQ(platform::LastError().Description, platform::ErrorDescription(platform::kErrFileNotFound));
}

TEST(SupportPlatformFolders, FolderExistsForFoldersOnly) {
  TempDir dir;
  fs::create_directories(dir / "Data/Cars");
  WriteFile(dir / "Gravelon.exe", "MZ");
  EXPECT_TRUE(platform::FolderExists(dir.Folder() + "Data\\Cars"));
  EXPECT_TRUE(platform::FolderExists(dir.Folder() + "Data/Cars/"));
  EXPECT_FALSE(platform::FolderExists(dir.Folder() + "Gravelon.exe"));
  EXPECT_FALSE(platform::FolderExists(""));
}

// Up to the last separator; both separators, and a doubled one, as program
// paths may hold them.
TEST(SupportPlatformFolders, MakeSureCreatesFoldersUpToTheLastSeparator) {
  TempDir dir;
  ASSERT_TRUE(platform::MakeSureDirectoryPathExists(dir.Folder() + "Data\\Cars/ABC\\\\Parts\\wheel.dds"));
  EXPECT_TRUE(fs::is_directory(dir / "Data/Cars/ABC/Parts"));
  EXPECT_FALSE(fs::exists(dir / "Data/Cars/ABC/Parts/wheel.dds"));
  // No separator at all: a bare file name.
  EXPECT_TRUE(platform::MakeSureDirectoryPathExists("file.txt"));
}

TEST(SupportPlatformFolders, MakeSureFailsUnderAFile) {
  TempDir dir;
  WriteFile(dir / "Gravelon.exe", "MZ");
  EXPECT_FALSE(platform::MakeSureDirectoryPathExists(dir.Folder() + "Gravelon.exe\\Cars\\"));
  EXPECT_EQ(LastNumber(), platform::kErrPathNotFound);
}

}  // namespace
