#include <gtest/gtest.h>

#include <tuple>

#include "wizard/string_table.h"

namespace {

using wizard::Language, wizard::LoadResString, wizard::SetLanguageForTesting, wizard::TryLoadResString;

// Every ID but 11000 (Polish only) has both languages; the count keeps
// entries from getting lost or added unnoticed.
TEST(WizardStringTable, HoldsEveryEntryInBothLanguages) {
  int ids = 0;
  for (int id = -32768; id <= 32767; ++id) {
    bool english = TryLoadResString(static_cast<int16_t>(id), Language::English).has_value();
    bool polish = TryLoadResString(static_cast<int16_t>(id), Language::Polish).has_value();
    if (!english && !polish) continue;
    ++ids;
    EXPECT_TRUE(polish) << id;
    EXPECT_EQ(english, id != 11000) << id;
  }
  EXPECT_EQ(ids, 134);
}

// Bytes spelled out, independent of the source file's encoding: CR LF,
// trailing blanks, Polish letters in UTF-8. Lookups follow the forced
// language; a text missing in it loads as empty.
TEST(WizardStringTable, TextsKeepTheirExactBytes) {
  EXPECT_EQ(
      TryLoadResString(10004, Language::Polish),
      "Nieprawid\xC5\x82owy identyfikator samochodu. Identyfikator samochodu powinien zawierac minimum 3 "
      "znaki.\x0D\x0A"
      "Dozwolone znaki:\x20\x20");
  SetLanguageForTesting(Language::Polish);
  EXPECT_EQ(LoadResString(101), "Anuluj");
  SetLanguageForTesting(Language::English);
  EXPECT_EQ(LoadResString(11000), "");
  SetLanguageForTesting(std::nullopt);
}

TEST(WizardLanguage, PolishForEveryPolishLanguageId) {
  // pl-PL, Polish neutral, any sublanguage of Polish; en-US, cs-CZ (also
  // Central European), none.
  const std::pair<uint16_t, Language> cases[] = {
      {1045, Language::Polish},  {0x0015, Language::Polish}, {0x0815, Language::Polish},
      {1033, Language::English}, {1029, Language::English},  {0, Language::English},
  };
  for (const auto& [langId, expected] : cases)
    EXPECT_EQ(wizard::LanguageFromLangId(langId), expected) << langId;
}

}  // namespace
