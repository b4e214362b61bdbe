// The general number test and the conversion to a 16-bit integer that the
// text loader applies to Tag and ToolTipText values.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace wizard {

// True when text reads as a number: blanks around it; a decimal number
// with optional sign, fraction and exponent ("E" or "D", "1.5E+3") up to the
// doubles' range (about 1.8E308); "&H" hexadecimal and "&O" or "&" octal
// literals of up to 32 bits. Empty text is not a number.
bool IsNumeric(std::string_view text);

// The nearest whole number to what the text says, halves to the even
// neighbour (2.5 -> 2, 3.5 -> 4), decided on the written digits; nullopt
// for text that is no number or lies outside -32768..32767. A literal of up
// to 16 bits is two's complement ("&HFFFF" is -1), as is one of 32 bits.
std::optional<int16_t> TextToInteger16(std::string_view text);

}  // namespace wizard
