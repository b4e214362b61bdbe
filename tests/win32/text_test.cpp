#include <gtest/gtest.h>

#include "command_line.h"
#include "wide_text.h"

namespace {

using win32_frontend::Narrow;
using win32_frontend::SplitCommandLine;
using win32_frontend::Widen;

TEST(Win32Text, PolishLettersBothWays) {
  // "Zakończ" and "Tworzenie pliku: Ąę" as the string table holds them.
  EXPECT_EQ(Widen("Zako\xC5\x84"
                  "cz"),
            L"Zako\u0144cz");
  EXPECT_EQ(Narrow(L"\u0104\u0119\u015B\u017A\u017C"), "\xC4\x84\xC4\x99\xC5\x9B\xC5\xBA\xC5\xBC");
  EXPECT_EQ(Narrow(Widen("C:\\Gry\\Grav\xC3\xA9lon\\")), "C:\\Gry\\Grav\xC3\xA9lon\\");
}

TEST(Win32Text, EmptyStaysEmpty) {
  EXPECT_EQ(Widen(""), L"");
  EXPECT_EQ(Narrow(L""), "");
}

TEST(Win32Text, BytesThatAreNotUtf8AreKept) {
  // A name from a game file in the ANSI code page: one byte, one character.
  EXPECT_EQ(Widen("Car\xE9").size(), 4u);
}

TEST(Win32CommandLine, SplitsLikeTheRuntime) {
  EXPECT_EQ(SplitCommandLine(L"install.exe"), std::vector<std::string>{});
  EXPECT_EQ(SplitCommandLine(L"install.exe --silent --replace"),
            (std::vector<std::string>{"--silent", "--replace"}));
  // Quotes group blanks; a backslash before the closing quote stays when doubled.
  EXPECT_EQ(
      SplitCommandLine(L"\"C:\\My Games\\install.exe\" --silent --game-dir \"C:\\My Games\\Gravelon\\\\\""),
      (std::vector<std::string>{"--silent", "--game-dir", "C:\\My Games\\Gravelon\\"}));
  EXPECT_EQ(SplitCommandLine(L"x.exe --game-dir=Z:\\gry\\Gra\u0142"),
            (std::vector<std::string>{"--game-dir=Z:\\gry\\Gra\xC5\x82"}));
}

}  // namespace
