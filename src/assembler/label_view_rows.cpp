// The rows of the label view and the selected labels.
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

void TQRXAssembler::BuildLabelView(uint16_t mask) {
  labelFilter_ = mask;
  labelView_.Clear();
  const bool onlySelected = (mask & kindOnlySelected) != 0;
  const uint16_t kinds = mask & kLabelViewKindMask;
  for (int i = 0; i < labels_.Count(); ++i) {
    const std::string& key = labels_.Strings(i);
    if (!IsUnitVisible(key)) continue;
    TKwValues* record = labels_.Record(i);
    const bool selected = record != nullptr && record->Selected;
    if (IsRegisterName(key) || selected || (!onlySelected && (labels_.LabelKinds(i) & kinds) != 0))
      labelView_.AddWithRef(key, record);
  }
  if (sortLabels_) SortLabelView();
}

void TQRXAssembler::SortLabelView() {
  if (labelView_.Empty()) return;
  labelView_.SortBy(CompareRows);
  for (size_t position = 0; position < kRegisterOrder.size(); ++position) {
    const int row = labelView_.IndexOf(kRegisterOrder[position]);
    if (row >= 0) labelView_.Move(row, static_cast<int>(position));
  }
}

void TQRXAssembler::SetSortLabels(bool flag) {
  if (flag == sortLabels_) return;
  sortLabels_ = flag;
  if (flag)
    SortLabelView();
  else
    BuildLabelView(labelFilter_);
}

const TCustomStringList& TQRXAssembler::SelectedLabels() {
  selectedLabelNames_.Clear();
  for (int i = 0; i < labels_.Count(); ++i) {
    const TKwValues* record = labels_.Record(i);
    if (record != nullptr && record->Selected) selectedLabelNames_.Add(labels_.Strings(i));
  }
  return selectedLabelNames_;
}

void TQRXAssembler::MarkSelectedLabels(const TCustomStringList& names) {
  for (int n = 0; n < names.Count(); ++n) {
    if (TKwValues* record = labels_.FindRecord(names[n])) record->Selected = true;
  }
}
