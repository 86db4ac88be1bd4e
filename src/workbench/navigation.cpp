// Navigation: the row searches, the navigator's selections, jumps and jump
// history, the listing pop-up's "選択行ジャンプ(&S)" submenu and the letter
// keys of the listing.
#include "workbench/navigation.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>
#include <utility>

#include "machine/machine.h"
#include "machine/opcode_table.h"
#include "persistence/bool_list.h"
#include "persistence/compare_text.h"
#include "session/program_session.h"
#include "workbench/keyboard_table.h"
#include "workbench/listing_view.h"
#include "workbench/main_menus.h"

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

// Whether the instruction's operand 1 is a jump or call target.
bool IsJumpOrCall(const std::string& mnemonic) {
  for (const TOpcodeInfo& row : OpcodeTable)
    if (row.Jumps && SameText(mnemonic, row.Mnemonic)) return true;
  return false;
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

// ---------------------------------------------------------------- navigator

TNavigator::TNavigator(TProgramSession& session, TListingView& listing,
                       std::function<bool()> isIdle, QObject* parent)
    : QObject(parent), session_(session), listing_(listing), isIdle_(std::move(isIdle)) {
  jumpList_.Init(0);
}

const TAsmLine* TNavigator::SelectedLine() const {
  return LineAtRow(session_.Assembler().Listing(), listing_.SelectedRow());
}

void TNavigator::RowClicked(int row) {
  if (isIdle_() && jumpList_.TopNumber() != row) jumpList_.PushNumber(row);
  emit RowSelected();
}

void TNavigator::SelectListingRow(int row, int context, bool asClick) {
  if (row == listing_.SelectedRow() || row < 0 || row >= listing_.RowCount()) return;
  // Scroll when the row reaches the bottom edge or lies less than context
  // rows below the top (rows above the visible part included).
  const QRect rect = listing_.RowRect(row);
  const int bottomEdge = listing_.viewport()->height();
  if (rect.top() + rect.height() >= bottomEdge || rect.top() < context * listing_.RowHeight())
    listing_.SetTopRow(row < context ? row : row - context);
  listing_.SetSelectedRow(row);
  if (asClick)
    RowClicked(row);
  else
    emit RowSelected();
}

void TNavigator::JumpTo(TJumpKind kind, int line, const std::string& key) {
  const int selected = listing_.SelectedRow();
  if (selected < 0) return;
  const TQRXAssembler& assembler = session_.Assembler();
  const TQRXEmulater& machine = session_.Machine();
  int target = line;
  switch (kind) {
    case TJumpKind::LineGiven:
      break;
    case TJumpKind::ExecutionPosition:
      target = machine.LineOf(machine.ReadWord(TQRXEmulater::PC));
      break;
    case TJumpKind::CallTarget: {
      const TAsmLine* row = assembler.Listing().Ref(selected);
      if (row == nullptr || !IsJumpOrCall(row->Mnemonic) || row->Words.size() < 2) return;
      target = machine.LineOf(row->Words[1]);
      break;
    }
    case TJumpKind::LabelDefinition:
      target = assembler.Labels().RecordOf(key).DefLine;
      break;
    case TJumpKind::Back: {
      int popped = jumpList_.PopNum();
      if (popped == selected) popped = jumpList_.PopNum();
      SelectListingRow(popped, 3, false);
      return;
    }
  }
  SelectListingRow(assembler.ListingRowOf(target), 3, true);
}

bool TNavigator::RowMatches(int row, TRowKind kind) const {
  return ::RowMatches(session_.Assembler().Listing(), session_.Breakpoints(), row, kind);
}

void TNavigator::FindRow(TRowKind kind, bool backwards) {
  const int selected = listing_.SelectedRow();
  if (selected < 0) return;
  const int found = FindMatchingRow(session_.Assembler().Listing(), session_.Breakpoints(),
                                    selected, kind, backwards);
  if (found >= 0) SelectListingRow(found, 3, true);
}

void TNavigator::ConnectJumpMenu(const TListingPopup& p) {
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
}

// ---------------------------------------------------------------- letter keys

TNavigationKeyFilter::TNavigationKeyFilter(TNavigator& navigator, TKeyboardTable& keyboard,
                                           QWidget* listing, QWidget* labels)
    : navigator_(navigator), keyboard_(keyboard), listing_(listing), labels_(labels) {
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
  keyboard_.eventFilter(watched, event);
  if (inListing) ListingKey(key->key(), key->modifiers().testFlag(Qt::ShiftModifier));
  return true;
}

void TNavigationKeyFilter::ListingKey(int key, bool shift) {
  switch (key) {
    case Qt::Key_B:
      navigator_.FindRow(TRowKind::Breakpoint, shift);
      break;
    case Qt::Key_E:
      navigator_.FindRow(TRowKind::Error, shift);
      break;
    case Qt::Key_H:
      navigator_.FindRow(TRowKind::ImportantComment, shift);
      break;
    case Qt::Key_I:
      navigator_.FindRow(TRowKind::IncludeBoundary, shift);
      break;
    case Qt::Key_L:
      navigator_.FindRow(TRowKind::Label, shift);
      break;
    case Qt::Key_J:
      navigator_.JumpTo(TJumpKind::CallTarget);
      break;
    case Qt::Key_P:
      navigator_.JumpTo(TJumpKind::ExecutionPosition);
      break;
    case Qt::Key_Z:
      navigator_.JumpTo(TJumpKind::Back);
      break;
    default:
      break;
  }
}
