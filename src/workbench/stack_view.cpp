#include "workbench/stack_view.h"

#include <QAbstractTableModel>
#include <QHeaderView>

#include "session/program_session.h"
#include "workbench/number_format.h"
#include "workbench/view_host.h"
#include "workbench/view_support.h"

namespace {

const char* const kCaptions[TStackView::kColumnCount] = {"アドレス", "値", "ラベル", "CALL"};
const int kWidths[TStackView::kColumnCount] = {48, 48, 72, 48};
// The mark of a word that holds the address right after a CALL.
const char* const kReturnMark = "←戻り先";

}  // namespace

// The cells come from the view on every request; the model only tells the
// table how many rows there are and when they changed.
class TStackTableModel : public QAbstractTableModel {
 public:
  explicit TStackTableModel(const TStackView& view) : view_(view) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : shownRows_;
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : TStackView::kColumnCount;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return view_.CellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && index.column() <= TStackView::ValueColumn)
      return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < TStackView::kColumnCount)
      return QString::fromUtf8(kCaptions[section]);
    return {};
  }

  // A changed number of rows resets the table; otherwise the rows shown
  // are only marked changed, and the table repaints what is visible.
  void Follow(int rows) {
    if (rows != shownRows_) {
      beginResetModel();
      shownRows_ = rows;
      endResetModel();
    } else if (rows > 0) {
      emit dataChanged(index(0, 0), index(rows - 1, TStackView::kColumnCount - 1));
    }
  }

 private:
  const TStackView& view_;
  int shownRows_ = 0;
};

TStackView::TStackView(TViewHost& host, QWidget* parent)
    : QTableView(parent), host_(host), model_(std::make_unique<TStackTableModel>(*this)) {
  setModel(model_.get());
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setFont(HeaderBarFont());
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(true);
  for (int c = 0; c < kColumnCount; ++c)
    setColumnWidth(c, kWidths[c]);
  QPalette colours = palette();
  colours.setColor(QPalette::Base, kViewBackground);
  setPalette(colours);
}

TStackView::~TStackView() {
  setModel(nullptr);
}

void TStackView::Refresh() {
  rows_.Index(host_.Session().Assembler());
  if (font() != host_.MainFont()) {
    setFont(host_.MainFont());
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  }
  model_->Follow(RowCount());
}

int TStackView::RowCount() const {
  return TStackRows::Count(host_.Session().Machine());
}

TStackRow TStackView::RowAt(int row) const {
  return rows_.Row(host_.Session().Machine(), row);
}

QString TStackView::CellText(int row, int column) const {
  if (row < 0 || row >= RowCount()) return {};
  const TStackRow r = RowAt(row);
  const TNumberFormat format = host_.NumberFormat();
  switch (column) {
    case AddressColumn:
      return QString::fromStdString(FormatNumber(r.Address, true, format));
    case ValueColumn:
      return QString::fromStdString(FormatNumber(r.Value, false, format));
    case LabelColumn:
      return DisplayText(r.Label);
    case MarkColumn:
      return r.ReturnAddress ? QString::fromUtf8(kReturnMark) : QString();
    default:
      return {};
  }
}
