// Letter case as Windows matches file names, registry keys and INI names:
// A-Z against a-z and nothing else, whatever the locale. Every other byte,
// UTF-8's included, stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace support {

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

constexpr bool IsAsciiLetter(char c) { return AsciiLower(c) >= 'a' && AsciiLower(c) <= 'z'; }

std::string AsciiLowered(std::string text);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace support
