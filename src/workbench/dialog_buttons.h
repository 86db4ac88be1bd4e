// The OK and Cancel buttons at the foot of the small list dialogs.
#pragma once

#include <QDialog>
#include <QPushButton>

struct TDialogButtons {
  QPushButton* ok;
  QPushButton* cancel;
};

// Puts OK (the default button, accepting) and Cancel (rejecting) side by
// side at the given top edge of dialog.
inline TDialogButtons AddOkCancelButtons(QDialog* dialog, int top = 169) {
  auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
  ok->setGeometry(56, top, 75, 25);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
  cancel->setGeometry(144, top, 75, 25);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return {ok, cancel};
}
