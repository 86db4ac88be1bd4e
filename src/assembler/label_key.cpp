#include "assembler/label_key.h"

#include <algorithm>

bool IsLabelKeyChar(char c) {
  if (c >= '0' && c <= '9') return true;
  if (c >= 'A' && c <= 'Z') return true;
  if (c >= 'a' && c <= 'z') return true;
  return c == '*' || c == '.' || c == '>' || c == '^' || c == '_';
}

bool IsLegalLabelKey(std::string_view key) {
  return std::all_of(key.begin(), key.end(), IsLabelKeyChar);
}
