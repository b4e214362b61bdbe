#include <gtest/gtest.h>

#include "wizard/numeric_text.h"

namespace {

using wizard::NumericValue;
using wizard::TextToInteger16;
using wizard::ToInteger16;

TEST(WizardNumericText, WhatReadsAsANumber) {
  const struct {
    const char* Text;
    std::optional<double> Value;
  } cases[] = {
      // Plain and signed numbers, blanks around them.
      {"203", 203},
      {" 203 ", 203},
      {"\t203\r\n", 203},
      {"+7", 7},
      {"-7", -7},
      {"0", 0},
      {"00012", 12},
      // Fractions and exponents.
      {"203.4", 203.4},
      {"202.5", 202.5},
      {".5", 0.5},
      {"5.", 5},
      {"1E3", 1000},
      {"1.5e+2", 150},
      {"25e-1", 2.5},
      {"1D2", 100},
      // Hexadecimal and octal literals.
      {"&HCB", 203},
      {"&hcb", 203},
      {"&O313", 203},
      {"&313", 203},
      {"&HFFFF", -1},
      {"&H8000", -32768},
      {"&H10000", 65536},
      {"&HFFFFFFFF", -1},
      {" &H10 ", 16},
      // Not numbers.
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"abc", std::nullopt},
      {"12abc", std::nullopt},
      {"1 2", std::nullopt},
      {".", std::nullopt},
      {"+", std::nullopt},
      {"1e", std::nullopt},
      {"e5", std::nullopt},
      {"1..2", std::nullopt},
      {"&H", std::nullopt},
      {"&HG", std::nullopt},
      {"&O8", std::nullopt},
      {"&H100000000", std::nullopt},
      {"1e400", std::nullopt},
      {"- 5", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
  };
  for (const auto& c : cases) {
    std::optional<double> value = NumericValue(c.Text);
    ASSERT_EQ(value.has_value(), c.Value.has_value()) << '"' << c.Text << '"';
    if (c.Value) {
      EXPECT_DOUBLE_EQ(*value, *c.Value) << '"' << c.Text << '"';
    }
    EXPECT_EQ(wizard::IsNumeric(c.Text), c.Value.has_value()) << '"' << c.Text << '"';
  }
}

TEST(WizardNumericText, NearestIntegerWithHalvesToEven) {
  const struct {
    double Value;
    std::optional<int16_t> Expected;
  } cases[] = {
      {203.4, 203},
      {203.6, 204},
      {202.5, 202},
      {203.5, 204},
      {2.5, 2},
      {3.5, 4},
      {0.5, 0},
      {1.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {-2.6, -3},
      {32767, 32767},
      {32767.4, 32767},
      {32767.5, std::nullopt},
      {32768, std::nullopt},
      {-32768, -32768},
      {-32768.5, -32768},
      {-32768.6, std::nullopt},
      {40000, std::nullopt},
      {-40000, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ToInteger16(c.Value), c.Expected) << c.Value;
}

TEST(WizardNumericText, TextToInteger16) {
  EXPECT_EQ(TextToInteger16(" 203 "), 203);
  EXPECT_EQ(TextToInteger16("202.5"), 202);
  EXPECT_EQ(TextToInteger16("40000"), std::nullopt);
  EXPECT_EQ(TextToInteger16("&HFFFF"), -1);
  EXPECT_EQ(TextToInteger16("&H10000"), std::nullopt);
  EXPECT_EQ(TextToInteger16("abc"), std::nullopt);
  EXPECT_EQ(TextToInteger16(""), std::nullopt);
}

}  // namespace
