// Access to the two-language string table. The language follows the user's
// interface language once, at the first lookup: Polish for a Polish
// interface, English for any other.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace wizard {

enum class Language { English, Polish };

// Windows language IDs of the two languages the table holds.
inline constexpr uint16_t kLangIdEnglish = 1033;
inline constexpr uint16_t kLangIdPolish = 1045;

// The table's language for a Windows language ID: Polish for every Polish
// variant (primary language 0x15), English for anything else.
Language LanguageFromLangId(uint16_t langId);

// The language lookups use: a forced one if set, otherwise the user's
// interface language, queried once and then kept.
Language CurrentLanguage();

// Forces the language of later lookups; nullopt returns to the user's.
void SetLanguageForTesting(std::optional<Language> language);

// The text of id in the given or current language, UTF-8, or nullopt when
// the table has no text for id in that language.
std::optional<std::string> TryLoadResString(int16_t id, Language language);
std::optional<std::string> TryLoadResString(int16_t id);

// The text of id in the current language; empty text when there is none
// (callers pass only IDs that exist; LoadFormTexts uses TryLoadResString).
std::string LoadResString(int16_t id);

}  // namespace wizard
