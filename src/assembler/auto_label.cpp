#include "assembler/auto_label.h"

#include "persistence/int_text.h"

std::string FormatAutoLabel(TAutoLabelCounter counter) {
  std::string label = "*";
  label += HexText(counter, 4);
  return label;
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
