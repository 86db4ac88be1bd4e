// The main window's menus: which command each item calls, and the
// window's own items (the enabling of "ファイル(&F)" and "表示(&V)" when they
// open, the number format, the panels and the monitor).
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>

#include "assembler/qrx_assembler.h"
#include "monitor_qt/screen_thread.h"
#include "session/program_session.h"
#include "workbench/dialog_commands.h"
#include "workbench/editor_commands.h"
#include "workbench/file_commands.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/memory_view.h"
#include "workbench/run_commands.h"
#include "workbench/tool_buttons.h"
#include "workbench/view_commands.h"

void TMainWindow::ConnectMenus() {
  const TMainMenus& m = menus_;
  connect(m.File, &QMenu::aboutToShow, this, &TMainWindow::FileMenuPopup);
  TFileCommands* files = fileCommands_;
  connect(m.Load, &QAction::triggered, files, &TFileCommands::LoadClick);
  connect(m.Reload, &QAction::triggered, files, &TFileCommands::ReloadClick);
  connect(m.EditSource, &QAction::triggered, editor_, &TEditorCommands::EditSourceClick);
  connect(m.SaveState, &QAction::triggered, files, &TFileCommands::SaveStateClick);
  connect(m.SaveInputLog, &QAction::triggered, files, &TFileCommands::SaveInputLogClick);
  connect(m.SaveMachineCode, &QAction::triggered, files, &TFileCommands::SaveMachineCodeClick);
  connect(m.Quit, &QAction::triggered, this, &QWidget::close);

  TRunCommands* run = runCommands_;
  connect(m.Run, &QMenu::aboutToShow, run, &TRunCommands::RunMenuPopup);
  connect(m.RunItem, &QAction::triggered, run,
          [run, item = m.RunItem] { run->RunOrTraceClick(item->data().toInt()); });
  connect(m.TraceItem, &QAction::triggered, run,
          [run, item = m.TraceItem] { run->RunOrTraceClick(item->data().toInt()); });
  connect(m.StopItem, &QAction::triggered, run, &TRunCommands::StopClick);
  connect(m.ResetItem, &QAction::triggered, run, &TRunCommands::ResetClick);
  connect(m.StepBackItem, &QAction::triggered, run, &TRunCommands::StepBackClick);
  connect(m.StepBackOverCallItem, &QAction::triggered, run, &TRunCommands::StepBackOverCallClick);
  connect(m.RunBackItem, &QAction::triggered, run, &TRunCommands::RunBackClick);
  connect(toolBar_, &TToolBarPanel::BackButtonClicked, run, [run](int button) {
    if (button == TToolBarPanel::StepBack)
      run->StepBackClick();
    else
      run->RunBackClick();
  });
  for (QAction* item : m.WaitItems)
    connect(item, &QAction::triggered, this,
            [this, item] { document_->SetTraceWait(item->data().toInt()); });
  connect(toolBar_, &TToolBarPanel::ButtonClicked, run, [run](int button, int tag) {
    switch (button) {
      case TToolBarPanel::Run:
      case TToolBarPanel::Trace:
        run->RunOrTraceClick(tag);
        break;
      case TToolBarPanel::Step:
        run->StepClick();
        break;
      case TToolBarPanel::Stop:
        run->StopClick();
        break;
      case TToolBarPanel::Reset:
        run->ResetClick();
        break;
      default:
        break;
    }
  });

  TViewCommands* views = viewCommands_;
  TDialogCommands* dialogs = dialogs_;
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
    connect(filter, &QAction::triggered, views, [views] { views->RebuildLabelList(); });
  connect(m.Units, &QAction::triggered, dialogs, &TDialogCommands::UnitsClick);

  connect(m.HelpItem, &QAction::triggered, dialogs, &TDialogCommands::HelpClick);
  connect(m.EditorSettings, &QAction::triggered, editor_, &TEditorCommands::EditorSettingsClick);
  connect(m.FontSettings, &QAction::triggered, dialogs, &TDialogCommands::FontSettingsClick);
  connect(m.About, &QAction::triggered, dialogs, &TDialogCommands::AboutClick);

  const TListingPopup& lp = listingPopup_;
  connect(lp.Menu, &QMenu::aboutToShow, views, &TViewCommands::ListingMenuPopup);
  connect(lp.Breakpoint, &QAction::triggered, views, &TViewCommands::ToggleBreakpointClick);
  connect(lp.ClearBreakpoints, &QAction::triggered, views, &TViewCommands::ClearBreakpointsClick);
  connect(lp.EditSource, &QAction::triggered, editor_, &TEditorCommands::EditRowSourceClick);
  connect(lp.EditMacroSource, &QAction::triggered, editor_,
          &TEditorCommands::EditRowMacroSourceClick);

  const TLabelPopup& bp = labelPopup_;
  connect(bp.Menu, &QMenu::aboutToShow, views, &TViewCommands::LabelMenuPopup);
  connect(bp.SelectLabels, &QAction::triggered, views, [views] { views->SetLabelsSelected(true); });
  connect(bp.DeselectLabels, &QAction::triggered, views,
          [views] { views->SetLabelsSelected(false); });
  connect(bp.JumpToDefinition, &QAction::triggered, views, &TViewCommands::JumpToDefinitionClick);
  connect(bp.ShowMemory, &QAction::triggered, views, &TViewCommands::ShowLabelMemoryClick);
  connect(bp.ShowIndirectMemory, &QAction::triggered, views,
          &TViewCommands::ShowIndirectMemoryClick);
}

// ---------------------------------------------------------------- opening

void TMainWindow::FileMenuPopup() {
  menus_.Reload->setEnabled(!CurrentFile().empty());
  menus_.EditSource->setEnabled(!document_->Session().MainSource().empty());
  menus_.SaveInputLog->setEnabled(!CurrentFile().empty());
}

void TMainWindow::ViewMenuPopup() {
  menus_.MemoryDump->setChecked(!memoryPanel_->isHidden());
  menus_.LabelPanel->setChecked(!labelPanel_->isHidden());
  menus_.Monitor->setChecked(screen_->MonitorShown());
  menus_.Units->setEnabled(document_->Session().Assembler().Units().Count() > 1);
}

// ---------------------------------------------------------------- "表示(&V)"

void TMainWindow::NumberFormatClick(int tag) {
  const auto format = static_cast<TNumberFormat>(tag);
  if (format == numberFormat_) return;
  numberFormat_ = format;
  menus_.NumberFormatItems[static_cast<size_t>(tag)]->setChecked(true);
  viewCommands_->RepaintViews();
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
