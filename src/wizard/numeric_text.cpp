#include "wizard/numeric_text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace wizard {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// "&H1F", "&O17", "&17": the literal's bits, narrowed to the smallest of
// 16 or 32 bits that holds them.
std::optional<double> RadixLiteral(std::string_view digits) {
  int radix = 8;
  if (!digits.empty() && (digits.front() == 'h' || digits.front() == 'H')) {
    radix = 16;
    digits.remove_prefix(1);
  } else if (!digits.empty() && (digits.front() == 'o' || digits.front() == 'O')) {
    digits.remove_prefix(1);
  }
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    int digit = DigitValue(c);
    if (digit >= radix) return std::nullopt;
    value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (value <= 0xFFFF) return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(value)));
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

// [+|-] digits [. digits] [(E|D) [+|-] digits], at least one mantissa digit.
std::optional<double> DecimalNumber(std::string_view text) {
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  std::string canonical;
  size_t mantissaDigits = 0;
  while (pos < text.size() && IsDigit(text[pos])) canonical += text[pos++], ++mantissaDigits;
  canonical += '.';
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    while (pos < text.size() && IsDigit(text[pos])) canonical += text[pos++], ++mantissaDigits;
  }
  if (mantissaDigits == 0) return std::nullopt;
  canonical += '0';
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E' || text[pos] == 'd' || text[pos] == 'D')) {
    ++pos;
    canonical += 'e';
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) canonical += text[pos++];
    size_t exponentDigits = 0;
    while (pos < text.size() && IsDigit(text[pos])) canonical += text[pos++], ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
  if (error != std::errc() || end != canonical.data() + canonical.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

}  // namespace

std::optional<double> NumericValue(std::string_view text) {
  text = Trimmed(text);
  if (text.empty()) return std::nullopt;
  if (text.front() == '&') return RadixLiteral(text.substr(1));
  return DecimalNumber(text);
}

std::optional<int16_t> ToInteger16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double lower = std::floor(value);
  double fraction = value - lower;
  double rounded = lower;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) rounded = lower + 1.0;
  if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
  return static_cast<int16_t>(rounded);
}

std::optional<int16_t> TextToInteger16(std::string_view text) {
  std::optional<double> value = NumericValue(text);
  if (!value) return std::nullopt;
  return ToInteger16(*value);
}

}  // namespace wizard
