// What only the Windows platform layer does: sharing, the attribute bits
// POSIX lacks, names beyond the ANSI code page, and long paths.
#include <gtest/gtest.h>

#include <string>

#include "common/temp_dir.h"
#include "support/platform.h"
#include "support/tools.h"
#include "support/wide_text.h"
#include "support/windows_include.h"

using support::Widen;
using namespace testing_support;

namespace {

int16_t LastNumber() { return platform::LastError().Number; }

// Opens a file the way another program might, with the given sharing.
HANDLE OpenElsewhere(const std::string& path, DWORD access, DWORD share) {
  return CreateFileW(Widen(path).c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

TEST(SupportPlatformWin32, FilesHeldOpenByOthers) {
  TempDir dir;
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
TEST(SupportPlatformWin32, ChangesWaitForAFileHeldAMomentThenCallItInUse) {
  TempDir dir;
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

TEST(SupportPlatformWin32, HiddenAndSystemBitsKeptOnRewriteAndReadOnlyRefusesDeletion) {
  TempDir dir;
  WriteFile(dir / "Vehiforge.ini", "old");
  std::string path = dir.Folder() + "Vehiforge.ini";
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrHidden | platform::kAttrSystem));
  // A rewrite must not be refused for those bits, and keeps them.
  platform::File file;
  ASSERT_TRUE(file.Open(path, platform::OpenMode::Write));
  file.Close();
  DWORD hiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_EQ(GetFileAttributesW(Widen(path).c_str()) & hiddenSystem, hiddenSystem);
  // Wine keeps the read-only bit as a missing write permission, which a
  // root user may write through all the same; deleting is refused anyway.
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrReadOnly));
  EXPECT_FALSE(platform::DeleteFile(path));
  EXPECT_EQ(LastNumber(), platform::kErrPermissionDenied);
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrNormal));
}

TEST(SupportPlatformWin32, NamesOutsideTheAnsiCodePageAndBadNames) {
  TempDir dir;
  // Polish letters and a Greek one: UTF-8 in the program, UTF-16 on disk.
  std::string folder = dir.Folder() + "Samochody \xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\\";
  ASSERT_TRUE(platform::MakeSureDirectoryPathExists(folder));
  platform::File file;
  ASSERT_TRUE(file.Open(folder + "\xCE\xA9mega.txt", platform::OpenMode::Write));
  file.Close();
  std::wstring expected = Widen(dir.Folder()) + L"Samochody \u017C\u00F3\u0142\u0107\\\u03A9mega.txt";
  EXPECT_NE(GetFileAttributesW(expected.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(file.Open(folder + "a<b>.txt", platform::OpenMode::Write));
  EXPECT_EQ(LastNumber(), platform::kErrBadFileName);
}

TEST(SupportPlatformWin32, PathsLongerThanMaxPath) {
  TempDir dir;
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
    RemoveDirectoryW((L"\\\\?\\" + Widen(level)).c_str());
  }
}

}  // namespace
