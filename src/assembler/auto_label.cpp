#include "assembler/auto_label.h"

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string FormatAutoLabel(uint32_t counter) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  do {
    hex.insert(hex.begin(), kDigits[counter & 0xF]);
    counter >>= 4;
  } while (counter != 0);
  if (hex.size() < 4) hex.insert(0, 4 - hex.size(), '0');
  return "*" + hex;
}

uint32_t CounterPastAutoLabels(std::string_view text, uint32_t counter) {
  for (size_t star = text.find('*'); star != std::string_view::npos;
       star = text.find('*', star + 1)) {
    size_t end = star + 1;
    while (end < text.size() && HexDigitValue(text[end]) >= 0)
      ++end;
    const size_t digits = end - star - 1;
    // FormatAutoLabel writes four digits, or more without a leading zero,
    // and never more than a 32-bit counter needs.
    if (digits < 4 || digits > 8 || (digits > 4 && text[star + 1] == '0')) continue;
    uint32_t number = 0;
    for (size_t k = star + 1; k < end; ++k)
      number = number * 16 + static_cast<uint32_t>(HexDigitValue(text[k]));
    if (number != UINT32_MAX && number >= counter) counter = number + 1;
  }
  return counter;
}
