// What only the Windows platform layer does: sharing, the attribute bits
// POSIX lacks, names beyond the ANSI code page, and long paths.
#include <gtest/gtest.h>

#include <string>

#include "common/temp_dir.h"
#include "support/platform.h"
#include "support/tools.h"
#include "support/windows_include.h"

using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::wstring WideOf(const std::string& utf8) {
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

// Opens a file the way another program might, with the given sharing.
HANDLE OpenElsewhere(const std::string& path, DWORD access, DWORD share) {
  return CreateFileW(WideOf(path).c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

DWORD AttributesOf(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

TEST(SupportPlatformWin32, FileHeldOpenForWritingCanStillBeRead) {
  TempDir dir;
  WriteFile(dir / "Cars.scr", "cars");
  std::string path = dir.Folder() + "Cars.scr";
  // A program writing the file while letting others read; one that also
  // lets others write and delete, and may delete the file itself.
  const DWORD holds[][2] = {{GENERIC_WRITE, FILE_SHARE_READ},
                            {GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}};
  for (const auto& [access, share] : holds) {
    HANDLE holder = OpenElsewhere(path, access, share);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(modTools::FileExists(path)) << "share " << share;
    EXPECT_EQ(modTools::ReadTextFile(path), "cars") << "share " << share;
    CloseHandle(holder);
  }
}

TEST(SupportPlatformWin32, FileLockedAgainstReadingIsNoFile) {
  TempDir dir;
  WriteFile(dir / "Gravelon.exe", "MZ");
  std::string path = dir.Folder() + "Gravelon.exe";
  HANDLE locked = OpenElsewhere(path, GENERIC_READ, 0);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  platform::File file;
  EXPECT_FALSE(file.Open(path, platform::OpenMode::Read));
  EXPECT_EQ(platform::LastError().Number, platform::kErrPermissionDenied);
  EXPECT_FALSE(modTools::FileExists(path));
  EXPECT_EQ(modTools::ReadTextFile(path), "");
  CloseHandle(locked);
  EXPECT_TRUE(modTools::FileExists(path));
}

TEST(SupportPlatformWin32, HiddenAndSystemBitsAreSetAndKeptOnRewrite) {
  TempDir dir;
  WriteFile(dir / "Vehiforge.ini", "old");
  std::string path = dir.Folder() + "Vehiforge.ini";
  std::wstring wide = WideOf(path);
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrHidden | platform::kAttrSystem));
  DWORD hiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_EQ(AttributesOf(wide) & hiddenSystem, hiddenSystem);
  // A rewrite must not be refused for those bits, and keeps them.
  platform::File file;
  ASSERT_TRUE(file.Open(path, platform::OpenMode::Write));
  ASSERT_TRUE(file.WriteAll("new", 3));
  file.Close();
  EXPECT_EQ(AttributesOf(wide) & hiddenSystem, hiddenSystem);
  EXPECT_EQ(modTools::ReadTextFile(path), "new");
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrNormal));
  EXPECT_EQ(AttributesOf(wide) & (hiddenSystem | FILE_ATTRIBUTE_READONLY), 0u);
}

// Wine keeps the read-only bit as missing write permission of the Unix
// file, which a root user may write all the same.
bool WritesIgnoreReadOnly() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(SupportPlatformWin32, ReadOnlyFileRefusesChanges) {
  TempDir dir;
  WriteFile(dir / "Cars.scr", "x");
  std::string path = dir.Folder() + "Cars.scr";
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrReadOnly));
  if (!WritesIgnoreReadOnly()) {
    platform::File file;
    EXPECT_FALSE(file.Open(path, platform::OpenMode::Write));
    EXPECT_EQ(platform::LastError().Number, platform::kErrPermissionDenied);
    EXPECT_FALSE(file.Open(path, platform::OpenMode::Append));
    EXPECT_EQ(platform::LastError().Number, platform::kErrPermissionDenied);
  }
  EXPECT_FALSE(platform::DeleteFile(path));
  EXPECT_EQ(platform::LastError().Number, platform::kErrPermissionDenied);
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrNormal));
  EXPECT_TRUE(platform::DeleteFile(path));
}

TEST(SupportPlatformWin32, NamesOutsideTheAnsiCodePage) {
  TempDir dir;
  // Polish letters and a Greek one: UTF-8 in the program, UTF-16 on disk.
  std::string folder = dir.Folder() + "Samochody \xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\\";
  std::string path = folder + "\xCE\xA9mega.txt";
  ASSERT_TRUE(modTools::CheckFolder(folder, true));
  platform::File file;
  ASSERT_TRUE(file.Open(path, platform::OpenMode::Write));
  ASSERT_TRUE(file.WriteAll("ok", 2));
  file.Close();
  std::wstring expected = WideOf(dir.Folder()) + L"Samochody \u017C\u00F3\u0142\u0107\\\u03A9mega.txt";
  EXPECT_NE(AttributesOf(expected), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(modTools::ReadTextFile(path), "ok");
  EXPECT_TRUE(platform::FolderExists(folder));
}

TEST(SupportPlatformWin32, TextThatIsNotUtf8IsTakenAsAnsi) {
  TempDir dir;
  // 0xE9 alone is no UTF-8; in the ANSI code page it is a letter.
  std::string name = "caf\xE9.txt";
  platform::File file;
  ASSERT_TRUE(file.Open(dir.Folder() + name, platform::OpenMode::Write));
  file.Close();
  wchar_t ansiLetter = 0;
  MultiByteToWideChar(CP_ACP, 0, "\xE9", 1, &ansiLetter, 1);
  std::wstring expected = WideOf(dir.Folder()) + L"caf" + ansiLetter + L".txt";
  EXPECT_NE(AttributesOf(expected), INVALID_FILE_ATTRIBUTES);
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
  EXPECT_EQ(modTools::ReadTextFile(path), "dds");
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrReadOnly));
  EXPECT_TRUE(platform::IsReadOnly(path));
  ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrNormal));
  // Forward slashes and a "." are made clean for the long form too.
  std::string slashed = folder + "./car.dds";
  EXPECT_EQ(modTools::ReadTextFile(slashed), "dds");
  EXPECT_TRUE(platform::DeleteFile(path));
  EXPECT_FALSE(modTools::FileExists(path));
  // TempDir's removal uses the short API; leave nothing too deep behind.
  std::string level = folder;
  while (level.size() > dir.Folder().size()) {
    RemoveDirectoryW((L"\\\\?\\" + WideOf(level)).c_str());
    level.erase(level.size() - 1);
    level.erase(level.find_last_of('\\') + 1);
  }
}

TEST(SupportPlatformWin32, BadNamesAreBadFileNames) {
  TempDir dir;
  platform::File file;
  EXPECT_FALSE(file.Open(dir.Folder() + "a<b>.txt", platform::OpenMode::Write));
  EXPECT_EQ(platform::LastError().Number, platform::kErrBadFileName);
}

TEST(SupportPlatformWin32, ExecutablePathIsTheExe) {
  std::string self = platform::ExecutablePath();
  ASSERT_GT(self.size(), 4u);
  EXPECT_EQ(self.substr(self.size() - 4), ".exe");
  EXPECT_EQ(self[1], ':');
}

TEST(SupportPlatformWin32, NativePathIsThePathItself) {
  EXPECT_EQ(platform::NativePath("C:\\Games\\Gravelon\\data\\CARS"), "C:\\Games\\Gravelon\\data\\CARS");
}

}  // namespace
