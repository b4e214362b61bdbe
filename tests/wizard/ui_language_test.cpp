#include <gtest/gtest.h>

#include "support/ui_language.h"

namespace {

struct LocaleCase {
  const char* Language;
  const char* LcAll;
  const char* LcMessages;
  const char* Lang;
  uint16_t Expected;
};

TEST(WizardUiLanguage, FirstNonEmptyLocaleVariableDecides) {
  const LocaleCase cases[] = {
      // Each variable alone.
      {"pl", "", "", "", 1045},
      {"", "", "pl_PL.UTF-8", "", 1045},
      {"", "", "", "pl_PL.UTF-8", 1045},
      // Priority: LANGUAGE, LC_ALL, LC_MESSAGES, LANG.
      {"en", "pl_PL.UTF-8", "pl_PL", "pl_PL", 1033},
      {"", "en_GB.UTF-8", "pl_PL.UTF-8", "pl_PL.UTF-8", 1033},
      {"", "", "C", "pl_PL.UTF-8", 1033},
      {"", "pl_PL.UTF-8", "en_US", "C", 1045},
      // LANGUAGE is a list: its first entry counts.
      {"en_US:pl", "", "", "pl_PL", 1033},
      {":pl_PL", "", "", "", 1045},
      // Not Polish, and other spellings of Polish.
      {"", "", "", "C", 1033},
      {"", "", "", "plt_XX", 1033},
      {"", "", "", "PL_pl", 1045},
      {"", "", "", "pl_PL@euro", 1045},
      {"", "", "", "polish", 1045},
  };
  for (const LocaleCase& c : cases) {
    EXPECT_EQ(platform::LangIdFromLocaleVariables(c.Language, c.LcAll, c.LcMessages, c.Lang), c.Expected)
        << "LANGUAGE=" << c.Language << " LC_ALL=" << c.LcAll << " LC_MESSAGES=" << c.LcMessages
        << " LANG=" << c.Lang;
  }
}

}  // namespace
