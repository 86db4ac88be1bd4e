// Comparison of CP932 byte strings as the string lists use it.
#pragma once

#include <string_view>

// Compares without regard to letter case: a single-byte ASCII letter is
// folded to lower case, every other byte is compared by its unsigned value.
// The second byte of a double-byte character is never folded, even when its
// value happens to be a letter code (0x41..0x5A, 0x61..0x7A): "ア" (83 41)
// and "ヂ" (83 61) are different characters and stay different. Folding to
// lower case puts the label punctuation "^" and "_" before the letters, as a
// locale comparison does. Returns <0, 0 or >0; a proper prefix sorts first.
int CompareText(std::string_view a, std::string_view b);

// Compares byte by byte by unsigned value (the case-sensitive comparison).
int CompareBytes(std::string_view a, std::string_view b);

// Whether the two texts are equal without regard to case (as CompareText).
inline bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}
