#include "wizard/numeric_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// expected: the 16-bit integer the text gives, nullopt for none.
void ExpectInteger(const std::string& text, std::optional<int> expected, bool numeric = true) {
  std::string shown = '"' + text.substr(0, 40) + '"';
  EXPECT_EQ(wizard::IsNumeric(text), numeric) << shown;
  EXPECT_EQ(wizard::TextToInteger16(text), expected) << shown;
}

// Plain and signed numbers with blanks around them; fractions to the
// nearest, halves to the even neighbour; exponents; the edges of the 16-bit
// range; hexadecimal and octal literals in two's complement.
TEST(WizardNumericText, NumbersAndTheIntegersTheyGive) {
  const std::pair<const char*, int> integers[] = {
      {"203", 203},       {"\t203\r\n", 203},   {"-7", -7},
      {"-0", 0},          {"202.5", 202},       {"203.5", 204},
      {".5", 0},          {"-2.5", -2},         {"5.", 5},
      {"0.05", 0},        {"1.5e+2", 150},      {"25e-1", 2},
      {"35E-1", 4},       {"1D2", 100},         {"0e999999999", 0},
      {"1e-400", 0},      {"-32768.5", -32768}, {"&HCB", 203},
      {"&313", 203},      {"&HFFFF", -1},       {"&H8000", -32768},
      {"&HFFFFFFFF", -1}, {" &H10 ", 16},       {"&O17", 15},
      {"&o17", 15},
  };
  for (const auto& [text, value] : integers) ExpectInteger(text, value);
  // Decided on the written digits, however many.
  ExpectInteger("202.5000000000000000000000000000001", 203);
  ExpectInteger("32767.4999999999999999999999", 32767);
  ExpectInteger("-32768.49999999999999999999", -32768);
  ExpectInteger("0." + std::string(400, '0') + "203e+403", 203);
  // Numbers all the same, but out of 16 bits.
  for (const char* text : {"1e308", "32767.5", "-32768.6", "40000", "&H10000"})
    ExpectInteger(text, std::nullopt);
}

TEST(WizardNumericText, TextsThatAreNoNumbers) {
  for (const char* text : {"", "12abc", ".", "1e", "e5", "1..2", "1e5.5", "&H", "&O8", "&H100000000", "1e309",
                           "-1e99999999999999999999", "- 5", "inf"})
    ExpectInteger(text, std::nullopt, false);
}

}  // namespace
