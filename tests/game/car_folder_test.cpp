#include "game/car_folder.h"

#include <gtest/gtest.h>

namespace {

struct FolderNameCase {
  const char* carId;
  bool usable;
};

TEST(GameCarFolder, OnlyIdsThatStayInsideTheCarsFolder) {
  const FolderNameCase cases[] = {// Plain IDs, malformed ones included: the ID rules judge those.
                                  {"ab_", true},
                                  {"AB ", true},
                                  {"A.B", true},
                                  {"A~B", true},
                                  // Separators, a drive and characters no folder name may hold.
                                  {"..\\", false},
                                  {"A/B", false},
                                  {"C:x", false},
                                  {"A*B", false},
                                  {"A|B", false},
                                  {"A\tB", false},
                                  {"\x7f"
                                   "AB",
                                   false},
                                  {"\xc5\x84X", false},
                                  // Only dots and blanks name the folder itself or its parent.
                                  {"...", false},
                                  {". .", false},
                                  {"", false}};
  for (const FolderNameCase& c : cases) {
    EXPECT_EQ(game::IsUsableFolderName(c.carId), c.usable) << '"' << c.carId << '"';
  }
}

}  // namespace
