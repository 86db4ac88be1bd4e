#include "workbench/edit_file_select.h"

#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>

#include "persistence/encoding.h"
#include "persistence/file_set.h"
#include "workbench/dialog_buttons.h"

TEditFileSelect::TEditFileSelect(const TFileNames& files, const QFont& font, QWidget* parent)
    : QDialog(parent), files_(files) {
  setWindowTitle(QStringLiteral("ソースの編集"));
  setModal(true);
  setFont(font);
  setFixedSize(kClientWidth, kClientHeight);

  prompt_ = new QLabel(QStringLiteral("編集するファイルを選択して下さい"), this);
  prompt_->setGeometry(8, 6, kListWidth, 18);

  list_ = new QListWidget(this);
  list_->setGeometry(8, 26, kListWidth, kListHeight);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setMouseTracking(true);
  list_->viewport()->setMouseTracking(true);
  list_->viewport()->installEventFilter(this);

  const TDialogButtons buttons = AddOkCancelButtons(this);
  ok_ = buttons.ok;
  cancel_ = buttons.cancel;
}

void TEditFileSelect::FillFromFileSet() {
  list_->clear();
  list_->setToolTip(QString());
  for (int i = 1; i < files_.Count(); ++i)
    list_->addItem(QString::fromStdString(Cp932ToUtf8(files_.ShortName(i))));
  if (list_->count() > 0) {
    list_->setCurrentRow(0);
    list_->item(0)->setSelected(true);
  }
}

std::vector<int> TEditFileSelect::SelectedItems() const {
  std::vector<int> items;
  for (int k = 0; k < list_->count(); ++k)
    if (list_->item(k)->isSelected()) items.push_back(k);
  return items;
}

QString TEditFileSelect::HintAt(const QPoint& viewportPos) const {
  const QListWidgetItem* item = list_->itemAt(viewportPos);
  if (item == nullptr) return {};
  const int entry = list_->row(item) + 1;
  if (entry >= files_.Count()) return {};
  return QString::fromStdString(files_[entry]);
}

bool TEditFileSelect::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport()) {
    if (event->type() == QEvent::MouseMove) {
      const auto* move = static_cast<QMouseEvent*>(event);
      const QString hint = HintAt(move->position().toPoint());
      if (hint != list_->toolTip()) {
        list_->setToolTip(hint);
        if (hint.isEmpty())
          QToolTip::hideText();
        else
          QToolTip::showText(move->globalPosition().toPoint(), hint, list_);
      }
    } else if (event->type() == QEvent::ToolTip) {
      // The list's own hint, not the items' (they carry none).
      const auto* help = static_cast<QHelpEvent*>(event);
      const QString hint = HintAt(help->pos());
      list_->setToolTip(hint);
      if (hint.isEmpty())
        QToolTip::hideText();
      else
        QToolTip::showText(help->globalPos(), hint, list_);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
