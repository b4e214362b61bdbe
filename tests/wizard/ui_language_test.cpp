#include <gtest/gtest.h>

#include <tuple>

#include "support/ui_language.h"
#include "wizard/string_table.h"
#ifndef _WIN32
#include "common/scoped_env.h"
#endif

namespace {

constexpr uint16_t kPl = wizard::kLangIdPolish, kEn = wizard::kLangIdEnglish;

// LANGUAGE, LC_ALL, LC_MESSAGES, LANG and the language they give: each
// variable alone; the priority in that order; LANGUAGE as a list whose first
// entry counts; other languages and other spellings of Polish.
TEST(WizardUiLanguage, FirstNonEmptyLocaleVariableDecides) {
  const std::tuple<const char*, const char*, const char*, const char*, uint16_t> cases[] = {
      {"pl", "", "", "", kPl},
      {"", "", "pl_PL.UTF-8", "", kPl},
      {"", "", "", "pl_PL.UTF-8", kPl},
      {"en", "pl_PL.UTF-8", "pl_PL", "pl_PL", kEn},
      {"", "en_GB.UTF-8", "pl_PL.UTF-8", "pl_PL.UTF-8", kEn},
      {"", "", "C", "pl_PL.UTF-8", kEn},
      {"", "pl_PL.UTF-8", "en_US", "C", kPl},
      {"en_US:pl", "", "", "pl_PL", kEn},
      {":pl_PL", "", "", "", kPl},
      {"", "", "", "plt_XX", kEn},
      {"", "", "", "PL_pl", kPl},
      {"", "", "", "pl_PL@euro", kPl},
      {"", "", "", "polish", kPl},
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
      {"LANG", "pl_PL.UTF-8", kPl}, {"LC_MESSAGES", "en_US.UTF-8", kEn},
      {"LC_ALL", "pl_PL", kPl},     {"LANGUAGE", "en:pl", kEn},
      {"LANGUAGE", "", kPl},
  };
  for (const auto& [name, value, expected] : steps) {
    env.Set(name, value);
    EXPECT_EQ(platform::UserUiLanguage(), expected) << name << "=" << value;
  }
}
#endif

}  // namespace
