// Navigation in the assembled listing: the kinds of rows the listing's
// "次の…" searches look for, the search itself, the navigator that selects
// rows, jumps and keeps the jump history, and the letter keys that start the
// searches and jumps while the listing has the keyboard focus.
//
// The search works on the listing rows alone, so it is tested without a
// window; TNavigator::FindRow selects what it finds.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

#include "assembler/qrx_assembler.h"
#include "workbench/jump_list.h"

class QWidget;
class TBoolList;
class TKeyboardTable;
class TListingView;
class TProgramSession;
struct TListingPopup;

// The kinds of rows FindRow looks for.
enum class TRowKind {
  Label,             // a row with a label
  IncludeBoundary,   // where the rows change from one source file to another
  Error,             // a row whose line has an error
  ImportantComment,  // a comment that begins with "*"
  Breakpoint,        // a row whose line carries a breakpoint
};

// The targets of JumpTo.
enum class TJumpKind {
  LineGiven,          // the given listing line index
  ExecutionPosition,  // the line of the instruction at the program counter
  CallTarget,         // the target of the JP, JPT, JPF or CALL on the selected row
  Back,               // the previous entry of the jump history
  LabelDefinition,    // the defining line of the label with the given key
};

// The line of listing row `row`; nullptr for a row outside the listing or
// a row without a line.
const TAsmLine* LineAtRow(const TListingRows& rows, int row);

// Whether listing row `row` is of the kind. An include boundary is a row
// other than row 0 whose file index is not 0 and differs from the row
// above's; a row without a source tag (an include marker) counts as file -1.
// A row outside the listing matches nothing.
bool RowMatches(const TListingRows& rows, const TBoolList& breakpoints, int row, TRowKind kind);

// The first row of the kind after `from` (down to the last row), or before
// it (up to row 0) when backwards; -1 when there is none. The search does
// not wrap around.
int FindMatchingRow(const TListingRows& rows, const TBoolList& breakpoints, int from, TRowKind kind,
                    bool backwards);

// Moves the listing's selection: selecting a row with context rows above
// it, the jumps and the row searches, and the jump history they keep. A row
// selected as a click while no program runs goes onto the jump history
// (unless it is on top already).
class TNavigator : public QObject {
  Q_OBJECT

 public:
  // isIdle tells whether no program runs.
  TNavigator(TProgramSession& session, TListingView& listing, std::function<bool()> isIdle,
             QObject* parent = nullptr);

  TJumpList& JumpList() { return jumpList_; }
  // The line of the selected listing row; nullptr without one.
  const TAsmLine* SelectedLine() const;

  // A listing row was clicked: it goes onto the jump history when idle,
  // then RowSelected.
  void RowClicked(int row);
  // Selects a listing row with context rows above it: the view scrolls when
  // the row reaches the bottom edge or lies less than context rows below the
  // top. Nothing for the selected row or a row outside the listing. asClick
  // selects it as a click (RowClicked), otherwise only RowSelected follows.
  void SelectListingRow(int row, int context, bool asClick);
  // Nothing without a selected row.
  void JumpTo(TJumpKind kind, int line = 0, const std::string& key = {});
  // Whether listing row `row` is of the kind.
  bool RowMatches(int row, TRowKind kind) const;
  // Selects the next row of the kind below the selected row (the previous
  // one above it when backwards), as a click; nothing without a selected
  // row or a match.
  void FindRow(TRowKind kind, bool backwards);
  // The listing pop-up's "選択行ジャンプ(&S)" submenu; Shift held when a
  // search item is chosen searches backwards.
  void ConnectJumpMenu(const TListingPopup& popup);

 signals:
  // A row was selected by a click or a jump; the memory view follows it.
  void RowSelected();

 private:
  TProgramSession& session_;
  TListingView& listing_;
  std::function<bool()> isIdle_;
  TJumpList jumpList_;
};

// The letter keys of the listing and the label view, watched on the whole
// application so that they are seen before any control handles them.
//
// A letter (A to Z) pressed in the listing view is consumed; B, E, H, I and L
// search for the next breakpoint, error, important comment, include boundary
// and label (the previous one with Shift), J jumps to the JP/CALL target, P
// to the execution position and Z back along the jump history; the other
// letters do nothing. In the label view every letter is consumed and does
// nothing (no type-ahead). Anywhere else letters pass untouched. A consumed
// key still reaches the keyboard table, so a running program sees it.
class TNavigationKeyFilter : public QObject {
  Q_OBJECT

 public:
  TNavigationKeyFilter(TNavigator& navigator, TKeyboardTable& keyboard, QWidget* listing,
                       QWidget* labels);
  ~TNavigationKeyFilter() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Runs the listing's action for a letter key (Qt::Key_A ... Qt::Key_Z).
  void ListingKey(int key, bool shift);

  TNavigator& navigator_;
  TKeyboardTable& keyboard_;
  // The views go before the window's other members; a key that comes while
  // they are gone passes.
  QPointer<QWidget> listing_;
  QPointer<QWidget> labels_;
};
