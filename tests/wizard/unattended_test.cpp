// The unattended mode: its command line, and its answers to the wizard's
// questions by string ID.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wizard/frm_main.h"
#include "wizard/unattended.h"

namespace {

using wizard::MsgButtons, wizard::MsgResult, wizard::ParseCommandLine;

class WizardUnattendedShell : public ::testing::Test, public wizard::ConsoleOutput {
 protected:
  void Out(const std::string& /*line*/) override {}
  void Err(const std::string& line) override { Errs.push_back(line); }

  MsgResult Ask(int16_t stringId, MsgButtons buttons) {
    wizard::AnsweringShell shell(commandLine, *this);
    return shell.MessageBox(stringId, "Sure?", "Warning", buttons, wizard::MsgIcon::Question);
  }

  wizard::CommandLine commandLine;
  std::vector<std::string> Errs;
};

// Even with --replace: an OK given to an unknown question could mean anything.
TEST_F(WizardUnattendedShell, RefusesAnUnknownQuestionNamingItsId) {
  commandLine.Replace = true;
  EXPECT_EQ(Ask(4321, MsgButtons::OKCancel), MsgResult::Cancel);
  EXPECT_EQ(Ask(4321, MsgButtons::YesNo), MsgResult::No);
  EXPECT_EQ(Errs, std::vector<std::string>(2, "No unattended answer to question 4321: declined"));
}

// Declined, it says what --replace would do.
TEST_F(WizardUnattendedShell, AnswersTheReplaceQuestionFromReplace) {
  EXPECT_EQ(Ask(wizard::kResReplaceQuestion, MsgButtons::OKCancel), MsgResult::Cancel);
  commandLine.Replace = true;
  EXPECT_EQ(Ask(wizard::kResReplaceQuestion, MsgButtons::OKCancel), MsgResult::OK);
  EXPECT_EQ(Errs,
            std::vector<std::string>{"This car is already installed: --replace replaces or repairs it."});
}

TEST_F(WizardUnattendedShell, ConfirmsACloseButNeverRestartsAsAdministrator) {
  EXPECT_EQ(Ask(wizard::kResAreYouSure, MsgButtons::YesNo), MsgResult::Yes);
  EXPECT_EQ(Ask(wizard::kResAskElevation, MsgButtons::YesNo), MsgResult::No);
}

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
  if (line->Remove) text += "remove ";
  if (line->GameDir) text += "dir=" + *line->GameDir;
  if (line->Log) text += " log=" + *line->Log;
  if (line->Car) text += " car=" + *line->Car;
  if (line->Asked) text += " asked";
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
  EXPECT_EQ(Parsed({"--remove", "--car", "ABC", "--game-dir=G"}), "remove dir=G car=ABC");
  EXPECT_EQ(Parsed({"--remove", "--car", "/S"}), "remove  car=/S");
  EXPECT_EQ(Parsed({"--remove", "--asked", "--car", "A"}), "remove  car=A asked");
}

// Other installers' switches as scripts pass them, names in any case.
TEST(WizardCommandLine, OtherInstallersSwitches) {
  EXPECT_EQ(Parsed({"/s", "/D=C:\\My", "Games\\Gravelon", "/S"}), "silent dir=C:\\My Games\\Gravelon /S");
  EXPECT_EQ(Parsed({"/VerySilent", "/dir=D:\\a b", "/log=x.txt"}), "silent dir=D:\\a b log=x.txt");
  EXPECT_EQ(Parsed({"/SILENT", "--log", "/S"}), "silent  log=/S");
  EXPECT_EQ(Parsed({"/d=C:\\Games"}), "window dir=C:\\Games");
  EXPECT_EQ(Parsed({"/VERYSILENT", "/SuppressMsgBoxes", "/NORESTART", "/sp-"}), "silent ");
  EXPECT_EQ(Parsed({"/NORESTART"}), "window");
  EXPECT_EQ(Parsed({"--game-dir", "/S"}), "window dir=/S");
  for (const char* empty : {"/D=", "/DIR=", "/LOG="}) EXPECT_EQ(Parsed({"/S", empty}), "usage") << empty;
}

TEST(WizardCommandLine, WrongUseOfOurOptionsIsAUsageError) {
  EXPECT_EQ(Parsed({"--silent", "--game-dir"}), "usage");      // no folder after it
  EXPECT_EQ(Parsed({"--silent", "--game-dir", ""}), "usage");  // an empty one
  EXPECT_EQ(Parsed({"--silent", "--game-dir="}), "usage");
  EXPECT_EQ(Parsed({"--silent", "--colour", "red"}), "usage");           // unknown option and its value
  EXPECT_EQ(Parsed({"--game-dir", "D:\\Games", "--replace"}), "usage");  // the window asks instead
  // --car names the car a removal takes out, and nothing else.
  for (auto car :
       {std::vector<std::string>{"--silent", "--car", "ABC"}, {"--remove", "--car"}, {"--car=", "--remove"}})
    EXPECT_EQ(Parsed(car), "usage") << car[0];
}

}  // namespace
