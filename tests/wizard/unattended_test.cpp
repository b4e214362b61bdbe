// The unattended mode's answers to the wizard's questions, by string ID.
#include <gtest/gtest.h>

#include "wizard/frm_main.h"
#include "wizard/unattended.h"

namespace {

using wizard::MsgButtons, wizard::MsgResult;

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

}  // namespace
