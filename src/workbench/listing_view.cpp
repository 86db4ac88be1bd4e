// The listing view's rows, selection and input. Scrolling and the header bar
// are the owner-drawn list's; drawing is in listing_row_painter.cpp.
#include <QHeaderView>
#include <QMouseEvent>

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
    : TOwnerDrawnList(ListingSections(), parent), host_(host) {
  setObjectName(QStringLiteral("ListingView"));
  HeaderBar()->setObjectName(QStringLiteral("HeaderControl2"));
  UpdateScrollBars();
}

TListingView::~TListingView() = default;

void TListingView::SetRows(const TListingRows* rows) {
  rows_ = rows;
  selected_ = RowCount() > 0 ? 0 : -1;
  ScrollToTop();
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

void TListingView::RepaintRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  const QRect rect = RowRect(row);
  if (rect.intersects(viewport()->rect())) viewport()->repaint(rect);
}

void TListingView::SelectAsClick(int row) {
  SetSelectedRow(row);
  emit RowClicked(row);
}

void TListingView::MoveByKey(int target, int current, Qt::KeyboardModifiers) {
  if (target != current)
    SelectAsClick(target);
  else
    EnsureVisible(target);
}

void TListingView::mousePressEvent(QMouseEvent* event) {
  const int row = RowAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton) {
    if (row >= 0) SelectAsClick(row);
  } else if (event->button() == Qt::RightButton) {
    // The row under the pointer is selected for the pop-up menu to act on;
    // unlike a click it records no jump and moves no memory view.
    if (row >= 0) SetSelectedRow(row);
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
