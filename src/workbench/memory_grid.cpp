#include "workbench/memory_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include "workbench/memory_grid_model.h"
#include "workbench/view_host.h"

// ---------------------------------------------------------------- delegate

TMemoryCellDelegate::TMemoryCellDelegate(TMemoryGrid& grid)
    : QStyledItemDelegate(&grid), grid_(grid) {}

void TMemoryCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  const QPalette& palette = grid_.palette();
  const bool current = index == grid_.currentIndex();
  const QColor back =
      current ? palette.color(QPalette::Active, QPalette::Highlight) : grid_.CellBackground();
  const QColor fore = current ? palette.color(QPalette::Active, QPalette::HighlightedText)
                              : palette.color(QPalette::Active, QPalette::Text);
  const QRect cell = option.rect;
  painter->save();
  painter->fillRect(cell, back);
  const QString text = index.data(Qt::DisplayRole).toString();
  const QFontMetrics metrics(option.font);
  // Flush with the right edge; half the free height above the text, rounded
  // towards zero.
  const int x = cell.left() + cell.width() - metrics.horizontalAdvance(text);
  const int y = cell.top() + (cell.height() - metrics.height()) / 2 + metrics.ascent();
  painter->setClipRect(cell);
  painter->setFont(option.font);
  painter->setPen(fore);
  painter->drawText(x, y, text);
  painter->restore();
}

QWidget* TMemoryCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const {
  auto* editor = new QLineEdit(parent);
  editor->setFrame(false);
  editor->setFont(option.font);
  const uint16_t address = TMemoryGridModel::AddressOf(index);
  TMemoryGrid* grid = &grid_;
  // textEdited, not textChanged: loading the starting text is no edit.
  connect(editor, &QLineEdit::textEdited, grid,
          [grid, address](const QString& text) { emit grid->CellTextEdited(address, text); });
  return editor;
}

// ---------------------------------------------------------------- grid

TMemoryGrid::TMemoryGrid(QWidget* parent) : QTableView(parent) {
  setShowGrid(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::DoubleClicked);
  setTabKeyNavigation(true);
  setCornerButtonEnabled(false);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  setWordWrap(false);
  setItemDelegate(new TMemoryCellDelegate(*this));

  // The headers are the grid's fixed row and column: they neither select
  // nor resize nor light up with the current cell.
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultAlignment(Qt::AlignCenter);
  }
  SetCellSize(44, 16);

  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    const auto mine = [this](QWidget* w) { return w && (w == this || isAncestorOf(w)); };
    if (mine(old) || mine(now)) UpdateFocusLook();
  });
  UpdateFocusLook();
}

bool TMemoryGrid::HasFocusWithin() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus && (focus == this || isAncestorOf(focus));
}

void TMemoryGrid::SetCellSize(int width, int height) {
  if (width < 1 || height < 1) return;
  horizontalHeader()->setDefaultSectionSize(width);
  verticalHeader()->setDefaultSectionSize(height);
  horizontalHeader()->setFixedHeight(height);
  verticalHeader()->setFixedWidth(width);
}

QColor TMemoryGrid::CellBackground() const {
  return HasFocusWithin() ? kViewFocusBackground : kViewBackground;
}

void TMemoryGrid::UpdateFocusLook() {
  // The area right of and below the cells shares the cells' background.
  QPalette look = viewport()->palette();
  look.setColor(QPalette::Base, CellBackground());
  viewport()->setPalette(look);
  viewport()->update();
}

bool TMemoryGrid::WrapKey(const QKeyEvent& event) {
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return false;
  const int row = current.row();
  const int column = current.column();
  QModelIndex target;
  if (event.key() == Qt::Key_Left && column == 0 && row > 0)
    target = model()->index(row - 1, TMemoryGridModel::kColumns - 1);
  else if (event.key() == Qt::Key_Right && column == TMemoryGridModel::kColumns - 1 &&
           row < model()->rowCount() - 1)
    target = model()->index(row + 1, 0);
  if (!target.isValid()) return false;
  setCurrentIndex(target);
  return true;
}

void TMemoryGrid::keyPressEvent(QKeyEvent* event) {
  if (WrapKey(*event)) {
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void TMemoryGrid::mousePressEvent(QMouseEvent* event) {
  mouseDown_ = true;
  QTableView::mousePressEvent(event);
}

void TMemoryGrid::mouseReleaseEvent(QMouseEvent* event) {
  mouseDown_ = false;
  const QModelIndex pressed = currentIndex();
  const QModelIndex hit = indexAt(event->position().toPoint());
  QTableView::mouseReleaseEvent(event);
  if (hit.isValid() && hit == pressed && HasFocusWithin())
    emit CellClicked(TMemoryGridModel::AddressOf(hit));
}

void TMemoryGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (!current.isValid()) return;
  const uint16_t address = TMemoryGridModel::AddressOf(current);
  emit CurrentCellChanged(address);
  // A move by the mouse is reported once, as the click on release.
  if (!mouseDown_ && HasFocusWithin()) emit CellClicked(address);
}
