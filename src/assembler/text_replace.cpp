#include "assembler/text_replace.h"

#include "assembler/sjis_scan.h"

namespace {

char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `pattern` stands in `text` at the character boundary `at`.
bool MatchesAt(std::string_view text, size_t at, std::string_view pattern) {
  if (pattern.size() > text.size() - at) return false;
  size_t j = 0;
  while (j < pattern.size()) {
    const size_t length = CharLengthAt(text, at + j);
    if (length == 2) {
      // A double-byte character must match whole and exactly.
      if (j + 1 >= pattern.size()) return false;
      if (text[at + j] != pattern[j] || text[at + j + 1] != pattern[j + 1]) return false;
    } else if (FoldAscii(text[at + j]) != FoldAscii(pattern[j])) {
      return false;
    }
    j += length;
  }
  return true;
}

// Calls found(i) for every occurrence of a non-empty pattern, from the left,
// without overlaps; found returns where the search goes on.
template <class Found>
void ForEachOccurrence(std::string_view text, std::string_view pattern, Found found) {
  const char first = FoldAscii(pattern.front());
  // Most texts hold no byte that could begin an occurrence; a plain byte
  // search finds that without walking the characters.
  const char upper = first >= 'a' && first <= 'z' ? static_cast<char>(first - 'a' + 'A') : first;
  if (text.find(first) == std::string_view::npos && text.find(upper) == std::string_view::npos)
    return;
  size_t i = 0;
  while (i < text.size()) {
    if (FoldAscii(text[i]) == first && MatchesAt(text, i, pattern)) {
      found(i);
      i += pattern.size();
      continue;
    }
    i += CharLengthAt(text, i);
  }
}

}  // namespace

std::string ReplaceTextIgnoreCase(std::string_view text, std::string_view pattern,
                                  std::string_view replacement) {
  if (pattern.empty()) return std::string(text);
  std::string result;
  size_t copied = 0;  // text before this index is in result
  ForEachOccurrence(text, pattern, [&](size_t at) {
    if (result.empty()) result.reserve(text.size() + replacement.size());
    result.append(text, copied, at - copied);
    result += replacement;
    copied = at + pattern.size();
  });
  result.append(text, copied, text.size() - copied);
  return result;
}

size_t CountTextIgnoreCase(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return 0;
  size_t count = 0;
  ForEachOccurrence(text, pattern, [&](size_t) { ++count; });
  return count;
}
