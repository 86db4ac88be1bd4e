#include "assembler/auto_label.h"

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
