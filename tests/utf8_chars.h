// Splitting UTF-8 text into its characters, for tests that compare screen
// rows and character tables cell by cell.
#pragma once

#include <string>
#include <vector>

inline std::vector<std::string> Utf8Chars(const std::string& text) {
  std::vector<std::string> chars;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    chars.push_back(text.substr(i, length));
    i += length;
  }
  return chars;
}
