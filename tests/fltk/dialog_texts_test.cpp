#include "dialog_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace fltk_frontend {
namespace {

using wizard::Language, wizard::MsgButtons;

// "[caption:answer]" for each button, left to right, then what Escape answers.
std::string Shown(const DialogButtonSet& set) {
  const char* const answers[] = {"OK", "Cancel", "Yes", "No"};
  std::string text;
  for (const DialogButton& button : set.Buttons)
    text += "[" + button.Caption + ":" + answers[static_cast<int>(button.Result)] + "]";
  return text + " Escape:" + answers[static_cast<int>(set.EscapeResult)];
}

TEST(FltkDialogTexts, ButtonsInTheDesktopsOrderEachAnsweringForItself) {
  const struct {
    MsgButtons Buttons;
    Language In;
    const char* Shown;
  } cases[] = {
      {MsgButtons::OK, Language::English, "[OK:OK] Escape:OK"},
      {MsgButtons::OKCancel, Language::English, "[OK:OK][Cancel:Cancel] Escape:Cancel"},
      {MsgButtons::YesNo, Language::English, "[Yes:Yes][No:No] Escape:No"},
      {MsgButtons::OKCancel, Language::Polish, "[OK:OK][Anuluj:Cancel] Escape:Cancel"},
      {MsgButtons::YesNo, Language::Polish, "[Tak:Yes][Nie:No] Escape:No"},
  };
  for (const auto& c : cases) EXPECT_EQ(Shown(ButtonsFor(c.Buttons, c.In)), c.Shown);
}

TEST(FltkDialogTexts, ChooserLabelsFollowTheLanguage) {
  EXPECT_STREQ(ChooserTextsFor(Language::English).Show, "Show:");
  EXPECT_STREQ(ChooserTextsFor(Language::Polish).Cancel, "Anuluj");
}

}  // namespace
}  // namespace fltk_frontend
