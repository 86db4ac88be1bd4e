#include "workbench/view_commands.h"

#include <QAction>
#include <QMenu>

#include "assembler/listing_text.h"
#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "monitor_qt/form_mon.h"
#include "monitor_qt/screen_thread.h"
#include "persistence/encoding.h"
#include "session/execution_history.h"
#include "session/load_message.h"
#include "session/program_session.h"
#include "workbench/dialog_commands.h"
#include "workbench/label_view.h"
#include "workbench/label_view_model.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/memory_view.h"
#include "workbench/message_line.h"
#include "workbench/navigation.h"
#include "workbench/side_panels.h"
#include "workbench/tool_buttons.h"
#include "workbench/workbench_document.h"

namespace {

// The number of register rows at the top of the label view.
constexpr int kRegisterRows = 6;

}  // namespace

TViewCommands::TViewCommands(TMainWindow& form) : QObject(&form), form_(form) {
  TListingView* listing = form.ListingView();
  TLabelView* labels = form.LabelView();
  TMemoryView* memory = form.MemoryView();
  connect(listing, &TListingView::RowClicked, &form.Navigator(), &TNavigator::RowClicked);
  connect(listing, &TListingView::RowDoubleClicked, this, &TViewCommands::ToggleBreakpointClick);
  connect(listing, &TListingView::ContextMenuRequested, this,
          [this](const QPoint& at) { form_.ListingPopup().Menu->popup(at); });
  connect(labels, &TLabelView::RowClicked, this, &TViewCommands::ShowLabelMemoryClick);
  connect(labels, &TLabelView::RowDoubleClicked, this, &TViewCommands::ShowIndirectMemoryClick);
  connect(labels, &TLabelView::ContextMenuRequested, this,
          [this](const QPoint& at) { form_.LabelPopup().Menu->popup(at); });
  connect(memory, &TMemoryView::CellClicked, this, &TViewCommands::MemoryCellClick);
  connect(memory, &TMemoryView::MemoryEdited, this, &TViewCommands::MemoryCellEdited);
  connect(&form.Navigator(), &TNavigator::RowSelected, this, &TViewCommands::SyncMemoryView);

  TWorkbenchDocument* document = &form.Document();
  connect(document, &TWorkbenchDocument::ExecutionStateChanged, this,
          &TViewCommands::ShowExecutionState);
  connect(document, &TWorkbenchDocument::ProgramLoaded, this, &TViewCommands::ShowLoadOutcome);
}

// ---------------------------------------------------------------- all views

void TViewCommands::RepaintViews() {
  form_.LabelView()->RepaintAll();
  form_.ListingView()->RepaintAll();
  form_.MemoryView()->RefreshMemoryView();
  form_.SidePanels().RefreshStack();
}

void TViewCommands::ShowExecutionState() {
  const TQRXEmulater& machine = form_.Session().Machine();
  TLabelView& labelView = *form_.LabelView();
  TMemoryView& memoryView = *form_.MemoryView();
  const int32_t destination = machine.Destination;
  const TLabelViewRows& labels = form_.LabelRows().Rows();
  for (int row = 0; row < labelView.RowCount() && row < labels.Count(); ++row) {
    if (row < kRegisterRows) {
      labelView.RepaintRow(row);
      continue;
    }
    const TKwValues* record = labels.Ref(row);
    if (record == nullptr) continue;
    const uint16_t value = static_cast<uint16_t>(record->Value);
    if (value == destination || machine.ReadWord(value) == destination) labelView.RepaintRow(row);
  }
  if (form_.ListingView()->RowCount() > 0) form_.Navigator().JumpTo(TJumpKind::ExecutionPosition);
  if (form_.Menus().SyncView->isChecked())
    memoryView.ShowMemoryAt(machine.ReadWord(TQRXEmulater::PC));
  if (destination >= 0) memoryView.RepaintAddress(static_cast<uint16_t>(destination));
  form_.SidePanels().RefreshStack();
}

void TViewCommands::SyncMemoryView() {
  TMemoryView& memoryView = *form_.MemoryView();
  if (memoryView.GridHasFocus() || !form_.Menus().SyncView->isChecked()) return;
  const TAsmLine* line = form_.Navigator().SelectedLine();
  if (line != nullptr && line->FieldCount > 0) memoryView.ShowMemoryAt(line->Address);
}

void TViewCommands::ShowLoadOutcome(TLoadResult result, const TLoadOutcome& outcome) {
  const std::string message = LoadResultMessage(result, outcome);
  if (IsLoaded(result)) {
    form_.ListingView()->SetRows(&form_.Session().Assembler().Listing());
    RebuildLabelList();
    form_.SidePanels().ShowHints();
    form_.SetCurrentFile(form_.Session().CurrentFile());
    RepaintViews();
    RefreshMonitor();
    form_.ToolBar()->SetButtonsEnabled(true);
    form_.MessageLine()->ShowMessage(message, result != TLoadResult::Clean);
  } else {
    form_.MessageLine()->ShowMessage(message, true);
    if (result == TLoadResult::ReadError)
      form_.Dialogs().ShowErrorBox(QString::fromStdString(Cp932ToUtf8(outcome.ErrorText)));
  }
}

void TViewCommands::RefreshMonitor() {
  if (TFormMon* monitor = form_.Screen().Monitor()) monitor->Refresh();
}

// ---------------------------------------------------------------- listing

void TViewCommands::ToggleBreakpointClick() {
  TListingView& listing = *form_.ListingView();
  const int row = listing.SelectedRow();
  const TAsmLine* line = LineAtRow(form_.Session().Assembler().Listing(), row);
  if (line == nullptr || !IsCodeRow(*line)) return;
  TBoolList& breakpoints = form_.Session().Breakpoints();
  breakpoints.SetMember(line->LineIndex, !breakpoints.Contains(line->LineIndex));
  listing.RepaintRow(row);
}

void TViewCommands::ClearBreakpointsClick() {
  ClearBreakpoints();
  form_.ListingView()->RepaintAll();
}

void TViewCommands::ClearBreakpoints() {
  form_.Session().Breakpoints().Clear();
}

void TViewCommands::ListingMenuPopup() {
  const TListingPopup& p = form_.ListingPopup();
  const TListingView& listing = *form_.ListingView();
  TProgramSession& session = form_.Session();
  const bool hasRows = listing.RowCount() > 0;
  const int row = listing.SelectedRow();
  const TAsmLine* line = hasRows && row >= 0 ? session.Assembler().Listing().Ref(row) : nullptr;
  p.Breakpoint->setText(QString::fromUtf8(kSetBreakpointCaption));
  p.Breakpoint->setEnabled(hasRows);
  if (hasRows && line != nullptr && session.Breakpoints().Contains(line->LineIndex))
    p.Breakpoint->setText(QString::fromUtf8(kClearBreakpointCaption));
  p.ClearBreakpoints->setEnabled(!session.Breakpoints().Empty());
  p.EditSource->setEnabled(!session.MainSource().empty());
  p.EditMacroSource->setEnabled(p.EditSource->isEnabled() && line != nullptr &&
                                line->TagCount() > 3);
  p.Jump->menuAction()->setEnabled(hasRows);
}

// ---------------------------------------------------------------- label view

uint16_t TViewCommands::LabelFilterMask() const {
  const TMainMenus& menus = form_.Menus();
  uint16_t mask = 0x080;
  if (menus.SkNotAll->isChecked()) mask |= 0x001;
  if (menus.SkPointer->isChecked()) mask |= 0x010;
  if (menus.SkLabel->isChecked()) mask |= 0x004;
  if (menus.SkVal->isChecked()) mask |= 0x002;
  if (menus.SkAuto->isChecked()) mask |= 0x100;
  if (menus.SkNum->isChecked()) mask |= 0x040;
  if (menus.SkLocal->isChecked()) mask |= 0x020;
  return mask;
}

void TViewCommands::RebuildLabelList() {
  form_.LabelRows().Build(LabelFilterMask());
  form_.LabelView()->SetModel(&form_.LabelRows());
}

void TViewCommands::SetLabelsSelected(bool flag) {
  const TLabelViewRows& rows = form_.LabelRows().Rows();
  for (int row : form_.LabelView()->SelectedRows())
    if (row >= 0 && row < rows.Count() && rows.Ref(row) != nullptr) rows.Ref(row)->Selected = flag;
  RebuildLabelList();
}

void TViewCommands::ShowLabelMemoryClick() {
  const int row = form_.LabelView()->CurrentRow();
  const TLabelViewRows& rows = form_.LabelRows().Rows();
  if (row < 0 || row >= rows.Count() || rows.Ref(row) == nullptr) return;
  form_.MemoryView()->ShowMemoryAt(static_cast<uint16_t>(rows.Ref(row)->Value));
}

void TViewCommands::ShowIndirectMemoryClick() {
  const int row = form_.LabelView()->CurrentRow();
  const TLabelViewRows& rows = form_.LabelRows().Rows();
  if (row < 0 || row >= rows.Count() || rows.Ref(row) == nullptr) return;
  const uint16_t value = static_cast<uint16_t>(rows.Ref(row)->Value);
  form_.MemoryView()->ShowMemoryAt(form_.Session().Machine().ReadWord(value));
}

void TViewCommands::JumpToDefinitionClick() {
  const int row = form_.LabelView()->CurrentRow();
  const TLabelViewRows& rows = form_.LabelRows().Rows();
  if (row < kRegisterRows || row >= rows.Count()) return;
  form_.Navigator().JumpTo(TJumpKind::LabelDefinition, 0, rows[row]);
}

void TViewCommands::LabelMenuPopup() {
  const TLabelPopup& p = form_.LabelPopup();
  const TLabelView& labels = *form_.LabelView();
  const bool anySelected = !labels.SelectedRows().empty();
  p.SelectLabels->setEnabled(anySelected);
  p.DeselectLabels->setEnabled(anySelected);
  p.JumpToDefinition->setEnabled(labels.RowCount() > kRegisterRows);
  const bool memoryShown = !form_.MemoryPanel()->isHidden();
  p.ShowMemory->setEnabled(memoryShown);
  p.ShowIndirectMemory->setEnabled(memoryShown);
}

// ---------------------------------------------------------------- memory grid

void TViewCommands::MemoryCellClick(uint16_t address) {
  form_.Navigator().JumpTo(TJumpKind::LineGiven, form_.Session().Machine().LineOf(address));
}

void TViewCommands::MemoryCellEdited(uint16_t address) {
  // The edit becomes part of the run's history: going back past it and
  // forward again writes it once more.
  form_.Document().History().RecordEdit(address, form_.Session().Machine().ReadWord(address));
  form_.LabelView()->RepaintAll();
}
