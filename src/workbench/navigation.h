// Navigation in the assembled listing: the kinds of rows the listing's
// "次の…" searches look for, the search itself, and the letter keys that
// start the searches and jumps while the listing has the keyboard focus.
//
// The search works on the listing rows alone, so it is tested without a
// window; TMainWindow::FindRow selects what it finds.
#pragma once

#include <QObject>
#include <QPointer>

#include "assembler/qrx_assembler.h"

class QWidget;
class TBoolList;
class TMainWindow;

// The kinds of rows FindRow looks for.
enum class TRowKind {
  Label,             // a row with a label
  IncludeBoundary,   // where the rows change from one source file to another
  Error,             // a row whose line has an error
  ImportantComment,  // a comment that begins with "*"
  Breakpoint,        // a row whose line carries a breakpoint
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
  explicit TNavigationKeyFilter(TMainWindow& form);
  ~TNavigationKeyFilter() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Runs the listing's action for a letter key (Qt::Key_A ... Qt::Key_Z).
  void ListingKey(int key, bool shift);

  TMainWindow& form_;
  // The views go before the window's other members; a key that comes while
  // they are gone passes.
  QPointer<QWidget> listing_;
  QPointer<QWidget> labels_;
};
