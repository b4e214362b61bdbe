#include "package/safe_names.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

namespace {

struct NameCase {
  std::string Name;
  std::string Problem;  // empty: safe
};

void ExpectProblems(const char* (*check)(std::string_view), std::span<const NameCase> cases) {
  for (const NameCase& c : cases) {
    const char* problem = check(c.Name);
    EXPECT_EQ(problem == nullptr ? "" : problem, c.Problem) << '"' << c.Name << '"';
  }
}

const char kDotDot[] = "has a \"..\" part";
const char kReserved[] = "has a character Windows reserves";
const char kControl[] = "has a control character";
const char kNotAscii[] = "is not plain ASCII";
const char kTrailing[] = "ends with a dot or a space";
const char kDevice[] = "is a device name";

TEST(PackageSafeNames, SubFolders) {
  const NameCase cases[] = {
      {"", ""},
      {"Textures\\HiRes", ""},
      {"My Parts", ""},
      {"a/b", ""},
      {std::string(15, 'f'), ""},
      {std::string(16, 'f'), "is longer than 15 characters"},
      // Leaving the destination: parent parts, absolute paths, drives.
      {"..\\Cars", kDotDot},
      {"Parts/../x", kDotDot},
      {".", "has a \".\" part"},
      {"\\Windows", "starts with a separator"},
      {"C:", "has a colon (a drive or a stream)"},
      // One trailing separator leads to the same folder; empty parts do not.
      {"Parts\\", ""},
      {"Parts\\\\", "has an empty part"},
      {"a\\\\b", "has an empty part"},
      // Characters Windows refuses or the system would misread, at the edges of each range.
      {"a<b", kReserved},
      {std::string("a\x1F", 2), kControl},
      {"a\x7F", kControl},
      {"a\x80", kNotAscii},
      // Trailing dots and blanks, which Windows drops; device names.
      {"Parts.", kTrailing},
      {"a.\\b", kTrailing},
      {"Parts\\nul", kDevice},
      {"com1", kDevice},
      {"COM0", ""},
      {"CONSOLE", ""}};
  ExpectProblems(modRIGBOX::SubFolderProblem, cases);
}

TEST(PackageSafeNames, FileNames) {
  const NameCase cases[] = {{".hidden", ""},
                            {std::string(64, 'n'), ""},
                            {std::string(65, 'n'), "is longer than 64 characters"},
                            {"", "is empty"},
                            {"a\\b.txt", "has a slash or backslash"},
                            {"a/b.txt", "has a slash or backslash"},
                            {"..", kDotDot},
                            {"x.txt:stream", "has a colon (a drive or a stream)"},
                            {"a>b", kReserved},
                            {std::string("\0a", 2), kControl},
                            {"caf\xE9.txt", kNotAscii},
                            {"body.txt ", kTrailing},
                            {"NUL.txt", kDevice},
                            {"lpt9.scr", kDevice},
                            {"aux", kDevice}};
  ExpectProblems(modRIGBOX::FileNameProblem, cases);
}

TEST(PackageSafeNames, PrintableNameEscapesOtherBytes) {
  EXPECT_EQ(modRIGBOX::PrintableName("Parts\\a b.txt"), "Parts\\a b.txt");
  EXPECT_EQ(modRIGBOX::PrintableName(std::string("a\0\x1F\x7F\xE9", 5)), "a\\x00\\x1F\\x7F\\xE9");
}

}  // namespace
