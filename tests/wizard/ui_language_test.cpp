#include <gtest/gtest.h>

#include <tuple>

#include "support/ui_language.h"
#ifndef _WIN32
#include "common/scoped_env.h"
#endif

namespace {

// LANGUAGE, LC_ALL, LC_MESSAGES, LANG and the language they give: each
// variable alone; the priority in that order; LANGUAGE as a list whose first
// entry counts; other languages and other spellings of Polish.
TEST(WizardUiLanguage, FirstNonEmptyLocaleVariableDecides) {
  const std::tuple<const char*, const char*, const char*, const char*, uint16_t> cases[] = {
      {"pl", "", "", "", 1045},
      {"", "", "pl_PL.UTF-8", "", 1045},
      {"", "", "", "pl_PL.UTF-8", 1045},
      {"en", "pl_PL.UTF-8", "pl_PL", "pl_PL", 1033},
      {"", "en_GB.UTF-8", "pl_PL.UTF-8", "pl_PL.UTF-8", 1033},
      {"", "", "C", "pl_PL.UTF-8", 1033},
      {"", "pl_PL.UTF-8", "en_US", "C", 1045},
      {"en_US:pl", "", "", "pl_PL", 1033},
      {":pl_PL", "", "", "", 1045},
      {"", "", "", "plt_XX", 1033},
      {"", "", "", "PL_pl", 1045},
      {"", "", "", "pl_PL@euro", 1045},
      {"", "", "", "polish", 1045},
  };
  for (const auto& [language, lcAll, lcMessages, lang, expected] : cases) {
    EXPECT_EQ(platform::LangIdFromLocaleVariables(language, lcAll, lcMessages, lang), expected)
        << language << "|" << lcAll << "|" << lcMessages << "|" << lang;
  }
}

#ifndef _WIN32
// Each variable set in turn over the ones before it; LANGUAGE set but empty
// lets the next one decide.
TEST(WizardUiLanguagePosix, ReadsTheLocaleVariables) {
  testing_support::ScopedEnv env;
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) env.Set(name, std::nullopt);
  const std::tuple<const char*, const char*, uint16_t> steps[] = {
      {"LANG", "pl_PL.UTF-8", 1045}, {"LC_MESSAGES", "en_US.UTF-8", 1033},
      {"LC_ALL", "pl_PL", 1045},     {"LANGUAGE", "en:pl", 1033},
      {"LANGUAGE", "", 1045},
  };
  for (const auto& [name, value, expected] : steps) {
    env.Set(name, value);
    EXPECT_EQ(platform::UserUiLanguage(), expected) << name << "=" << value;
  }
}
#endif

}  // namespace
