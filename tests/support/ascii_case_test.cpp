#include "support/ascii_case.h"

#include <gtest/gtest.h>

namespace {

// Both ends of each letter range and their neighbours; a byte of UTF-8 or
// of a Latin-1 locale (0xC1 and 0xE1 are one letter there) never changes.
TEST(SupportAsciiCase, FoldsOnlyTheAsciiLetters) {
  const struct {
    char c, lower, upper;
  } cases[] = {{'@', '@', '@'},          {'A', 'a', 'A'},          {'Z', 'z', 'Z'},
               {'[', '[', '['},          {'`', '`', '`'},          {'a', 'a', 'A'},
               {'z', 'z', 'Z'},          {'{', '{', '{'},          {'\x80', '\x80', '\x80'},
               {'\xC1', '\xC1', '\xC1'}, {'\xE1', '\xE1', '\xE1'}, {'\xFF', '\xFF', '\xFF'}};
  for (const auto& row : cases) {
    EXPECT_EQ(support::AsciiLower(row.c), row.lower) << static_cast<int>(row.c);
    EXPECT_EQ(support::AsciiUpper(row.c), row.upper) << static_cast<int>(row.c);
    EXPECT_EQ(support::IsAsciiLetter(row.c), row.lower != row.upper) << static_cast<int>(row.c);
  }
}

}  // namespace
