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

void TForm1::ConnectMenus() {
  const TMainMenus& m = menus_;
  connect(m.File, &QMenu::aboutToShow, this, &TForm1::FileMenuPopup);
  connect(m.Load, &QAction::triggered, this, &TForm1::Load1Click);
  connect(m.Reload, &QAction::triggered, this, &TForm1::R3Click);
  connect(m.EditSource, &QAction::triggered, this, &TForm1::E1Click);
  connect(m.SaveState, &QAction::triggered, this, &TForm1::S2Click);
  connect(m.SaveInputLog, &QAction::triggered, this, &TForm1::SaveInputLogClick);
  connect(m.SaveMachineCode, &QAction::triggered, this, &TForm1::B2Click);
  connect(m.Quit, &QAction::triggered, this, &QWidget::close);

  connect(m.Run, &QMenu::aboutToShow, this, &TForm1::RunMenuPopup);
  connect(m.RunItem, &QAction::triggered, this,
          [this] { SpeedButton1Click(menus_.RunItem->data().toInt()); });
  connect(m.TraceItem, &QAction::triggered, this,
          [this] { SpeedButton1Click(menus_.TraceItem->data().toInt()); });
  connect(m.StopItem, &QAction::triggered, this, &TForm1::SpeedButton4Click);
  connect(m.ResetItem, &QAction::triggered, this, &TForm1::SpeedButton5Click);
  connect(m.StepBackItem, &QAction::triggered, this, &TForm1::StepBackClick);
  connect(m.StepBackOverCallItem, &QAction::triggered, this, &TForm1::StepBackOverCallClick);
  connect(m.RunBackItem, &QAction::triggered, this, &TForm1::RunBackClick);
  connect(toolBar_, &TToolBarPanel::BackButtonClicked, this, [this](int button) {
    if (button == TToolBarPanel::StepBack)
      StepBackClick();
    else
      RunBackClick();
  });
  for (QAction* item : m.WaitItems)
    connect(item, &QAction::triggered, this, [this, item] { SetTraceWait(item->data().toInt()); });
  connect(toolBar_, &TToolBarPanel::ButtonClicked, this, [this](int button, int tag) {
    switch (button) {
      case TToolBarPanel::Run:
      case TToolBarPanel::Trace:
        SpeedButton1Click(tag);
        break;
      case TToolBarPanel::Step:
        SpeedButton3Click();
        break;
      case TToolBarPanel::Stop:
        SpeedButton4Click();
        break;
      case TToolBarPanel::Reset:
        SpeedButton5Click();
        break;
      default:
        break;
    }
  });

  connect(m.View, &QMenu::aboutToShow, this, &TForm1::ViewMenuPopup);
  for (QAction* item : m.NumberFormatItems)
    connect(item, &QAction::triggered, this,
            [this, item] { NumberFormatClick(item->data().toInt()); });
  connect(m.MemoryDump, &QAction::triggered, this, &TForm1::MemoryDumpClick);
  connect(m.LabelPanel, &QAction::triggered, this, &TForm1::LabelPanelClick);
  connect(m.Monitor, &QAction::triggered, this, &TForm1::MonitorClick);
  // Qt flips the check mark of a filter; the label view follows it.
  for (QAction* filter :
       {m.SkNotAll, m.SkLocal, m.SkNum, m.SkVal, m.SkLabel, m.SkPointer, m.SkAuto})
    connect(filter, &QAction::triggered, this, [this] { RebuildLabelList(); });
  connect(m.Units, &QAction::triggered, this, &TForm1::U1Click);

  connect(m.HelpItem, &QAction::triggered, this, &TForm1::Help2Click);
  connect(m.EditorSettings, &QAction::triggered, this, &TForm1::E2Click);
  connect(m.FontSettings, &QAction::triggered, this, &TForm1::F2Click);
  connect(m.About, &QAction::triggered, this, &TForm1::About1Click);

  const TListingPopup& lp = listingPopup_;
  connect(lp.Menu, &QMenu::aboutToShow, this, &TForm1::PopupMenu2Popup);
  connect(lp.Breakpoint, &QAction::triggered, this, &TForm1::ListBox2DblClick);
  connect(lp.ClearBreakpoints, &QAction::triggered, this, &TForm1::Q1Click);
  connect(lp.EditSource, &QAction::triggered, this, &TForm1::E3Click);
  connect(lp.EditMacroSource, &QAction::triggered, this, &TForm1::M2Click);

  const TLabelPopup& bp = labelPopup_;
  connect(bp.Menu, &QMenu::aboutToShow, this, &TForm1::PopupMenu1Popup);
  connect(bp.SelectLabels, &QAction::triggered, this, [this] { SetLabelsSelected(true); });
  connect(bp.DeselectLabels, &QAction::triggered, this, [this] { SetLabelsSelected(false); });
  connect(bp.JumpToDefinition, &QAction::triggered, this, &TForm1::J1Click);
  connect(bp.ShowMemory, &QAction::triggered, this, &TForm1::ListBox1Click);
  connect(bp.ShowIndirectMemory, &QAction::triggered, this, &TForm1::ListBox1DblClick);
}

// ---------------------------------------------------------------- opening

void TForm1::FileMenuPopup() {
  menus_.Reload->setEnabled(!CurrentFile().empty());
  menus_.EditSource->setEnabled(!session_->MainSource().empty());
  menus_.SaveInputLog->setEnabled(!CurrentFile().empty());
}

void TForm1::RunMenuPopup() {
  QAction* const items[] = {menus_.RunItem, menus_.TraceItem, menus_.StepItem, menus_.StopItem,
                            menus_.ResetItem};
  for (int i = 0; i < TToolBarPanel::kButtonCount; ++i)
    items[i]->setEnabled(toolBar_->ButtonAt(i)->isEnabled());
}

void TForm1::ViewMenuPopup() {
  menus_.MemoryDump->setChecked(!memoryPanel_->isHidden());
  menus_.LabelPanel->setChecked(!labelPanel_->isHidden());
  menus_.Monitor->setChecked(screen_->MonitorShown());
  menus_.Units->setEnabled(session_->Assembler().Units().Count() > 1);
}

void TForm1::PopupMenu2Popup() {
  const TListingPopup& p = listingPopup_;
  const bool hasRows = listingView_->RowCount() > 0;
  const int row = listingView_->SelectedRow();
  const TAsmLine* line = hasRows && row >= 0 ? session_->Assembler().Listing().Ref(row) : nullptr;
  p.Breakpoint->setText(QString::fromUtf8(kSetBreakpointCaption));
  p.Breakpoint->setEnabled(hasRows);
  if (hasRows && line != nullptr && session_->Breakpoints().Contains(line->LineIndex))
    p.Breakpoint->setText(QString::fromUtf8(kClearBreakpointCaption));
  p.ClearBreakpoints->setEnabled(!session_->Breakpoints().Empty());
  p.EditSource->setEnabled(!session_->MainSource().empty());
  p.EditMacroSource->setEnabled(p.EditSource->isEnabled() && line != nullptr &&
                                line->TagCount() > 3);
  p.Jump->menuAction()->setEnabled(hasRows);
}

void TForm1::PopupMenu1Popup() {
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

void TForm1::NumberFormatClick(int tag) {
  const auto format = static_cast<TNumberFormat>(tag);
  if (format == numberFormat_) return;
  numberFormat_ = format;
  menus_.NumberFormatItems[static_cast<size_t>(tag)]->setChecked(true);
  RepaintViews();
}

void TForm1::MemoryDumpClick() {
  const bool show = memoryPanel_->isHidden();
  if (!show) RememberPanelSizes();
  memoryPanel_->setHidden(!show);
  if (show && panelSizesApplied_) {
    const int down = memorySplitter_->height();
    memorySplitter_->setSizes({std::max(1, down - memoryPanelHeight_), memoryPanelHeight_});
  }
  menus_.MemoryDump->setChecked(show);
}

void TForm1::LabelPanelClick() {
  const bool show = labelPanel_->isHidden();
  if (!show) RememberPanelSizes();
  labelPanel_->setHidden(!show);
  if (show && panelSizesApplied_) {
    const int across = labelSplitter_->width();
    labelSplitter_->setSizes({labelPanelWidth_, std::max(1, across - labelPanelWidth_)});
  }
  menus_.LabelPanel->setChecked(show);
}

void TForm1::MonitorClick() {
  screen_->SetMonitorShown(!screen_->MonitorShown());
  menus_.Monitor->setChecked(screen_->MonitorShown());
}
