#include "game/car_id.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CarIdRow {
  std::string Id;
  std::vector<std::string> Installed;
  int16_t Expected;
};

class GameCarId : public testing::TestWithParam<CarIdRow> {};

TEST_P(GameCarId, GivesTheReason) {
  const CarIdRow& row = GetParam();
  EXPECT_EQ(game::CheckCarID(row.Id, row.Installed), row.Expected) << "ID \"" << row.Id << "\"";
}

INSTANTIATE_TEST_SUITE_P(GameCarIdRules, GameCarId,
                         testing::Values(
                             // Length first: three characters at least, no upper limit.
                             CarIdRow{"AB", {}, 10004},
                             CarIdRow{"ABCDEFGHIJKLMNOPQRSTUVWXY_0123456789", {}, 0},
                             // The valid set: underscore, digits, A to Y in either case; Z is not in it.
                             CarIdRow{"ayb", {}, 0}, CarIdRow{"ZAB", {}, 10004}, CarIdRow{"abz", {}, 10004},
                             CarIdRow{"AB ", {}, 10004}, CarIdRow{std::string("AB\0", 3), {}, 10004},
                             // Reserved IDs, compared exactly, before installed ones; a malformed
                             // ID never reaches either list.
                             CarIdRow{"BMX", {"BMX"}, 10007}, CarIdRow{"STC", {}, 10007},
                             CarIdRow{"bmx", {}, 0}, CarIdRow{"BMZ", {"BMZ"}, 10004},
                             // The installed list, compared exactly, first to last.
                             CarIdRow{"ABC", {"XYZ", "", "ABC"}, 10008}, CarIdRow{"abc", {"ABC"}, 0}));

}  // namespace
