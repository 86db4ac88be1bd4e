#include "assembler/macro_prepass.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "assembler/asm_line.h"
#include "assembler/line_parser.h"
#include "assembler/macro_line_split.h"
#include "persistence/compare_text.h"
#include "persistence/encoding.h"

namespace {

constexpr std::string_view kMacroKeyword = "MACRO";
constexpr std::string_view kEndMacroKeyword = "ENDMACRO";
constexpr char kEscape = '\x1B';

const std::string& StrayEndMessage() {
  static const std::string message = Sjis("変なところにENDMACROがあります → ");
  return message;
}
const std::string& MissingLabelMessage() {
  static const std::string message = Sjis("マクロのラベルがありません → ");
  return message;
}
const std::string& DuplicateHead() {
  static const std::string message = Sjis("マクロ名");
  return message;
}
const std::string& DuplicateTail() {
  static const std::string message = Sjis("が重複しています → ");
  return message;
}
const std::string& BadFormalMessage() {
  static const std::string message = Sjis("マクロパラメータは%か?で始まります → ");
  return message;
}
const std::string& NestedMessage() {
  static const std::string message = Sjis("マクロ定義中にマクロ定義はできません → ");
  return message;
}
const std::string& TooLargeMessage() {
  static const std::string message = Sjis("マクロの展開が大きすぎます → ");
  return message;
}

std::string Concat(std::string_view a, std::string_view b, std::string_view c = {},
                   std::string_view d = {}, std::string_view e = {}) {
  std::string s;
  s.reserve(a.size() + b.size() + c.size() + d.size() + e.size());
  s.append(a).append(b).append(c).append(d).append(e);
  return s;
}

std::string FlagLine(std::string_view message, std::string_view line) {
  return Concat(kMacroErrorMarker, message, line);
}

// The definition marker in front of a line the pre-pass did not flag. A
// line whose own text begins with the error marker gets a blank in between,
// so that it is never taken for a flagged one; parsing trims the blank.
std::string MarkUnflagged(std::string_view text) {
  return Concat(kMacroDefinitionMarker, text.starts_with(kMacroErrorMarker) ? " " : "", text);
}

bool IsFormal(const std::string& field) {
  return !field.empty() && (field.front() == '%' || field.front() == '?');
}

std::string CommaTextOf(const std::vector<std::string>& items) {
  TCustomStringList list;
  for (const std::string& item : items)
    list.Add(item);
  return list.CommaText();
}

// A MACRO header outside a definition; returns the errors it counted and
// sets `definition` to the new macro's definition (nullptr when the name was
// taken).
int ReadHeader(std::string_view text, TMacroList& macros, std::string& line,
               TCustomStringList*& definition) {
  int errors = 0;
  const std::vector<std::string> split = SplitMacroLine(text);
  const std::string& name = split[0];
  line.assign(text);
  if (name.empty()) {
    line = FlagLine(MissingLabelMessage(), line);
    ++errors;
  }
  const int index = macros.AddMacro(name);
  definition = nullptr;
  if (index < 0) {
    line = FlagLine(Concat(DuplicateHead(), name, DuplicateTail()), line);
    ++errors;
  } else {
    definition = &macros.Definition(index);
    definition->Add(CommaTextOf(split));
  }
  for (size_t k = 2; k < split.size(); ++k) {
    if (!IsFormal(split[k])) {
      line = FlagLine(BadFormalMessage(), line);
      ++errors;
      break;
    }
  }
  line = errors == 0 ? MarkUnflagged(line) : Concat(kMacroDefinitionMarker, line);
  return errors;
}

struct TPendingExpansion {
  int line = 0;
  std::vector<std::string> lines;
};

}  // namespace

bool IsMacroDefinitionLine(std::string_view text) {
  return text.size() >= kMacroDefinitionMarker.size() &&
         SameText(text.substr(0, kMacroDefinitionMarker.size()), kMacroDefinitionMarker);
}

bool IsFlaggedLine(std::string_view text) {
  return IsMacroDefinitionLine(text) &&
         text.substr(kMacroDefinitionMarker.size()).starts_with(kMacroErrorMarker);
}

bool IsExpandedLine(std::string_view text) {
  const size_t tag = text.rfind(std::string_view(";/\x1b", 3));
  if (tag == std::string_view::npos) return false;
  const std::string_view fields = text.substr(tag + 2);
  return std::count(fields.begin(), fields.end(), kEscape) >= 4;
}

int CollectMacroDefinitions(TCustomStringList& lines, TMacroList& macros) {
  int errors = 0;
  bool inside = false;
  TCustomStringList* definition = nullptr;
  std::string line;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string& text = lines.Strings(i);
    const std::string_view keyword = MacroLineKeyword(text);
    const bool isMacro = SameText(keyword, kMacroKeyword);
    const bool isEnd = SameText(keyword, kEndMacroKeyword);
    if (!inside) {
      if (isEnd) {
        lines.SetStrings(i, Concat(kMacroDefinitionMarker, FlagLine(StrayEndMessage(), text)));
        ++errors;
      } else if (isMacro) {
        errors += ReadHeader(text, macros, line, definition);
        inside = true;
        lines.SetStrings(i, std::move(line));
      }
      continue;
    }
    if (isMacro) {
      // The outer definition goes on.
      lines.SetStrings(i, Concat(kMacroDefinitionMarker, FlagLine(NestedMessage(), text)));
      ++errors;
    } else if (isEnd) {
      inside = false;
      lines.SetStrings(i, MarkUnflagged(text));
    } else {
      if (definition != nullptr) definition->Add(text);
      lines.SetStrings(i, MarkUnflagged(text));
    }
  }
  return errors;
}

int ExpandMacroCalls(TCustomStringList& lines, TMacroList& macros,
                     TAutoLabelCounter& autoLabelCounter, size_t expansionBound) {
  if (macros.Empty()) return 0;
  // Expanding from the last line to the first numbers the automatic labels
  // as inserting each expansion behind its call would; the list is then
  // rebuilt in one forward sweep instead of being shifted once per call.
  std::vector<TPendingExpansion> pending;  // last call first
  const TAutoLabelCounter counterBefore = autoLabelCounter;
  size_t left = expansionBound;
  for (int i = lines.Count() - 1; i >= 0; --i) {
    const std::string& text = lines.Strings(i);
    const std::string_view keyword = MacroLineKeyword(text);
    if (keyword.empty()) continue;
    const int macroIndex = macros.IndexOfMacro(keyword);
    if (macroIndex < 0) continue;
    const size_t escape = text.find(kEscape);
    const std::string_view callTag =
        escape == std::string::npos ? std::string_view() : std::string_view(text).substr(escape);
    TPendingExpansion expansion;
    expansion.line = i;
    if (!macros.ExpandMacro(macroIndex, SplitMacroLine(text), callTag, autoLabelCounter,
                            expansion.lines, left)) {
      // Nothing is expanded, as after an error in a definition; the call
      // that went past the bound carries the message.
      autoLabelCounter = counterBefore;
      lines.SetStrings(i, Concat(kMacroDefinitionMarker, FlagLine(TooLargeMessage(), text)));
      return kExpansionTooLarge;
    }
    for (const std::string& line : expansion.lines)
      left -= line.size();
    pending.push_back(std::move(expansion));
  }
  if (pending.empty()) return 0;

  std::vector<std::string> old = lines.ToVector();
  lines.Clear();
  auto next = pending.rbegin();
  for (int i = 0; i < static_cast<int>(old.size()); ++i) {
    if (next != pending.rend() && next->line == i) {
      for (std::string& expanded : next->lines)
        lines.Add(std::move(expanded));
      ++next;
    } else {
      lines.Add(std::move(old[static_cast<size_t>(i)]));
    }
  }
  return static_cast<int>(pending.size());
}

std::string ExpandedLineLabel(std::string_view text) {
  if (!IsExpandedLine(text)) return {};
  TAsmLine parsed;
  ParseLine(text, parsed);
  std::string& name = parsed.LabelName;
  if (parsed.Mnemonic == "EQU" && !name.empty() && name.front() == '#') name.erase(0, 1);
  return std::move(name);
}

TAutoLabelCounter CounterPastExpandedLabels(const TCustomStringList& lines,
                                            TAutoLabelCounter counter) {
  for (int i = 0; i < lines.Count(); ++i)
    counter = CounterPastAutoLabel(ExpandedLineLabel(lines.Strings(i)), counter);
  return counter;
}

int ExpandPrePass(TCustomStringList& lines, TMacroList& macros, TAutoLabelCounter& autoLabelCounter,
                  size_t expansionBound) {
  macros.Clear();
  const int errors = CollectMacroDefinitions(lines, macros);
  autoLabelCounter = CounterPastExpandedLabels(lines, autoLabelCounter);
  if (errors != 0) return errors;
  return ExpandMacroCalls(lines, macros, autoLabelCounter, expansionBound) == kExpansionTooLarge
             ? 1
             : 0;
}
