#include "assembler/macro_list.h"

#include <algorithm>

#include "assembler/auto_label.h"
#include "assembler/text_replace.h"

namespace {

const std::string kMissingArgument = "*ERROR*";

}  // namespace

TMacroList::TMacroList() : TRecordStringList<TCustomStringList>(true, TDuplicates::Error) {}

int TMacroList::AddMacro(std::string_view name) {
  int index = 0;
  if (Find(name, index)) return -1;
  return AddWithRecord(std::string(name), std::make_unique<TCustomStringList>());
}

int TMacroList::IndexOfMacro(std::string_view name) const {
  int index = 0;
  return Find(name, index) ? index : -1;
}

bool TMacroList::ExpandMacro(int macroIndex, const std::vector<std::string>& callSplit,
                             std::string_view callTag, TAutoLabelCounter& autoLabelCounter,
                             std::vector<std::string>& lines, size_t limit) {
  const TCustomStringList& definition = Definition(macroIndex);
  lines.clear();
  if (definition.Empty()) return true;

  TCustomStringList header;
  header.SetCommaText(definition.Strings(0));
  std::vector<std::string> formals = header.ToVector();
  std::vector<std::string> actuals(formals.size());
  std::copy_n(callSplit.begin(), std::min(callSplit.size(), actuals.size()), actuals.begin());

  for (size_t k = 0; k < formals.size(); ++k) {
    if (!formals[k].empty() && formals[k].front() == '?')
      actuals[k] = FormatAutoLabel(autoLabelCounter++);
    else if (actuals[k].empty())
      actuals[k] = kMissingArgument;
  }

  lines.reserve(static_cast<size_t>(definition.Count() - 1));
  size_t left = limit;
  for (int i = 1; i < definition.Count(); ++i) {
    std::string line = definition.Strings(i);
    line += callTag;
    for (size_t k = 1; k < formals.size(); ++k) {
      if (actuals[k].size() > formals[k].size()) {
        const size_t growth =
            CountTextIgnoreCase(line, formals[k]) * (actuals[k].size() - formals[k].size());
        if (growth > left || line.size() > left - growth) return false;
      }
      line = ReplaceTextIgnoreCase(line, formals[k], actuals[k]);
    }
    if (line.size() > left) return false;
    left -= line.size();
    lines.push_back(std::move(line));
  }
  return true;
}
