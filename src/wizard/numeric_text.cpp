#include "wizard/numeric_text.h"

#include <cstddef>
#include <string>

#include "support/ascii_case.h"
#include "support/text_format.h"

namespace wizard {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number as written: 0.Digits x 10^PointAt, Digits without leading or
// trailing zeros (empty for zero). PointAt is the size of a text at most
// plus the exponent's cap: it fits the machine's word, which a 32-bit
// program computes with far less code than with 64 bits.
struct WrittenNumber {
  bool Negative = false;
  std::string Digits;
  std::ptrdiff_t PointAt = 0;
};

std::optional<WrittenNumber> ParseDecimal(std::string_view text) {
  WrittenNumber number;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.Negative = text[i++] == '-';
  bool anyDigit = false, seenPoint = false;
  for (; i < text.size() && (IsDigit(text[i]) || (text[i] == '.' && !seenPoint)); ++i) {
    if (text[i] == '.') {
      seenPoint = true;
      continue;
    }
    anyDigit = true;
    if (number.Digits.empty() && text[i] == '0') {
      if (seenPoint) --number.PointAt;  // a leading zero of the fraction
      continue;
    }
    number.Digits += text[i];
    if (!seenPoint) ++number.PointAt;
  }
  if (!anyDigit) return std::nullopt;
  if (i < text.size()) {
    char mark = text[i++];
    if (mark != 'E' && mark != 'e' && mark != 'D' && mark != 'd') return std::nullopt;
    bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i == text.size()) return std::nullopt;
    // Past the cap the number has long overflowed, or become zero.
    std::ptrdiff_t exponent = 0;
    for (; i < text.size(); ++i) {
      if (!IsDigit(text[i])) return std::nullopt;
      if (exponent < 100000000) exponent = exponent * 10 + (text[i] - '0');
    }
    number.PointAt += negative ? -exponent : exponent;
  }
  while (!number.Digits.empty() && number.Digits.back() == '0') number.Digits.pop_back();
  if (number.Digits.empty()) number.PointAt = 0;
  // Beyond the largest double the number overflows: no number at all.
  if (!number.Digits.empty() && number.PointAt > 309) return std::nullopt;
  return number;
}

// "&H1F", "&O17", "&17": the literal's bits as a 16-bit value when they
// fit, else as a 32-bit one.
std::optional<WrittenNumber> ParseLiteral(std::string_view digits) {
  int radix = 8;
  if (!digits.empty() && (digits[0] == 'h' || digits[0] == 'H')) radix = 16;
  if (!digits.empty() && (radix == 16 || digits[0] == 'o' || digits[0] == 'O')) digits.remove_prefix(1);
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    char lower = support::AsciiLower(c);
    int digit = IsDigit(c) ? c - '0' : lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : 99;
    if (digit >= radix) return std::nullopt;
    value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  int64_t signedValue = value <= 0xFFFF ? static_cast<int16_t>(value) : static_cast<int32_t>(value);
  return ParseDecimal(support::DecimalText(signedValue));
}

std::optional<WrittenNumber> ParseNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text[0] == '&') return ParseLiteral(text.substr(1));
  return ParseDecimal(text);
}

}  // namespace

bool IsNumeric(std::string_view text) { return ParseNumber(text).has_value(); }

std::optional<int16_t> TextToInteger16(std::string_view text) {
  std::optional<WrittenNumber> number = ParseNumber(text);
  if (!number) return std::nullopt;
  if (number->PointAt > 5) return std::nullopt;  // 100000 or more
  const std::string& digits = number->Digits;
  const auto size = static_cast<std::ptrdiff_t>(digits.size());
  int32_t whole = 0;
  for (std::ptrdiff_t i = 0; i < number->PointAt; ++i) {
    whole = whole * 10 + (i < size ? digits[static_cast<size_t>(i)] - '0' : 0);
  }
  // The first digit after the point, and whether any other follows.
  char first = '0';
  bool more = false;
  if (number->PointAt >= 0 && number->PointAt < size) {
    first = digits[static_cast<size_t>(number->PointAt)];
    more = number->PointAt + 1 < size;
  }
  if (first > '5' || (first == '5' && (more || whole % 2 == 1))) ++whole;
  if (number->Negative) whole = -whole;
  if (whole < -32768 || whole > 32767) return std::nullopt;
  return static_cast<int16_t>(whole);
}

}  // namespace wizard
