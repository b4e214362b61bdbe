#include "package/safe_names.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

namespace {

struct NameCase {
  std::string Name;
  const char* Problem;  // nullptr: safe
};

void ExpectProblems(const char* (*check)(std::string_view), std::span<const NameCase> cases) {
  for (const NameCase& c : cases) {
    const char* problem = check(c.Name);
    if (c.Problem == nullptr) {
      EXPECT_EQ(problem, nullptr) << "\"" << c.Name << "\" was refused: " << problem;
    } else {
      ASSERT_NE(problem, nullptr) << "\"" << c.Name << "\" was accepted";
      EXPECT_STREQ(problem, c.Problem) << "\"" << c.Name << "\"";
    }
  }
}

TEST(PackageSafeNames, SubFolders) {
  const NameCase cases[] = {
      // Ordinary folders, nested ones, inner spaces and dots.
      {"", nullptr},
      {"Parts", nullptr},
      {"Textures\\HiRes", nullptr},
      {"My Parts", nullptr},
      {"v1.2", nullptr},
      {"a/b", nullptr},
      {std::string(15, 'f'), nullptr},
      // The field holds 15 characters and the NUL.
      {std::string(16, 'f'), "is longer than 15 characters"},
      // Leaving the destination: parent parts.
      {"..", "has a \"..\" part"},
      {"..\\Cars", "has a \"..\" part"},
      {"Parts\\..\\..", "has a \"..\" part"},
      {"Parts/../x", "has a \"..\" part"},
      {".", "has a \".\" part"},
      // Absolute paths and drives.
      {"\\Windows", "starts with a separator"},
      {"/etc", "starts with a separator"},
      {"\\\\server\\x", "starts with a separator"},
      {"C:\\Windows", "has a colon (a drive or a stream)"},
      {"C:", "has a colon (a drive or a stream)"},
      {"Parts:x", "has a colon (a drive or a stream)"},
      // One trailing separator leads to the same folder; empty parts do not.
      {"Parts\\", nullptr},
      {"Tex/", nullptr},
      {"Parts\\\\", "has an empty part"},
      {"a\\\\b", "has an empty part"},
      // Characters Windows refuses or the system would misread.
      {"a<b", "has a character Windows reserves"},
      {"a|b", "has a character Windows reserves"},
      {"a?", "has a character Windows reserves"},
      {"a*", "has a character Windows reserves"},
      {"a\"b", "has a character Windows reserves"},
      {std::string("a\x01", 2), "has a control character"},
      {std::string("a\tb", 3), "has a control character"},
      {std::string("a\x7F", 2), "has a control character"},
      {"Pi\xC3\xB1", "is not plain ASCII"},
      {"a\x80", "is not plain ASCII"},
      // Trailing dots and blanks, which Windows drops.
      {"Parts.", "ends with a dot or a space"},
      {"Parts ", "ends with a dot or a space"},
      {"a.\\b", "ends with a dot or a space"},
      // Device names.
      {"CON", "is a device name"},
      {"Parts\\nul", "is a device name"},
      {"com1", "is a device name"},
      {"COM0", nullptr},
      {"CONSOLE", nullptr},
  };
  ExpectProblems(modRIGBOX::SubFolderProblem, cases);
}

TEST(PackageSafeNames, FileNames) {
  const NameCase cases[] = {
      {"Cars.scr", nullptr},
      {"my body tex.txt", nullptr},
      {".hidden", nullptr},
      {std::string(64, 'n'), nullptr},
      {std::string(65, 'n'), "is longer than 64 characters"},
      {"", "is empty"},
      // No folder parts at all inside a file name.
      {"a\\b.txt", "has a slash or backslash"},
      {"a/b.txt", "has a slash or backslash"},
      {"\\x.txt", "has a slash or backslash"},
      {"..\\x.txt", "has a slash or backslash"},
      {"..", "has a \"..\" part"},
      {".", "has a \".\" part"},
      {"C:x.txt", "has a colon (a drive or a stream)"},
      {"x.txt:stream", "has a colon (a drive or a stream)"},
      {"a>b", "has a character Windows reserves"},
      {std::string("a\nb", 3), "has a control character"},
      {std::string("\0a", 2), "has a control character"},
      {"caf\xE9.txt", "is not plain ASCII"},
      {"body.txt.", "ends with a dot or a space"},
      {"body.txt ", "ends with a dot or a space"},
      {"NUL.txt", "is a device name"},
      {"lpt9.scr", "is a device name"},
      {"aux", "is a device name"},
  };
  ExpectProblems(modRIGBOX::FileNameProblem, cases);
}

TEST(PackageSafeNames, PrintableNameEscapesOtherBytes) {
  EXPECT_EQ(modRIGBOX::PrintableName("Parts\\a b.txt"), "Parts\\a b.txt");
  EXPECT_EQ(modRIGBOX::PrintableName(std::string("a\0\x1F\x7F\xE9", 5)), "a\\x00\\x1F\\x7F\\xE9");
}

}  // namespace
