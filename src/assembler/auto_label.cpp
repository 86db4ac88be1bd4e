#include "assembler/auto_label.h"

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string FormatAutoLabel(TAutoLabelCounter counter) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  do {
    hex.insert(hex.begin(), kDigits[counter & 0xF]);
    counter >>= 4;
  } while (counter != 0);
  if (hex.size() < 4) hex.insert(0, 4 - hex.size(), '0');
  return "*" + hex;
}

TAutoLabelCounter CounterPastAutoLabel(std::string_view label, TAutoLabelCounter counter) {
  if (label.empty() || label.front() != '*') return counter;
  const std::string_view digits = label.substr(1);
  // FormatAutoLabel writes four digits, or more without a leading zero; more
  // than eight would take a source with billions of automatic names.
  if (digits.size() < 4 || digits.size() > 8 || (digits.size() > 4 && digits.front() == '0'))
    return counter;
  TAutoLabelCounter number = 0;
  for (char c : digits) {
    const int value = HexDigitValue(c);
    if (value < 0) return counter;
    number = number * 16 + static_cast<TAutoLabelCounter>(value);
  }
  return number >= counter ? number + 1 : counter;
}
