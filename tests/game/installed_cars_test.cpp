#include "game/installed_cars.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "support/platform.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;
using Cars = std::vector<std::string>;

namespace {

struct NumberRow {
  std::string Text;
  std::optional<int16_t> Expected;
};

class GameCarsCountNumber : public testing::TestWithParam<NumberRow> {};

TEST_P(GameCarsCountNumber, ConvertsOrRefuses) {
  EXPECT_EQ(game::ToInteger16(GetParam().Text), GetParam().Expected) << "\"" << GetParam().Text << "\"";
}

// The edges of each rule: blanks and signs, rounding halves to even, the
// 16-bit range after rounding, and text that is no number.
INSTANTIATE_TEST_SUITE_P(
    GameCarsCountNumbers, GameCarsCountNumber,
    testing::Values(NumberRow{"007", 7}, NumberRow{"-2", -2}, NumberRow{" +5 ", 5}, NumberRow{"\t5", 5},
                    NumberRow{"2.6", 3}, NumberRow{"2.5", 2}, NumberRow{"3.5", 4}, NumberRow{"2.50001", 3},
                    NumberRow{"1.05", 1}, NumberRow{".7", 1}, NumberRow{"4.", 4}, NumberRow{"-1.5", -2},
                    NumberRow{"32767", 32767}, NumberRow{"-32768", -32768}, NumberRow{"32768", std::nullopt},
                    NumberRow{"-32769", std::nullopt}, NumberRow{"32767.5", std::nullopt},
                    NumberRow{"99999999999999999999", std::nullopt}, NumberRow{" ", std::nullopt},
                    NumberRow{"1x", std::nullopt}, NumberRow{"-", std::nullopt}, NumberRow{".", std::nullopt},
                    NumberRow{"1.2.3", std::nullopt}));

class GameInstalledCars : public testing::Test {
 protected:
  std::string ProfilePath() const { return dir_.Folder() + "Vehiforge.ini"; }
  void WriteProfile(const std::string& bytes) { WriteFile(dir_ / "Vehiforge.ini", bytes); }
  std::string ProfileBytes() const { return ReadFile(dir_ / "Vehiforge.ini"); }

  TempDir dir_;
};

TEST_F(GameInstalledCars, MissingFileSectionOrCountGivesFalseAndEmptyList) {
  Cars cars{"OLD"};
  EXPECT_FALSE(game::LoadINI(dir_.Folder(), cars));
  EXPECT_TRUE(cars.empty());
  for (const char* bytes :
       {"[Other]\r\nCarsCount=1\r\nCarID1=ABC\r\n", "[Cars]\r\nCarID1=ABC\r\n",
        "[Cars]\r\nCarsCount=\r\nCarID1=ABC\r\n", "[Cars]\r\nCarsCount\r\nCarID1=ABC\r\n", ""}) {
    WriteProfile(bytes);
    cars = {"OLD"};
    EXPECT_FALSE(game::LoadINI(dir_.Folder(), cars)) << bytes;
    EXPECT_TRUE(cars.empty()) << bytes;
  }
}

TEST_F(GameInstalledCars, LoadsInNumberOrderAndTwiceAlike) {
  WriteProfile("[Cars]\r\nCarsCount=3\r\nCarID3=GHI\r\nCarID1=ABC\r\nCarID2=def\r\n");
  Cars cars{"OLD"};
  EXPECT_TRUE(game::LoadINI(dir_.Folder(), cars));
  EXPECT_TRUE(game::LoadINI(dir_.Folder(), cars));
  EXPECT_EQ(cars, (Cars{"ABC", "def", "GHI"}));
}

TEST_F(GameInstalledCars, HandEditedBlanksAndLetterCase) {
  WriteProfile("; my cars\n  [ cars ]  \n carscount =  2 \n\n CARID1\t= ABC \ncarid2=\"X Y\"\n");
  Cars cars;
  EXPECT_TRUE(game::LoadINI(dir_.Folder(), cars));
  EXPECT_EQ(cars, (Cars{"ABC", "X Y"}));
}

// Notepad's "Unicode": UTF-16 little-endian after its byte-order mark.
TEST_F(GameInstalledCars, ProfileSavedAsUtf16Loads) {
  std::string text = "[Cars]\r\nCarsCount=2\r\nCarID1=ABC\r\nCarID2=D\xC5\x81\r\n";
  std::string utf16 = "\xFF\xFE";
  for (unsigned char c : text) {
    if (c == 0xC5) continue;  // Ł, U+0141, as one unit
    utf16 += c == 0x81 ? std::string("\x41\x01", 2) : std::string(1, static_cast<char>(c)) + '\0';
  }
  WriteProfile(utf16);
  Cars cars;
  EXPECT_TRUE(game::LoadINI(dir_.Folder(), cars));
  EXPECT_EQ(cars, (Cars{"ABC", "D?"}));
}

TEST_F(GameInstalledCars, MissingEntryBecomesEmptyAndIsWrittenBack) {
  WriteProfile("[Cars]\r\nCarsCount=3\r\nCarID1=AAA\r\nCarID3=CCC\r\n");
  Cars cars;
  EXPECT_TRUE(game::LoadINI(dir_.Folder(), cars));
  EXPECT_EQ(cars, (Cars{"AAA", "", "CCC"}));
  EXPECT_TRUE(game::WriteINI(dir_.Folder(), cars));
  EXPECT_EQ(ProfileBytes(), "[Cars]\r\nCarsCount=3\r\nCarID1=AAA\r\nCarID2=\r\nCarID3=CCC\r\n");
}

// The count as read, rounded; a count that is no 16-bit number loads
// nothing yet the file still counts as read.
TEST_F(GameInstalledCars, CountDecidesHowManyLoad) {
  const struct {
    const char* Count;
    bool Loaded;
    Cars Expected;
  } cases[] = {
      {"32768", false, {}},
      {"2x", false, {}},
      {"0", true, {}},
      {"-3", true, {}},
      {"1.6", true, {"AAA", "BBB"}},
      {"2.5", true, {"AAA", "BBB"}},
  };
  for (const auto& c : cases) {
    WriteProfile(std::string("[Cars]\r\nCarsCount=") + c.Count +
                 "\r\nCarID1=AAA\r\nCarID2=BBB\r\nCarID3=C\r\n");
    Cars cars{"OLD"};
    EXPECT_EQ(game::LoadINI(dir_.Folder(), cars), c.Loaded) << c.Count;
    EXPECT_EQ(cars, c.Expected) << c.Count;
  }
}

TEST_F(GameInstalledCars, LongIdIsCutTo254Characters) {
  std::string longId(300, 'Q');
  WriteProfile("[Cars]\r\nCarsCount=1\r\nCarID1=" + longId + "\r\n");
  Cars cars;
  EXPECT_TRUE(game::LoadINI(dir_.Folder(), cars));
  EXPECT_EQ(cars, (Cars{std::string(254, 'Q')}));
}

TEST_F(GameInstalledCars, OnlyTheFirstCarsSectionCounts) {
  WriteProfile("[Cars]\r\nCarsCount=2\r\nCarID1=AAA\r\n[Other]\r\nx=1\r\n[CARS]\r\nCarID2=BBB\r\n");
  Cars cars;
  EXPECT_TRUE(game::LoadINI(dir_.Folder(), cars));
  EXPECT_EQ(cars, (Cars{"AAA", ""}));
}

TEST_F(GameInstalledCars, WritesExactBytesAndMarksTheFile) {
  EXPECT_TRUE(game::WriteINI(dir_.Folder(), {}));
  EXPECT_EQ(ProfileBytes(), "[Cars]\r\nCarsCount=0\r\n");
  EXPECT_TRUE(game::WriteINI(dir_.Folder(), {"ABC", "ab_1", "ABC"}));
  EXPECT_EQ(ProfileBytes(), "[Cars]\r\nCarsCount=3\r\nCarID1=ABC\r\nCarID2=ab_1\r\nCarID3=ABC\r\n");
  EXPECT_TRUE(platform::IsReadOnly(ProfilePath()));
  EXPECT_FALSE(fs::exists(dir_ / "Vehiforge.ini.tmp"));
}

TEST_F(GameInstalledCars, RewriteReplacesAMarkedFileFromScratch) {
  WriteProfile("; kept?\r\n[Cars]\r\nCarsCount=1\r\nCarID1=OLD\r\n[Mine]\r\nx=1\r\n");
  ASSERT_TRUE(platform::SetFileAttributes(ProfilePath(), 7));
  EXPECT_TRUE(game::WriteINI(dir_.Folder(), {"OLD", "NEW"}));
  EXPECT_EQ(ProfileBytes(), "[Cars]\r\nCarsCount=2\r\nCarID1=OLD\r\nCarID2=NEW\r\n");
  // The next run still replaces the file it marked read-only.
  EXPECT_TRUE(game::WriteINI(dir_.Folder(), {"OLD", "NEW", "THREE"}));
  EXPECT_EQ(ProfileBytes(), "[Cars]\r\nCarsCount=3\r\nCarID1=OLD\r\nCarID2=NEW\r\nCarID3=THREE\r\n");
  EXPECT_TRUE(platform::IsReadOnly(ProfilePath()));
}

TEST_F(GameInstalledCars, StaleTemporaryFileIsReplaced) {
  WriteFile(dir_ / "Vehiforge.ini.tmp", "[Cars]\r\nCarID9=STALE\r\n");
  ASSERT_TRUE(platform::SetFileAttributes(dir_.Folder() + "Vehiforge.ini.tmp", platform::kAttrReadOnly));
  EXPECT_TRUE(game::WriteINI(dir_.Folder(), {"ABC"}));
  EXPECT_EQ(ProfileBytes(), "[Cars]\r\nCarsCount=1\r\nCarID1=ABC\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "Vehiforge.ini.tmp"));
}

TEST_F(GameInstalledCars, FailedRewriteKeepsTheOldFile) {
  // The temporary name is taken by a folder, so the new file cannot be made.
  const std::string old = "[Cars]\r\nCarsCount=1\r\nCarID1=OLD\r\n";
  WriteProfile(old);
  ASSERT_TRUE(platform::SetFileAttributes(ProfilePath(), 7));
  fs::create_directory(dir_ / "Vehiforge.ini.tmp");
  EXPECT_FALSE(game::WriteINI(dir_.Folder(), {"OLD", "NEW"}));
  EXPECT_EQ(ProfileBytes(), old);
  Cars cars;
  EXPECT_TRUE(game::LoadINI(dir_.Folder(), cars));
  EXPECT_EQ(cars, (Cars{"OLD"}));
}

TEST_F(GameInstalledCars, FailedReplaceRemovesTheTemporaryFile) {
  // A folder holds the profile file's name, so the finished file cannot
  // take its place.
  WriteFile(dir_ / "Vehiforge.ini/inside.txt", "x");
  EXPECT_FALSE(game::WriteINI(dir_.Folder(), {"ABC"}));
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

}  // namespace
