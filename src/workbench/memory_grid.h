// The memory grid widget: a table of 16 words per row under header bars that
// stand for the fixed row and column, one current cell drawn in the highlight
// colours, data cells on the views' background (white while the grid or its
// cell editor has the focus), and the arrow keys wrapping from one row's end
// to the next row's start. It reports what the user does through signals.
#pragma once

#include <QStyledItemDelegate>
#include <QTableView>
#include <cstdint>

class TMemoryGrid;

// Paints the data cells (the headers paint themselves) and gives them a line
// editor whose every user edit is reported with the cell's address.
class TMemoryCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit TMemoryCellDelegate(TMemoryGrid& grid);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;

 private:
  TMemoryGrid& grid_;
};

class TMemoryGrid : public QTableView {
  Q_OBJECT

 public:
  explicit TMemoryGrid(QWidget* parent = nullptr);

  // Whether the grid or its cell editor has the keyboard focus.
  bool HasFocusWithin() const;
  // The default column width and row height; the fixed column is as wide as
  // a data column and the fixed row as high as a data row.
  void SetCellSize(int width, int height);
  // Background of the data cells now.
  QColor CellBackground() const;

 signals:
  // The current cell changed, for whatever reason.
  void CurrentCellChanged(uint16_t address);
  // The grid's click: a mouse click on a cell, or the keyboard moving the
  // current cell, while the grid has the focus.
  void CellClicked(uint16_t address);
  // The user changed the text of the cell editor of address.
  void CellTextEdited(uint16_t address, const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  // Left in the first column and Right in the last column move to the
  // neighbouring row; returns whether the key was taken.
  bool WrapKey(const QKeyEvent& event);
  void UpdateFocusLook();

  bool mouseDown_ = false;
};
