// Decimal and hexadecimal text of integers, written by hand: the C library's
// printf family costs the Windows installer about 20 KB.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

namespace support {

// "-42", "0", "18446744073709551615".
std::string DecimalText(int64_t value);
std::string DecimalText(uint64_t value);
// The other integer types, which would otherwise be ambiguous between the two.
template <typename Integer>
requires std::is_integral_v<Integer> std::string DecimalText(Integer value) {
  if constexpr (std::is_signed_v<Integer>) {
    return DecimalText(static_cast<int64_t>(value));
  } else {
    return DecimalText(static_cast<uint64_t>(value));
  }
}

// Upper-case hexadecimal digits, at least minDigits of them with leading
// zeros: HexText(0xB, 2) is "0B".
std::string HexText(uint64_t value, int minDigits = 1);

}  // namespace support
