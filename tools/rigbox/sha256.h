// The SHA-256 of a file, from the system's own implementation (CNG on
// Windows, libmd elsewhere): what car authors publish for players to check
// their download against.
#pragma once

#include <optional>
#include <string>

namespace rigbox_tool {

// Lower-case hexadecimal, as sha256sum prints it; nothing when the file
// cannot be read (platform::LastError tells) or the system has no SHA-256.
std::optional<std::string> FileSha256(const std::string& path);

}  // namespace rigbox_tool
