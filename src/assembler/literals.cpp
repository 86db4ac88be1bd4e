#include "assembler/literals.h"

#include "assembler/assembler_errors.h"
#include "assembler/sjis_scan.h"
#include "persistence/int_text.h"

namespace {

constexpr char kBackslash = '\\';
constexpr char kApostrophe = '\'';
constexpr char kTab = '\t';
constexpr char kLoneLeadMark = '$';

// One or more hexadecimal digits and nothing else, as a 32-bit pattern.
int32_t HexDigitsValue(std::string_view digits) {
  if (digits.empty()) throw EConvertError(assembler_messages::ConvertError());
  uint64_t value = 0;
  for (char c : digits) {
    const int d = HexDigitValue(c);
    if (d < 0) throw EConvertError(assembler_messages::ConvertError());
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFull) throw EConvertError(assembler_messages::ConvertError());
  }
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// An optional sign and one or more decimal digits, within int32.
int32_t DecimalValue(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) throw EConvertError(assembler_messages::ConvertError());
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') throw EConvertError(assembler_messages::ConvertError());
    value = value * 10 + (c - '0');
    if (value > limit) throw EConvertError(assembler_messages::ConvertError());
  }
  return static_cast<int32_t>(negative ? -value : value);
}

// The escape that a backslash gives to the byte after it.
int32_t EscapeValue(uint8_t b) {
  switch (b) {
    case 'c':
      return ',';
    case 'n':
      return '\n';
    case 'q':
      return '\'';
    case 'r':
      return '\r';
    case 's':
      return ' ';
    case 't':
      return '\t';
    default:
      return b;
  }
}

// The escape letter of a byte that must not appear bare inside a token
// (it would split the field or be trimmed away), or 0.
char EscapeLetter(char c) {
  switch (c) {
    case '\t':
      return 't';
    case '\n':
      return 'n';
    case '\r':
      return 'r';
    case ' ':
      return 's';
    case '\'':
      return 'q';
    case ',':
      return 'c';
    default:
      return 0;
  }
}

// The token of a lead byte that no trail byte follows. Closed by a
// backslash, the byte would pair with it into a double-byte character; "$"
// can never be a trail byte, so the token reads as the byte's own code.
void AppendLoneLeadToken(std::string& out, char lead) {
  out += kTab;
  out += lead;
  out += kLoneLeadMark;
}

void AppendToken(std::string& out, std::string_view chunk) {
  out += kTab;
  const char letter = chunk.empty() ? 0 : EscapeLetter(chunk[0]);
  if (letter != 0) {
    out += kBackslash;
    out += letter;
  } else {
    out.append(chunk);
  }
  out += kBackslash;
}

// Cuts one string's content into chunks and appends their tokens.
void AppendStringTokens(std::string& out, std::string_view content) {
  size_t i = 0;
  while (i < content.size()) {
    const char b = content[i];
    if (b == kBackslash && i + 1 < content.size()) {
      const size_t next = CharLengthAt(content, i + 1);
      if (next == 2) {
        // An escaped double-byte character is the character itself.
        AppendToken(out, content.substr(i + 1, 2));
      } else if (IsLeadByte(content[i + 1])) {
        AppendLoneLeadToken(out, content[i + 1]);
      } else if (EscapeLetter(content[i + 1]) != 0) {
        // A backslash before a blank, TAB or comma means that character;
        // written bare in the token it would split the field.
        AppendToken(out, content.substr(i + 1, 1));
      } else {
        AppendToken(out, content.substr(i, 2));
      }
      i += 1 + next;
      continue;
    }
    const size_t length = CharLengthAt(content, i);
    if (length == 1 && IsLeadByte(b)) {
      AppendLoneLeadToken(out, b);
    } else if (length == 1 &&
               ((static_cast<uint8_t>(b) < 0x20 && EscapeLetter(b) == 0) || IsOperandMark(b))) {
      // Other control bytes would be trimmed off the field's edge, and a
      // "#", "@" or "[" in front of a field is read as the operand's mark
      // and dropped; behind a backslash they stay and keep their own code.
      const char escaped[2] = {kBackslash, b};
      AppendToken(out, std::string_view(escaped, 2));
    } else {
      AppendToken(out, content.substr(i, length));
    }
    i += length;
  }
}

}  // namespace

bool IsOperandMark(char c) {
  return c == '#' || c == '@' || c == '[';
}

int32_t IntegerValue(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == kTab))
    ++i;
  text.remove_prefix(i);
  if (text.empty()) throw EConvertError(assembler_messages::ConvertError());
  if (text[0] == '$' || text[0] == 'x' || text[0] == 'X') return HexDigitsValue(text.substr(1));
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return HexDigitsValue(text.substr(2));
  return DecimalValue(text);
}

int32_t CharLiteralValue(std::string_view text) {
  if (text.empty() || text.size() > 2) throw EConvertError(assembler_messages::ConvertError());
  const auto first = static_cast<uint8_t>(text[0]);
  if (text.size() == 1) return first;
  const auto second = static_cast<uint8_t>(text[1]);
  if (first == static_cast<uint8_t>(kBackslash)) return EscapeValue(second);
  return first * 256 + second;
}

int32_t BinaryValue(std::string_view text, int limit) {
  if (limit < 0 || text.size() > static_cast<size_t>(limit))
    throw EInvaridCharsetError(assembler_messages::ConvertError());
  uint32_t value = 0;
  for (char c : text) {
    if (c != '0' && c != '1') throw EConvertError(assembler_messages::ConvertError());
    value = value * 2 + static_cast<uint32_t>(c == '1');
  }
  return static_cast<int32_t>(value);
}

int32_t EvalNumber(std::string_view text) {
  if (text.empty()) return 0;
  if (text[0] == '#' || text[0] == '@') text.remove_prefix(1);
  if (!text.empty() && text[0] == '[') {
    text.remove_prefix(1);
    if (!text.empty() && text.back() == ']') text.remove_suffix(1);
  }
  // The second byte of a double-byte character is never a suffix.
  if (!text.empty() && !EndsInDoubleByte(text)) {
    const std::string_view body = text.substr(0, text.size() - 1);
    switch (text.back()) {
      case '$':
      case kBackslash:
        return CharLiteralValue(body);
      case 'B':
      case 'b':
        return BinaryValue(body, kBinaryDigitLimit);
      case 'D':
      case 'd':
        return IntegerValue(body);
      case 'H':
      case 'h':
        // "$" + body under the integer rule: hexadecimal digits only.
        return HexDigitsValue(body);
      default:
        break;
    }
  }
  return IntegerValue(text);
}

std::string ExpandStrings(std::string_view text) {
  std::string out;
  size_t pos = 0;
  // The tokens hold no apostrophe, so each search may start behind the
  // string replaced last: the first apostrophe of the rewritten text is
  // always the next one in the original.
  for (;;) {
    const size_t open = text.find(kApostrophe, pos);
    if (open == std::string_view::npos) break;
    const size_t close = text.find(kApostrophe, open + 1);
    if (close == std::string_view::npos || close == open + 1) break;
    if (out.empty()) out.reserve(text.size() * 3);
    out.append(text.substr(pos, open - pos));
    AppendStringTokens(out, text.substr(open + 1, close - open - 1));
    pos = close + 1;
  }
  out.append(text.substr(pos));
  return out;
}

std::string EscapeChar(std::string_view text) {
  const char letter = text.empty() ? 0 : EscapeLetter(text[0]);
  if (letter == 0) return std::string(text);
  return std::string{kBackslash, letter};
}

bool IsStringCharField(std::string_view field) {
  if (field.size() == 2 && IsLeadByte(field[0]) && field[1] == kLoneLeadMark) return true;
  return !field.empty() && field.back() == kBackslash && !EndsInDoubleByte(field);
}
