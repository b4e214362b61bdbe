#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wizard/unattended.h"

namespace {

using wizard::ParseCommandLine;

// "window" (with "dir=X"), "usage", or the options as "silent help replace dir=X".
std::string Parsed(const std::vector<std::string>& arguments) {
  auto line = ParseCommandLine(arguments);
  if (!line) return "usage";
  if (line->OpensWindow()) return line->GameDir ? "window dir=" + *line->GameDir : "window";
  std::string text;
  if (line->Silent) text += "silent ";
  if (line->Help) text += "help ";
  if (line->Version) text += "version ";
  if (line->Replace) text += "replace ";
  if (line->GameDir) text += "dir=" + *line->GameDir;
  if (line->Log) text += " log=" + *line->Log;
  return text;
}

TEST(WizardCommandLine, WithoutOurOptionsTheWindowOpens) {
  EXPECT_EQ(Parsed({}), "window");
  EXPECT_EQ(Parsed({"-silent", "/Silently", "--foo"}), "window");
  // The wizard started again as administrator opens on the folder chosen.
  EXPECT_EQ(Parsed({"--game-dir", "C:\\Program Files\\Gravelon\\"}),
            "window dir=C:\\Program Files\\Gravelon\\");
}

TEST(WizardCommandLine, UnattendedOptions) {
  EXPECT_EQ(Parsed({"--replace", "--game-dir", "D:\\Games\\Gravelon", "--silent"}),
            "silent replace dir=D:\\Games\\Gravelon");
  EXPECT_EQ(Parsed({"--silent", "--game-dir=/home/me/game"}), "silent dir=/home/me/game");
  EXPECT_EQ(Parsed({"/?"}), "help ");
  EXPECT_EQ(Parsed({"--help", "--replace"}), "help replace ");
  EXPECT_EQ(Parsed({"--version", "--game-dir", "D:\\Games"}), "version dir=D:\\Games");
}

// Other installers' switches as scripts pass them, names in any case.
TEST(WizardCommandLine, OtherInstallersSwitches) {
  EXPECT_EQ(Parsed({"/s", "/D=C:\\My", "Games\\Gravelon", "/S"}), "silent dir=C:\\My Games\\Gravelon /S");
  EXPECT_EQ(Parsed({"/VerySilent", "/dir=D:\\a b", "/log=x.txt"}), "silent dir=D:\\a b log=x.txt");
  EXPECT_EQ(Parsed({"/SILENT", "--log", "/S"}), "silent  log=/S");
  EXPECT_EQ(Parsed({"/d=C:\\Games"}), "window dir=C:\\Games");
  EXPECT_EQ(Parsed({"--game-dir", "/S"}), "window dir=/S");
  for (const char* empty : {"/D=", "/DIR=", "/LOG="}) EXPECT_EQ(Parsed({"/S", empty}), "usage") << empty;
}

TEST(WizardCommandLine, WrongUseOfOurOptionsIsAUsageError) {
  EXPECT_EQ(Parsed({"--silent", "--game-dir"}), "usage");      // no folder after it
  EXPECT_EQ(Parsed({"--silent", "--game-dir", ""}), "usage");  // an empty one
  EXPECT_EQ(Parsed({"--silent", "--game-dir="}), "usage");
  EXPECT_EQ(Parsed({"--silent", "--colour", "red"}), "usage");           // unknown option and its value
  EXPECT_EQ(Parsed({"--game-dir", "D:\\Games", "--replace"}), "usage");  // the window asks instead
}

}  // namespace
