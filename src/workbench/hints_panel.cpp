#include "workbench/hints_panel.h"

#include <QFileInfo>

#include "persistence/file_set.h"
#include "workbench/view_host.h"
#include "workbench/view_support.h"

THintsPanel::THintsPanel(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setWordWrap(false);
  QPalette colours = palette();
  colours.setColor(QPalette::Base, kViewBackground);
  setPalette(colours);
  connect(this, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { emit HintChosen(item->data(Qt::UserRole).toInt()); });
}

QString THintsPanel::HintText(const TAsmHint& hint, const TFileNames& files) {
  // Paths are file-system text; the hint's own text is CP932.
  QString file;
  if (hint.FileIndex >= 0 && hint.FileIndex < files.Count())
    file = QFileInfo(QString::fromStdString(files[hint.FileIndex])).fileName();
  return QStringLiteral("%1(%2): %3").arg(file).arg(hint.LineNumber).arg(DisplayText(hint.Text));
}

void THintsPanel::ShowHints(const std::vector<TAsmHint>& hints, const TFileNames& files) {
  clear();
  for (const TAsmHint& hint : hints) {
    auto* item = new QListWidgetItem(HintText(hint, files), this);
    item->setData(Qt::UserRole, hint.LineIndex);
    item->setToolTip(DisplayText(hint.Text));
  }
}
