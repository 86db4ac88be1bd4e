#include "assembler/line_parser.h"

#include <string>

#include "assembler/literals.h"
#include "assembler/sjis_scan.h"

namespace {

constexpr char kApostrophe = '\'';
constexpr std::string_view kFieldDelimiters = " ,\t";
constexpr std::string_view kEqu = "EQU";

bool IsControlOrBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

bool EqualsUpperAscii(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upper[i]) return false;
  }
  return true;
}

void AssignUpperAscii(std::string& out, std::string_view text) {
  out.assign(text);
  size_t i = 0;
  while (i < out.size()) {
    const size_t length = CharLengthAt(out, i);
    if (length == 1 && out[i] >= 'a' && out[i] <= 'z')
      out[i] = static_cast<char>(out[i] - 'a' + 'A');
    i += length;
  }
}

}  // namespace

size_t FindOutsideQuotes(std::string_view text, std::string_view delimiters) {
  bool quoted = false;
  size_t i = 0;
  while (i < text.size()) {
    const size_t length = CharLengthAt(text, i);
    if (length == 1) {
      const char b = text[i];
      if (b == kApostrophe)
        quoted = !quoted;
      else if (!quoted && delimiters.find(b) != std::string_view::npos)
        return i;
    }
    i += length;
  }
  return std::string_view::npos;
}

std::string_view TrimControls(std::string_view text) {
  while (!text.empty() && IsControlOrBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsControlOrBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

TSplitResult SplitAt(std::string_view delimiters, std::string_view text) {
  text = TrimControls(text);
  if (!text.empty() && text.front() == ',') text = TrimControls(text.substr(1));
  TSplitResult result;
  const size_t at = FindOutsideQuotes(text, delimiters);
  if (at == std::string_view::npos) {
    result.Before = text;
    return result;
  }
  result.Found = true;
  result.Before = TrimControls(text.substr(0, at));
  result.After = TrimControls(text.substr(at + 1));
  return result;
}

size_t PosOutsideQuotes(char c, std::string_view text) {
  const size_t at = FindOutsideQuotes(text, std::string_view(&c, 1));
  return at == std::string_view::npos ? 0 : at + 1;
}

std::string UpperAscii(std::string_view text) {
  std::string upper;
  AssignUpperAscii(upper, text);
  return upper;
}

void ParseLine(std::string_view text, TAsmLine& line) {
  const TSplitResult comment = SplitAt(";", text);
  std::string_view code = comment.Before;
  line.Comment.assign(comment.After);
  line.ForgetSourceTag();

  if (PosOutsideQuotes(':', code) > 0) {
    const TSplitResult label = SplitAt(":", code);
    line.LabelName.assign(label.Before);
    code = label.After;
  }

  // Only lines with an apostrophe need the rewritten copy.
  std::string expanded;
  if (code.find(kApostrophe) != std::string_view::npos) {
    expanded = ExpandStrings(code);
    code = expanded;
  }

  for (std::string& field : line.Fields)
    field.clear();
  size_t count = 0;
  while (!code.empty()) {
    if (count == line.Fields.size()) line.GrowFields();
    if (count + 1 == kMaxFieldCount) {
      // No room left in a 16-bit count: the rest of the line is one field.
      line.Fields[count++].assign(TrimControls(code));
      break;
    }
    const TSplitResult field = SplitAt(kFieldDelimiters, code);
    line.Fields[count++].assign(field.Before);
    code = field.After;
  }
  line.FieldCount = static_cast<uint16_t>(count);

  if (EqualsUpperAscii(line.Fields[1], kEqu)) {
    // name EQU value: the name becomes the label, the value moves to entry 1.
    line.FieldCount = 0;
    line.Mnemonic.assign(kEqu);
    line.LabelName.swap(line.Fields[0]);
    line.Fields[0].swap(line.Fields[1]);
    line.Fields[1].swap(line.Fields[2]);
    line.Fields[2].clear();
    return;
  }
  AssignUpperAscii(line.Mnemonic, line.Fields[0]);
}
