// The general number test and the conversion to a 16-bit integer that the
// text loader applies to Tag and ToolTipText values.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace wizard {

// The value of text when it reads as a number, else nullopt. Accepted:
// blanks around the number; a decimal number with optional sign, fraction
// and exponent ("E" or "D", "1.5E+3"); "&H" hexadecimal and "&O" or "&"
// octal literals, which are 16-bit values up to &HFFFF and 32-bit values up
// to &HFFFFFFFF, two's complement ("&HFFFF" is -1). Empty text is not a
// number.
std::optional<double> NumericValue(std::string_view text);

inline bool IsNumeric(std::string_view text) { return NumericValue(text).has_value(); }

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4);
// nullopt outside -32768..32767.
std::optional<int16_t> ToInteger16(double value);

// NumericValue followed by ToInteger16.
std::optional<int16_t> TextToInteger16(std::string_view text);

}  // namespace wizard
