// Decimal text to the nearest double, ties to even, however many digits
// the text has: the halves rule of TextToInteger16 depends on it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "wizard/numeric_text.h"

namespace {

uint64_t Bits(double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

TEST(WizardNumericTextRounding, NearestDoubleBitForBit) {
  const struct {
    std::string Text;
    uint64_t Bits;
  } cases[] = {
      {"0.1", 0x3FB999999999999Aull},
      {"1", 0x3FF0000000000000ull},
      {"-2.5", 0xC004000000000000ull},
      {"-0", 0x8000000000000000ull},
      // 2^53 + 1 lies halfway: to the even neighbour 2^53, unless anything
      // follows, even 800 digits further on.
      {"9007199254740993", 0x4340000000000000ull},
      {"9007199254740995", 0x4340000000000002ull},
      {"9007199254740993.0000000000000000000000000001", 0x4340000000000001ull},
      {"9007199254740993" + std::string(790, '0') + "1e-791", 0x4340000000000001ull},
      // The largest double, the smallest normal one and the subnormal ones.
      {"1.7976931348623157e308", 0x7FEFFFFFFFFFFFFFull},
      {"2.2250738585072014E-308", 0x0010000000000000ull},
      {"2.2250738585072011d-308", 0x000FFFFFFFFFFFFFull},
      {"4.9406564584124654e-324", 0x0000000000000001ull},
      {"2.4703282292062328e-324", 0x0000000000000001ull},
      {"0." + std::string(400, '0') + "5e+400", 0x3FE0000000000000ull},
      {"0e999999999", 0},
  };
  for (const auto& c : cases) {
    std::optional<double> value = wizard::NumericValue(c.Text);
    ASSERT_TRUE(value.has_value()) << c.Text.substr(0, 40);
    EXPECT_EQ(Bits(*value), c.Bits) << c.Text.substr(0, 40);
  }
}

TEST(WizardNumericTextRounding, BeyondTheDoublesIsNotANumber) {
  for (const char* text :
       {"1.7976931348623159e308", "1e309", "2.4703282292062327e-324", "1e-400", "-1e99999999999999999999"}) {
    EXPECT_FALSE(wizard::NumericValue(text).has_value()) << text;
  }
}

TEST(WizardNumericTextRounding, HalfAfterManyNines) {
  // Just below 32767.5, but nearer to it than to any other double: that
  // rounds to 32768, which is out of range.
  EXPECT_EQ(wizard::TextToInteger16("32767.4999999999999999999999"), std::nullopt);
  EXPECT_EQ(wizard::TextToInteger16("32767.4999999"), 32767);
  EXPECT_EQ(wizard::TextToInteger16("-32768.49999999999999999999"), -32768);
}

}  // namespace
