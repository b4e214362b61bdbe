#include <gtest/gtest.h>

#include "dialogs.h"

namespace {

using win32_frontend::AnswerFromResult;
using win32_frontend::MessageBoxStyle;
using wizard::MsgButtons;
using wizard::MsgIcon;
using wizard::MsgResult;

TEST(Win32Dialogs, StylesForWhatTheWizardAsks) {
  // The error box, the replace question and the close confirmation.
  EXPECT_EQ(MessageBoxStyle(MsgButtons::OK, MsgIcon::Critical), static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_EQ(MessageBoxStyle(MsgButtons::OKCancel, MsgIcon::Question),
            static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
  EXPECT_EQ(MessageBoxStyle(MsgButtons::YesNo, MsgIcon::Question),
            static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(MessageBoxStyle(MsgButtons::YesNo, MsgIcon::Question), 0x24u);
}

struct AnswerCase {
  int Result;
  MsgButtons Buttons;
  MsgResult Expected;
};

class Win32DialogsAnswer : public testing::TestWithParam<AnswerCase> {};

TEST_P(Win32DialogsAnswer, FromMessageBoxResult) {
  EXPECT_EQ(AnswerFromResult(GetParam().Result, GetParam().Buttons), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Win32Dialogs, Win32DialogsAnswer,
                         testing::Values(AnswerCase{IDOK, MsgButtons::OK, MsgResult::OK},
                                         AnswerCase{IDOK, MsgButtons::OKCancel, MsgResult::OK},
                                         AnswerCase{IDCANCEL, MsgButtons::OKCancel, MsgResult::Cancel},
                                         AnswerCase{IDYES, MsgButtons::YesNo, MsgResult::Yes},
                                         AnswerCase{IDNO, MsgButtons::YesNo, MsgResult::No},
                                         // A box that could not be shown changes nothing.
                                         AnswerCase{0, MsgButtons::OKCancel, MsgResult::Cancel},
                                         AnswerCase{0, MsgButtons::YesNo, MsgResult::No},
                                         AnswerCase{0, MsgButtons::OK, MsgResult::OK}));

}  // namespace
