#include "wizard/string_table.h"

#include <algorithm>

#include "support/ui_language.h"
#include "wizard/string_table_data.h"

namespace wizard {
namespace {

std::optional<Language> gForcedLanguage;
std::optional<Language> gUserLanguage;

}  // namespace

Language LanguageFromLangId(uint16_t langId) {
  constexpr uint16_t kPrimaryLanguageMask = 0x3FF;
  constexpr uint16_t kLangPolish = 0x15;
  return (langId & kPrimaryLanguageMask) == kLangPolish ? Language::Polish : Language::English;
}

Language CurrentLanguage() {
  if (gForcedLanguage) return *gForcedLanguage;
  if (!gUserLanguage) gUserLanguage = LanguageFromLangId(platform::UserUiLanguage());
  return *gUserLanguage;
}

void SetLanguageForTesting(std::optional<Language> language) { gForcedLanguage = language; }

std::optional<std::string> TryLoadResString(int16_t id, Language language) {
  const StringTableEntry* end = kStringTable + kStringTableSize;
  const StringTableEntry* entry = std::lower_bound(
      kStringTable, end, id, [](const StringTableEntry& e, int16_t wanted) { return e.Id < wanted; });
  if (entry == end || entry->Id != id) return std::nullopt;
  uint16_t text = language == Language::Polish ? entry->Polish : entry->English;
  if (text == kNoText) return std::nullopt;
  return std::string(kStringTexts + text);
}

std::optional<std::string> TryLoadResString(int16_t id) { return TryLoadResString(id, CurrentLanguage()); }

std::string LoadResString(int16_t id) { return TryLoadResString(id).value_or(std::string()); }

}  // namespace wizard
