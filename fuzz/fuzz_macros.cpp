// Arbitrary bytes as a few source lines (cut at line breaks, at most
// kMaxLines, each with its source tag), run through the macro pre-pass in
// memory. The pre-pass must end (libFuzzer's time limit), and:
// - its lines never grow past the bound: the lines it did not expand, with
//   their markers and messages, plus at most kExpansionBound;
// - a pre-pass with errors changes no line but by marking or flagging it,
//   and flags at least one line; one without errors flags none;
// - every line of a definition (header to ENDMACRO) is marked, and every
//   line a call wrote carries the call's tag;
// - each call draws one automatic name per "?" formal of its macro.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "assembler/auto_label.h"
#include "assembler/macro_line_split.h"
#include "assembler/macro_list.h"
#include "assembler/macro_prepass.h"
#include "assembler/source_set.h"
#include "fuzz_support.h"
#include "persistence/compare_text.h"
#include "persistence/custom_string_list.h"

namespace {

constexpr int kMaxLines = 64;
// The pre-pass's bound on the expansion, far below the assembler's
// kMaxExpansionBytes: the bound is met and checked the same way, and an
// input that reaches it costs little (the full bound costs milliseconds of
// text replacement an input).
constexpr size_t kExpansionBound = size_t{4} << 10;
constexpr char kEscape = '\x1B';
// What marking and flagging may add to one line: the markers and the
// longest message.
constexpr size_t kMarkBytes = 128;

size_t Bytes(const std::vector<std::string>& lines) {
  size_t total = 0;
  for (const std::string& line : lines)
    total += line.size();
  return total;
}

// The names a call of each macro draws: one per "?" in its header's list
// (its name included), by macro index.
std::vector<int> AutoFormals(TMacroList& macros) {
  std::vector<int> counts;
  for (int m = 0; m < macros.Count(); ++m) {
    TCustomStringList header;
    if (!macros.Definition(m).Empty()) header.SetCommaText(macros.Definition(m).Strings(0));
    int count = 0;
    for (int k = 0; k < header.Count(); ++k)
      count += header[k].starts_with('?') ? 1 : 0;
    counts.push_back(count);
  }
  return counts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TCustomStringList lines;
  lines.SetText(std::string_view(reinterpret_cast<const char*>(data), size));
  while (lines.Count() > kMaxLines)
    lines.Delete(lines.Count() - 1);
  TagLines(lines, 1);
  const std::vector<std::string> before = lines.ToVector();

  TMacroList macros;
  const TAutoLabelCounter start = 7;
  TAutoLabelCounter counter = start;
  const int errors = ExpandPrePass(lines, macros, counter, kExpansionBound);
  const std::vector<std::string> after = lines.ToVector();

  FuzzCheck(errors >= 0, "the pre-pass counts errors");
  FuzzCheck(Bytes(after) <= Bytes(before) + before.size() * kMarkBytes + kExpansionBound,
            "the expansion stays within its bound");
  const auto flagged = std::count_if(after.begin(), after.end(), IsFlaggedLine);
  if (errors > 0) {
    FuzzCheck(flagged > 0 && flagged <= errors, "every error flags a line");
    FuzzCheck(after.size() == before.size(), "a pre-pass with errors expands nothing");
    FuzzCheck(counter == start, "a pre-pass with errors draws no name");
    for (size_t i = 0; i < after.size(); ++i)
      FuzzCheck(after[i] == before[i] ||
                    (IsMacroDefinitionLine(after[i]) && after[i].ends_with(before[i])),
                "a pre-pass with errors only marks and flags lines");
    return 0;
  }
  FuzzCheck(flagged == 0, "a pre-pass without errors flags nothing");

  // Walk both lists together: a definition's lines are marked; a call's
  // lines (none or more) replace it and end with its tag; other lines stay.
  const std::vector<int> autoFormals = AutoFormals(macros);
  TAutoLabelCounter drawn = 0;
  size_t j = 0;
  bool inside = false;
  for (size_t i = 0; i < before.size(); ++i) {
    const std::string_view keyword = MacroLineKeyword(before[i]);
    if (inside || SameText(keyword, "MACRO")) {
      FuzzCheck(
          j < after.size() && IsMacroDefinitionLine(after[j]) && after[j].ends_with(before[i]),
          "a definition's line is marked");
      ++j;
      inside = !(inside && SameText(keyword, "ENDMACRO"));
      continue;
    }
    const int macroIndex = keyword.empty() ? -1 : macros.IndexOfMacro(keyword);
    if (macroIndex < 0) {
      FuzzCheck(j < after.size() && after[j] == before[i], "a line that is no call stays");
      ++j;
      continue;
    }
    // The call's tag items: ESC, file, ESC, line.
    const std::string tag = std::string(1, kEscape) + "1" + kEscape + std::to_string(i + 1);
    const int body = macros.Definition(macroIndex).Count() - 1;
    for (int k = 0; k < body; ++k, ++j)
      FuzzCheck(j < after.size() && after[j].ends_with(tag),
                "an expanded line ends in the call's tag");
    drawn += static_cast<TAutoLabelCounter>(autoFormals[static_cast<size_t>(macroIndex)]);
  }
  FuzzCheck(j == after.size(), "the expansion holds the calls' lines and nothing else");
  FuzzCheck(counter == start + drawn, "each call draws one name per \"?\" formal");
  return 0;
}
