// What the listing view and the label view share as owner-drawn lists: a
// header bar whose sections give the columns, a fixed row height, vertical
// scrolling by whole rows and horizontal scrolling that moves the header bar
// along, the keys that move the current row, the focus repaint, and the
// paint loop that draws only the rows in sight. Each view keeps its own rows,
// its own selection and its own row drawing.
#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <functional>
#include <vector>

#include "workbench/view_support.h"

class QHeaderView;
class QPainter;
class QRegion;

class TOwnerDrawnList : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // The header bar is made from sections; the view owns it until the main
  // window gives it a parent in its layout.
  explicit TOwnerDrawnList(const std::vector<THeaderSection>& sections, QWidget* parent = nullptr);
  ~TOwnerDrawnList() override;

  QHeaderView* HeaderBar() const;

  virtual int RowCount() const = 0;

  // The first row shown, and how many whole rows fit.
  int TopRow() const;
  void SetTopRow(int row);
  int VisibleRowCount() const;
  // Fixed row height in pixels (the main window sets the font height + 4).
  void SetRowHeight(int height);
  int RowHeight() const;
  // The row's rectangle in the viewport's coordinates.
  QRect RowRect(int row) const;

  // Redraws the whole view at the next paint (the rows may have changed in
  // number).
  void RepaintAll();

 signals:
  // The current (selected) row changed by a click or by the keyboard.
  void RowClicked(int row);
  void RowDoubleClicked(int row);
  // The right mouse button or the menu key asked for the view's pop-up menu.
  void ContextMenuRequested(const QPoint& globalPos);

 protected:
  // The row the keys move from and the pop-up menu key opens at, or -1.
  virtual int CurrentListRow() const = 0;
  // A navigation key asks for target (inside the rows) from current.
  virtual void MoveByKey(int target, int current, Qt::KeyboardModifiers modifiers) = 0;

  // The row under a point of the viewport, or -1.
  int RowAt(const QPoint& pos) const;
  // Scrolls as little as needed to show row whole.
  void EnsureVisible(int row);
  void UpdateScrollBars();
  // Rows, selection or font changed: back to the first row.
  void ScrollToTop();
  // The left edges and widths of the header sections in the viewport.
  std::vector<TSectionSpan> Spans() const;
  // Calls draw for every row in sight that area touches, top to bottom,
  // with whether area covers the whole row; then fills the viewport below
  // the last row with the list background.
  using TRowDrawer = std::function<void(int row, const QRect& rect, bool whole)>;
  void PaintRows(QPainter& painter, const QRegion& area, const TRowDrawer& draw);

  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QPointer<QHeaderView> header_;
  std::vector<int> defaultWidths_;
  int rowHeight_ = 16;
};
