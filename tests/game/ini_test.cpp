// The profile-file reader and writer against the behaviour measured on the
// platform's own profile functions: each row names the measurement it
// repeats (R.. reads, W.. writes). Rows that list keys or sections, delete
// keys or sections, or convert UTF-8 text are not used by the installer and
// are left out.
#include "game/ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "common/temp_dir.h"
#include "support/platform.h"

using namespace testing_support;

namespace {

const std::string kBasic = "[Sec]\r\nkey=value\r\n";
const std::string kSpaces =
    "[Sec]\r\n  key  =  value with  spaces  \r\nk2\t=\tv2\t\r\n  [  Sp Sec  ]  \r\na = 1\r\n";
const std::string kQuotes =
    "[Q]\r\nk1=\"abc\"\r\nk2=\"abc\r\nk3=abc\"\r\nk4=\" abc \"\r\nk5='abc'\r\nk6=\"\"\r\nk7=\"a\"b\"\r\n"
    "k8=  \"abc\"  \r\nk9=\"\r\n";
const std::string kLong = "[L]\r\nshort=abc\r\n";
const std::string kDup = "[D]\r\nk=first\r\nk=second\r\n[E]\r\nx=1\r\n[D]\r\nk=third\r\nj=fromsecondD\r\n";
const std::string kNoNewline = "[S]\r\na=1\r\nlast=end";
const std::string kCr = "[S]\ra=1\rb=two\r";
const std::string kMisc =
    "top=beforesection\r\n; comment line\r\n[M]\r\n;k=commented\r\n#h=hash\r\nk=v ;inline\r\nnoequals\r\n"
    "empty=\r\neq=a=b\r\n=novalkey\r\n[Empty]\r\n[M2]\r\nx=1\r\n";

struct ReadRow {
  const char* Id;
  std::optional<std::string> File;  // nothing: the file does not exist
  std::string Section, Key, Default;
  size_t Size;
  std::string Expected;
};

const ReadRow kReadRows[] = {
    ReadRow{"R01", kBasic, "Sec", "key", "def", 256, "value"},
    ReadRow{"R03", kBasic, "Sec", "nokey", "  d e f  ", 256, "  d e f"},
    ReadRow{"R05", kBasic, "Nope", "key", "def", 256, "def"},
    ReadRow{"R06", std::nullopt, "Sec", "key", "def", 256, "def"},
    ReadRow{"R07", kBasic, "sEC", "key", "def", 256, "value"},
    ReadRow{"R09", kSpaces, "Sec", "key", "def", 256, "value with  spaces"},
    ReadRow{"R12", kSpaces, "Sp Sec", "a", "def", 256, "1"},
    ReadRow{"R14", kQuotes, "Q", "k1", "def", 256, "abc"},
    ReadRow{"R15", kQuotes, "Q", "k2", "def", 256, "\"abc"},
    ReadRow{"R20", kQuotes, "Q", "k7", "def", 256, "a\"b"},
    ReadRow{"R22", kQuotes, "Q", "k9", "def", 256, "\""}, ReadRow{"R26", kLong, "L", "short", "def", 3, "ab"},
    ReadRow{"R28", kLong, "L", "nokey", "defdef", 3, "de"}, ReadRow{"R30", kLong, "L", "short", "def", 0, ""},
    ReadRow{"R31", kDup, "D", "k", "def", 256, "first"}, ReadRow{"R32", kDup, "D", "j", "def", 256, "def"},
    ReadRow{"R35", kNoNewline, "S", "last", "def", 256, "end"},
    ReadRow{"R37", kCr, "S", "b", "def", 256, "two"},
    ReadRow{"R39", kMisc, "", "top", "def", 256, "beforesection"},
    ReadRow{"R43", kMisc, "M", "noequals", "def", 256, "def"},
    ReadRow{"R46", kMisc, "M", "", "def", 256, "novalkey"},
    // Names match whole, not as prefixes, in both directions.
    ReadRow{"M2-prefix", kMisc, "M2", "x", "def", 256, "1"},
    // A mark in front of a file saved as UTF-8 does not hide its first section.
    ReadRow{"utf8-mark", "\xEF\xBB\xBF[Cars]\r\nCarsCount=2\r\n", "Cars", "CarsCount", "", 255, "2"},
    // A bracket that never closes makes an ordinary line, not a section.
    ReadRow{"open-bracket", "[S]\r\n[x=1\r\n", "S", "[x", "def", 256, "1"}};

TEST(GameIniRead, GivesTheMeasuredBuffer) {
  for (const ReadRow& row : kReadRows) {
    TempDir dir;
    if (row.File) WriteFile(dir / "test.ini", *row.File);
    EXPECT_EQ(
        modINI::ReadProfileString(row.Section, row.Key, row.Default, row.Size, dir.Folder() + "test.ini"),
        row.Expected)
        << row.Id;
  }
}

struct WriteRow {
  const char* Id;
  std::optional<std::string> Before;  // nothing: no file yet
  std::string Section, Key, Value, After;
};

const std::string kGame1 = "[Game]\r\nDestinationDir=C:\\games\\x\\\r\n";
const std::string kGame2 = kGame1 + "Lang=1045\r\n";
const std::string kGame3 = kGame2 + "[Other]\r\na=1\r\n";
const std::string kGame4 = kGame1 + "Lang=1033\r\n[Other]\r\na=1\r\n";
const std::string kGame5 = kGame1 + "Lang=2\r\n[Other]\r\na=1\r\n";
const std::string kGame6 = kGame1 + "Lang=2\r\nsp=\"q v\"  \r\n[Other]\r\na=1\r\n";

const WriteRow kWriteRows[] = {
    WriteRow{"W56", std::nullopt, "Game", "DestinationDir", "C:\\games\\x\\", kGame1},
    WriteRow{"W58", kGame2, "Other", "a", "1", kGame3}, WriteRow{"W60", kGame4, "GAME", "lang", "2", kGame5},
    WriteRow{"W61", kGame5, "Game", "sp", "  \"q v\"  ", kGame6},
    WriteRow{"W65", kGame1 + "Lang=2\r\nsp=\"q v\"\r\n", "Game", "  pad  ", "v",
             kGame1 + "Lang=2\r\nsp=\"q v\"\r\npad  =v\r\n"},
    WriteRow{"W68", "[S]\na=1\n\n[T]\nb=2\n", "S", "a", "9", "[S]\r\na=9\r\n[T]\r\nb=2\r\n"},
    WriteRow{"W69", "; head comment\r\n[S]  \r\n  a  =  1  \r\n;c=3\r\nnoeq\r\n\r\n\r\n[T]\r\nb=2\r\n", "S",
             "a", "9", "; head comment\r\n[S]\r\na=9\r\n;c=3\r\nnoeq\r\n[T]\r\nb=2\r\n"},
    WriteRow{"empty-value", std::nullopt, "Cars", "CarID2", "", "[Cars]\r\nCarID2=\r\n"},
    // An unchanged value leaves the file alone, blank lines and all.
    WriteRow{"unchanged", "[S]\r\n\r\na = 1\r\n", "S", "a", "1", "[S]\r\n\r\na = 1\r\n"},
    // The mark of a UTF-8 file stays in front (plain ASCII values only).
    WriteRow{"utf8-mark", "\xEF\xBB\xBF[S]\r\na=1\r\n", "S", "b", "2", "\xEF\xBB\xBF[S]\r\na=1\r\nb=2\r\n"},
    // A key is added to the first section of its name, at that section's end.
    WriteRow{"dup-section", "[D]\r\nk=1\r\n[E]\r\nx=1\r\n[D]\r\nj=2\r\n", "d", "j", "3",
             "[D]\r\nk=1\r\nj=3\r\n[E]\r\nx=1\r\n[D]\r\nj=2\r\n"}};

TEST(GameIniWrite, LeavesTheMeasuredBytes) {
  for (const WriteRow& row : kWriteRows) {
    TempDir dir;
    if (row.Before) WriteFile(dir / "test.ini", *row.Before);
    EXPECT_TRUE(modINI::WriteINIString(row.Section, row.Key, row.Value, dir.Folder() + "test.ini")) << row.Id;
    EXPECT_EQ(ReadFile(dir / "test.ini"), row.After) << row.Id;
  }
}

// A read-only file, a missing folder and a folder in the file's place
// each fail the write and stay as they were.
TEST(GameIniWriteINIString, FailsWithoutTouchingWhatIsInTheWay) {
  TempDir dir;
  WriteFile(dir / "ro.ini", "[Cars]\r\nCarsCount=1\r\n");
  ASSERT_TRUE(platform::SetFileAttributes(dir.Folder() + "ro.ini", platform::kAttrReadOnly));
  std::filesystem::create_directory(dir / "folder.ini");
  for (const char* name : {"ro.ini", "Nope\\x.ini", "folder.ini"})
    EXPECT_FALSE(modINI::WriteINIString("Cars", "CarsCount", "2", dir.Folder() + name)) << name;
  EXPECT_EQ(ReadFile(dir / "ro.ini"), "[Cars]\r\nCarsCount=1\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "Nope"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.ini"));
}

}  // namespace
