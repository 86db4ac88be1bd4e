// What the views' clicks and pop-up items do, and how the three views follow
// the machine: the navigator's wiring, breakpoints, the label list and its
// filters, and the memory view's synchronisation.
#include <QHeaderView>
#include <QMenu>

#include "assembler/listing_text.h"
#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "session/execution_history.h"
#include "session/program_session.h"
#include "workbench/keyboard_table.h"
#include "workbench/label_view.h"
#include "workbench/label_view_model.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/memory_view.h"
#include "workbench/navigation.h"
#include "workbench/side_panels.h"

namespace {

// The number of register rows at the top of the label view.
constexpr int kRegisterRows = 6;

}  // namespace

void TMainWindow::ConnectViews() {
  connect(listingView_, &TListingView::RowClicked, navigator_.get(), &TNavigator::RowClicked);
  connect(listingView_, &TListingView::RowDoubleClicked, this, &TMainWindow::ToggleBreakpointClick);
  connect(listingView_, &TListingView::ContextMenuRequested, this,
          [this](const QPoint& at) { listingPopup_.Menu->popup(at); });
  connect(labelView_, &TLabelView::RowClicked, this, &TMainWindow::ShowLabelMemoryClick);
  connect(labelView_, &TLabelView::RowDoubleClicked, this, &TMainWindow::ShowIndirectMemoryClick);
  connect(labelView_, &TLabelView::ContextMenuRequested, this,
          [this](const QPoint& at) { labelPopup_.Menu->popup(at); });
  connect(memoryView_, &TMemoryView::CellClicked, this, &TMainWindow::MemoryCellClick);
  connect(memoryView_, &TMemoryView::MemoryEdited, this, &TMainWindow::MemoryCellEdited);
}

// ---------------------------------------------------------------- all views

void TMainWindow::RepaintViews() {
  labelView_->RepaintAll();
  listingView_->RepaintAll();
  memoryView_->RefreshMemoryView();
  sidePanels_->RefreshStack();
}

void TMainWindow::ShowExecutionState() {
  const TQRXEmulater& machine = document_->Session().Machine();
  const int32_t destination = machine.Destination;
  const TLabelViewRows& labels = labelRows_->Rows();
  for (int row = 0; row < labelView_->RowCount() && row < labels.Count(); ++row) {
    if (row < kRegisterRows) {
      labelView_->RepaintRow(row);
      continue;
    }
    const TKwValues* record = labels.Ref(row);
    if (record == nullptr) continue;
    const uint16_t value = static_cast<uint16_t>(record->Value);
    if (value == destination || machine.ReadWord(value) == destination) labelView_->RepaintRow(row);
  }
  if (listingView_->RowCount() > 0) navigator_->JumpTo(TJumpKind::ExecutionPosition);
  if (menus_.SyncView->isChecked()) memoryView_->ShowMemoryAt(machine.ReadWord(TQRXEmulater::PC));
  if (destination >= 0) memoryView_->RepaintAddress(static_cast<uint16_t>(destination));
  sidePanels_->RefreshStack();
}

// ---------------------------------------------------------------- listing

void TMainWindow::ToggleBreakpointClick() {
  const int row = listingView_->SelectedRow();
  const TAsmLine* line = LineAtRow(document_->Session().Assembler().Listing(), row);
  if (line == nullptr || !IsCodeRow(*line)) return;
  TBoolList& breakpoints = document_->Session().Breakpoints();
  breakpoints.SetMember(line->LineIndex, !breakpoints.Contains(line->LineIndex));
  listingView_->RepaintRow(row);
}

void TMainWindow::ClearBreakpointsClick() {
  ClearBreakpoints();
  listingView_->RepaintAll();
}

void TMainWindow::ClearBreakpoints() {
  document_->Session().Breakpoints().Clear();
}

void TMainWindow::SetUpNavigation() {
  navigator_->ConnectJumpMenu(listingPopup_);
  connect(navigator_.get(), &TNavigator::RowSelected, this, &TMainWindow::SyncMemoryView);
  keyFilter_ = std::make_unique<TNavigationKeyFilter>(*navigator_, document_->KeyboardTable(),
                                                      listingView_, labelView_);
}

void TMainWindow::SyncMemoryView() {
  if (memoryView_->GridHasFocus() || !menus_.SyncView->isChecked()) return;
  const TAsmLine* line = navigator_->SelectedLine();
  if (line != nullptr && line->FieldCount > 0) memoryView_->ShowMemoryAt(line->Address);
}

// ---------------------------------------------------------------- label view

uint16_t TMainWindow::LabelFilterMask() const {
  uint16_t mask = 0x080;
  if (menus_.SkNotAll->isChecked()) mask |= 0x001;
  if (menus_.SkPointer->isChecked()) mask |= 0x010;
  if (menus_.SkLabel->isChecked()) mask |= 0x004;
  if (menus_.SkVal->isChecked()) mask |= 0x002;
  if (menus_.SkAuto->isChecked()) mask |= 0x100;
  if (menus_.SkNum->isChecked()) mask |= 0x040;
  if (menus_.SkLocal->isChecked()) mask |= 0x020;
  return mask;
}

void TMainWindow::RebuildLabelList() {
  labelRows_->Build(LabelFilterMask());
  labelView_->SetModel(labelRows_.get());
}

void TMainWindow::SetLabelsSelected(bool flag) {
  const TLabelViewRows& rows = labelRows_->Rows();
  for (int row : labelView_->SelectedRows())
    if (row >= 0 && row < rows.Count() && rows.Ref(row) != nullptr) rows.Ref(row)->Selected = flag;
  RebuildLabelList();
}

void TMainWindow::ShowLabelMemoryClick() {
  const int row = labelView_->CurrentRow();
  const TLabelViewRows& rows = labelRows_->Rows();
  if (row < 0 || row >= rows.Count() || rows.Ref(row) == nullptr) return;
  memoryView_->ShowMemoryAt(static_cast<uint16_t>(rows.Ref(row)->Value));
}

void TMainWindow::ShowIndirectMemoryClick() {
  const int row = labelView_->CurrentRow();
  const TLabelViewRows& rows = labelRows_->Rows();
  if (row < 0 || row >= rows.Count() || rows.Ref(row) == nullptr) return;
  const uint16_t value = static_cast<uint16_t>(rows.Ref(row)->Value);
  memoryView_->ShowMemoryAt(document_->Session().Machine().ReadWord(value));
}

void TMainWindow::JumpToDefinitionClick() {
  const int row = labelView_->CurrentRow();
  const TLabelViewRows& rows = labelRows_->Rows();
  if (row < kRegisterRows || row >= rows.Count()) return;
  navigator_->JumpTo(TJumpKind::LabelDefinition, 0, rows[row]);
}

// ---------------------------------------------------------------- memory grid

void TMainWindow::MemoryCellClick(uint16_t address) {
  navigator_->JumpTo(TJumpKind::LineGiven, document_->Session().Machine().LineOf(address));
}

void TMainWindow::MemoryCellEdited(uint16_t address) {
  // The edit becomes part of the run's history: going back past it and
  // forward again writes it once more.
  document_->History().RecordEdit(address, document_->Session().Machine().ReadWord(address));
  labelView_->RepaintAll();
}
