// The number formats the three views share, and the texts of a word in each
// reading. Plain C++: the views and the status bar draw what these return.
#pragma once

#include <cstdint>
#include <string>

// The "表示(&V)" radio items, stored as NumHex.
enum class TNumberFormat : int {
  SignedDecimal = 0,
  UnsignedDecimal = 1,
  Hexadecimal = 2,
};

// A word as the views show it: four upper-case hexadecimal digits in
// hexadecimal mode; otherwise unsigned decimal when the mode is unsigned or
// asAddress is set; otherwise signed decimal (two's complement). ASCII.
std::string FormatNumber(uint16_t value, bool asAddress, TNumberFormat format);

// The readings of the status bar, whatever the mode:
//   0 unsigned decimal, 1 four upper-case hexadecimal digits, 2 the 16 bits
//   in four groups of four each preceded by a blank, 3 the character (below
//   256 the one byte; otherwise the high byte then the low byte as one
//   double-byte character; CP932 bytes), 4 signed decimal.
enum TValueKind : int {
  vkUnsigned = 0,
  vkHex = 1,
  vkBinary = 2,
  vkCharacter = 3,
  vkSigned = 4,
};
std::string FormatValue(uint16_t value, int kind);
