#include <windows.h>

#include "support/ui_language.h"

namespace platform {

uint16_t UserUiLanguage() { return static_cast<uint16_t>(GetUserDefaultUILanguage()); }

}  // namespace platform
