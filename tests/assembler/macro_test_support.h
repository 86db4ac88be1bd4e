// Small helpers shared by the macro tests: tagged source lines and lists.
#pragma once

#include <string>
#include <vector>

#include "persistence/custom_string_list.h"

namespace macro_test {

// The source tag of line `line` of file `file`.
inline std::string Tag(int file, int line) {
  return ";/\x1B" + std::to_string(file) + "\x1B" + std::to_string(line);
}

// The call tag that an expansion line receives from a call on `line`.
inline std::string CallTag(int file, int line) {
  return "\x1B" + std::to_string(file) + "\x1B" + std::to_string(line);
}

// Lines of file 1, each with its tag (line numbers from 1).
inline std::vector<std::string> Tagged(const std::vector<std::string>& code) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < code.size(); ++i)
    lines.push_back(code[i] + Tag(1, static_cast<int>(i) + 1));
  return lines;
}

inline void Fill(TCustomStringList& list, const std::vector<std::string>& lines) {
  list.Clear();
  for (const std::string& line : lines)
    list.Add(line);
}

}  // namespace macro_test
