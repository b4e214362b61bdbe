#include "game/car_folder.h"

#include <gtest/gtest.h>

#include "common/temp_dir.h"

namespace {

TEST(GameCarFolder, OnlyIdsThatStayInsideTheCarsFolder) {
  // Plain IDs, malformed ones included: the ID rules judge those.
  for (const char* id : {"ab_", "A B", "A.B", "A~B"}) EXPECT_TRUE(game::IsUsableFolderName(id)) << id;
  // Separators, a drive, characters no folder name may hold; a last dot or
  // blank, which Windows drops.
  for (const char* id :
       {"..\\", "A/B", "C:x", "A*B", "A|B", "A\tB", "\177AB", "\xc5\x84X", "...", "AB ", "AB.", ""}) {
    EXPECT_FALSE(game::IsUsableFolderName(id)) << '"' << id << '"';
  }
}

// The check writes a file to learn whether it may: the file goes again.
TEST(GameCarFolder, WritableCheckLeavesNothingBehind) {
  testing_support::TempDir game;
  std::filesystem::create_directories(game / "Data/Cars");
  EXPECT_TRUE(game::MayWriteCarsFolder(game.Folder()));
  EXPECT_TRUE(std::filesystem::is_empty(game / "Data/Cars"));
}

}  // namespace
