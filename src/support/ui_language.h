// The user's interface language, as a Windows language ID (1045 Polish,
// 1033 English (United States), ...).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Windows: the user's default UI language. POSIX: taken from the locale
// variables, see LangIdFromLocaleVariables.
uint16_t UserUiLanguage();

// The language ID the POSIX locale variables name. The first of LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG that is not empty decides (of LANGUAGE, a
// colon-separated list, its first entry). A Polish locale ("pl",
// "pl_PL.UTF-8", ...) gives 1045; anything else, "C" and "POSIX" included,
// gives 1033.
uint16_t LangIdFromLocaleVariables(const std::string& language, const std::string& lcAll,
                                   const std::string& lcMessages, const std::string& lang);

}  // namespace platform
