#include "support/text_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using support::DecimalText, support::HexText;

TEST(SupportTextFormat, DecimalText) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(-7), "-7");
  EXPECT_EQ(DecimalText(1000), "1000");
  EXPECT_EQ(DecimalText(std::numeric_limits<int32_t>::min()), "-2147483648");
  EXPECT_EQ(DecimalText(uint32_t{4294967295u}), "4294967295");
  EXPECT_EQ(DecimalText(uint64_t{4294967296u}), "4294967296");  // bit 32 alone
  EXPECT_EQ(DecimalText(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(DecimalText(std::numeric_limits<uint64_t>::max()), "18446744073709551615");
}

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
