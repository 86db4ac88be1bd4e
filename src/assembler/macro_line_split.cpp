#include "assembler/macro_line_split.h"

#include "assembler/line_parser.h"

namespace {

constexpr std::string_view kFieldDelimiters = ", \t";

struct TMacroLineParts {
  std::string_view label;
  std::string_view statement;
};

TMacroLineParts CutLine(std::string_view text) {
  const size_t semicolon = FindOutsideQuotes(text, ";");
  if (semicolon != std::string_view::npos) text = text.substr(0, semicolon);
  TMacroLineParts parts;
  const size_t colon = FindOutsideQuotes(text, ":");
  if (colon != std::string_view::npos) {
    parts.label = TrimControls(text.substr(0, colon));
    text = text.substr(colon + 1);
  }
  parts.statement = TrimControls(text);
  return parts;
}

// Cuts the next field off the front of `rest`. Returns false (and the whole
// rest as the field) when no delimiter is left.
bool NextField(std::string_view& rest, std::string_view& field) {
  const size_t at = FindOutsideQuotes(rest, kFieldDelimiters);
  if (at == std::string_view::npos) {
    field = rest;
    rest = {};
    return false;
  }
  field = TrimControls(rest.substr(0, at));
  rest = TrimControls(rest.substr(at + 1));
  if (!rest.empty() && rest.front() == ',') rest = TrimControls(rest.substr(1));
  return true;
}

}  // namespace

std::vector<std::string> SplitMacroLine(std::string_view text) {
  const TMacroLineParts parts = CutLine(text);
  std::vector<std::string> split;
  split.emplace_back(parts.label);
  std::string_view rest = parts.statement;
  std::string_view field;
  bool more = true;
  while (more) {
    more = NextField(rest, field);
    split.emplace_back(field);
  }
  return split;
}

std::string_view MacroLineKeyword(std::string_view text) {
  std::string_view rest = CutLine(text).statement;
  std::string_view field;
  NextField(rest, field);
  return field;
}
