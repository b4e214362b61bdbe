#include <gtest/gtest.h>

#include "command_line.h"
#include "wide_text.h"

namespace {

using win32_frontend::Narrow, win32_frontend::SplitCommandLine, win32_frontend::Widen;

TEST(Win32Text, PolishLettersBothWaysAndAnsiBytesKept) {
  // "Zakończ" and "Ąęśźż" as the string table holds them.
  EXPECT_EQ(Widen("Zako\xC5\x84"
                  "cz"),
            L"Zako\u0144cz");
  EXPECT_EQ(Narrow(L"\u0104\u0119\u015B\u017A\u017C"), "\xC4\x84\xC4\x99\xC5\x9B\xC5\xBA\xC5\xBC");
  // A name from a game file in the ANSI code page (1252 or 1250 alike
  // here): one byte, one letter.
  EXPECT_EQ(Widen("caf\xE9"), L"caf\u00E9");
}

TEST(Win32CommandLine, SplitsLikeTheRuntimeWithoutTheProgramName) {
  EXPECT_EQ(SplitCommandLine(L"\"C:\\My Games\\install.exe\" --game-dir \"C:\\My Games\\Gra\u0142\\\\\""),
            (std::vector<std::string>{"--game-dir", "C:\\My Games\\Gra\xC5\x82\\"}));
  // "/D=" takes the rest of the line as it stands; not inside quotes, nor
  // in the program's name or in a word.
  EXPECT_EQ(SplitCommandLine(L"setup.exe \"a b\" /d=C:\\My  Games\\x\\\" /S \t"),
            (std::vector<std::string>{"a b", "/d=C:\\My  Games\\x\\\" /S"}));
  EXPECT_EQ(SplitCommandLine(L"\"C:\\a /D=b\\setup.exe\" \"x /D=y\" a/D=b \\\" /D=c\""),
            (std::vector<std::string>{"x /D=y", "a/D=b", "\"", "/D=c\""}));
}

}  // namespace
