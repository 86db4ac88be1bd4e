// The listing view's rows, selection, scrolling and input. Drawing is in
// listing_row_painter.cpp.
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "workbench/listing_view.h"
#include "workbench/view_support.h"

namespace {

const std::vector<THeaderSection>& ListingSections() {
  static const std::vector<THeaderSection> sections = {
      {"アドレス", 48}, {"ラベル", 48},  {"命令", 48},
      {"ﾊﾟﾗﾒｰﾀ1", 56},  {"ﾊﾟﾗﾒｰﾀ2", 56}, {"コメント", 240, false, Qt::AlignLeft | Qt::AlignVCenter},
  };
  return sections;
}

}  // namespace

TListingView::TListingView(TViewHost& host, QWidget* parent)
    : QAbstractScrollArea(parent), host_(host), header_(CreateHeaderBar(ListingSections())) {
  setObjectName(QStringLiteral("ListBox2"));
  header_->setObjectName(QStringLiteral("HeaderControl2"));
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
  UpdateScrollBars();
}

TListingView::~TListingView() {
  // Once the main window has laid the header bar out, its parent frees it.
  if (header_ && header_->parent() == nullptr) delete header_.data();
}

QHeaderView* TListingView::HeaderBar() const {
  return header_.data();
}

void TListingView::SetRows(const TListingRows* rows) {
  rows_ = rows;
  selected_ = RowCount() > 0 ? 0 : -1;
  UpdateScrollBars();
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

int TListingView::RowCount() const {
  return rows_ != nullptr ? rows_->Count() : 0;
}

int TListingView::SelectedRow() const {
  return selected_ < RowCount() ? selected_ : -1;
}

void TListingView::SetSelectedRow(int row) {
  if (row < 0 || row >= RowCount()) row = -1;
  if (row != selected_) {
    // Scheduled, not drawn at once: a selection that moves far scrolls and
    // repaints the whole view anyway.
    if (selected_ >= 0) viewport()->update(RowRect(selected_));
    selected_ = row;
    if (row >= 0) viewport()->update(RowRect(row));
  }
  EnsureVisible(row);
}

int TListingView::TopRow() const {
  return verticalScrollBar()->value();
}

void TListingView::SetTopRow(int row) {
  verticalScrollBar()->setValue(std::max(0, row));
}

int TListingView::VisibleRowCount() const {
  return viewport()->height() / rowHeight_;
}

void TListingView::SetRowHeight(int height) {
  rowHeight_ = std::max(1, height);
  UpdateScrollBars();
  viewport()->update();
}

int TListingView::RowHeight() const {
  return rowHeight_;
}

QRect TListingView::RowRect(int row) const {
  return QRect(0, (row - TopRow()) * rowHeight_, viewport()->width(), rowHeight_);
}

void TListingView::RepaintRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  const QRect rect = RowRect(row);
  if (rect.intersects(viewport()->rect())) viewport()->repaint(rect);
}

void TListingView::RepaintAll() {
  UpdateScrollBars();
  viewport()->update();
}

int TListingView::RowAt(const QPoint& pos) const {
  if (pos.y() < 0) return -1;
  const int row = TopRow() + pos.y() / rowHeight_;
  return row < RowCount() ? row : -1;
}

void TListingView::SelectAsClick(int row) {
  SetSelectedRow(row);
  emit RowClicked(row);
}

void TListingView::EnsureVisible(int row) {
  if (row < 0) return;
  const int top = TopRow();
  const int visible = std::max(1, VisibleRowCount());
  if (row < top)
    SetTopRow(row);
  else if (row >= top + visible)
    SetTopRow(row - visible + 1);
}

void TListingView::UpdateScrollBars() {
  const int visible = std::max(1, VisibleRowCount());
  verticalScrollBar()->setRange(0, std::max(0, RowCount() - visible));
  verticalScrollBar()->setPageStep(visible);
  const int length = header_ ? header_->length() : 0;
  const int width = viewport()->width();
  horizontalScrollBar()->setRange(0, std::max(0, length - width));
  horizontalScrollBar()->setPageStep(std::max(1, width));
  horizontalScrollBar()->setSingleStep(8);
}

void TListingView::mousePressEvent(QMouseEvent* event) {
  const int row = RowAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton) {
    if (row >= 0) SelectAsClick(row);
  } else if (event->button() == Qt::RightButton) {
    // As a list box does, the row under the pointer is selected before its
    // pop-up menu opens.
    if (row >= 0 && row != selected_) SelectAsClick(row);
    emit ContextMenuRequested(event->globalPosition().toPoint());
  }
  event->accept();
}

void TListingView::mouseDoubleClickEvent(QMouseEvent* event) {
  const int row = RowAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && row >= 0) {
    if (row != selected_) SelectAsClick(row);
    emit RowDoubleClicked(row);
  }
  event->accept();
}

// The button's release belongs to the press the view handled.
void TListingView::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
}

void TListingView::keyPressEvent(QKeyEvent* event) {
  const int count = RowCount();
  const int current = SelectedRow();
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
  target = std::clamp(target, 0, count - 1);
  if (target != current)
    SelectAsClick(target);
  else
    EnsureVisible(target);
}

void TListingView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void TListingView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

void TListingView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void TListingView::contextMenuEvent(QContextMenuEvent* event) {
  // The mouse opens the menu from mousePressEvent; this is the menu key.
  if (event->reason() != QContextMenuEvent::Mouse) {
    const int row = SelectedRow();
    const QRect rect = row >= 0 ? RowRect(row) : viewport()->rect();
    emit ContextMenuRequested(viewport()->mapToGlobal(rect.center()));
  }
  event->accept();
}
