#include "support/text_format.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using support::HexText;

TEST(SupportTextFormat, HexTextIsUpperCaseWithLeadingZeros) {
  const struct {
    uint64_t Value;
    int MinDigits;
    const char* Expected;
  } cases[] = {
      {0, 1, "0"},
      {0xB, 2, "0B"},
      {0xFF, 2, "FF"},
      {0x1AB, 2, "1AB"},
      {0xCAFE, 8, "0000CAFE"},
      {0xFFFFFFFFFFFFFFFFull, 1, "FFFFFFFFFFFFFFFF"},
      {0x1, 20, "0000000000000001"},  // no more digits than the value's 64 bits
  };
  for (const auto& c : cases) EXPECT_EQ(HexText(c.Value, c.MinDigits), c.Expected) << c.Expected;
}

}  // namespace
