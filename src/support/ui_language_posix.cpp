#include "support/platform.h"
#include "support/ui_language.h"

namespace platform {

uint16_t UserUiLanguage() {
  return LangIdFromLocaleVariables(GetEnv("LANGUAGE"), GetEnv("LC_ALL"), GetEnv("LC_MESSAGES"),
                                   GetEnv("LANG"));
}

}  // namespace platform
