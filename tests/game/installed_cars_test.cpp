#include "game/installed_cars.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/mount.h>
#endif

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "game/recording_sink.h"
#include "support/platform.h"
#ifndef _WIN32
#include "common/unprivileged_posix.h"
#endif

namespace fs = std::filesystem;
using namespace testing_support;
using Cars = std::vector<std::string>;

namespace {

constexpr unsigned kMarks = platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem;

struct NumberRow {
  std::string Text;
  std::optional<int16_t> Expected;
};

// The edges of each rule: blanks and signs, rounding halves to even, the
// 16-bit range after rounding, and text that is no number.
TEST(GameCarsCountNumber, ConvertsOrRefuses) {
  const NumberRow rows[] = {{"009", 9},    {"-2", -2},     {" +5 ", 5},      {"\t5", 5},
                            {"2.6", 3},    {"2.5", 2},     {"3.5", 4},       {"2.50001", 3},
                            {"1.05", 1},   {".7", 1},      {"32767", 32767}, {"-32768", -32768},
                            {"32768", {}}, {"-32769", {}}, {"32767.5", {}},  {"99999999999999999999", {}},
                            {" ", {}},     {"1x", {}}};
  for (const NumberRow& row : rows)
    EXPECT_EQ(game::ToInteger16(row.Text), row.Expected) << '"' << row.Text << '"';
}

class GameInstalledCars : public testing::Test {
 protected:
  std::string ProfilePath() const { return dir_.Folder() + "Vehiforge.ini"; }
  void WriteProfile(const std::string& bytes) { WriteFile(dir_ / "Vehiforge.ini", bytes); }
  std::string ProfileBytes() const { return ReadFile(dir_ / "Vehiforge.ini"); }

  TempDir dir_;
  RecordingSink sink_;
};

const std::vector<std::string> kCannotReplace = {"failed Vehiforge.ini: cannot replace"};

// Widens ASCII text to UTF-16 little-endian, as Notepad's "Unicode" saves it.
std::string Utf16(const std::string& ascii) {
  std::string wide;
  for (char c : ascii) wide += std::string(1, c) + '\0';
  return wide;
}

// LoadINI's result and list for each profile file (nothing: no file). A
// count that is no 16-bit number loads nothing; one of zero or below loads
// an empty list yet the file counts as read.
TEST_F(GameInstalledCars, LoadsTheListTheCountNames) {
  const std::string ids = "\r\nCarID1=AAA\r\nCarID2=BBB\r\nCarID3=C\r\n";
  const struct {
    std::optional<std::string> Profile;
    bool Loaded;
    Cars Expected;
  } cases[] = {
      {std::nullopt, false, {}},
      {"[Cars]\r\nCarsCount=2x" + ids, false, {}},
      {"[Cars]\r\nCarsCount=0" + ids, true, {}},
      {"[Cars]\r\nCarsCount=1.6" + ids, true, {"AAA", "BBB"}},
      {"[Cars]\r\nCarsCount=3\r\nCarID3=GHI\r\nCarID1=ABC\r\nCarID2=def\r\n", true, {"ABC", "def", "GHI"}},
      {"; my cars\n  [ cars ]  \n carscount =  2 \n\n CARID1\t= ABC \ncarid2=\"X Y\"\n",
       true,
       {"ABC", "X Y"}},
      {"[Cars]\r\nCarsCount=1\r\nCarID1=" + std::string(300, 'Q') + "\r\n", true, {std::string(254, 'Q')}},
      // A missing entry loads as empty; only the first Cars section counts.
      {"[Cars]\r\nCarsCount=2\r\nCarID1=AAA\r\n[Other]\r\nx=1\r\n[CARS]\r\nCarID2=BBB\r\n",
       true,
       {"AAA", ""}},
      {"\xFF\xFE" + Utf16("[Cars]\r\nCarsCount=1\r\nCarID1=D") + "\x41\x01" + Utf16("\r\n"), true, {"D?"}},
  };
  for (const auto& c : cases) {
    fs::remove(dir_ / "Vehiforge.ini");
    if (c.Profile) WriteProfile(*c.Profile);
    Cars cars{"OLD"};
    EXPECT_EQ(game::LoadINI(dir_.Folder(), cars), c.Loaded) << c.Profile.value_or("(no file)");
    EXPECT_EQ(cars, c.Expected) << c.Profile.value_or("(no file)");
  }
}

// The file is made from scratch, whatever it held and however it was
// marked, empty IDs included; a read-only leftover of an interrupted run
// is cleared first.
TEST_F(GameInstalledCars, WritesAFreshMarkedFile) {
  WriteProfile("; kept?\r\n[Cars]\r\nCarsCount=1\r\nCarID1=OLD\r\n[Mine]\r\nx=1\r\n");
  ASSERT_TRUE(platform::SetFileAttributes(ProfilePath(), kMarks));
  WriteFile(dir_ / "Vehiforge.ini.tmp", "[Cars]\r\nCarID9=STALE\r\n");
  ASSERT_TRUE(platform::SetFileAttributes(dir_.Folder() + "Vehiforge.ini.tmp", platform::kAttrReadOnly));
  EXPECT_TRUE(game::WriteINI(dir_.Folder(), {"ABC", "", "ab_1"}));
  EXPECT_EQ(ProfileBytes(), "[Cars]\r\nCarsCount=3\r\nCarID1=ABC\r\nCarID2=\r\nCarID3=ab_1\r\n");
  EXPECT_TRUE(platform::IsReadOnly(ProfilePath()));
  EXPECT_FALSE(fs::exists(dir_ / "Vehiforge.ini.tmp"));
  // The next run replaces the file it marked.
  EXPECT_TRUE(game::WriteINI(dir_.Folder(), {}));
  EXPECT_EQ(ProfileBytes(), "[Cars]\r\nCarsCount=0\r\n");
}

// A folder in the way of the temporary file: the old list stays.
TEST_F(GameInstalledCars, FailedRewriteKeepsTheOldFile) {
  const std::string old = "[Cars]\r\nCarsCount=1\r\nCarID1=OLD\r\n";
  WriteProfile(old);
  fs::create_directory(dir_ / "Vehiforge.ini.tmp");
  EXPECT_FALSE(game::WriteINI(dir_.Folder(), {"OLD", "NEW"}, &sink_));
  EXPECT_EQ(sink_.Calls, kCannotReplace);
  EXPECT_EQ(ProfileBytes(), old);
}

// A folder in the way of the profile file's name: nothing is left beside it.
TEST_F(GameInstalledCars, FailedRewriteLeavesNoTemporaryFile) {
  WriteFile(dir_ / "Vehiforge.ini/inside.txt", "x");
  EXPECT_FALSE(game::WriteINI(dir_.Folder(), {"ABC"}, &sink_));
  EXPECT_EQ(sink_.Calls, kCannotReplace);
  EXPECT_FALSE(fs::exists(dir_ / "Vehiforge.ini.tmp"));
  EXPECT_EQ(ReadFile(dir_ / "Vehiforge.ini/inside.txt"), "x");
}

TEST_F(GameInstalledCars, ProfileFileFoundInAnyLetterCase) {
  WriteFile(dir_ / "VEHIFORGE.INI", "[Cars]\r\nCarsCount=1\r\nCarID1=ABC\r\n");
  Cars cars;
  EXPECT_TRUE(game::LoadINI(dir_.Folder(), cars));
  EXPECT_EQ(cars, (Cars{"ABC"}));
#ifndef _WIN32
  EXPECT_TRUE(game::WriteINI(dir_.Folder(), {"ABC", "DEF"}));
  EXPECT_EQ(ReadFile(dir_ / "VEHIFORGE.INI"), "[Cars]\r\nCarsCount=2\r\nCarID1=ABC\r\nCarID2=DEF\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "Vehiforge.ini"));
#endif
}

#ifndef _WIN32
// The lists as an ordinary user's run (see RunUnprivileged) saw them, so that
// permissions hold: the result of WriteINI, then of LoadINI with the entries
// it loaded.
std::string WriteThenLoad(const TempDir& dir, const Cars& cars) {
  std::string game = dir.Folder();
  std::optional<std::string> report = RunUnprivileged(dir.Path(), [&] {
    std::string text = game::WriteINI(game, cars) ? "written" : "not written";
    Cars loaded;
    text += game::LoadINI(game, loaded) ? ", loaded:" : ", not loaded:";
    for (const std::string& id : loaded) text += " " + id;
    return text;
  });
  return report.value_or("(the unprivileged run failed)");
}

// The owner replaces the file it marked read-only; in a folder it cannot
// write to, the rewrite fails and the old file stays readable.
TEST_F(GameInstalledCars, MarkedFileIsReplacedOnlyWhereTheFolderAllows) {
  WriteProfile("[Cars]\r\nCarsCount=1\r\nCarID1=AAA\r\n");
  ASSERT_TRUE(platform::SetFileAttributes(ProfilePath(), kMarks));
  EXPECT_EQ(WriteThenLoad(dir_, {"AAA", "BBB"}), "written, loaded: AAA BBB");
  const std::string written = "[Cars]\r\nCarsCount=2\r\nCarID1=AAA\r\nCarID2=BBB\r\n";
  EXPECT_EQ(ProfileBytes(), written);
  EXPECT_EQ(fs::status(ProfilePath()).permissions() &
                (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write),
            fs::perms::none);
  fs::permissions(dir_.Path(), fs::perms(0555));
  EXPECT_EQ(WriteThenLoad(dir_, {"AAA", "BBB", "CCC"}), "not written, loaded: AAA BBB");
  EXPECT_EQ(ProfileBytes(), written);
  EXPECT_FALSE(fs::exists(dir_ / "Vehiforge.ini.tmp"));
}

// A disk that fills up while the new list is written: the old list stays,
// and the run learns why.
TEST_F(GameInstalledCars, OldListStaysWhenTheNewOneDoesNotFit) {
  if (mount("tmpfs", dir_.Path().c_str(), "tmpfs", 0, "size=8k") != 0) GTEST_SKIP() << "cannot mount a tmpfs";
  const std::string old = "[Cars]\r\nCarsCount=1\r\nCarID1=OLD\r\n";
  WriteProfile(old);
  WriteFile(dir_ / "filler", std::string(4096, 'x'));
  bool written = game::WriteINI(dir_.Folder(), Cars(600, "NEW"), &sink_);
  std::string after = ProfileBytes();
  bool temporary = fs::exists(dir_ / "Vehiforge.ini.tmp");
  umount(dir_.Path().c_str());
  EXPECT_FALSE(written);
  EXPECT_EQ(sink_.Calls, std::vector<std::string>{"failed Vehiforge.ini: write failed"});
  EXPECT_EQ(after, old);
  EXPECT_FALSE(temporary);
}
#endif

}  // namespace
