#include <string_view>

#include "assembler/label_table.h"

namespace {

// The kind a key gives by itself, without its record: the register names
// first (exact case), then the first character.
uint16_t KeyKind(std::string_view key, bool valueOnly) {
  if (key == "PC" || key == "SP") return kindPointer;
  if (key == "VF" || key == "ZF" || key == "SF" || key == "CF") return kindVariable;
  if (valueOnly) return kindImmediate;
  if (key.empty()) return 0;
  const char first = key.front();
  if ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z') || first == '_')
    return kindVariable;
  if (first == '^') return kindPointer;
  if (first == '>') return kindLineLabel;
  if (first == '*') return kindAuto;
  return 0;
}

}  // namespace

uint16_t TKwList::LabelKinds(int index) const {
  if (index < 0 || index >= Count()) return 0;
  const TKwValues& record = RecordAt(index);
  uint16_t kinds = KeyKind(Strings(index), record.ValueOnly);
  if (record.Selected) kinds |= kindSelected;
  return kinds;
}
