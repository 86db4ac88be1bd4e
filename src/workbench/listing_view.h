// The assembled listing: one row per visible line of the expanded source,
// drawn in six columns under its header bar (address, label, instruction,
// two parameters, comment). Rows are painted only when visible and each row
// is formatted when it is painted, so a listing of 100,000 rows stays fast.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <array>

#include "assembler/qrx_assembler.h"
#include "workbench/owner_drawn_list.h"

class TViewHost;

// Everything one row shows, as DrawListingRow draws it; tests ask for it
// instead of reading pixels.
struct TListingRowLook {
  enum Column { Address, Label, Instruction, Param1, Param2, Comment, ColumnCount };
  std::array<QString, ColumnCount> Texts;
  QColor AddressBackground, AddressText;  // yellow/black on a breakpoint row with fields
  QColor RowBackground, RowText;          // from the label section to the row's end
  QColor CommentText;                     // green, highlight text, or red on an error row
  bool CommentBold = false;               // an important comment ("*" first)
  bool IsCodeRow = false;
  bool IsErrorRow = false;
  // Where the comment text starts: the comment section, the instruction
  // section or the label section (rows without fields).
  Column CommentColumn = Comment;
  // DW and USES rows draw the operand list from parameter 1 to the row's end.
  bool OperandListSpansRow = false;
};

class TListingView : public TOwnerDrawnList {
  Q_OBJECT

 public:
  TListingView(TViewHost& host, QWidget* parent = nullptr);
  ~TListingView() override;

  // The header bar (HeaderBar) has the six sections "アドレス" 48, "ラベル" 48,
  // "命令" 48, "ﾊﾟﾗﾒｰﾀ1" 56, "ﾊﾟﾗﾒｰﾀ2" 56, "コメント" 240; the main window
  // lays it out above the view. Resizing a section repaints the view.

  // The rows shown (the assembler's Listing); nullptr shows none. The
  // selection moves to row 0 (or none when there are no rows) and the view
  // scrolls to the top.
  void SetRows(const TListingRows* rows);
  int RowCount() const override;

  // The selected row, or -1. SetSelectedRow selects without emitting
  // RowClicked and scrolls only as far as needed to show the row; -1 or a
  // row outside the list leaves no row selected.
  int SelectedRow() const;
  void SetSelectedRow(int row);

  // Redraws one row now.
  void RepaintRow(int row);

  // The look of a row in the current state of the program, the breakpoints,
  // the number format and the focus.
  TListingRowLook RowLook(int row, bool selected) const;
  // Draws a row into rect.
  void DrawListingRow(QPainter& painter, int row, const QRect& rect, bool selected);
  // How many rows have been drawn since the view was made (by painting or
  // DrawListingRow); lets tests see that a paint touches only the rows in
  // sight.
  qint64 RowsDrawn() const { return rowsDrawn_; }

  // Signals (TOwnerDrawnList): RowClicked is ListingRowClick, the selected row
  // changed by a click or by the keyboard; RowDoubleClicked is
  // ToggleBreakpointClick; ContextMenuRequested asks for the listing pop-up.

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  int CurrentListRow() const override { return SelectedRow(); }
  void MoveByKey(int target, int current, Qt::KeyboardModifiers modifiers) override;

 private:
  struct TPaintKit;

  // Selects row, shows it and reports it as a click.
  void SelectAsClick(int row);
  TPaintKit MakePaintKit() const;
  void DrawRow(QPainter& painter, int row, const QRect& rect, bool selected, const TPaintKit& kit);

  TViewHost& host_;
  const TListingRows* rows_ = nullptr;
  int selected_ = -1;
  qint64 rowsDrawn_ = 0;
};
