#include "game/script_registration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "game/recording_sink.h"

namespace fs = std::filesystem;
using namespace testing_support;
using Calls = std::vector<std::string>;

namespace {

// The bytes each operation appends to the cars' shared scripts.
const std::string kCarsAbc = "!include(\"ABC\\\\Cars.scr\")\r\n\r\n";
const std::string kPartsAbc = "!include(\"ABC\\\\Parts.scr\")\r\n\r\n";
const std::string kTextsAbc = "!include(\"ABC\\\\Texts.scr\")\r\n\r\n";
const std::string kIconsAbc = "!include(\"ABC\\\\Icons.scr\")\r\n\r\n";

size_t EntriesBelow(const fs::path& folder) {
  return static_cast<size_t>(
      std::distance(fs::recursive_directory_iterator(folder), fs::recursive_directory_iterator()));
}

class GameScriptRegistration : public testing::Test {
 protected:
  // A game folder as the game ships it: the shared cars and parts scripts
  // and both top-level scripts exist, some with their last line unended;
  // the shared texts and icons do not.
  void SetUp() override {
    WriteFile(dir_ / "Data/Cars/Cars.scr", "// game cars");
    WriteFile(dir_ / "Data/Cars/Parts.scr", "mac\r");
    WriteFile(dir_ / "Data/Texts.scr", "last line");
    WriteFile(dir_ / "Data/Menu/uidef/Textures.def", "");
  }
  std::string Game() const { return dir_.Folder(); }
  void RegisterAbc() {
    for (Operation operation : kOperations) EXPECT_TRUE(operation(Game(), "ABC", sink_));
  }
  std::string Read(const std::string& relative) const { return ReadFile(dir_ / relative); }

  TempDir dir_;
  RecordingSink sink_;
};

// An unended last line of a shared script gets CR LF first, none after a
// CR or LF; the top-level lines always start with an empty line.
TEST_F(GameScriptRegistration, EachOperationAppendsItsLines) {
  RegisterAbc();
  EXPECT_EQ(Read("Data/Cars/Cars.scr"), "// game cars\r\n" + kCarsAbc);
  EXPECT_EQ(Read("Data/Cars/Parts.scr"), "mac\r" + kPartsAbc);
  EXPECT_EQ(Read("Data/Texts.scr"), "last line" + kTextsTop);
  EXPECT_EQ(Read("Data/Cars/Texts.scr"), kTextsAbc);
  EXPECT_EQ(Read("Data/Menu/uidef/Textures.def"), kIconsTop);
  EXPECT_EQ(Read("Data/Cars/Icons.scr"), kIconsAbc);
}

// One step of progress each, then the shared script it writes to.
TEST_F(GameScriptRegistration, EachOperationReportsItsStep) {
  RegisterAbc();
  EXPECT_EQ(sink_.Calls,
            (Calls{"progress +1", "creating Data\\Cars\\Cars.scr", "progress +1",
                   "creating Data\\Cars\\Parts.scr", "progress +1", "creating Data\\Cars\\Texts.scr",
                   "progress +1", "creating Data\\Cars\\Icons.scr"}));
}

TEST_F(GameScriptRegistration, SecondCarFollowsTheFirstWithoutTopLinesAgain) {
  RegisterAbc();
  EXPECT_TRUE(game::UpdateGVTextsScript(Game(), "ab_1", sink_));
  EXPECT_TRUE(game::UpdateGVIconsScript(Game(), "ab_1", sink_));
  EXPECT_EQ(Read("Data/Texts.scr"), "last line" + kTextsTop);
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

// A shared script holding the car's line, whatever ends it, is not
// touched; the same text in a comment or in another letter case is no line.
TEST_F(GameScriptRegistration, SharedLineAddedOnlyWhenNoWholeLineHoldsIt) {
  const struct {
    std::string Cars;
    bool Present;
  } cases[] = {
      {"x\r\n!include(\"ABC\\\\Cars.scr\")\r\n\r\n", true},
      {"!include(\"ABC\\\\Cars.scr\")\ny\n", true},
      {"x\n!include(\"ABC\\\\Cars.scr\")", true},
      {"// !include(\"ABC\\\\Cars.scr\")\r\n", false},
      {"!include(\"ABC\\\\Cars.scr\") \r\n!include(\"abc\\\\Cars.scr\")\r\n", false},
  };
  for (const auto& c : cases) {
    WriteFile(dir_ / "Data/Cars/Cars.scr", c.Cars);
    EXPECT_TRUE(game::UpdateGVCarsScript(Game(), "ABC", sink_));
    EXPECT_EQ(Read("Data/Cars/Cars.scr"), c.Present ? c.Cars : c.Cars + kCarsAbc) << c.Cars;
  }
}

// Without the game's own scripts nothing is created, with or without the
// folders that should hold them; a missing top-level script stops its
// operation before the shared script.
TEST(GameScriptRegistrationMissing, GameScriptsAreNotCreated) {
  for (bool folders : {false, true}) {
    TempDir dir;
    if (folders) fs::create_directories(dir / "Data/Cars");
    if (folders) fs::create_directories(dir / "Data/Menu/uidef");
    RecordingSink sink;
    for (Operation operation : kOperations) EXPECT_FALSE(operation(dir.Folder(), "ABC", sink));
    EXPECT_EQ(sink.Calls,
              (Calls{"failed Data\\Cars\\Cars.scr: missing", "failed Data\\Cars\\Parts.scr: missing",
                     "failed Data\\Texts.scr: missing", "failed Data\\Menu\\uidef\\Textures.def: missing"}));
    EXPECT_EQ(EntriesBelow(dir.Path()), folders ? 4u : 0u);
  }
}

// Game folders copied from a Windows disk keep whatever letter case their
// files had; the existing files must receive the lines, not new ones
// beside, and a missing shared script goes into the existing folder.
TEST(GameScriptRegistrationCase, ExistingFilesFoundInAnyLetterCase) {
  TempDir dir;
  WriteFile(dir / "DATA/cars/CARS.SCR", "c\r\n");
  WriteFile(dir / "DATA/cars/parts.SCR", "p\r\n");
  WriteFile(dir / "DATA/cars/icons.scr", "i\r\n");
  WriteFile(dir / "DATA/TEXTS.SCR", "T\r\n");
  WriteFile(dir / "DATA/MENU/UIDEF/textures.DEF", "D\r\n");
  RecordingSink sink;
  for (Operation operation : kOperations) EXPECT_TRUE(operation(dir.Folder(), "ABC", sink));
  EXPECT_EQ(ReadFile(dir / "DATA/cars/CARS.SCR"), "c\r\n" + kCarsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/cars/parts.SCR"), "p\r\n" + kPartsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/cars/Texts.scr"), kTextsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/cars/icons.scr"), "i\r\n" + kIconsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/TEXTS.SCR"), "T\r\n" + kTextsTop);
  EXPECT_EQ(ReadFile(dir / "DATA/MENU/UIDEF/textures.DEF"), "D\r\n" + kIconsTop);
  EXPECT_EQ(EntriesBelow(dir.Path()), 10u);  // 4 folders, 6 files
}

}  // namespace
