// The time-stamp check of the sources: when the program becomes active
// again (and right after a state file was read) every source whose file on
// disk is newer than the stamp recorded for it is offered for reloading.
#include <QMessageBox>

#include "persistence/encoding.h"
#include "persistence/file_set.h"
#include "persistence/file_stamp.h"
#include "session/program_session.h"
#include "workbench/dialog_commands.h"
#include "workbench/file_commands.h"
#include "workbench/main_window.h"
#include "workbench/workbench_document.h"

namespace {

// The question for file-set entry i.
QString ReloadQuestion(const TFileNames& files, int i) {
  const auto text = [](const std::string& cp932) {
    return QString::fromStdString(Cp932ToUtf8(cp932));
  };
  return QLatin1Char('"') + text(files.ShortName(i)) + QLatin1Char('"') +
         QStringLiteral(" は変更されています。読み込み直しますか？\n") +
         QStringLiteral("実行中のソース\t") + text(files.StoredTimeText(i)) + QLatin1Char('\n') +
         QStringLiteral("Disk上のソース\t") + text(files.DiskTimeText(i)) + QLatin1Char('\n');
}

}  // namespace

void TFileCommands::ApplicationActivated() {
  // A reload would replace the program under a running loop; the check
  // waits for the next activation after the program stopped.
  if (form_.Document().RunState() != TRunState::Idle) return;
  CheckSourceTimeStamps();
}

void TFileCommands::CheckSourceTimeStamps() {
  // The question box itself activates the program again.
  if (checkingStamps_) return;
  checkingStamps_ = true;
  if (form_.Menus().CheckTimeStamp->isChecked()) {
    TFileNames& files = form_.Document().Session().Files();
    for (int i = 1; i < files.Count(); ++i) {
      if (files.StampDelta(i) <= 0) continue;
      QMessageBox box(QMessageBox::Information, QStringLiteral("QRX Emulator"),
                      ReloadQuestion(files, i), QMessageBox::Yes | QMessageBox::No, &form_);
      if (form_.Dialogs().ExecModal(box) == QMessageBox::Yes) {
        ReloadClick();
        break;
      }
      // This change is not asked about again. (The box ran an event loop;
      // the file set is looked at afresh.)
      if (i < files.Count()) files.SetTimeStamp(i, FileTimeStamp(files[i]));
    }
  }
  checkingStamps_ = false;
}
