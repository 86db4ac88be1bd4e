// Stepping through Shift-JIS text byte by byte without ever cutting a
// double-byte character in two.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "persistence/encoding.h"

// True for the bytes that may follow a lead byte.
inline bool IsTrailByte(uint8_t b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The length of the character that starts at text[i]: 2 for a lead byte
// followed by a trail byte, 1 otherwise (also for a lead byte at the end of
// the text or in front of a byte that cannot be its partner, so a broken
// sequence never swallows the byte after it).
inline size_t CharLengthAt(std::string_view text, size_t i) {
  if (i + 1 < text.size() && IsLeadByte(text[i]) && IsTrailByte(static_cast<uint8_t>(text[i + 1])))
    return 2;
  return 1;
}

// Whether the last byte of the text is the second half of a double-byte
// character (found by walking from the start, the only safe direction).
inline bool EndsInDoubleByte(std::string_view text) {
  size_t i = 0;
  size_t last = 1;
  while (i < text.size()) {
    last = CharLengthAt(text, i);
    i += last;
  }
  return !text.empty() && last == 2;
}
