// Several cars installed one after another into one game folder, the way
// the install run drives the game integration: load the list, check the ID,
// register a new car in the four scripts, append it, write the list back.
// After each run all six scripts and the profile file are compared whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "game/car_id.h"
#include "game/installed_cars.h"
#include "game/recording_sink.h"
#include "game/script_registration.h"

using testing_support::ReadFile;
using testing_support::RecordingSink;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

struct CarLines {
  std::string Id;
  std::string Cars, Parts, Texts, Icons;  // the bytes appended for this car
};

const std::vector<CarLines> kCars = {
    {"AAA", "!include(\"AAA\\\\Cars.scr\")\r\n\r\n", "!include(\"AAA\\\\Parts.scr\")\r\n\r\n",
     "!include(\"AAA\\\\Texts.scr\")\r\n\r\n", "!include(\"AAA\\\\Icons.scr\")\r\n\r\n"},
    {"bb_2", "!include(\"bb_2\\\\Cars.scr\")\r\n\r\n", "!include(\"bb_2\\\\Parts.scr\")\r\n\r\n",
     "!include(\"bb_2\\\\Texts.scr\")\r\n\r\n", "!include(\"bb_2\\\\Icons.scr\")\r\n\r\n"},
    {"C_3", "!include(\"C_3\\\\Cars.scr\")\r\n\r\n", "!include(\"C_3\\\\Parts.scr\")\r\n\r\n",
     "!include(\"C_3\\\\Texts.scr\")\r\n\r\n", "!include(\"C_3\\\\Icons.scr\")\r\n\r\n"},
};
const std::vector<std::string> kProfiles = {
    "[Cars]\r\nCarsCount=1\r\nCarID1=AAA\r\n",
    "[Cars]\r\nCarsCount=2\r\nCarID1=AAA\r\nCarID2=bb_2\r\n",
    "[Cars]\r\nCarsCount=3\r\nCarID1=AAA\r\nCarID2=bb_2\r\nCarID3=C_3\r\n",
};
const std::string kTextsTop = "\r\n// Created by Vehiforge\r\n!include(\"Cars\\\\Texts.scr\")\r\n\r\n";
const std::string kIconsTop =
    "\r\n// --- Created by Vehiforge. Do not modyfy. "
    "---\r\n!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")\r\n\r\n";

struct Variant {
  const char* Name;
  std::string Texts, Textures;            // top-level scripts as the game had them
  std::string TextsAfter, TexturesAfter;  // and after the first registration
};

const std::vector<Variant> kVariants = {
    {"NoFinalLineEndAndOtherCase", "// texts", "// ui\r\n!include(\"..\\\\..\\\\cars\\\\icons.scr\")\r\n",
     "// texts" + kTextsTop, "// ui\r\n!include(\"..\\\\..\\\\cars\\\\icons.scr\")\r\n" + kIconsTop},
    {"LineInsideCommentAndNoFinalLineEnd", "; !include(\"Cars\\\\Texts.scr\") (off)\r\n", "tex",
     "; !include(\"Cars\\\\Texts.scr\") (off)\r\n", "tex" + kIconsTop},
};

// One install run's game-integration part; the sink sees what the window would.
void Install(const std::string& game, const std::string& carId, RecordingSink& sink) {
  std::vector<std::string> installed;
  game::LoadINI(game, installed);
  if (game::CheckCarID(carId, installed) == game::kCarIdNew) {
    game::UpdateGVCarsScript(game, carId, sink);
    game::UpdateGVPartsScript(game, carId, sink);
    game::UpdateGVTextsScript(game, carId, sink);
    game::UpdateGVIconsScript(game, carId, sink);
    installed.push_back(carId);
  }
  game::WriteINI(game, installed);
}

class GameInstallSequence : public testing::TestWithParam<Variant> {};

TEST_P(GameInstallSequence, ThreeCarsThenOneAgain) {
  const Variant& variant = GetParam();
  TempDir dir;
  WriteFile(dir / "Data/Cars/Cars.scr", "// cars\r\n");
  WriteFile(dir / "Data/Cars/Parts.scr", "// parts\r\n");
  WriteFile(dir / "Data/Texts.scr", variant.Texts);
  WriteFile(dir / "Data/Menu/uidef/Textures.def", variant.Textures);

  std::string cars = "// cars\r\n", parts = "// parts\r\n", texts, icons;
  for (size_t n = 0; n < kCars.size(); ++n) {
    RecordingSink sink;
    Install(dir.Folder(), kCars[n].Id, sink);
    cars += kCars[n].Cars;
    parts += kCars[n].Parts;
    texts += kCars[n].Texts;
    icons += kCars[n].Icons;
    SCOPED_TRACE("after car " + kCars[n].Id);
    EXPECT_EQ(ReadFile(dir / "Data/Cars/Cars.scr"), cars);
    EXPECT_EQ(ReadFile(dir / "Data/Cars/Parts.scr"), parts);
    EXPECT_EQ(ReadFile(dir / "Data/Cars/Texts.scr"), texts);
    EXPECT_EQ(ReadFile(dir / "Data/Cars/Icons.scr"), icons);
    EXPECT_EQ(ReadFile(dir / "Data/Texts.scr"), variant.TextsAfter);
    EXPECT_EQ(ReadFile(dir / "Data/Menu/uidef/Textures.def"), variant.TexturesAfter);
    EXPECT_EQ(ReadFile(dir / "Vehiforge.ini"), kProfiles[n]);
    EXPECT_EQ(sink.Calls, (std::vector<std::string>{"progress +1", "creating Data\\Cars\\Cars.scr",
                                                    "progress +1", "creating Data\\Cars\\Parts.scr",
                                                    "progress +1", "creating Data\\Cars\\Texts.scr",
                                                    "progress +1", "creating Data\\Cars\\Icons.scr"}));
  }

  // A listed car is not registered again; the list is written back as it was.
  RecordingSink sink;
  Install(dir.Folder(), "bb_2", sink);
  EXPECT_TRUE(sink.Calls.empty());
  EXPECT_EQ(ReadFile(dir / "Data/Cars/Cars.scr"), cars);
  EXPECT_EQ(ReadFile(dir / "Data/Cars/Icons.scr"), icons);
  EXPECT_EQ(ReadFile(dir / "Vehiforge.ini"), kProfiles[2]);
}

INSTANTIATE_TEST_SUITE_P(GameInstallSequences, GameInstallSequence, testing::ValuesIn(kVariants),
                         [](const testing::TestParamInfo<Variant>& info) {
                           return std::string(info.param.Name);
                         });

}  // namespace
