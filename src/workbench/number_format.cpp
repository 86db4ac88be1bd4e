#include "workbench/number_format.h"
#include "persistence/int_text.h"

#include <cstdio>

namespace {

std::string Unsigned(uint16_t value) {
  return std::to_string(value);
}

std::string Signed(uint16_t value) {
  return std::to_string(static_cast<int16_t>(value));
}

std::string Hex(uint16_t value) {
  return Hex4(value);
}

// " xxxx xxxx xxxx xxxx", most significant bit first.
std::string Binary(uint16_t value) {
  std::string text;
  text.reserve(20);
  for (int bit = 15; bit >= 0; --bit) {
    if (bit % 4 == 3) text += ' ';
    text += (value >> bit) & 1 ? '1' : '0';
  }
  return text;
}

// The raw bytes of the character reading; the display side decides what a
// byte that is no whole character looks like.
std::string Character(uint16_t value) {
  if (value < 256) return std::string(1, static_cast<char>(value));
  return std::string{static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

}  // namespace

std::string FormatNumber(uint16_t value, bool asAddress, TNumberFormat format) {
  switch (format) {
    case TNumberFormat::Hexadecimal:
      return Hex(value);
    case TNumberFormat::UnsignedDecimal:
      return Unsigned(value);
    case TNumberFormat::SignedDecimal:
      break;
  }
  // Signed decimal, and any value outside the three formats: addresses are
  // never negative.
  return asAddress ? Unsigned(value) : Signed(value);
}

std::string FormatValue(uint16_t value, int kind) {
  switch (kind) {
    case vkUnsigned:
      return Unsigned(value);
    case vkHex:
      return Hex(value);
    case vkBinary:
      return Binary(value);
    case vkCharacter:
      return Character(value);
    case vkSigned:
      return Signed(value);
    default:
      return std::string();
  }
}
