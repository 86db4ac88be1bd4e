#include "workbench/stack_rows.h"

#include <algorithm>

#include "assembler/asm_line.h"
#include "assembler/label_record.h"
#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "persistence/compare_text.h"

namespace {

// A label key is the name followed by its scope path ("LOOP.MAIN.*").
std::string NameOfKey(const std::string& key) {
  const size_t dot = key.find('.');
  return dot == std::string::npos ? key : key.substr(0, dot);
}

}  // namespace

void TStackRows::Index(const TQRXAssembler& assembler) {
  if (assembler.AssemblyCount() == indexedAssembly_ && !returnAddresses_.empty()) return;
  indexedAssembly_ = assembler.AssemblyCount();
  labels_.clear();
  const TKwList& table = assembler.Labels();
  for (int i = 0; i < table.Count(); ++i) {
    const std::string& key = table.Strings(i);
    const TKwValues& record = table.RecordAt(i);
    // The registers (bare names, without a scope path) and the constants
    // of "#NAME EQU" are no places in the program.
    if (key.find('.') == std::string::npos || record.ValueOnly) continue;
    if ((table.LabelKinds(i) & kindImmediate) != 0) continue;
    labels_.emplace_back(static_cast<uint16_t>(record.Value), NameOfKey(key));
  }
  std::stable_sort(labels_.begin(), labels_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });

  returnAddresses_.assign(TQRXEmulater::kWords, false);
  for (int i = 0; i < assembler.LineCount(); ++i) {
    if (!assembler.HasRecord(i)) continue;
    const TAsmLine& line = assembler.LineAt(i);
    if (line.HasError() || line.Words.empty() || !SameText(line.Mnemonic, "CALL")) continue;
    const auto after = static_cast<uint16_t>(line.Address + line.FieldCount);
    returnAddresses_[after] = true;
  }
}

int TStackRows::Count(const TQRXEmulater& machine) {
  const uint16_t sp = machine.ReadWord(TQRXEmulater::SP);
  return sp < TQRXEmulater::kStackStart ? TQRXEmulater::kStackStart - sp : 0;
}

TStackRow TStackRows::Row(const TQRXEmulater& machine, int i) const {
  TStackRow row;
  row.Address = static_cast<uint16_t>(machine.ReadWord(TQRXEmulater::SP) + 1 + i);
  row.Value = machine.ReadWord(row.Address);
  row.Label = LabelFor(row.Value);
  row.ReturnAddress = IsReturnAddress(row.Value);
  return row;
}

std::string TStackRows::LabelFor(uint16_t value) const {
  const auto above =
      std::upper_bound(labels_.begin(), labels_.end(), value,
                       [](uint16_t v, const auto& entry) { return v < entry.first; });
  if (above == labels_.begin()) return {};
  // The first name given to the nearest address at or below the value.
  auto at = std::prev(above);
  while (at != labels_.begin() && std::prev(at)->first == at->first)
    --at;
  const int offset = value - at->first;
  return offset == 0 ? at->second : at->second + "+" + std::to_string(offset);
}

bool TStackRows::IsReturnAddress(uint16_t value) const {
  return !returnAddresses_.empty() && returnAddresses_[value];
}
