#include "wizard/numeric_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using wizard::IsNumeric;
using wizard::TextToInteger16;

constexpr int kOutOfRange = 99999;  // numeric, but no 16-bit integer
constexpr int kNotNumeric = -99999;

TEST(WizardNumericText, NumbersAndTheIntegersTheyGive) {
  const struct {
    std::string Text;
    int Expected;
  } cases[] = {
      // Plain and signed numbers, blanks around them.
      {"203", 203},
      {"\t203\r\n", 203},
      {"-7", -7},
      {"-0", 0},
      // Fractions: nearest, halves to the even neighbour.
      {"202.5", 202},
      {"203.5", 204},
      {".5", 0},
      {"-2.5", -2},
      {"5.", 5},
      {"0.05", 0},
      // Decided on the written digits, however many.
      {"202.5000000000000000000000000000001", 203},
      {"32767.4999999999999999999999", 32767},
      {"-32768.49999999999999999999", -32768},
      // Exponents.
      {"1.5e+2", 150},
      {"25e-1", 2},
      {"35E-1", 4},
      {"1D2", 100},
      {"0." + std::string(400, '0') + "203e+403", 203},
      {"0e999999999", 0},
      {"1e-400", 0},
      {"1e308", kOutOfRange},
      // The 16-bit range.
      {"32767.5", kOutOfRange},
      {"-32768.5", -32768},
      {"-32768.6", kOutOfRange},
      {"40000", kOutOfRange},
      // Hexadecimal and octal literals, two's complement.
      {"&HCB", 203},
      {"&313", 203},
      {"&HFFFF", -1},
      {"&H8000", -32768},
      {"&H10000", kOutOfRange},
      {"&HFFFFFFFF", -1},
      {" &H10 ", 16},
      // Not numbers.
      {"", kNotNumeric},
      {"12abc", kNotNumeric},
      {".", kNotNumeric},
      {"1e", kNotNumeric},
      {"e5", kNotNumeric},
      {"1..2", kNotNumeric},
      {"1e5.5", kNotNumeric},
      {"&H", kNotNumeric},
      {"&O8", kNotNumeric},
      {"&H100000000", kNotNumeric},
      {"1e309", kNotNumeric},
      {"-1e99999999999999999999", kNotNumeric},
      {"- 5", kNotNumeric},
      {"inf", kNotNumeric},
  };
  for (const auto& c : cases) {
    std::string shown = '"' + c.Text.substr(0, 40) + '"';
    EXPECT_EQ(IsNumeric(c.Text), c.Expected != kNotNumeric) << shown;
    std::optional<int16_t> value = TextToInteger16(c.Text);
    if (c.Expected == kNotNumeric || c.Expected == kOutOfRange) {
      EXPECT_EQ(value, std::nullopt) << shown;
    } else {
      EXPECT_EQ(value, c.Expected) << shown;
    }
  }
}

}  // namespace
