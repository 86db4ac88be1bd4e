// Arbitrary bytes as literals of the assembly language, in memory:
// - as a number (EvalNumber) and as an integer (IntegerValue), each against
//   a reference reading written here from the language's rules: both must
//   give the same value or fail with the same error;
// - as a character literal against its reference;
// - as the content of a quoted string (apostrophes dropped) in a DW line:
//   the line must split into one field per character of the string, each
//   field a string character whose operand value is the character's code;
// - through ExpandStrings: a text without apostrophes stays as it is, and a
//   second expansion changes nothing.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "assembler/asm_line.h"
#include "assembler/assembler_errors.h"
#include "assembler/label_table.h"
#include "assembler/line_parser.h"
#include "assembler/literals.h"
#include "assembler/sjis_scan.h"
#include "fuzz_support.h"

namespace {

// How reading a literal ended.
struct TReading {
  enum class TKind { Value, ConvertError, TooLongBinary } kind = TKind::Value;
  int32_t value = 0;
  bool operator==(const TReading&) const = default;
};

TReading Value(int64_t v) {
  return {TReading::TKind::Value, static_cast<int32_t>(v)};
}
const TReading kConvertError{TReading::TKind::ConvertError, 0};
const TReading kTooLongBinary{TReading::TKind::TooLongBinary, 0};

template <class Read>
TReading Observe(Read read) {
  try {
    return Value(read());
  } catch (const EInvaridCharsetError&) {
    return kTooLongBinary;
  } catch (const EConvertError&) {
    return kConvertError;
  }
}

// ---- the reference readings

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::optional<uint64_t> Digits(std::string_view text, int base) {
  if (text.empty()) return std::nullopt;
  for (char c : text)
    if (base == 16 ? !IsHexDigit(c) : (c < '0' || c > '9')) return std::nullopt;
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// One or more hexadecimal digits, up to 32 bits.
TReading ReferenceHex(std::string_view digits) {
  const std::optional<uint64_t> value = Digits(digits, 16);
  if (!value || *value > 0xFFFFFFFFull) return kConvertError;
  return Value(static_cast<int32_t>(static_cast<uint32_t>(*value)));
}

// Blanks and TABs, then a hexadecimal prefix and digits, or a sign and
// decimal digits within int32.
TReading ReferenceInteger(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  if (text.starts_with("0x") || text.starts_with("0X")) return ReferenceHex(text.substr(2));
  if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X'))
    return ReferenceHex(text.substr(1));
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const std::optional<uint64_t> value = Digits(text, 10);
  if (!value || *value > (negative ? 2147483648ull : 2147483647ull)) return kConvertError;
  return Value(negative ? -static_cast<int64_t>(*value) : static_cast<int64_t>(*value));
}

int32_t EscapedCode(uint8_t letter) {
  switch (letter) {
    case 'c':
      return 44;
    case 'n':
      return 10;
    case 'q':
      return 39;
    case 'r':
      return 13;
    case 's':
      return 32;
    case 't':
      return 9;
    default:
      return letter;
  }
}

TReading ReferenceChar(std::string_view text) {
  if (text.empty() || text.size() > 2) return kConvertError;
  const auto first = static_cast<uint8_t>(text[0]);
  if (text.size() == 1) return Value(first);
  const auto second = static_cast<uint8_t>(text[1]);
  return Value(first == '\\' ? EscapedCode(second) : first * 256 + second);
}

TReading ReferenceBinary(std::string_view text) {
  if (text.size() > static_cast<size_t>(kBinaryDigitLimit)) return kTooLongBinary;
  int64_t value = 0;
  for (char c : text) {
    if (c != '0' && c != '1') return kConvertError;
    value = value * 2 + (c == '1');
  }
  return Value(value);
}

TReading ReferenceNumber(std::string_view text) {
  if (text.empty()) return Value(0);
  if (text[0] == '#' || text[0] == '@') text.remove_prefix(1);
  if (!text.empty() && text[0] == '[') {
    text.remove_prefix(1);
    if (!text.empty() && text.back() == ']') text.remove_suffix(1);
  }
  // A suffix is a byte of its own, never the second half of a double-byte
  // character.
  if (!text.empty() && !EndsInDoubleByte(text)) {
    const std::string_view body = text.substr(0, text.size() - 1);
    switch (text.back()) {
      case '$':
      case '\\':
        return ReferenceChar(body);
      case 'B':
      case 'b':
        return ReferenceBinary(body);
      case 'D':
      case 'd':
        return ReferenceInteger(body);
      case 'H':
      case 'h':
        return ReferenceHex(body);
      default:
        break;
    }
  }
  return ReferenceInteger(text);
}

// The codes of the characters of a string's content as written: an escape
// (a backslash and the character after it), a double-byte character, or a
// single byte.
std::vector<int32_t> ReferenceStringCodes(std::string_view content) {
  std::vector<int32_t> codes;
  size_t i = 0;
  while (i < content.size()) {
    const bool escape = content[i] == '\\' && i + 1 < content.size();
    const size_t at = escape ? i + 1 : i;
    const size_t length = CharLengthAt(content, at);
    const auto first = static_cast<uint8_t>(content[at]);
    if (length == 2)
      codes.push_back(first * 256 + static_cast<uint8_t>(content[at + 1]));
    else
      codes.push_back(escape ? EscapedCode(first) : first);
    i = at + length;
  }
  return codes;
}

// The label table the string fields are evaluated against: the registers.
const TKwList& Registers() {
  static const TKwList* const labels = [] {
    auto* table = new TKwList();
    table->SetCurrentScope(".*");
    return table;
  }();
  return *labels;
}

void CheckString(std::string_view input) {
  std::string content;
  for (char c : input)
    if (c != '\'') content += c;
  if (content.empty()) return;
  TAsmLine line;
  ParseLine("DW '" + content + "'", line);
  const std::vector<int32_t> codes = ReferenceStringCodes(content);
  FuzzCheck(line.FieldCount == codes.size() + 1, "a DW string gives one field per character");
  for (size_t k = 0; k < codes.size() && k + 1 < line.FieldCount; ++k) {
    const std::string& field = line.Fields[k + 1];
    FuzzCheck(IsStringCharField(field), "a string's field reads as a string character");
    const TReading operand = Observe([&] { return Registers().EvaluateOperand(field); });
    FuzzCheck(operand == Value(static_cast<uint16_t>(codes[k])),
              "a string character's operand value is its code");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  FuzzCheck(Observe([&] { return EvalNumber(input); }) == ReferenceNumber(input),
            "EvalNumber reads as the number rules say");
  FuzzCheck(Observe([&] { return IntegerValue(input); }) == ReferenceInteger(input),
            "IntegerValue reads as the integer rule says");
  FuzzCheck(Observe([&] { return CharLiteralValue(input.substr(0, 3)); }) ==
                ReferenceChar(input.substr(0, 3)),
            "CharLiteralValue reads as the character rule says");

  const std::string expanded = ExpandStrings(input);
  if (input.find('\'') == std::string_view::npos)
    FuzzCheck(expanded == input, "a text without apostrophes is not changed");
  FuzzCheck(ExpandStrings(expanded) == expanded, "a second expansion changes nothing");

  CheckString(input);
  return 0;
}
