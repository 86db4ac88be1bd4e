#include "workbench/owner_drawn_list.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <algorithm>

TOwnerDrawnList::TOwnerDrawnList(const std::vector<THeaderSection>& sections, QWidget* parent)
    : QAbstractScrollArea(parent), header_(CreateHeaderBar(sections)) {
  for (const THeaderSection& section : sections)
    defaultWidths_.push_back(section.Width);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  verticalScrollBar()->setSingleStep(1);
  connect(header_.data(), &QHeaderView::sectionResized, this, [this] {
    UpdateScrollBars();
    viewport()->update();
  });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
    if (header_) header_->setOffset(value);
  });
}

TOwnerDrawnList::~TOwnerDrawnList() {
  // Once the main window has laid the header bar out, its parent frees it.
  if (header_ && header_->parent() == nullptr) delete header_.data();
}

QHeaderView* TOwnerDrawnList::HeaderBar() const {
  return header_.data();
}

int TOwnerDrawnList::TopRow() const {
  return verticalScrollBar()->value();
}

void TOwnerDrawnList::SetTopRow(int row) {
  verticalScrollBar()->setValue(std::max(0, row));
}

int TOwnerDrawnList::VisibleRowCount() const {
  return viewport()->height() / rowHeight_;
}

void TOwnerDrawnList::SetRowHeight(int height) {
  rowHeight_ = std::max(1, height);
  UpdateScrollBars();
  viewport()->update();
}

int TOwnerDrawnList::RowHeight() const {
  return rowHeight_;
}

QRect TOwnerDrawnList::RowRect(int row) const {
  return QRect(0, (row - TopRow()) * rowHeight_, viewport()->width(), rowHeight_);
}

void TOwnerDrawnList::RepaintAll() {
  UpdateScrollBars();
  viewport()->update();
}

int TOwnerDrawnList::RowAt(const QPoint& pos) const {
  if (pos.y() < 0) return -1;
  const int row = TopRow() + pos.y() / rowHeight_;
  return row < RowCount() ? row : -1;
}

void TOwnerDrawnList::EnsureVisible(int row) {
  if (row < 0) return;
  const int top = TopRow();
  const int visible = std::max(1, VisibleRowCount());
  if (row < top)
    SetTopRow(row);
  else if (row >= top + visible)
    SetTopRow(row - visible + 1);
}

void TOwnerDrawnList::UpdateScrollBars() {
  const int visible = std::max(1, VisibleRowCount());
  verticalScrollBar()->setRange(0, std::max(0, RowCount() - visible));
  verticalScrollBar()->setPageStep(visible);
  const int length = header_ ? header_->length() : 0;
  const int width = viewport()->width();
  horizontalScrollBar()->setRange(0, std::max(0, length - width));
  horizontalScrollBar()->setPageStep(std::max(1, width));
  horizontalScrollBar()->setSingleStep(8);
}

void TOwnerDrawnList::ScrollToTop() {
  UpdateScrollBars();
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

std::vector<TSectionSpan> TOwnerDrawnList::Spans() const {
  return SectionSpans(header_.data(), defaultWidths_, horizontalScrollBar()->value());
}

void TOwnerDrawnList::PaintRows(QPainter& painter, const QRegion& area, const TRowDrawer& draw) {
  const int width = viewport()->width();
  const int height = viewport()->height();
  const int count = RowCount();
  int y = 0;
  for (int row = TopRow(); row < count && y < height; ++row, y += rowHeight_) {
    const QRect rect(0, y, width, rowHeight_);
    if (area.intersects(rect)) draw(row, rect, (QRegion(rect) - area).isEmpty());
  }
  if (y < height) painter.fillRect(QRect(0, y, width, height - y), ListBackground(hasFocus()));
}

void TOwnerDrawnList::keyPressEvent(QKeyEvent* event) {
  const int count = RowCount();
  const int current = CurrentListRow();
  const int top = TopRow();
  const int page = std::max(1, VisibleRowCount() - 1);
  int target;
  switch (event->key()) {
    case Qt::Key_Up:
      target = current < 0 ? 0 : current - 1;
      break;
    case Qt::Key_Down:
      target = current + 1;
      break;
    case Qt::Key_PageUp:
      // First to the top row in sight, then a page at a time.
      target = current > top ? top : current - page;
      break;
    case Qt::Key_PageDown:
      // First to the bottom row in sight, then a page at a time.
      target = current >= 0 && current < top + page ? top + page : current + page;
      break;
    case Qt::Key_Home:
      target = 0;
      break;
    case Qt::Key_End:
      target = count - 1;
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  event->accept();
  if (count == 0) return;
  MoveByKey(std::clamp(target, 0, count - 1), current, event->modifiers());
}

// The button's release belongs to the press the view handled.
void TOwnerDrawnList::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
}

void TOwnerDrawnList::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void TOwnerDrawnList::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

void TOwnerDrawnList::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void TOwnerDrawnList::contextMenuEvent(QContextMenuEvent* event) {
  // The mouse opens the menu from the views' mouse presses; this is the
  // menu key.
  if (event->reason() != QContextMenuEvent::Mouse) {
    const int row = CurrentListRow();
    const QRect rect = row >= 0 ? RowRect(row) : viewport()->rect();
    emit ContextMenuRequested(viewport()->mapToGlobal(rect.center()));
  }
  event->accept();
}
