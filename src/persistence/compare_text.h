// Comparison of CP932 byte strings as the string lists use it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "persistence/encoding.h"

// CompareText for two texts that continue a common beginning: trail tells
// whether their first bytes are the second byte of a double-byte character
// begun in that beginning (so they are compared as they are). Lets a caller
// compare a text against pieces of another without joining them.
inline int CompareTextFrom(std::string_view a, std::string_view b, bool trail) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  // Up to the first difference both strings hold the same characters, so a
  // byte is a trail byte in a exactly when it is one in b.
  for (size_t i = 0; i < n; ++i) {
    uint8_t ca = static_cast<uint8_t>(a[i]);
    uint8_t cb = static_cast<uint8_t>(b[i]);
    if (trail) {
      trail = false;
    } else {
      trail = IsLeadByte(ca);
      if (ca >= 'A' && ca <= 'Z') ca = static_cast<uint8_t>(ca + 32);
      if (cb >= 'A' && cb <= 'Z') cb = static_cast<uint8_t>(cb + 32);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// Compares without regard to letter case: a single-byte ASCII letter is
// folded to lower case, every other byte is compared by its unsigned value.
// The second byte of a double-byte character is never folded, even when its
// value happens to be a letter code (0x41..0x5A, 0x61..0x7A): "ア" (83 41)
// and "ヂ" (83 61) are different characters and stay different. Folding to
// lower case puts the label punctuation "^" and "_" before the letters, as a
// locale comparison does. Returns <0, 0 or >0; a proper prefix sorts first.
inline int CompareText(std::string_view a, std::string_view b) {
  return CompareTextFrom(a, b, false);
}

// Compares byte by byte by unsigned value (the case-sensitive comparison).
int CompareBytes(std::string_view a, std::string_view b);

// Whether the two texts are equal without regard to case (as CompareText).
inline bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}
