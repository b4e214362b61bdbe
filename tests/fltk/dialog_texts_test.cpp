#include "dialog_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace fltk_frontend {
namespace {

using wizard::Language;
using wizard::MsgButtons;
using wizard::MsgResult;

std::string Captions(const DialogButtonSet& set) {
  std::string text;
  for (const DialogButton& button : set.Buttons) text += "[" + button.Caption + "]";
  return text;
}

TEST(FltkDialogTexts, ButtonsInTheDesktopsOrder) {
  EXPECT_EQ(Captions(ButtonsFor(MsgButtons::OK, Language::English)), "[OK]");
  EXPECT_EQ(Captions(ButtonsFor(MsgButtons::OKCancel, Language::English)), "[OK][Cancel]");
  EXPECT_EQ(Captions(ButtonsFor(MsgButtons::YesNo, Language::English)), "[Yes][No]");
}

TEST(FltkDialogTexts, PolishButtonCaptions) {
  EXPECT_EQ(Captions(ButtonsFor(MsgButtons::OK, Language::Polish)), "[OK]");
  EXPECT_EQ(Captions(ButtonsFor(MsgButtons::OKCancel, Language::Polish)), "[OK][Anuluj]");
  EXPECT_EQ(Captions(ButtonsFor(MsgButtons::YesNo, Language::Polish)), "[Tak][Nie]");
}

TEST(FltkDialogTexts, EachButtonAnswersForItself) {
  DialogButtonSet okCancel = ButtonsFor(MsgButtons::OKCancel, Language::English);
  EXPECT_EQ(okCancel.Buttons[0].Result, MsgResult::OK);
  EXPECT_EQ(okCancel.Buttons[1].Result, MsgResult::Cancel);
  DialogButtonSet yesNo = ButtonsFor(MsgButtons::YesNo, Language::Polish);
  EXPECT_EQ(yesNo.Buttons[0].Result, MsgResult::Yes);
  EXPECT_EQ(yesNo.Buttons[1].Result, MsgResult::No);
}

TEST(FltkDialogTexts, EscapeDeclinesOrAcknowledges) {
  EXPECT_EQ(ButtonsFor(MsgButtons::OK, Language::English).EscapeResult, MsgResult::OK);
  EXPECT_EQ(ButtonsFor(MsgButtons::OKCancel, Language::English).EscapeResult, MsgResult::Cancel);
  EXPECT_EQ(ButtonsFor(MsgButtons::YesNo, Language::English).EscapeResult, MsgResult::No);
}

TEST(FltkDialogTexts, ChooserLabelsFollowTheLanguage) {
  EXPECT_STREQ(ChooserTextsFor(Language::English).Cancel, "Cancel");
  EXPECT_STREQ(ChooserTextsFor(Language::Polish).Cancel, "Anuluj");
  EXPECT_STREQ(ChooserTextsFor(Language::Polish).Show, "Pokaż:");
  EXPECT_STREQ(ChooserTextsFor(Language::English).Show, "Show:");
}

}  // namespace
}  // namespace fltk_frontend
