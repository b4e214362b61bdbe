#include "support/text_format.h"

namespace support {

std::string DecimalText(uint64_t value) {
  // Divided by ten in 16-bit pieces: 64-bit division would bring in
  // libgcc's helpers, which the Windows installer has no room for.
  uint32_t pieces[4] = {static_cast<uint32_t>(value >> 48), static_cast<uint32_t>(value >> 32) & 0xFFFF,
                        static_cast<uint32_t>(value >> 16) & 0xFFFF, static_cast<uint32_t>(value) & 0xFFFF};
  char digits[20];
  char* first = digits + sizeof digits;
  bool more = true;
  while (more) {
    uint32_t rest = 0;
    more = false;
    for (uint32_t& piece : pieces) {
      uint32_t current = (rest << 16) | piece;
      piece = current / 10;
      rest = current % 10;
      more = more || piece != 0;
    }
    *--first = static_cast<char>('0' + rest);
  }
  return std::string(first, digits + sizeof digits);
}

std::string DecimalText(int64_t value) {
  // Negated as unsigned so that the most negative value works too.
  if (value >= 0) return DecimalText(static_cast<uint64_t>(value));
  return '-' + DecimalText(0 - static_cast<uint64_t>(value));
}

std::string HexText(uint64_t value, int minDigits) {
  char digits[16];
  char* first = digits + sizeof digits;
  do {
    *--first = "0123456789ABCDEF"[value & 15];
    value >>= 4;
    --minDigits;
  } while (value != 0 || (minDigits > 0 && first != digits));
  return std::string(first, digits + sizeof digits);
}

}  // namespace support
