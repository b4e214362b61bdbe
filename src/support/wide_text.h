// UTF-8 (the program's text) to and from UTF-16 (the wide Windows API), one
// pair for the platform layer, the registry and the front end. Windows only.
#pragma once

#include <string>
#include <string_view>

namespace support {

// Text that is not valid UTF-8 is taken as the ANSI code page, the form
// names have in the game's own files. Zero characters are kept.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace support
