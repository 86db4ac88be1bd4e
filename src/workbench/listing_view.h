// The assembled listing: one row per visible line of the expanded source,
// drawn in six columns under its header bar (address, label, instruction,
// two parameters, comment). Rows are painted only when visible and each row
// is formatted when it is painted, so a listing of 100,000 rows stays fast.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <array>

#include "assembler/qrx_assembler.h"

class QHeaderView;
class TViewHost;

// Everything one row shows, as ListBox2DrawItem draws it; tests ask for it
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

class TListingView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  TListingView(TViewHost& host, QWidget* parent = nullptr);
  ~TListingView() override;

  // The header bar with the six sections ("アドレス" 48, "ラベル" 48, "命令" 48,
  // "ﾊﾟﾗﾒｰﾀ1" 56, "ﾊﾟﾗﾒｰﾀ2" 56, "コメント" 240); the main window lays it out
  // above the view. Resizing a section repaints the view.
  QHeaderView* HeaderBar() const;

  // The rows shown (the assembler's Listing); nullptr shows none. The
  // selection moves to row 0 (or none when there are no rows) and the view
  // scrolls to the top.
  void SetRows(const TListingRows* rows);
  int RowCount() const;

  // The selected row, or -1. SetSelectedRow selects without emitting
  // RowClicked and scrolls only as far as needed to show the row; -1 or a
  // row outside the list leaves no row selected.
  int SelectedRow() const;
  void SetSelectedRow(int row);
  // The first row shown, and how many whole rows fit.
  int TopRow() const;
  void SetTopRow(int row);
  int VisibleRowCount() const;
  // Fixed row height in pixels (the main window sets the font height + 4).
  void SetRowHeight(int height);
  int RowHeight() const;
  // The row's rectangle in the viewport's coordinates.
  QRect RowRect(int row) const;

  // Redraws one row now / the whole view.
  void RepaintRow(int row);
  void RepaintAll();

  // The look of a row in the current state of the program, the breakpoints,
  // the number format and the focus.
  TListingRowLook RowLook(int row, bool selected) const;
  // Draws a row into rect.
  void ListBox2DrawItem(QPainter& painter, int row, const QRect& rect, bool selected);
  // How many rows have been drawn since the view was made (by painting or
  // ListBox2DrawItem); lets tests see that a paint touches only the rows in
  // sight.
  qint64 RowsDrawn() const { return rowsDrawn_; }

 signals:
  // ListBox2Click: the selected row changed by a click or by the keyboard.
  void RowClicked(int row);
  // ListBox2DblClick.
  void RowDoubleClicked(int row);
  // The right mouse button asked for the pop-up menu (PopupMenu2) at pos.
  void ContextMenuRequested(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  struct TPaintKit;

  // The row under a point of the viewport, or -1.
  int RowAt(const QPoint& pos) const;
  // Selects row, shows it and reports it as a click.
  void SelectAsClick(int row);
  // Scrolls as little as needed to show row whole.
  void EnsureVisible(int row);
  void UpdateScrollBars();
  // The left edges and widths of the header sections in the viewport.
  TPaintKit MakePaintKit() const;
  void DrawRow(QPainter& painter, int row, const QRect& rect, bool selected, const TPaintKit& kit);

  TViewHost& host_;
  // Owned here while the main window has not given it a parent.
  QPointer<QHeaderView> header_;
  const TListingRows* rows_ = nullptr;
  int selected_ = -1;
  int rowHeight_ = 16;
  qint64 rowsDrawn_ = 0;
};
