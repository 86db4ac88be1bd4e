// What the views' clicks and pop-up items do, and how the three views follow
// the machine: selecting listing rows, the jump history, breakpoints, the
// label list and its filters, and the memory view's synchronisation.
#include <QHeaderView>
#include <QMenu>

#include "assembler/listing_text.h"
#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "machine/opcode_table.h"
#include "persistence/compare_text.h"
#include "session/execution_history.h"
#include "session/program_session.h"
#include "workbench/label_view.h"
#include "workbench/label_view_model.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/memory_view.h"
#include "workbench/side_panels.h"

namespace {

// The number of register rows at the top of the label view.
constexpr int kRegisterRows = 6;

// Whether the instruction's operand 1 is a jump or call target.
bool IsJumpOrCall(const std::string& mnemonic) {
  for (const TOpcodeInfo& row : OpcodeTable)
    if (row.Jumps && SameText(mnemonic, row.Mnemonic)) return true;
  return false;
}

}  // namespace

void TForm1::ConnectViews() {
  connect(listingView_, &TListingView::RowClicked, this, &TForm1::ListBox2Click);
  connect(listingView_, &TListingView::RowDoubleClicked, this, &TForm1::ListBox2DblClick);
  connect(listingView_, &TListingView::ContextMenuRequested, this,
          [this](const QPoint& at) { listingPopup_.Menu->popup(at); });
  connect(labelView_, &TLabelView::RowClicked, this, &TForm1::ListBox1Click);
  connect(labelView_, &TLabelView::RowDoubleClicked, this, &TForm1::ListBox1DblClick);
  connect(labelView_, &TLabelView::ContextMenuRequested, this,
          [this](const QPoint& at) { labelPopup_.Menu->popup(at); });
  connect(memoryView_, &TMemoryView::CellClicked, this, &TForm1::StringGrid1Click);
  connect(memoryView_, &TMemoryView::MemoryEdited, this, &TForm1::StringGrid1Edited);
}

// ---------------------------------------------------------------- all views

void TForm1::RepaintViews() {
  labelView_->RepaintAll();
  listingView_->RepaintAll();
  memoryView_->RefreshMemoryView();
  sidePanels_->RefreshStack();
}

void TForm1::ShowExecutionState() {
  const TQRXEmulater& machine = session_->Machine();
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
  if (listingView_->RowCount() > 0) JumpTo(TJumpKind::ExecutionPosition);
  if (menus_.SyncView->isChecked()) memoryView_->ShowMemoryAt(machine.ReadWord(TQRXEmulater::PC));
  if (destination >= 0) memoryView_->RepaintAddress(static_cast<uint16_t>(destination));
  sidePanels_->RefreshStack();
}

// ---------------------------------------------------------------- listing

void TForm1::ListBox2Click(int row) {
  if (RunState() == TRunState::Idle && jumpList_.TopNumber() != row) jumpList_.PushNumber(row);
  SyncMemoryView();
}

void TForm1::ListBox2DblClick() {
  const int row = listingView_->SelectedRow();
  const TListingRows& rows = session_->Assembler().Listing();
  if (row < 0 || row >= rows.Count()) return;
  const TAsmLine* line = rows.Ref(row);
  if (line == nullptr || !IsCodeRow(*line)) return;
  TBoolList& breakpoints = session_->Breakpoints();
  breakpoints.SetMember(line->LineIndex, !breakpoints.Contains(line->LineIndex));
  listingView_->RepaintRow(row);
}

void TForm1::Q1Click() {
  ClearBreakpoints();
  listingView_->RepaintAll();
}

void TForm1::ClearBreakpoints() {
  session_->Breakpoints().Clear();
}

void TForm1::SelectListingRow(int row, int context, bool asClick) {
  if (row == listingView_->SelectedRow() || row < 0 || row >= listingView_->RowCount()) return;
  // Scroll when the row reaches the bottom edge or lies less than context
  // rows below the top (rows above the visible part included).
  const QRect rect = listingView_->RowRect(row);
  const int bottomEdge = listingView_->viewport()->height();
  if (rect.top() + rect.height() >= bottomEdge || rect.top() < context * listingView_->RowHeight())
    listingView_->SetTopRow(row < context ? row : row - context);
  listingView_->SetSelectedRow(row);
  if (asClick)
    ListBox2Click(row);
  else
    SyncMemoryView();
}

void TForm1::JumpTo(TJumpKind kind, int line, const std::string& key) {
  const int selected = listingView_->SelectedRow();
  if (selected < 0) return;
  const TQRXAssembler& assembler = session_->Assembler();
  const TQRXEmulater& machine = session_->Machine();
  int target = line;
  switch (kind) {
    case TJumpKind::LineGiven:
      break;
    case TJumpKind::ExecutionPosition:
      target = machine.LineOf(machine.ReadWord(TQRXEmulater::PC));
      break;
    case TJumpKind::CallTarget: {
      const TAsmLine* row = assembler.Listing().Ref(selected);
      if (row == nullptr || !IsJumpOrCall(row->Mnemonic) || row->Words.size() < 2) return;
      target = machine.LineOf(row->Words[1]);
      break;
    }
    case TJumpKind::LabelDefinition:
      target = assembler.Labels().RecordOf(key).DefLine;
      break;
    case TJumpKind::Back: {
      int popped = jumpList_.PopNum();
      if (popped == selected) popped = jumpList_.PopNum();
      SelectListingRow(popped, 3, false);
      return;
    }
  }
  SelectListingRow(assembler.ListingRowOf(target), 3, true);
}

void TForm1::SyncMemoryView() {
  if (memoryView_->GridHasFocus() || !menus_.SyncView->isChecked()) return;
  const int row = listingView_->SelectedRow();
  const TListingRows& rows = session_->Assembler().Listing();
  if (row < 0 || row >= rows.Count()) return;
  const TAsmLine* line = rows.Ref(row);
  if (line != nullptr && line->FieldCount > 0) memoryView_->ShowMemoryAt(line->Address);
}

// ---------------------------------------------------------------- label view

uint16_t TForm1::LabelFilterMask() const {
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

void TForm1::RebuildLabelList() {
  labelRows_->Build(LabelFilterMask());
  labelView_->SetModel(labelRows_.get());
}

void TForm1::SetLabelsSelected(bool flag) {
  const TLabelViewRows& rows = labelRows_->Rows();
  for (int row : labelView_->SelectedRows())
    if (row >= 0 && row < rows.Count() && rows.Ref(row) != nullptr) rows.Ref(row)->Selected = flag;
  RebuildLabelList();
}

void TForm1::ListBox1Click() {
  const int row = labelView_->CurrentRow();
  const TLabelViewRows& rows = labelRows_->Rows();
  if (row < 0 || row >= rows.Count() || rows.Ref(row) == nullptr) return;
  memoryView_->ShowMemoryAt(static_cast<uint16_t>(rows.Ref(row)->Value));
}

void TForm1::ListBox1DblClick() {
  const int row = labelView_->CurrentRow();
  const TLabelViewRows& rows = labelRows_->Rows();
  if (row < 0 || row >= rows.Count() || rows.Ref(row) == nullptr) return;
  const uint16_t value = static_cast<uint16_t>(rows.Ref(row)->Value);
  memoryView_->ShowMemoryAt(session_->Machine().ReadWord(value));
}

void TForm1::J1Click() {
  const int row = labelView_->CurrentRow();
  const TLabelViewRows& rows = labelRows_->Rows();
  if (row < kRegisterRows || row >= rows.Count()) return;
  JumpTo(TJumpKind::LabelDefinition, 0, rows[row]);
}

// ---------------------------------------------------------------- memory grid

void TForm1::StringGrid1Click(uint16_t address) {
  JumpTo(TJumpKind::LineGiven, session_->Machine().LineOf(address));
}

void TForm1::StringGrid1Edited(uint16_t address) {
  // The edit becomes part of the run's history: going back past it and
  // forward again writes it once more.
  History().RecordEdit(address, session_->Machine().ReadWord(address));
  labelView_->RepaintAll();
}
