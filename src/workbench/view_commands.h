// How the main window's views follow the program and what their clicks and
// pop-up items do: after a load and after instructions ran, breakpoints,
// the label list with its filters, and the memory view's synchronisation
// with the listing.
#pragma once

#include <QObject>
#include <cstdint>

#include "session/load_result.h"

class TMainWindow;
struct TLoadOutcome;

class TViewCommands : public QObject {
  Q_OBJECT

 public:
  // Connects the label, listing and memory views' clicks and pop-up
  // requests; the window's views, pop-ups and navigator exist by then.
  explicit TViewCommands(TMainWindow& form);

  // Repaints the label view, the listing view, the memory view (with its
  // status bar) and the stack.
  void RepaintViews();
  // After instructions ran: repaints the register rows and the label rows
  // that show the machine's Destination, selects the row at the program
  // counter, follows it in the memory view when synchronised, and repaints
  // the Destination cell and the stack.
  void ShowExecutionState();
  // The memory view shows the address of the selected listing row, unless
  // the grid has the focus or synchronising is off.
  void SyncMemoryView();
  // What a load shows: the listing, labels, hints and caption of a loaded
  // program with the outcome in the message line, or the failure.
  void ShowLoadOutcome(TLoadResult result, const TLoadOutcome& outcome);
  // Redraws the monitor window, when there is one.
  void RefreshMonitor();

  // Rebuilds the label view's rows with the filter mask of the menu.
  void RebuildLabelList();
  // The filter mask: 0x080 always, plus the bits of the checked filters.
  uint16_t LabelFilterMask() const;
  // Sets Selected of every label whose row is selected in the label view.
  void SetLabelsSelected(bool flag);
  void ClearBreakpoints();

 public slots:
  // ---- listing
  void ToggleBreakpointClick();
  void ClearBreakpointsClick();  // "全ブレークポイントを解除(&Q)"
  void ListingMenuPopup();       // the listing's pop-up opens
  // ---- label view
  void ShowLabelMemoryClick();
  void ShowIndirectMemoryClick();
  void JumpToDefinitionClick();  // pop-up "定義位置にジャンプ(&J)"
  void LabelMenuPopup();         // the label view's pop-up opens
  // ---- memory grid
  void MemoryCellClick(uint16_t address);
  void MemoryCellEdited(uint16_t address);

 private:
  TMainWindow& form_;
};
