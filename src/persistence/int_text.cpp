#include "persistence/int_text.h"

#include <charconv>

#include "persistence/convert_error.h"
#include "persistence/encoding.h"

std::string IntToStr(int64_t n) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
  return std::string(buffer, result.ptr);
}

bool TryStrToInt(std::string_view text, int32_t& value) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) return false;
  // Accumulate as a negative number so that the most negative value fits.
  int64_t accumulated = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    accumulated = accumulated * 10 - (c - '0');
    if (accumulated < INT32_MIN) return false;
  }
  if (!negative) {
    if (-accumulated > INT32_MAX) return false;
    accumulated = -accumulated;
  }
  value = static_cast<int32_t>(accumulated);
  return true;
}

int32_t StrToInt(std::string_view text) {
  int32_t value = 0;
  if (!TryStrToInt(text, value)) {
    throw EConvertError("'" + std::string(text) + Sjis("' は有効な整数値ではありません"));
  }
  return value;
}

std::string HexText(uint64_t value, int minDigits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(text.size()) < minDigits) text.insert(0, minDigits - text.size(), '0');
  return text;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
