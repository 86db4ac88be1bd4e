// Navigation: the row searches, the listing pop-up's "選択行ジャンプ(&S)"
// submenu and the letter keys of the listing.
#include "workbench/navigation.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>
#include <utility>

#include "persistence/bool_list.h"
#include "session/program_session.h"
#include "workbench/keyboard_table.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"

namespace {

// The file index a row's source tag names; -1 without a tag.
int32_t FileIndexOf(const TListingRows& rows, int row) {
  const TAsmLine* line = rows.Ref(row);
  return line != nullptr ? line->TagFileIndex() : -1;
}

bool IsInside(const QObject* watched, const QWidget* view) {
  if (view == nullptr || !watched->isWidgetType()) return false;
  const auto* widget = static_cast<const QWidget*>(watched);
  return widget == view || view->isAncestorOf(widget);
}

}  // namespace

const TAsmLine* LineAtRow(const TListingRows& rows, int row) {
  if (row < 0 || row >= rows.Count()) return nullptr;
  return rows.Ref(row);
}

bool RowMatches(const TListingRows& rows, const TBoolList& breakpoints, int row, TRowKind kind) {
  const TAsmLine* line = LineAtRow(rows, row);
  if (line == nullptr) return false;
  switch (kind) {
    case TRowKind::Label:
      return !line->LabelName.empty();
    case TRowKind::IncludeBoundary: {
      if (row == 0) return false;
      const int32_t file = line->TagFileIndex();
      return file != 0 && file != FileIndexOf(rows, row - 1);
    }
    case TRowKind::Error:
      return line->HasError();
    case TRowKind::ImportantComment:
      // The comment as stored starts after the ";" with its blanks trimmed,
      // so this is also the rule that draws the comment bold.
      return !line->Comment.empty() && line->Comment.front() == '*';
    case TRowKind::Breakpoint:
      return breakpoints.Contains(line->LineIndex);
  }
  return false;
}

int FindMatchingRow(const TListingRows& rows, const TBoolList& breakpoints, int from, TRowKind kind,
                    bool backwards) {
  if (backwards) {
    for (int row = std::min(from, rows.Count()) - 1; row >= 0; --row)
      if (RowMatches(rows, breakpoints, row, kind)) return row;
  } else {
    for (int row = std::max(from + 1, 0); row < rows.Count(); ++row)
      if (RowMatches(rows, breakpoints, row, kind)) return row;
  }
  return -1;
}

// ---------------------------------------------------------------- TMainWindow

bool TMainWindow::RowMatches(int row, TRowKind kind) const {
  return ::RowMatches(session_->Assembler().Listing(), session_->Breakpoints(), row, kind);
}

void TMainWindow::FindRow(TRowKind kind, bool backwards) {
  const int selected = listingView_->SelectedRow();
  if (selected < 0) return;
  const int found = FindMatchingRow(session_->Assembler().Listing(), session_->Breakpoints(),
                                    selected, kind, backwards);
  if (found >= 0) SelectListingRow(found, 3, true);
}

void TMainWindow::SetUpNavigation() {
  const TListingPopup& p = listingPopup_;
  connect(p.JumpTarget, &QAction::triggered, this, [this] { JumpTo(TJumpKind::CallTarget); });
  connect(p.ExecutionPosition, &QAction::triggered, this,
          [this] { JumpTo(TJumpKind::ExecutionPosition); });
  // Shift held at the moment the item is chosen searches backwards.
  const std::pair<QAction*, TRowKind> searches[] = {
      {p.NextError, TRowKind::Error},
      {p.NextLabel, TRowKind::Label},
      {p.NextImportant, TRowKind::ImportantComment},
      {p.NextInclude, TRowKind::IncludeBoundary},
  };
  for (const auto& [item, kind] : searches)
    connect(item, &QAction::triggered, this, [this, kind = kind] {
      FindRow(kind, QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
    });
  connect(p.Back, &QAction::triggered, this, [this] { JumpTo(TJumpKind::Back); });
  keyFilter_ = std::make_unique<TNavigationKeyFilter>(*this);
}

// ---------------------------------------------------------------- letter keys

TNavigationKeyFilter::TNavigationKeyFilter(TMainWindow& form)
    : form_(form), listing_(form.ListingView()), labels_(form.LabelView()) {
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

TNavigationKeyFilter::~TNavigationKeyFilter() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool TNavigationKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() < Qt::Key_A || key->key() > Qt::Key_Z) return false;
  const bool inListing = IsInside(watched, listing_);
  if (!inListing && !IsInside(watched, labels_)) return false;
  // A consumed key still counts as down in the keyboard table.
  form_.KeyboardTable().eventFilter(watched, event);
  if (inListing) ListingKey(key->key(), key->modifiers().testFlag(Qt::ShiftModifier));
  return true;
}

void TNavigationKeyFilter::ListingKey(int key, bool shift) {
  switch (key) {
    case Qt::Key_B:
      form_.FindRow(TRowKind::Breakpoint, shift);
      break;
    case Qt::Key_E:
      form_.FindRow(TRowKind::Error, shift);
      break;
    case Qt::Key_H:
      form_.FindRow(TRowKind::ImportantComment, shift);
      break;
    case Qt::Key_I:
      form_.FindRow(TRowKind::IncludeBoundary, shift);
      break;
    case Qt::Key_L:
      form_.FindRow(TRowKind::Label, shift);
      break;
    case Qt::Key_J:
      form_.JumpTo(TJumpKind::CallTarget);
      break;
    case Qt::Key_P:
      form_.JumpTo(TJumpKind::ExecutionPosition);
      break;
    case Qt::Key_Z:
      form_.JumpTo(TJumpKind::Back);
      break;
    default:
      break;
  }
}
