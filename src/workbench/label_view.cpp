// The label view: rows, multi-selection, scrolling, input, and the drawing
// of a row with its values read from the machine when it is painted.
#include "workbench/label_view.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <string_view>

#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "session/program_session.h"
#include "workbench/view_host.h"
#include "workbench/view_support.h"

namespace {

// The registers stand in the first rows.
constexpr int kRegisterRows = 6;
const QColor kSelectedAccent(255, 0, 0);

const std::vector<THeaderSection>& LabelSections() {
  static const std::vector<THeaderSection> sections = {
      {"ラベル", 42}, {"値", 48}, {"参照値", 48}, {"間接値", 48}, {"パス", 48},
  };
  return sections;
}

// A label key is the name followed by its scope path ("LOOP.SUB.MAIN.*");
// the name is the part before the first "." (a leading "." is dropped
// first), the path what follows that dot. Keys hold only ASCII characters.
void SplitKey(std::string_view key, std::string_view& name, std::string_view& path) {
  if (!key.empty() && key.front() == '.') key.remove_prefix(1);
  const size_t dot = key.find('.');
  name = key.substr(0, dot);
  path = dot == std::string_view::npos ? std::string_view{} : key.substr(dot + 1);
}

}  // namespace

struct TLabelView::TPaintKit {
  TRowFonts Fonts;
  QFontMetrics RegularMetrics, BoldMetrics;
  std::vector<TSectionSpan> Spans;
};

TLabelView::TLabelView(TViewHost& host, QWidget* parent)
    : TOwnerDrawnList(LabelSections(), parent), host_(host) {
  setObjectName(QStringLiteral("LabelView"));
  HeaderBar()->setObjectName(QStringLiteral("HeaderControl1"));
  UpdateScrollBars();
}

TLabelView::~TLabelView() = default;

void TLabelView::SetModel(const TLabelViewModel* model) {
  model_ = model;
  selected_.assign(static_cast<size_t>(RowCount()), false);
  current_ = anchor_ = RowCount() > 0 ? 0 : -1;
  drawnLooks_.clear();
  ScrollToTop();
}

int TLabelView::RowCount() const {
  return model_ != nullptr ? model_->Rows().Count() : 0;
}

void TLabelView::FitSelection() const {
  // The rows may be rebuilt in place; selection flags beyond them lapse.
  selected_.resize(static_cast<size_t>(RowCount()), false);
}

int TLabelView::CurrentRow() const {
  return current_ < RowCount() ? current_ : -1;
}

void TLabelView::SetCurrentRow(int row) {
  if (row < 0 || row >= RowCount()) row = -1;
  current_ = anchor_ = row;
  EnsureVisible(row);
}

std::vector<int> TLabelView::SelectedRows() const {
  FitSelection();
  std::vector<int> rows;
  for (size_t i = 0; i < selected_.size(); ++i)
    if (selected_[i]) rows.push_back(static_cast<int>(i));
  return rows;
}

void TLabelView::SetRowSelected(int row, bool selected) {
  if (row < 0 || row >= RowCount()) return;
  FitSelection();
  if (selected_[static_cast<size_t>(row)] == selected) return;
  selected_[static_cast<size_t>(row)] = selected;
  RepaintRow(row);
}

bool TLabelView::IsSelected(int row) const {
  FitSelection();
  return row >= 0 && static_cast<size_t>(row) < selected_.size() &&
         selected_[static_cast<size_t>(row)];
}

void TLabelView::RepaintRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  const QRect rect = RowRect(row);
  if (!rect.intersects(viewport()->rect())) return;
  // Run control asks for the register rows after every traced line; most of
  // them show what they showed before.
  const auto drawn = drawnLooks_.find(row);
  if (drawn != drawnLooks_.end() && drawn->second == RowLook(row, IsSelected(row))) return;
  // Scheduled: the rows a trace line touches are painted together at the
  // next event delivery instead of one paint pass each.
  viewport()->update(rect);
}

void TLabelView::SelectOnly(int row) {
  FitSelection();
  std::fill(selected_.begin(), selected_.end(), false);
  if (row >= 0 && row < RowCount()) selected_[static_cast<size_t>(row)] = true;
  current_ = anchor_ = row;
  viewport()->update();
}

void TLabelView::SelectRange(int row) {
  FitSelection();
  const int from = anchor_ >= 0 && anchor_ < RowCount() ? anchor_ : row;
  const auto [low, high] = std::minmax(from, row);
  for (int i = 0; i < RowCount(); ++i)
    selected_[static_cast<size_t>(i)] = i >= low && i <= high;
  anchor_ = from;
  current_ = row;
  viewport()->update();
}

void TLabelView::ReportCurrent(int row) {
  EnsureVisible(row);
  emit RowClicked(row);
}

// ---------------------------------------------------------------- input

void TLabelView::mousePressEvent(QMouseEvent* event) {
  const int row = RowAt(event->position().toPoint());
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (event->button() == Qt::LeftButton && row >= 0) {
    if (modifiers & Qt::ShiftModifier) {
      SelectRange(row);
    } else if (modifiers & Qt::ControlModifier) {
      SetRowSelected(row, !IsSelected(row));
      current_ = anchor_ = row;
    } else {
      SelectOnly(row);
    }
    ReportCurrent(row);
  } else if (event->button() == Qt::RightButton) {
    // A row outside the selection becomes the only selected row before its
    // pop-up menu opens; a click into the selection keeps it whole. Unlike
    // a click it does not move the memory view.
    if (row >= 0 && !IsSelected(row)) {
      SelectOnly(row);
      EnsureVisible(row);
    }
    emit ContextMenuRequested(event->globalPosition().toPoint());
  }
  event->accept();
}

void TLabelView::mouseDoubleClickEvent(QMouseEvent* event) {
  const int row = RowAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && row >= 0) emit RowDoubleClicked(row);
  event->accept();
}

void TLabelView::MoveByKey(int target, int current, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::ShiftModifier)
    SelectRange(target);
  else
    SelectOnly(target);
  if (target != current)
    ReportCurrent(target);
  else
    EnsureVisible(target);
}

// ---------------------------------------------------------------- drawing

TLabelRowLook TLabelView::RowLook(int row, bool selected) const {
  TLabelRowLook look;
  const QPalette& colours = palette();
  const QColor normal = selected ? colours.color(QPalette::Active, QPalette::HighlightedText)
                                 : colours.color(QPalette::Active, QPalette::WindowText);
  const QColor accent = selected ? kSelectedAccent : kLabelAccent;
  look.Colours.fill(normal);
  look.Background = ListBackground(hasFocus());
  if (row < 0 || row >= RowCount()) return look;

  const TProgramSession& session = host_.Session();
  const TKwList& labels = session.Assembler().Labels();
  const TLabelViewRows& rows = model_->Rows();
  const std::string& key = rows.Strings(row);
  const TKwValues& record = rows.Ref(row) != nullptr ? *rows.Ref(row) : labels.EmptyRecord();
  const bool isRegister = row < kRegisterRows;

  look.Bold = isRegister || record.Selected;
  look.ValuesBold = !isRegister && record.Selected;
  if (selected)
    look.Background = colours.color(QPalette::Active, QPalette::Highlight);
  else if (isRegister)
    look.Background = colours.color(QPalette::Active, QPalette::Button);

  std::string_view name, path;
  SplitKey(key, name, path);
  look.Texts[TLabelRowLook::Name] =
      (record.ValueOnly ? QStringLiteral("#") : QString()) + DisplayText(name);
  if (!isRegister) look.Texts[TLabelRowLook::Path] = DisplayText(path);

  // The values as they stand in memory now.
  const auto v = static_cast<uint16_t>(record.Value);
  const TQRXEmulater& machine = session.Machine();
  const uint16_t m = machine.ReadWord(v);
  const uint16_t n = machine.ReadWord(m);
  const TNumberFormat format = host_.NumberFormat();
  const auto set = [&](TLabelRowLook::Column column, uint16_t value, bool asAddress,
                       const QColor& colour) {
    look.Texts[column] = QString::fromStdString(FormatNumber(value, asAddress, format));
    look.Colours[column] = colour;
  };
  const uint16_t kinds = labels.LabelKinds(labels.IndexOf(key));
  if (kinds & kindImmediate) {
    set(TLabelRowLook::Value, v, false, normal);
    set(TLabelRowLook::Referenced, m, false, kLabelGrey);
    set(TLabelRowLook::Indirect, n, false, kLabelGrey);
  } else if (kinds & kindVariable) {
    set(TLabelRowLook::Value, v, true, accent);
    set(TLabelRowLook::Referenced, m, false, normal);
    set(TLabelRowLook::Indirect, n, false, kLabelGrey);
  } else if (kinds & kindLineLabel) {
    set(TLabelRowLook::Value, v, true, accent);
    set(TLabelRowLook::Referenced, m, false, kLabelGrey);
    set(TLabelRowLook::Indirect, n, false, kLabelGrey);
  } else if (kinds & kindPointer) {
    set(TLabelRowLook::Value, v, true, accent);
    set(TLabelRowLook::Referenced, m, true, accent);
    set(TLabelRowLook::Indirect, n, false, normal);
  } else if (kinds & kindAuto) {
    set(TLabelRowLook::Value, v, true, accent);
    set(TLabelRowLook::Referenced, m, true, kLabelGrey);
    set(TLabelRowLook::Indirect, n, false, kLabelGrey);
  }
  return look;
}

TLabelView::TPaintKit TLabelView::MakePaintKit() const {
  TRowFonts fonts(host_.MainFont());
  QFontMetrics regular(fonts.Regular), bold(fonts.Bold);
  return TPaintKit{fonts, regular, bold, Spans()};
}

TLabelRowLook TLabelView::DrawRow(QPainter& painter, int row, const QRect& rect, bool selected,
                                  const TPaintKit& kit) {
  const TLabelRowLook look = RowLook(row, selected);
  const std::vector<TSectionSpan>& spans = kit.Spans;
  const int rowRight = rect.left() + rect.width();
  const auto cell = [&rect](int left, int right) {
    return QRect(left, rect.top(), right - left, rect.height());
  };

  painter.save();
  // The name is drawn across the whole row; the later columns paint over
  // their own sections.
  painter.fillRect(rect, look.Background);
  painter.setFont(look.Bold ? kit.Fonts.Bold : kit.Fonts.Regular);
  painter.setPen(look.Colours[TLabelRowLook::Name]);
  DrawClipped(painter, rect, spans[TLabelRowLook::Name].Left + 2,
              kit.Fonts.Baseline(rect, look.Bold), look.Texts[TLabelRowLook::Name]);

  painter.setFont(look.ValuesBold ? kit.Fonts.Bold : kit.Fonts.Regular);
  const QFontMetrics& metrics = look.ValuesBold ? kit.BoldMetrics : kit.RegularMetrics;
  const int valueBaseline = kit.Fonts.Baseline(rect, look.ValuesBold);
  for (const auto column :
       {TLabelRowLook::Value, TLabelRowLook::Referenced, TLabelRowLook::Indirect}) {
    const TSectionSpan& span = spans[column];
    const QRect section = cell(span.Left, span.Right());
    painter.setClipping(false);
    painter.fillRect(section, look.Background);
    const QString& text = look.Texts[column];
    painter.setPen(look.Colours[column]);
    DrawClipped(painter, section, span.Right() - 2 - metrics.horizontalAdvance(text), valueBaseline,
                text);
  }

  if (row >= kRegisterRows) {
    const TSectionSpan& span = spans[TLabelRowLook::Path];
    const QRect area = cell(span.Left, rowRight);
    painter.setClipping(false);
    painter.fillRect(area, look.Background);
    painter.setFont(look.Bold ? kit.Fonts.Bold : kit.Fonts.Regular);
    painter.setPen(look.Colours[TLabelRowLook::Path]);
    DrawClipped(painter, area, span.Left + 2, kit.Fonts.Baseline(rect, look.Bold),
                look.Texts[TLabelRowLook::Path]);
  }
  painter.restore();
  return look;
}

void TLabelView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const TPaintKit kit = MakePaintKit();
  PaintRows(painter, event->region(), [&](int row, const QRect& rect, bool whole) {
    TLabelRowLook look = DrawRow(painter, row, rect, IsSelected(row), kit);
    if (whole)
      drawnLooks_[row] = std::move(look);
    else
      drawnLooks_.erase(row);
  });
}
