// The platform layer's contract, the same on every system: the Windows and
// POSIX variants must give the same results and the same error numbers.
#include "support/platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/temp_dir.h"
#include "support/tools.h"

#ifdef _WIN32
#include "support/wide_text.h"
#include "support/windows_include.h"
#endif

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

using SupportPlatformFile = TempDirTest;
using SupportPlatformFiles = TempDirTest;
using SupportPlatformFolders = TempDirTest;

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
TEST_F(SupportPlatformFile, CopiesRangesInsideTheSystemWhereItCan) {
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
TEST_F(SupportPlatformFile, ReadsAtPositions) {
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

TEST_F(SupportPlatformFile, MovedFileKeepsItsHandle) {
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
TEST_F(SupportPlatformFile, OpenFailuresHaveTheirNumbers) {
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
TEST_F(SupportPlatformFiles, ReplaceFileMovesOverTheOldKeepingItsReadOnlyMark) {
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
TEST_F(SupportPlatformFiles, SameFileNeedsBothToExist) {
  WriteFile(dir / "Cars.scr", "x");
  const std::string path = dir.Folder() + "Cars.scr", missing = dir.Folder() + "Gone.scr";
  EXPECT_TRUE(platform::SameFile(path, dir.Folder() + "CARS.SCR"));
  EXPECT_FALSE(platform::SameFile(path, missing));
  EXPECT_FALSE(platform::SameFile(missing, path));
}

// Each reports a missing file by the same number, with its description.
TEST_F(SupportPlatformFiles, MissingFileFailsAlike) {
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

TEST_F(SupportPlatformFolders, FolderExistsForFoldersOnly) {
  fs::create_directories(dir / "Data/Cars");
  WriteFile(dir / "Gravelon.exe", "MZ");
  EXPECT_TRUE(platform::FolderExists(dir.Folder() + "Data\\Cars"));
  EXPECT_TRUE(platform::FolderExists(dir.Folder() + "Data/Cars/"));
  EXPECT_FALSE(platform::FolderExists(dir.Folder() + "Gravelon.exe"));
  EXPECT_FALSE(platform::FolderExists(""));
}

// Up to the last separator; both separators, and a doubled one, as program
// paths may hold them.
TEST_F(SupportPlatformFolders, MakeSureCreatesFoldersUpToTheLastSeparator) {
  ASSERT_TRUE(platform::MakeSureDirectoryPathExists(dir.Folder() + "Data\\Cars/ABC\\\\Parts\\wheel.dds"));
  EXPECT_TRUE(fs::is_directory(dir / "Data/Cars/ABC/Parts"));
  EXPECT_FALSE(fs::exists(dir / "Data/Cars/ABC/Parts/wheel.dds"));
  // No separator at all: a bare file name.
  EXPECT_TRUE(platform::MakeSureDirectoryPathExists("file.txt"));
}

TEST_F(SupportPlatformFolders, MakeSureFailsUnderAFile) {
  WriteFile(dir / "Gravelon.exe", "MZ");
  EXPECT_FALSE(platform::MakeSureDirectoryPathExists(dir.Folder() + "Gravelon.exe\\Cars\\"));
  EXPECT_EQ(LastNumber(), platform::kErrPathNotFound);
}

#ifdef _WIN32
// What only the Windows platform layer does: sharing, the attribute bits
// POSIX lacks, names beyond the ANSI code page, and long paths.
using SupportPlatformWin32 = TempDirTest;

// Opens a file the way another program might, with the given sharing.
HANDLE OpenElsewhere(const std::string& path, DWORD access, DWORD share) {
  return CreateFileW(support::Widen(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST_F(SupportPlatformWin32, FilesHeldOpenByOthers) {
  WriteFile(dir / "Cars.scr", "cars");
  std::string path = dir.Folder() + "Cars.scr";
  // A program writing the file, letting others read, write and delete it:
  // the file is still there to read.
  HANDLE holder =
      OpenElsewhere(path, GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(modTools::ReadTextFile(path), "cars");
  CloseHandle(holder);
  // One that lets nobody read it: no file, for want of permission.
  holder = OpenElsewhere(path, GENERIC_READ, 0);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(modTools::FileExists(path));
  EXPECT_EQ(LastNumber(), platform::kErrFileInUse);
  CloseHandle(holder);
}

// Lets nobody share the file for 300 ms, then closes it on another thread,
// which the caller waits for.
DWORD WINAPI CloseLater(void* file) { return Sleep(300), CloseHandle(file); }
HANDLE HoldBriefly(const std::string& path) {
  return CreateThread(nullptr, 0, CloseLater, OpenElsewhere(path, GENERIC_READ, 0), 0, nullptr);
}

// A scanner or the game holding a game file: each change waits a moment for
// it, then says the file is in use.
TEST_F(SupportPlatformWin32, ChangesWaitForAFileHeldAMomentThenCallItInUse) {
  WriteFile(dir / "Cars.scr", "cars");
  WriteFile(dir / "new.tmp", "new");
  std::string path = dir.Folder() + "Cars.scr";
  platform::File file;
  HANDLE holder = HoldBriefly(path);
  EXPECT_TRUE(file.Open(path, platform::OpenMode::Append) && file.Close());
  WaitForSingleObject(holder, INFINITE);
  holder = HoldBriefly(path);
  EXPECT_TRUE(platform::ReplaceFile(dir.Folder() + "new.tmp", path));
  WaitForSingleObject(holder, INFINITE);
  EXPECT_EQ(modTools::ReadTextFile(path), "new");
  // Held for good.
  HANDLE held = OpenElsewhere(path, GENERIC_READ, 0);
  EXPECT_FALSE(file.Open(path, platform::OpenMode::Write));
  EXPECT_EQ(LastNumber(), platform::kErrFileInUse);
  EXPECT_FALSE(platform::DeleteFile(path));
  EXPECT_EQ(platform::LastError().Description.substr(0, 31), "in use by another program, for ");
  CloseHandle(held);
}

TEST_F(SupportPlatformWin32, HiddenAndSystemBitsKeptOnRewriteAndReadOnlyRefusesDeletion) {
  WriteFile(dir / "Vehiforge.ini", "old");
  std::string path = dir.Folder() + "Vehiforge.ini";
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrHidden | platform::kAttrSystem));
  // A rewrite must not be refused for those bits, and keeps them.
  platform::File file;
  ASSERT_TRUE(file.Open(path, platform::OpenMode::Write));
  file.Close();
  DWORD hiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_EQ(GetFileAttributesW(support::Widen(path).c_str()) & hiddenSystem, hiddenSystem);
  // Wine keeps the read-only bit as a missing write permission, which a
  // root user may write through all the same; deleting is refused anyway.
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrReadOnly));
  EXPECT_FALSE(platform::DeleteFile(path));
  EXPECT_EQ(LastNumber(), platform::kErrPermissionDenied);
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrNormal));
}

TEST_F(SupportPlatformWin32, NamesOutsideTheAnsiCodePageAndBadNames) {
  // Polish letters and a Greek one: UTF-8 in the program, UTF-16 on disk.
  std::string folder = dir.Folder() + "Samochody \xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\\";
  ASSERT_TRUE(platform::MakeSureDirectoryPathExists(folder));
  platform::File file;
  ASSERT_TRUE(file.Open(folder + "\xCE\xA9mega.txt", platform::OpenMode::Write));
  file.Close();
  std::wstring expected =
      support::Widen(dir.Folder()) + L"Samochody \u017C\u00F3\u0142\u0107\\\u03A9mega.txt";
  EXPECT_NE(GetFileAttributesW(expected.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(file.Open(folder + "a<b>.txt", platform::OpenMode::Write));
  EXPECT_EQ(LastNumber(), platform::kErrBadFileName);
}

TEST_F(SupportPlatformWin32, PathsLongerThanMaxPath) {
  std::string folder = dir.Folder();
  while (folder.size() < 300) folder += "Quite long folder name\\";
  std::string path = folder + "car.dds";
  ASSERT_TRUE(platform::MakeSureDirectoryPathExists(path));
  EXPECT_TRUE(platform::FolderExists(folder));
  platform::File file;
  ASSERT_TRUE(file.Open(path, platform::OpenMode::Write));
  ASSERT_TRUE(file.WriteAll("dds", 3));
  file.Close();
  // Forward slashes and a "." are made clean for the long form too.
  EXPECT_EQ(modTools::ReadTextFile(folder + "./car.dds"), "dds");
  EXPECT_TRUE(platform::DeleteFile(path));
  // TempDir's removal uses the short API; leave nothing too deep behind.
  for (std::string level = folder; level.size() > dir.Folder().size();
       level.erase(level.find_last_of('\\', level.size() - 2) + 1)) {
    RemoveDirectoryW((L"\\\\?\\" + support::Widen(level)).c_str());
  }
}
#endif

}  // namespace
