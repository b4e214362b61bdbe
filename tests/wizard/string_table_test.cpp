#include <gtest/gtest.h>

#include "wizard/string_table.h"

namespace {

using wizard::Language;
using wizard::LoadResString;
using wizard::SetLanguageForTesting;
using wizard::TryLoadResString;

class WizardStringTable : public ::testing::Test {
 protected:
  void TearDown() override { SetLanguageForTesting(std::nullopt); }
};

// Every ID but 11000 has both languages; the count keeps entries from
// getting lost or added unnoticed.
TEST_F(WizardStringTable, HoldsOneHundredEntriesInBothLanguages) {
  int ids = 0;
  for (int id = -32768; id <= 32767; ++id) {
    bool english = TryLoadResString(static_cast<int16_t>(id), Language::English).has_value();
    bool polish = TryLoadResString(static_cast<int16_t>(id), Language::Polish).has_value();
    if (!english && !polish) continue;
    ++ids;
    EXPECT_TRUE(polish) << id;
    EXPECT_EQ(english, id != 11000) << id;
  }
  EXPECT_EQ(ids, 100);
}

// Spot checks with the bytes spelled out, independent of the source file's
// encoding: line breaks, trailing blanks, Polish letters in UTF-8.
TEST_F(WizardStringTable, InvalidIdTextHasCrLfAndTwoTrailingBlanks) {
  EXPECT_EQ(TryLoadResString(10004, Language::English).value(),
            std::string("Invalid car's ID. The ID should consist of at least 3 characters.") + '\x0D' +
                '\x0A' + "Valid characters:\x20\x20");
  EXPECT_EQ(
      TryLoadResString(10004, Language::Polish).value(),
      std::string("Nieprawid\xC5\x82owy identyfikator samochodu. Identyfikator samochodu powinien zawierac "
                  "minimum 3 znaki.") +
          '\x0D' + '\x0A' + "Dozwolone znaki:\x20\x20");
}

TEST_F(WizardStringTable, IdElevenThousandIsPolishOnly) {
  EXPECT_EQ(TryLoadResString(11000, Language::Polish).value(), "----------------------");
  EXPECT_FALSE(TryLoadResString(11000, Language::English).has_value());
  SetLanguageForTesting(Language::English);
  EXPECT_FALSE(TryLoadResString(11000).has_value());
  EXPECT_EQ(LoadResString(11000), "");
}

TEST_F(WizardStringTable, PolishLettersAreUtf8AndTrailingBlanksStay) {
  EXPECT_EQ(TryLoadResString(11005, Language::Polish).value(), "Szeroko\xC5\x9B\xC4\x87 [mm]");
  EXPECT_EQ(TryLoadResString(305, Language::Polish).value(), "Edycja samochodu\x20");
}

TEST_F(WizardStringTable, LookupFollowsTheForcedLanguage) {
  SetLanguageForTesting(Language::Polish);
  EXPECT_EQ(wizard::CurrentLanguage(), Language::Polish);
  EXPECT_EQ(LoadResString(101), "Anuluj");
  SetLanguageForTesting(Language::English);
  EXPECT_EQ(LoadResString(101), "Cancel");
  EXPECT_EQ(LoadResString(150), "");
  EXPECT_FALSE(TryLoadResString(150).has_value());
}

TEST(WizardLanguage, PolishForEveryPolishLanguageId) {
  const struct {
    uint16_t LangId;
    Language Expected;
  } cases[] = {
      {1045, Language::Polish},   {0x0015, Language::Polish},  // pl-PL, Polish neutral
      {0x0815, Language::Polish},                              // any sublanguage of Polish
      {1033, Language::English},  {1029, Language::English},   // en-US; cs-CZ, also Central European
      {0, Language::English},
  };
  for (const auto& c : cases) EXPECT_EQ(wizard::LanguageFromLangId(c.LangId), c.Expected) << c.LangId;
}

}  // namespace
