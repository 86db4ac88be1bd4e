#include "workbench/label_view_model.h"

#include <array>
#include <string>
#include <string_view>

#include "assembler/qrx_assembler.h"
#include "persistence/compare_text.h"

namespace {

// The registers in the order the sorted view starts with.
constexpr std::array<std::string_view, 6> kRegisterOrder = {"PC", "SP", "VF", "SF", "ZF", "CF"};

bool IsRegisterName(std::string_view key) {
  for (const std::string_view name : kRegisterOrder) {
    if (SameText(key, name)) return true;
  }
  return false;
}

// A row's sort text: the key, with "#" in front for a value-only constant.
int CompareRows(const std::string& keyA, const TKwValues* a, const std::string& keyB,
                const TKwValues* b) {
  const bool hashA = a != nullptr && a->ValueOnly;
  const bool hashB = b != nullptr && b->ValueOnly;
  if (hashA == hashB) return CompareText(keyA, keyB);
  return CompareText(hashA ? "#" + keyA : keyA, hashB ? "#" + keyB : keyB);
}

}  // namespace

TLabelViewModel::TLabelViewModel(TQRXAssembler& assembler) : assembler_(assembler) {
  Build(0);
}

const TLabelViewRows& TLabelViewModel::Rows() const {
  if (builtAfter_ != assembler_.AssemblyCount()) rows_.Clear();
  return rows_;
}

void TLabelViewModel::Build(uint16_t mask) {
  filter_ = mask;
  rows_.Clear();
  builtAfter_ = assembler_.AssemblyCount();
  TKwList& labels = assembler_.Labels();
  const bool onlySelected = (mask & kindOnlySelected) != 0;
  const uint16_t kinds = mask & kLabelViewKindMask;
  for (int i = 0; i < labels.Count(); ++i) {
    const std::string& key = labels.Strings(i);
    if (!assembler_.IsUnitVisible(key)) continue;
    TKwValues* record = labels.Record(i);
    const bool selected = record != nullptr && record->Selected;
    if (IsRegisterName(key) || selected || (!onlySelected && (labels.LabelKinds(i) & kinds) != 0))
      rows_.AddWithRef(key, record);
  }
  if (sorted_) Sort();
}

void TLabelViewModel::Sort() {
  if (Rows().Empty()) return;
  rows_.SortBy(CompareRows);
  for (size_t position = 0; position < kRegisterOrder.size(); ++position) {
    const int row = rows_.IndexOf(kRegisterOrder[position]);
    if (row >= 0) rows_.Move(row, static_cast<int>(position));
  }
}

void TLabelViewModel::SetSorted(bool flag) {
  if (flag == sorted_) return;
  sorted_ = flag;
  if (flag)
    Sort();
  else
    Build(filter_);
}
