#include <gtest/gtest.h>

#include "support/ui_language.h"
#include "wizard/scoped_env.h"

namespace {

using testing_support::ScopedEnv;

TEST(WizardUiLanguagePosix, ReadsTheLocaleVariables) {
  ScopedEnv env;
  env.Set("LANGUAGE", std::nullopt);
  env.Set("LC_ALL", std::nullopt);
  env.Set("LC_MESSAGES", std::nullopt);
  env.Set("LANG", "pl_PL.UTF-8");
  EXPECT_EQ(platform::UserUiLanguage(), 1045);
  env.Set("LC_MESSAGES", "en_US.UTF-8");
  EXPECT_EQ(platform::UserUiLanguage(), 1033);
  env.Set("LC_ALL", "pl_PL");
  EXPECT_EQ(platform::UserUiLanguage(), 1045);
  env.Set("LANGUAGE", "en:pl");
  EXPECT_EQ(platform::UserUiLanguage(), 1033);
  env.Set("LANGUAGE", "");  // set but empty: the next one decides
  EXPECT_EQ(platform::UserUiLanguage(), 1045);
}

}  // namespace
