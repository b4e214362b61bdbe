#include <gtest/gtest.h>

#include <tuple>

#include "support/ui_language.h"
#include "wizard/scoped_env.h"

namespace {

using namespace testing_support;

// Each variable set in turn over the ones before it; LANGUAGE set but empty
// lets the next one decide.
TEST(WizardUiLanguagePosix, ReadsTheLocaleVariables) {
  ScopedEnv env;
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

}  // namespace
