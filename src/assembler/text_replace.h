// Case-insensitive text replacement over Shift-JIS bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Every occurrence of `pattern` in `text`, found from the left without
// overlaps, replaced by `replacement`; inserted text is not searched again.
// Letters compare without regard to case. An occurrence starts and ends on
// character boundaries of `text` (it never begins or ends inside a
// double-byte character), and the second byte of a double-byte character is
// compared exactly, never folded. An empty pattern changes nothing.
std::string ReplaceTextIgnoreCase(std::string_view text, std::string_view pattern,
                                  std::string_view replacement);

// The number of occurrences ReplaceTextIgnoreCase replaces; 0 for an empty
// pattern.
size_t CountTextIgnoreCase(std::string_view text, std::string_view pattern);
