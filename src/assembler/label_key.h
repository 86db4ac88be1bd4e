// Label keys and scope paths.
//
// A scope path names the nesting of a line from the innermost block outwards
// and ends in ".*": ".*" at the top level, ".MAIN.*" inside the block MAIN,
// ".SUB.MAIN.*" inside SUB inside MAIN. A label key is the label's name
// followed directly by the scope path of its line ("LOOP.SUB.MAIN.*").
#pragma once

#include <cstdint>
#include <string_view>

#include "persistence/compare_text.h"
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
