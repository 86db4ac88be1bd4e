// The main window's menu handlers and the enabling rules applied when a menu
// opens.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>

#include "assembler/listing_text.h"
#include "assembler/qrx_assembler.h"
#include "monitor_qt/screen_thread.h"
#include "session/program_session.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/memory_view.h"
#include "workbench/tool_buttons.h"

void TMainWindow::ConnectMenus() {
  const TMainMenus& m = menus_;
  connect(m.File, &QMenu::aboutToShow, this, &TMainWindow::FileMenuPopup);
  TFileCommands* files = fileCommands_;
  connect(m.Load, &QAction::triggered, files, &TFileCommands::LoadClick);
  connect(m.Reload, &QAction::triggered, files, &TFileCommands::ReloadClick);
  connect(m.EditSource, &QAction::triggered, this, &TMainWindow::EditSourceClick);
  connect(m.SaveState, &QAction::triggered, files, &TFileCommands::SaveStateClick);
  connect(m.SaveInputLog, &QAction::triggered, files, &TFileCommands::SaveInputLogClick);
  connect(m.SaveMachineCode, &QAction::triggered, files, &TFileCommands::SaveMachineCodeClick);
  connect(m.Quit, &QAction::triggered, this, &QWidget::close);

  connect(m.Run, &QMenu::aboutToShow, this, &TMainWindow::RunMenuPopup);
  connect(m.RunItem, &QAction::triggered, this,
          [this] { RunOrTraceClick(menus_.RunItem->data().toInt()); });
  connect(m.TraceItem, &QAction::triggered, this,
          [this] { RunOrTraceClick(menus_.TraceItem->data().toInt()); });
  connect(m.StopItem, &QAction::triggered, this, &TMainWindow::StopClick);
  connect(m.ResetItem, &QAction::triggered, this, &TMainWindow::ResetClick);
  connect(m.StepBackItem, &QAction::triggered, this, &TMainWindow::StepBackClick);
  connect(m.StepBackOverCallItem, &QAction::triggered, this, &TMainWindow::StepBackOverCallClick);
  connect(m.RunBackItem, &QAction::triggered, this, &TMainWindow::RunBackClick);
  connect(toolBar_, &TToolBarPanel::BackButtonClicked, this, [this](int button) {
    if (button == TToolBarPanel::StepBack)
      StepBackClick();
    else
      RunBackClick();
  });
  for (QAction* item : m.WaitItems)
    connect(item, &QAction::triggered, this,
            [this, item] { document_->SetTraceWait(item->data().toInt()); });
  connect(toolBar_, &TToolBarPanel::ButtonClicked, this, [this](int button, int tag) {
    switch (button) {
      case TToolBarPanel::Run:
      case TToolBarPanel::Trace:
        RunOrTraceClick(tag);
        break;
      case TToolBarPanel::Step:
        StepClick();
        break;
      case TToolBarPanel::Stop:
        StopClick();
        break;
      case TToolBarPanel::Reset:
        ResetClick();
        break;
      default:
        break;
    }
  });

  connect(m.View, &QMenu::aboutToShow, this, &TMainWindow::ViewMenuPopup);
  for (QAction* item : m.NumberFormatItems)
    connect(item, &QAction::triggered, this,
            [this, item] { NumberFormatClick(item->data().toInt()); });
  connect(m.MemoryDump, &QAction::triggered, this, &TMainWindow::MemoryDumpClick);
  connect(m.LabelPanel, &QAction::triggered, this, &TMainWindow::LabelPanelClick);
  connect(m.Monitor, &QAction::triggered, this, &TMainWindow::MonitorClick);
  // Qt flips the check mark of a filter; the label view follows it.
  for (QAction* filter :
       {m.SkNotAll, m.SkLocal, m.SkNum, m.SkVal, m.SkLabel, m.SkPointer, m.SkAuto})
    connect(filter, &QAction::triggered, this, [this] { RebuildLabelList(); });
  connect(m.Units, &QAction::triggered, this, &TMainWindow::UnitsClick);

  connect(m.HelpItem, &QAction::triggered, this, &TMainWindow::HelpClick);
  connect(m.EditorSettings, &QAction::triggered, this, &TMainWindow::EditorSettingsClick);
  connect(m.FontSettings, &QAction::triggered, this, &TMainWindow::FontSettingsClick);
  connect(m.About, &QAction::triggered, this, &TMainWindow::AboutClick);

  const TListingPopup& lp = listingPopup_;
  connect(lp.Menu, &QMenu::aboutToShow, this, &TMainWindow::ListingMenuPopup);
  connect(lp.Breakpoint, &QAction::triggered, this, &TMainWindow::ToggleBreakpointClick);
  connect(lp.ClearBreakpoints, &QAction::triggered, this, &TMainWindow::ClearBreakpointsClick);
  connect(lp.EditSource, &QAction::triggered, this, &TMainWindow::EditRowSourceClick);
  connect(lp.EditMacroSource, &QAction::triggered, this, &TMainWindow::EditRowMacroSourceClick);

  const TLabelPopup& bp = labelPopup_;
  connect(bp.Menu, &QMenu::aboutToShow, this, &TMainWindow::LabelMenuPopup);
  connect(bp.SelectLabels, &QAction::triggered, this, [this] { SetLabelsSelected(true); });
  connect(bp.DeselectLabels, &QAction::triggered, this, [this] { SetLabelsSelected(false); });
  connect(bp.JumpToDefinition, &QAction::triggered, this, &TMainWindow::JumpToDefinitionClick);
  connect(bp.ShowMemory, &QAction::triggered, this, &TMainWindow::ShowLabelMemoryClick);
  connect(bp.ShowIndirectMemory, &QAction::triggered, this, &TMainWindow::ShowIndirectMemoryClick);
}

// ---------------------------------------------------------------- opening

void TMainWindow::FileMenuPopup() {
  menus_.Reload->setEnabled(!CurrentFile().empty());
  menus_.EditSource->setEnabled(!document_->Session().MainSource().empty());
  menus_.SaveInputLog->setEnabled(!CurrentFile().empty());
}

void TMainWindow::RunMenuPopup() {
  QAction* const items[] = {menus_.RunItem, menus_.TraceItem, menus_.StepItem, menus_.StopItem,
                            menus_.ResetItem};
  for (int i = 0; i < TToolBarPanel::kButtonCount; ++i)
    items[i]->setEnabled(toolBar_->ButtonAt(i)->isEnabled());
}

void TMainWindow::ViewMenuPopup() {
  menus_.MemoryDump->setChecked(!memoryPanel_->isHidden());
  menus_.LabelPanel->setChecked(!labelPanel_->isHidden());
  menus_.Monitor->setChecked(screen_->MonitorShown());
  menus_.Units->setEnabled(document_->Session().Assembler().Units().Count() > 1);
}

void TMainWindow::ListingMenuPopup() {
  const TListingPopup& p = listingPopup_;
  const bool hasRows = listingView_->RowCount() > 0;
  const int row = listingView_->SelectedRow();
  const TAsmLine* line =
      hasRows && row >= 0 ? document_->Session().Assembler().Listing().Ref(row) : nullptr;
  p.Breakpoint->setText(QString::fromUtf8(kSetBreakpointCaption));
  p.Breakpoint->setEnabled(hasRows);
  if (hasRows && line != nullptr && document_->Session().Breakpoints().Contains(line->LineIndex))
    p.Breakpoint->setText(QString::fromUtf8(kClearBreakpointCaption));
  p.ClearBreakpoints->setEnabled(!document_->Session().Breakpoints().Empty());
  p.EditSource->setEnabled(!document_->Session().MainSource().empty());
  p.EditMacroSource->setEnabled(p.EditSource->isEnabled() && line != nullptr &&
                                line->TagCount() > 3);
  p.Jump->menuAction()->setEnabled(hasRows);
}

void TMainWindow::LabelMenuPopup() {
  const TLabelPopup& p = labelPopup_;
  const bool anySelected = !labelView_->SelectedRows().empty();
  p.SelectLabels->setEnabled(anySelected);
  p.DeselectLabels->setEnabled(anySelected);
  p.JumpToDefinition->setEnabled(labelView_->RowCount() > 6);
  const bool memoryShown = !memoryPanel_->isHidden();
  p.ShowMemory->setEnabled(memoryShown);
  p.ShowIndirectMemory->setEnabled(memoryShown);
}

// ---------------------------------------------------------------- "表示(&V)"

void TMainWindow::NumberFormatClick(int tag) {
  const auto format = static_cast<TNumberFormat>(tag);
  if (format == numberFormat_) return;
  numberFormat_ = format;
  menus_.NumberFormatItems[static_cast<size_t>(tag)]->setChecked(true);
  RepaintViews();
}

void TMainWindow::MemoryDumpClick() {
  const bool show = memoryPanel_->isHidden();
  if (!show) RememberPanelSizes();
  memoryPanel_->setHidden(!show);
  if (show && panelSizesApplied_) {
    const int down = memorySplitter_->height();
    memorySplitter_->setSizes({std::max(1, down - memoryPanelHeight_), memoryPanelHeight_});
  }
  menus_.MemoryDump->setChecked(show);
}

void TMainWindow::LabelPanelClick() {
  const bool show = labelPanel_->isHidden();
  if (!show) RememberPanelSizes();
  labelPanel_->setHidden(!show);
  if (show && panelSizesApplied_) {
    const int across = labelSplitter_->width();
    labelSplitter_->setSizes({labelPanelWidth_, std::max(1, across - labelPanelWidth_)});
  }
  menus_.LabelPanel->setChecked(show);
}

void TMainWindow::MonitorClick() {
  screen_->SetMonitorShown(!screen_->MonitorShown());
  menus_.Monitor->setChecked(screen_->MonitorShown());
}
