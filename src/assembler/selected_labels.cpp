// The selected labels: the keys the workbench keeps across loads and saves
// in its state file.
#include "assembler/qrx_assembler.h"

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
