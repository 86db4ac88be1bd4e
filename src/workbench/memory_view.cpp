#include "workbench/memory_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "assembler/literals.h"
#include "machine/machine.h"
#include "persistence/encoding.h"
#include "session/program_session.h"
#include "workbench/memory_grid.h"
#include "workbench/memory_grid_model.h"
#include "workbench/view_host.h"
#include "workbench/view_support.h"

namespace {

struct TPanelLook {
  const char* caption;  // UTF-8; nullptr for a value panel
  int width;
  Qt::Alignment alignment;
  const char* widest;  // UTF-8: the widest text a value panel shows
};

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

const std::array<TPanelLook, TMemoryView::kPanelCount> kPanels{{
    {"アドレス", 40, kRight, nullptr},
    {nullptr, 50, kRight, "-32768"},
    {"10進(S)", 48, kRight, nullptr},
    {nullptr, 48, kRight, "-32768"},
    {"10進(U)", 48, kCentre, nullptr},
    {nullptr, 48, kRight, "65535"},
    {"16進", 32, kRight, nullptr},
    {nullptr, 48, kRight, "DDDD"},
    {"2進", 32, kRight, nullptr},
    {nullptr, 120, kRight, " 0000 0000 0000 0000"},
    {"文字", 36, kRight, nullptr},
    {nullptr, 32, kCentre, "あ"},
    {"", 50, kLeft, nullptr},
}};

constexpr int kStatusBarHeight = 20;
// The panels' place in the status bar: 3 pixels from its top, 2 from its
// left edge, 6 between two panels. Their height is fixed, so that a new
// text in a panel does not make the status bar lay itself out again: the
// panels change after every traced line.
constexpr int kPanelTop = 3;
constexpr int kPanelHeight = kStatusBarHeight - 5;
constexpr int kFirstPanelLeft = 2;
constexpr int kPanelGap = 6;

// What the character panel shows for the bytes of the character reading:
// every whole, printable character they hold. A control byte, a lead byte
// without its trail byte, a byte pair that is no character, a byte that code
// page 932 leaves undefined and a user-defined character (no font has its
// glyph) show nothing, so the panel never shows a replacement mark, a
// control code or an empty box.
QString CharacterDisplay(const std::string& bytes) {
  const QString decoded = QString::fromStdString(Cp932ToUtf8(bytes));
  QString shown;
  for (const QChar c : decoded) {
    if (c == QChar::ReplacementCharacter || !c.isPrint()) continue;
    if (c.category() == QChar::Other_PrivateUse) continue;
    shown += c;
  }
  return shown;
}

// A status bar whose panels draw their own frames: the style's frame around
// every item would give the caption panels a bevel too. It shows no
// temporary messages. The panels are placed by the memory view, not by the
// status bar's layout: a layout squeezes fixed-width panels over one another
// when the bar is narrower than they are, while placed panels are cut off
// at the bar's right edge.
class TPanelBar : public QStatusBar {
 public:
  using QStatusBar::QStatusBar;

 protected:
  void paintEvent(QPaintEvent*) override {}
};

QString Ascii(const std::string& text) {
  return QString::fromLatin1(text);
}

}  // namespace

TMemoryView::TMemoryView(TViewHost& host, QWidget* parent)
    : QWidget(parent),
      host_(host),
      model_(new TMemoryGridModel(host, this)),
      grid_(new TMemoryGrid(this)),
      statusBar_(new TPanelBar(this)) {
  grid_->setObjectName("MemoryGrid");
  grid_->setFont(host.MainFont());
  grid_->setModel(model_);

  statusBar_->setObjectName("MemoryStatusBar");
  statusBar_->setSizeGripEnabled(false);
  statusBar_->setFixedHeight(kStatusBarHeight);
  statusBar_->setFont(HeaderBarFont());
  for (int i = 0; i < kPanelCount; ++i) {
    const TPanelLook& look = kPanels[i];
    auto* panel = new QLabel(statusBar_);
    panel->setAlignment(look.alignment);
    if (look.caption) {
      panel->setText(QString::fromUtf8(look.caption));
      panel->setFrameStyle(QFrame::NoFrame);
    } else {
      panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    panels_[i] = panel;
  }
  LayOutPanels();
  // The panels take the status bar's font, also when the main window sets
  // another one.
  statusBar_->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(grid_, 1);
  layout->addWidget(statusBar_);

  connect(grid_, &TMemoryGrid::CurrentCellChanged, this, &TMemoryView::ShowMemoryStatus);
  connect(grid_, &TMemoryGrid::CellClicked, this, &TMemoryView::CellClicked);
  connect(grid_, &TMemoryGrid::CellTextEdited, this, &TMemoryView::EditCell);

  grid_->setCurrentIndex(model_->index(0, 0));
  ShowMemoryStatus(0);
}

TMemoryView::~TMemoryView() = default;

bool TMemoryView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == statusBar_ && event->type() == QEvent::FontChange) LayOutPanels();
  return QWidget::eventFilter(watched, event);
}

void TMemoryView::LayOutPanels() {
  // The widths suit the font the panels were laid out for; where the font at
  // hand is wider, a panel grows so that its widest text stays whole.
  const QFontMetrics metrics(statusBar_->font());
  for (int i = 0; i < kPanelCount; ++i) {
    const TPanelLook& look = kPanels[i];
    const QString widest = QString::fromUtf8(look.caption ? look.caption : look.widest);
    const int needed = metrics.horizontalAdvance(widest) + 2 * panels_[i]->frameWidth();
    panels_[i]->setFixedSize(std::max(look.width, needed), kPanelHeight);
  }
  // Left to right from the bar's left edge, whatever the bar's width.
  int left = kFirstPanelLeft;
  for (QLabel* panel : panels_) {
    panel->move(left, kPanelTop);
    left += panel->width() + kPanelGap;
  }
}

QTableView* TMemoryView::Grid() const {
  return grid_;
}

QStatusBar* TMemoryView::StatusBar() const {
  return statusBar_;
}

void TMemoryView::SetCellSize(int width, int height) {
  grid_->SetCellSize(width, height);
}

int TMemoryView::CurrentAddress() const {
  const QModelIndex current = grid_->currentIndex();
  return current.isValid() ? TMemoryGridModel::AddressOf(current) : 0;
}

void TMemoryView::ShowMemoryAt(uint16_t address) {
  const QModelIndex cell = model_->IndexOf(address);
  grid_->setCurrentIndex(cell);
  // As far as the grid scrolls: near the end the last rows stay in view.
  grid_->scrollTo(cell, QAbstractItemView::PositionAtTop);
  // The status follows even when the cell was already the current one.
  ShowMemoryStatus(address);
}

void TMemoryView::ShowMemoryStatus(uint16_t address) {
  const uint16_t word = host_.Session().Machine().ReadWord(address);
  panels_[1]->setText(Ascii(FormatNumber(address, false, host_.NumberFormat())));
  panels_[3]->setText(Ascii(FormatValue(word, vkSigned)));
  panels_[5]->setText(Ascii(FormatValue(word, vkUnsigned)));
  panels_[7]->setText(Ascii(FormatValue(word, vkHex)));
  panels_[9]->setText(Ascii(FormatValue(word, vkBinary)));
  panels_[11]->setText(CharacterDisplay(FormatValue(word, vkCharacter)));
}

void TMemoryView::RefreshMemoryView() {
  // The header texts follow the number format too.
  grid_->horizontalHeader()->viewport()->update();
  grid_->verticalHeader()->viewport()->update();
  grid_->viewport()->update();
  ShowMemoryStatus(static_cast<uint16_t>(CurrentAddress()));
}

void TMemoryView::ClearMemoryCells() {
  model_->ClearTypedTexts();
}

void TMemoryView::RepaintAddress(uint16_t address) {
  grid_->update(model_->IndexOf(address));
}

bool TMemoryView::GridHasFocus() const {
  return grid_->HasFocusWithin();
}

QString TMemoryView::PanelText(int panel) const {
  if (panel < 0 || panel >= kPanelCount) return QString();
  return panels_[panel]->text();
}

QString TMemoryView::CellText(int column, int row) const {
  if (column < 0 || column > TMemoryGridModel::kColumns || row < 0 || row > TMemoryGridModel::kRows)
    return QString();
  if (column == 0 && row == 0) return QString();
  if (row == 0) return model_->headerData(column - 1, Qt::Horizontal).toString();
  if (column == 0) return model_->headerData(row - 1, Qt::Vertical).toString();
  return model_->index(row - 1, column - 1).data(Qt::DisplayRole).toString();
}

void TMemoryView::EditCell(uint16_t address, const QString& text) {
  if (text.isEmpty()) return;
  int32_t value;
  try {
    value = EvalNumber(Utf8ToCp932(text.toStdString()));
  } catch (const std::exception&) {
    // A number still being typed (or no number at all): memory keeps its
    // word, and nothing is said.
    return;
  }
  host_.Session().Machine().WriteWord(address, static_cast<uint16_t>(value));
  RepaintAddress(address);
  // The status bar reads the word it shows, not the one before the edit.
  if (address == CurrentAddress()) ShowMemoryStatus(address);
  emit MemoryEdited(address);
}
