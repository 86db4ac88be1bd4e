#include "workbench/unit_select.h"
#include "workbench/dialog_buttons.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

TUnitDialog::TUnitDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ユニット表示選択"));
  setModal(true);
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPixelSize(12);
  setFont(font);
  setFixedSize(kClientWidth, kClientHeight);

  prompt_ = new QLabel(QStringLiteral("表示するユニットを選択して下さい"), this);
  prompt_->setGeometry(8, 6, kListWidth, 18);

  list_ = new QListWidget(this);
  list_->setGeometry(8, 26, kListWidth, kListHeight);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);

  const TDialogButtons buttons = AddOkCancelButtons(this);
  ok_ = buttons.ok;
  cancel_ = buttons.cancel;
}

void TUnitDialog::ClearUnits() {
  list_->clear();
}

void TUnitDialog::AddUnit(const QString& name, bool ticked) {
  auto* item = new QListWidgetItem(name, list_);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

int TUnitDialog::UnitCount() const {
  return list_->count();
}

bool TUnitDialog::IsTicked(int item) const {
  const QListWidgetItem* entry = list_->item(item);
  return entry != nullptr && entry->checkState() == Qt::Checked;
}

void TUnitDialog::SetTicked(int item, bool ticked) {
  if (QListWidgetItem* entry = list_->item(item))
    entry->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}
