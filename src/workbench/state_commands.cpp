// Saving: the whole state of the workbench ("現在の状態を保存(&S)..."), the
// input log of the current run ("入力ログを保存(&I)...") and the assembled
// program as a pseudo machine-code file ("機械語で保存(&B)..."). Each asks
// for the file in a save dialog that starts beside the file it is named
// after and asks before overwriting; a file that cannot be written shows
// the system's message in an error box.
#include <QFileDialog>
#include <QFileInfo>

#include "assembler/machine_code_file.h"
#include "assembler/qrx_assembler.h"
#include "persistence/encoding.h"
#include "session/execution_history.h"
#include "session/program_session.h"
#include "workbench/dialog_commands.h"
#include "workbench/file_commands.h"
#include "workbench/main_window.h"
#include "workbench/workbench_document.h"

namespace {

const char* const kStateFilter = "状態保存ファイル(*.qsav;*.bin)|*.qsav";
const char* const kMachineCodeFilter = "偽機械語ファイル(*.qrxg)|*.qrxg";
const char* const kInputLogFilter = "入力ログファイル(*.qlog)|*.qlog";

}  // namespace

QString TFileCommands::AskSavePath(const std::string& basis, const char* filterPairs,
                                   const QString& suffix) {
  // basis's folder and its name with the new extension; before anything
  // was loaded the dialog starts in the source folder without a name.
  QString start = form_.Folders().SourceFolder;
  if (!basis.empty()) {
    const QFileInfo info(QString::fromStdString(basis));
    start = info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('.') + suffix;
  }
  const QString filter = QtFileFilter(QString::fromUtf8(filterPairs));
  if (saveDialogHook_) return saveDialogHook_(start, filter, suffix);

  // A save dialog asks before it overwrites a file; a name typed without
  // an extension is given the suffix.
  QFileDialog dialog(&form_, QString(), start, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(suffix);
  // The caption names its patterns already.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  if (!basis.empty()) dialog.selectFile(start);
  if (form_.Dialogs().ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().first();
}

void TFileCommands::SaveStateClick() {
  const QString path = AskSavePath(form_.CurrentFile(), kStateFilter, QStringLiteral("qsav"));
  if (path.isEmpty()) return;
  std::string error;
  if (!form_.Document().Session().SaveState(path.toStdString(), error))
    form_.Dialogs().ShowErrorBox(QString::fromStdString(Cp932ToUtf8(error)));
}

void TFileCommands::SaveInputLogClick() {
  const QString path = AskSavePath(form_.CurrentFile(), kInputLogFilter, QStringLiteral("qlog"));
  if (path.isEmpty()) return;
  std::string error;
  if (!form_.Document().History().SaveLog(path.toStdString(), error))
    form_.Dialogs().ShowErrorBox(QString::fromStdString(Cp932ToUtf8(error)));
}

void TFileCommands::SaveMachineCodeClick() {
  const QString path = AskSavePath(form_.Document().Session().MainSource(), kMachineCodeFilter,
                                   QStringLiteral("qrxg"));
  if (path.isEmpty()) return;
  std::string error;
  if (!WriteMachineCode(form_.Document().Session().Assembler(), path.toStdString(), error))
    form_.Dialogs().ShowErrorBox(QString::fromStdString(Cp932ToUtf8(error)));
}
