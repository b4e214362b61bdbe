#include "wizard/numeric_text.h"

#include <cmath>
#include <string>
#include <vector>

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

// A non-negative integer, 32 bits a limb, least significant first, without
// leading zero limbs: just what the exact decimal conversion needs.
class BigNumber {
 public:
  bool IsZero() const { return limbs_.empty(); }

  void MultiplyAdd(uint32_t factor, uint32_t addend) {
    uint64_t carry = addend;
    for (uint32_t& limb : limbs_) {
      carry += static_cast<uint64_t>(limb) * factor;
      limb = static_cast<uint32_t>(carry);
      carry >>= 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<uint32_t>(carry));
  }

  void ShiftLeft(int bits) {
    if (IsZero()) return;
    limbs_.insert(limbs_.begin(), static_cast<size_t>(bits / 32), 0);
    bits %= 32;
    if (bits == 0) return;
    uint32_t carry = 0;
    for (uint32_t& limb : limbs_) {
      uint32_t next = limb >> (32 - bits);
      limb = (limb << bits) | carry;
      carry = next;
    }
    if (carry != 0) limbs_.push_back(carry);
  }

  int BitLength() const {
    if (IsZero()) return 0;
    int bits = static_cast<int>(limbs_.size()) * 32;
    for (uint32_t top = limbs_.back(); (top & 0x80000000u) == 0; top <<= 1) --bits;
    return bits;
  }

  int Compare(const BigNumber& other) const {
    if (limbs_.size() != other.limbs_.size()) return limbs_.size() < other.limbs_.size() ? -1 : 1;
    for (size_t i = limbs_.size(); i-- > 0;) {
      if (limbs_[i] != other.limbs_[i]) return limbs_[i] < other.limbs_[i] ? -1 : 1;
    }
    return 0;
  }

  // Only for other <= *this.
  void Subtract(const BigNumber& other) {
    uint32_t borrow = 0;
    for (size_t i = 0; i < limbs_.size(); ++i) {
      uint64_t taken = static_cast<uint64_t>(i < other.limbs_.size() ? other.limbs_[i] : 0) + borrow;
      borrow = limbs_[i] < taken ? 1 : 0;
      limbs_[i] = static_cast<uint32_t>(limbs_[i] - taken);
    }
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }

 private:
  std::vector<uint32_t> limbs_;
};

// Significant digits kept; more never change the nearest double once the
// dropped ones are remembered as a final 1.
constexpr size_t kMaxDigits = 800;

// floor(numerator * 2^scale / denominator), below 2^54, and how the rest
// compares with one half (-1, 0, 1).
uint64_t ScaledQuotient(BigNumber numerator, BigNumber denominator, int scale, int& half) {
  if (scale >= 0) {
    numerator.ShiftLeft(scale);
  } else {
    denominator.ShiftLeft(-scale);
  }
  denominator.ShiftLeft(53);
  uint64_t quotient = 0;
  for (int bit = 53; bit >= 0; --bit) {
    if (numerator.Compare(denominator) >= 0) {
      numerator.Subtract(denominator);
      quotient |= uint64_t{1} << bit;
    }
    numerator.ShiftLeft(1);
  }
  half = numerator.Compare(denominator);
  return quotient;
}

// The double nearest to digits * 10^exponent (digits without leading zeros),
// ties to even; nullopt when that is zero or infinite though the number is not.
std::optional<double> NearestDouble(const std::string& digits, int exponent) {
  if (digits.empty()) return 0.0;
  int magnitude = static_cast<int>(digits.size()) + exponent;  // the value is below 10^magnitude
  if (magnitude > 310) return std::nullopt;
  if (magnitude < -324) return std::nullopt;
  BigNumber numerator;
  for (char c : digits) numerator.MultiplyAdd(10, static_cast<uint32_t>(c - '0'));
  BigNumber denominator;
  denominator.MultiplyAdd(1, 1);
  for (; exponent > 0; --exponent) numerator.MultiplyAdd(10, 0);
  for (; exponent < 0; ++exponent) denominator.MultiplyAdd(10, 0);
  // The quotient gets 53 bits, fewer only for a subnormal result (scale 1074).
  int scale = 52 - (numerator.BitLength() - denominator.BitLength());
  if (scale > 1074) scale = 1074;
  int half = 0;
  uint64_t quotient = ScaledQuotient(numerator, denominator, scale, half);
  if (quotient < (uint64_t{1} << 52) && scale < 1074) {
    quotient = ScaledQuotient(numerator, denominator, ++scale, half);
  }
  if (half > 0 || (half == 0 && (quotient & 1) != 0)) ++quotient;
  if (quotient == (uint64_t{1} << 53)) {
    quotient >>= 1;
    --scale;
  }
  if (quotient == 0 || 52 - scale > 1023) return std::nullopt;
  return std::ldexp(static_cast<double>(quotient), -scale);
}

// [+|-] digits [. digits] [(E|D) [+|-] digits], at least one mantissa digit.
std::optional<double> DecimalNumber(std::string_view text) {
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  std::string digits;  // significant ones, up to kMaxDigits
  bool dropped = false;
  int exponent = 0;
  size_t mantissaDigits = 0;
  bool fraction = false;
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '.' && !fraction) {
      fraction = true;
      continue;
    }
    if (!IsDigit(c)) break;
    ++mantissaDigits;
    if (digits.empty() && c == '0') {
      if (fraction) --exponent;
    } else if (digits.size() < kMaxDigits) {
      digits += c;
      if (fraction) --exponent;
    } else {
      dropped = dropped || c != '0';
      if (!fraction) ++exponent;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E' || text[pos] == 'd' || text[pos] == 'D')) {
    ++pos;
    bool negativeExponent = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negativeExponent = text[pos++] == '-';
    size_t exponentDigits = 0;
    int written = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
      // Far beyond any double's range either way; the limit keeps it an int.
      if (written < 100000) written = written * 10 + (text[pos] - '0');
      ++pos;
      ++exponentDigits;
    }
    if (exponentDigits == 0) return std::nullopt;
    exponent += negativeExponent ? -written : written;
  }
  if (pos != text.size()) return std::nullopt;
  if (dropped) {
    digits += '1';
    --exponent;
  }
  std::optional<double> value = NearestDouble(digits, exponent);
  if (!value) return std::nullopt;
  return negative ? -*value : *value;
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
