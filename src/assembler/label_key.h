// Label keys and scope paths.
//
// A scope path names the nesting of a line from the innermost block outwards
// and ends in ".*": ".*" at the top level, ".MAIN.*" inside the block MAIN,
// ".SUB.MAIN.*" inside SUB inside MAIN. A label key is the label's name
// followed directly by the scope path of its line ("LOOP.SUB.MAIN.*").
#pragma once

#include <cstdint>
#include <string_view>

#include "persistence/encoding.h"

// Whether c may appear in a label key: "*", ".", "0"-"9", ">", "A"-"Z",
// "a"-"z", "^", "_".
bool IsLabelKeyChar(char c);

// Whether every byte of key is a label key character (an empty key is).
bool IsLegalLabelKey(std::string_view key);

// The path that encloses a scope path: the leading "." and the block name
// after it removed (".SUB.MAIN.*" gives ".MAIN.*", ".MAIN.*" gives ".*").
// Empty for ".*" and for any text that does not begin with "."; the empty
// path ends every walk outwards. The result points into scope.
inline std::string_view OuterScope(std::string_view scope) {
  if (scope.empty() || scope.front() != '.') return {};
  const size_t next = scope.find('.', 1);
  return next == std::string_view::npos ? std::string_view{} : scope.substr(next);
}

namespace label_key_detail {
inline uint8_t Fold(uint8_t c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<uint8_t>(c + 32) : c;
}
}  // namespace label_key_detail

// CompareText(a, b) for two texts that continue a common beginning: trail
// tells whether their first bytes are the second byte of a double-byte
// character begun there. Single-byte letters compare without regard to
// case, a second byte as it is; a proper prefix sorts first. <0, 0 or >0.
inline int CompareTextFrom(std::string_view a, std::string_view b, bool trail) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    uint8_t ca = static_cast<uint8_t>(a[i]);
    uint8_t cb = static_cast<uint8_t>(b[i]);
    if (trail) {
      trail = false;
    } else {
      trail = IsLeadByte(ca);
      ca = label_key_detail::Fold(ca);
      cb = label_key_detail::Fold(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// Whether the byte after text is the second byte of a double-byte character
// that text ends in the middle of (text read from its start).
inline bool EndsInLeadByte(std::string_view text) {
  bool trail = false;
  for (const char c : text)
    trail = trail ? false : IsLeadByte(c);
  return trail;
}

// CompareText(key, head + tail), without building the concatenation.
inline int CompareKeyParts(std::string_view key, std::string_view head, std::string_view tail) {
  const size_t split = key.size() < head.size() ? key.size() : head.size();
  const int c = CompareTextFrom(key.substr(0, split), head, false);
  if (c != 0 || split < head.size()) return c;  // a difference, or key shorter than head
  return CompareTextFrom(key.substr(split), tail, EndsInLeadByte(head));
}
