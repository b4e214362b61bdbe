// The car's include lines as a removal finds them: in any spelling the
// game still reads, behind a link, or in a script that cannot be read.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "game/car_removal.h"
#ifndef _WIN32
#include "common/unprivileged_posix.h"
#endif

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

const std::string kLine = "!include(\"ABC\\\\Cars.scr\")";

using GameCarLines = TempDirTest;

// The line goes with the one empty line after it, whatever ends them, with
// blanks around it and in any letter case; a comment copy and the empty
// lines of others stay.
TEST_F(GameCarLines, TakesOutWholeLinesInAnySpellingWithTheirEmptyLine) {
  const struct {
    std::string Before;
    std::string After;
  } cases[] = {
      {"a\r\n" + kLine + "\r\n\r\nb\r\n", "a\r\nb\r\n"},
      {kLine + "\n\n\n" + kLine + "\r\n", "\n"},
      {"a\r\n\r\n" + kLine, "a\r\n\r\n"},
      {"// " + kLine + "\r\n \t" + kLine + "\t \r\n\r\nb", "// " + kLine + "\r\nb"},
      {"!INCLUDE(\"abc\\\\cars.scr\")\r\nx\r\n\r\n", "x\r\n\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(game::WithoutLine(c.Before, kLine), c.After) << c.Before;
}

TEST_F(GameCarLines, InstalledByALineInAnySpelling) {
  WriteFile(dir / "Data/Cars/Texts.scr", "!include(\"ABD\\\\Texts.scr\")\r\n");
  EXPECT_FALSE(game::HasCarLines(dir.Folder(), "ABC"));  // another car's line
  WriteFile(dir / "Data/Cars/Texts.scr", " !INCLUDE(\"abc\\\\texts.scr\")\r\n");
  EXPECT_TRUE(game::HasCarLines(dir.Folder(), "ABC"));
}

// The first match names its script and the line as it stands.
TEST_F(GameCarLines, FindsIncludesUnderTheCarsFolder) {
  const struct {
    std::string Line;
    bool Found;
  } cases[] = {
      {"!include(\"abc\\\\Something.scr\")", true},
      {"\t!INCLUDE ( \"ABC/x.scr\" ) ", true},
      {"!include(Abc\\\\x.scr)", true},
      {"// !include(\"ABC\\\\x.scr\")", false},
      {"!include(\"ABCD\\\\x.scr\")", false},
      {"!include(\"Other\\\\ABC\\\\x.scr\")", false},
  };
  for (const auto& c : cases) {
    WriteFile(dir / "Data/Cars/Parts.scr", "p\r\n" + c.Line + "\r\n");
    EXPECT_EQ(game::FindCarInclude(dir.Folder(), "ABC"), c.Found ? "Data\\Cars\\Parts.scr: " + c.Line : "");
  }
}

#ifndef _WIN32
// What taking car ABC's lines out of the game folder's scripts ran into.
std::vector<game::FileFault> RemoveAbcLines(const std::string& game) {
  std::vector<game::FileFault> faults;
  std::vector<std::string> copies;
  game::RemoveCarLines(game, "ABC", faults, copies);
  return faults;
}

// What a player cannot read may hold the line: a fault, and the car counts
// as installed so that the removal says so.
TEST_F(GameCarLines, UnreadableScriptIsAFault) {
  WriteFile(dir / "Data/Cars/Parts.scr", "p\r\n");
  fs::permissions(dir / "Data/Cars/Parts.scr", fs::perms::none);
  std::string game = dir.Folder();
  std::optional<std::string> report = RunUnprivileged(dir.Path(), [&] {
    std::vector<game::FileFault> faults = RemoveAbcLines(game);
    std::string text = game::HasCarLines(game, "ABC") ? "installed" : "absent";
    for (const game::FileFault& fault : faults)
      text += " " + fault.ShownName +
              (fault.Fault == game::ScriptFault::CannotRead ? ": cannot read" : ": other");
    return text;
  });
  EXPECT_EQ(report, "installed Data\\Cars\\Parts.scr: cannot read");
}

// A mod manager's link stays a link; the file in its store loses the line.
TEST_F(GameCarLines, LinkedScriptKeepsItsLink) {
  WriteFile(dir / "store/Texts.scr", "t\r\n!include(\"ABC\\\\Texts.scr\")\r\n\r\n");
  fs::create_directories(dir / "Data/Cars");
  fs::create_symlink(dir / "store/Texts.scr", dir / "Data/Cars/Texts.scr");
  EXPECT_TRUE(RemoveAbcLines(dir.Folder()).empty());
  EXPECT_TRUE(fs::is_symlink(dir / "Data/Cars/Texts.scr"));
  EXPECT_EQ(ReadFile(dir / "store/Texts.scr"), "t\r\n");
}
#endif

}  // namespace
