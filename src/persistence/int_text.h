// Numbers as text: decimal, the form in which the string lists keep numbers
// (breakpoints, jump history rows, stack entries), and hexadecimal digits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// n as decimal text: no leading zeros or blanks, "-" in front of a negative.
std::string IntToStr(int64_t n);

// Reads a 32-bit signed decimal integer: optional leading blanks (space or
// tab), an optional "+" or "-", then one or more digits and nothing else.
// Returns false (value untouched) for any other text or a value outside the
// 32-bit range.
bool TryStrToInt(std::string_view text, int32_t& value);

// As TryStrToInt, but raises EConvertError with a CP932 message naming the
// text when it does not read.
int32_t StrToInt(std::string_view text);

// value as upper-case hexadecimal digits, at least minDigits of them (more
// when the value needs them), without prefix or suffix.
std::string HexText(uint64_t value, int minDigits);
// A word as exactly four upper-case hexadecimal digits ("00FF").
inline std::string Hex4(uint16_t value) {
  return HexText(value, 4);
}
// The value of one hexadecimal digit (either case), or -1.
int HexDigitValue(char c);
