#include "game/script_registration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "game/recording_sink.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::RecordingSink;
using testing_support::TempDir;
using testing_support::WriteFile;
using Calls = std::vector<std::string>;

namespace {

// The bytes each operation appends, spelled out: every backslash of an
// include path is doubled in the file, so "\\\\" below is two bytes.
const std::string kCarsAbc = "!include(\"ABC\\\\Cars.scr\")\r\n\r\n";
const std::string kPartsAbc = "!include(\"ABC\\\\Parts.scr\")\r\n\r\n";
const std::string kTextsAbc = "!include(\"ABC\\\\Texts.scr\")\r\n\r\n";
const std::string kIconsAbc = "!include(\"ABC\\\\Icons.scr\")\r\n\r\n";
const std::string kTextsTop = "\r\n// Created by Vehiforge\r\n!include(\"Cars\\\\Texts.scr\")\r\n\r\n";
const std::string kIconsTop =
    "\r\n// --- Created by Vehiforge. Do not modyfy. "
    "---\r\n!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")\r\n\r\n";

class GameScriptRegistration : public testing::Test {
 protected:
  // A game folder as the game ships it: the shared cars and parts scripts
  // and both top-level scripts exist; the shared texts and icons do not.
  void SetUp() override {
    WriteFile(dir_ / "Data/Cars/Cars.scr", "// game cars\r\n");
    WriteFile(dir_ / "Data/Cars/Parts.scr", "// game parts\r\n");
    WriteFile(dir_ / "Data/Texts.scr", "// game texts\r\n");
    WriteFile(dir_ / "Data/Menu/uidef/Textures.def", "// game textures\r\n");
  }
  std::string Game() const { return dir_.Folder(); }
  std::string Read(const std::string& relative) const { return ReadFile(dir_ / relative); }
  bool Exists(const std::string& relative) const { return fs::exists(dir_ / relative); }

  TempDir dir_;
  RecordingSink sink_;
};

TEST_F(GameScriptRegistration, EachOperationAppendsItsLinesAndReports) {
  EXPECT_TRUE(game::UpdateGVCarsScript(Game(), "ABC", sink_));
  EXPECT_TRUE(game::UpdateGVPartsScript(Game(), "ABC", sink_));
  EXPECT_TRUE(game::UpdateGVTextsScript(Game(), "ABC", sink_));
  EXPECT_TRUE(game::UpdateGVIconsScript(Game(), "ABC", sink_));
  EXPECT_EQ(Read("Data/Cars/Cars.scr"), "// game cars\r\n" + kCarsAbc);
  EXPECT_EQ(Read("Data/Cars/Parts.scr"), "// game parts\r\n" + kPartsAbc);
  EXPECT_EQ(Read("Data/Texts.scr"), "// game texts\r\n" + kTextsTop);
  EXPECT_EQ(Read("Data/Cars/Texts.scr"), kTextsAbc);
  EXPECT_EQ(Read("Data/Menu/uidef/Textures.def"), "// game textures\r\n" + kIconsTop);
  EXPECT_EQ(Read("Data/Cars/Icons.scr"), kIconsAbc);
  EXPECT_EQ(sink_.Calls,
            (Calls{"progress +1", "creating Data\\Cars\\Cars.scr", "progress +1",
                   "creating Data\\Cars\\Parts.scr", "progress +1", "creating Data\\Cars\\Texts.scr",
                   "progress +1", "creating Data\\Cars\\Icons.scr"}));
  // A second car's lines follow the first's; the top lines are not repeated.
  EXPECT_TRUE(game::UpdateGVTextsScript(Game(), "ab_1", sink_));
  EXPECT_TRUE(game::UpdateGVIconsScript(Game(), "ab_1", sink_));
  EXPECT_EQ(Read("Data/Texts.scr"), "// game texts\r\n" + kTextsTop);
  EXPECT_EQ(Read("Data/Cars/Texts.scr"), kTextsAbc + "!include(\"ab_1\\\\Texts.scr\")\r\n\r\n");
  EXPECT_EQ(Read("Data/Cars/Icons.scr"), kIconsAbc + "!include(\"ab_1\\\\Icons.scr\")\r\n\r\n");
}

// Only the exact line, anywhere in the file, counts as present.
TEST_F(GameScriptRegistration, TopLevelLineLookedForByItsExactBytes) {
  const struct {
    std::string Texts;
    std::string Textures;
    bool Present;
  } cases[] = {
      {"// old: !include(\"Cars\\\\Texts.scr\") was here\r\n",
       "x!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")y", true},
      {"!INCLUDE(\"CARS\\\\TEXTS.SCR\")\r\n", "!include( \"..\\\\..\\\\Cars\\\\Icons.scr\" )\r\n", false},
      {"!include(\"Cars\\Texts.scr\")\r\n", "!include(\"..\\..\\Cars\\Icons.scr\")\r\n", false},
  };
  for (const auto& c : cases) {
    WriteFile(dir_ / "Data/Texts.scr", c.Texts);
    WriteFile(dir_ / "Data/Menu/uidef/Textures.def", c.Textures);
    EXPECT_TRUE(game::UpdateGVTextsScript(Game(), "ABC", sink_));
    EXPECT_TRUE(game::UpdateGVIconsScript(Game(), "ABC", sink_));
    EXPECT_EQ(Read("Data/Texts.scr"), c.Present ? c.Texts : c.Texts + kTextsTop) << c.Texts;
    EXPECT_EQ(Read("Data/Menu/uidef/Textures.def"), c.Present ? c.Textures : c.Textures + kIconsTop);
  }
}

// A last line without its end gets one first: CR LF, or none after LF or CR.
TEST_F(GameScriptRegistration, UnendedLastLineIsEndedFirst) {
  WriteFile(dir_ / "Data/Texts.scr", "last line");
  WriteFile(dir_ / "Data/Menu/uidef/Textures.def", "");
  WriteFile(dir_ / "Data/Cars/Cars.scr", "// game cars");
  WriteFile(dir_ / "Data/Cars/Parts.scr", "mac\r");
  WriteFile(dir_ / "Data/Cars/Texts.scr", "unix\n");
  WriteFile(dir_ / "Data/Cars/Icons.scr", "y");
  EXPECT_TRUE(game::UpdateGVCarsScript(Game(), "ABC", sink_));
  EXPECT_TRUE(game::UpdateGVPartsScript(Game(), "ABC", sink_));
  EXPECT_TRUE(game::UpdateGVTextsScript(Game(), "ABC", sink_));
  EXPECT_TRUE(game::UpdateGVIconsScript(Game(), "ABC", sink_));
  EXPECT_EQ(Read("Data/Texts.scr"), "last line" + kTextsTop);
  EXPECT_EQ(Read("Data/Menu/uidef/Textures.def"), kIconsTop);
  EXPECT_EQ(Read("Data/Cars/Cars.scr"), "// game cars\r\n" + kCarsAbc);
  EXPECT_EQ(Read("Data/Cars/Parts.scr"), "mac\r" + kPartsAbc);
  EXPECT_EQ(Read("Data/Cars/Texts.scr"), "unix\n" + kTextsAbc);
  EXPECT_EQ(Read("Data/Cars/Icons.scr"), "y\r\n" + kIconsAbc);
}

TEST_F(GameScriptRegistration, MissingCarsOrPartsScriptIsNotCreated) {
  fs::remove(dir_ / "Data/Cars/Cars.scr");
  fs::remove(dir_ / "Data/Cars/Parts.scr");
  EXPECT_FALSE(game::UpdateGVCarsScript(Game(), "ABC", sink_));
  EXPECT_FALSE(game::UpdateGVPartsScript(Game(), "ABC", sink_));
  EXPECT_FALSE(Exists("Data/Cars/Cars.scr"));
  EXPECT_FALSE(Exists("Data/Cars/cars.scr"));
  EXPECT_FALSE(Exists("Data/Cars/Parts.scr"));
  EXPECT_EQ(sink_.Calls, (std::vector<std::string>{"failed Data\\Cars\\Cars.scr: missing",
                                                   "failed Data\\Cars\\Parts.scr: missing"}));
}

TEST_F(GameScriptRegistration, MissingCarsFolderFailsQuietly) {
  TempDir empty;
  EXPECT_FALSE(game::UpdateGVCarsScript(empty.Folder(), "ABC", sink_));
  EXPECT_FALSE(game::UpdateGVTextsScript(empty.Folder(), "ABC", sink_));
  EXPECT_FALSE(game::UpdateGVIconsScript(empty.Folder(), "ABC", sink_));
  EXPECT_TRUE(fs::is_empty(empty.Path()));
  EXPECT_EQ(sink_.Calls, (std::vector<std::string>{"failed Data\\Cars\\Cars.scr: missing",
                                                   "failed Data\\Texts.scr: missing",
                                                   "failed Data\\Menu\\uidef\\Textures.def: missing"}));
}

TEST_F(GameScriptRegistration, MissingTopLevelTextsWritesNeitherLine) {
  fs::remove(dir_ / "Data/Texts.scr");
  EXPECT_FALSE(game::UpdateGVTextsScript(Game(), "ABC", sink_));
  EXPECT_FALSE(Exists("Data/Texts.scr"));
  EXPECT_FALSE(Exists("Data/Cars/Texts.scr"));
  WriteFile(dir_ / "Data/Cars/Texts.scr", "shared\r\n");
  EXPECT_FALSE(game::UpdateGVTextsScript(Game(), "ABC", sink_));
  EXPECT_EQ(Read("Data/Cars/Texts.scr"), "shared\r\n");
  EXPECT_EQ(sink_.Calls, (std::vector<std::string>(2, "failed Data\\Texts.scr: missing")));
}

TEST_F(GameScriptRegistration, MissingTexturesWritesNeitherLine) {
  fs::remove(dir_ / "Data/Menu/uidef/Textures.def");
  EXPECT_FALSE(game::UpdateGVIconsScript(Game(), "ABC", sink_));
  EXPECT_FALSE(Exists("Data/Menu/uidef/Textures.def"));
  EXPECT_FALSE(Exists("Data/Cars/Icons.scr"));
  EXPECT_EQ(sink_.Calls, std::vector<std::string>{"failed Data\\Menu\\uidef\\Textures.def: missing"});
}

// Game folders copied from a Windows disk keep whatever letter case their
// files had; the existing files must receive the lines, not new ones beside.
TEST(GameScriptRegistrationCase, ExistingFilesFoundInAnyLetterCase) {
  TempDir dir;
  WriteFile(dir / "DATA/cars/CARS.SCR", "c\r\n");
  WriteFile(dir / "DATA/cars/parts.SCR", "p\r\n");
  WriteFile(dir / "DATA/cars/TEXTS.scr", "t\r\n");
  WriteFile(dir / "DATA/cars/icons.scr", "i\r\n");
  WriteFile(dir / "DATA/TEXTS.SCR", "T\r\n");
  WriteFile(dir / "DATA/MENU/UIDEF/textures.DEF", "D\r\n");
  RecordingSink sink;
  EXPECT_TRUE(game::UpdateGVCarsScript(dir.Folder(), "ABC", sink));
  EXPECT_TRUE(game::UpdateGVPartsScript(dir.Folder(), "ABC", sink));
  EXPECT_TRUE(game::UpdateGVTextsScript(dir.Folder(), "ABC", sink));
  EXPECT_TRUE(game::UpdateGVIconsScript(dir.Folder(), "ABC", sink));
  EXPECT_EQ(ReadFile(dir / "DATA/cars/CARS.SCR"), "c\r\n" + kCarsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/cars/parts.SCR"), "p\r\n" + kPartsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/cars/TEXTS.scr"), "t\r\n" + kTextsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/cars/icons.scr"), "i\r\n" + kIconsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/TEXTS.SCR"), "T\r\n" + kTextsTop);
  EXPECT_EQ(ReadFile(dir / "DATA/MENU/UIDEF/textures.DEF"), "D\r\n" + kIconsTop);
  // Nothing was created beside them.
  size_t entries = 0;
  for (auto it = fs::recursive_directory_iterator(dir.Path()); it != fs::recursive_directory_iterator();
       ++it) {
    ++entries;
  }
  EXPECT_EQ(entries, 10u);  // 4 folders, 6 files
}

TEST(GameScriptRegistrationCase, MissingSharedScriptCreatedInTheExistingFolder) {
  TempDir dir;
  WriteFile(dir / "DATA/TEXTS.SCR", "T\r\n");
  fs::create_directories(dir / "DATA/CARS");
  RecordingSink sink;
  EXPECT_TRUE(game::UpdateGVTextsScript(dir.Folder(), "ABC", sink));
  EXPECT_EQ(ReadFile(dir / "DATA/CARS/Texts.scr"), kTextsAbc);
#ifndef _WIN32
  EXPECT_FALSE(fs::exists(dir / "Data"));
#endif
}

}  // namespace
