#include "game/car_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(GameCarFolder, OnlyIdsThatStayInsideTheCarsFolder) {
  // Plain IDs, malformed ones included: the ID rules judge those.
  for (const char* id : {"ab_", "AB ", "A.B", "A~B"}) EXPECT_TRUE(game::IsUsableFolderName(id)) << id;
  // Separators, a drive, characters no folder name may hold; only dots and
  // blanks name the folder itself or its parent.
  for (const char* id :
       {"..\\", "A/B", "C:x", "A*B", "A|B", "A\tB", "\177AB", "\xc5\x84X", "...", ". .", ""}) {
    EXPECT_FALSE(game::IsUsableFolderName(id)) << '"' << id << '"';
  }
}

}  // namespace
