#include "support/ui_language.h"

#include "support/ascii_case.h"

namespace platform {
namespace {

constexpr uint16_t kLangIdEnglishUs = 1033;
constexpr uint16_t kLangIdPolish = 1045;

// "pl_PL.UTF-8@euro" -> "pl".
std::string LanguagePart(const std::string& locale) {
  return support::AsciiLowered(locale.substr(0, locale.find_first_of("_.@-")));
}

std::string FirstListEntry(const std::string& list) {
  size_t start = 0;
  while (start < list.size()) {
    size_t colon = list.find(':', start);
    if (colon == std::string::npos) colon = list.size();
    if (colon > start) return list.substr(start, colon - start);
    start = colon + 1;
  }
  return std::string();
}

}  // namespace

uint16_t LangIdFromLocaleVariables(const std::string& language, const std::string& lcAll,
                                   const std::string& lcMessages, const std::string& lang) {
  std::string locale = FirstListEntry(language);
  if (locale.empty()) locale = lcAll;
  if (locale.empty()) locale = lcMessages;
  if (locale.empty()) locale = lang;
  std::string part = LanguagePart(locale);
  // "polish" is the old glibc alias of pl_PL.
  return (part == "pl" || part == "polish") ? kLangIdPolish : kLangIdEnglishUs;
}

}  // namespace platform
