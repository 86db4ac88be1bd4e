// Opening files: OpenFile and its callers (the open dialog, the reload, the
// files dropped on the window; the command-line file is opened by the screen
// thread's start action), and the current file shown in the caption.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "assembler/qrx_assembler.h"
#include "monitor_qt/form_mon.h"
#include "monitor_qt/screen_thread.h"
#include "persistence/encoding.h"
#include "persistence/file_io.h"
#include "session/load_message.h"
#include "session/program_session.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/message_line.h"
#include "workbench/side_panels.h"

namespace {

const char* const kOpenFilter =
    "QRX関連ファイル|*.qasm;*.qsav;*.bin|QRXソースファイル(*.qasm)|*.qasm|"
    "状態保存ファイル(*.qsav;*.bin)|*.qsav;*.bin|全てのファイル(*.*)|*.*";

}  // namespace

QString QtFileFilter(const QString& pairs) {
  const QStringList parts = pairs.split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns)
      if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

QString OpenDialogFilter() {
  return QtFileFilter(QString::fromUtf8(kOpenFilter));
}

TLoadResult TForm1::OpenFile(const QString& path) {
  TLoadOutcome outcome;
  const TLoadResult result = session_->LoadFile(path.toStdString(), outcome);
  if (outcome.Committed) RestartHistory();
  const std::string message = LoadResultMessage(result, outcome);
  if (IsLoaded(result)) {
    listingView_->SetRows(&session_->Assembler().Listing());
    RebuildLabelList();
    sidePanels_->ShowHints();
    SetCurrentFile(session_->CurrentFile());
    RepaintViews();
    if (TFormMon* monitor = screen_->Monitor()) monitor->Refresh();
    SetButtonsEnabled(true);
    MessageLine()->ShowMessage(message, result != TLoadResult::Clean);
  } else {
    MessageLine()->ShowMessage(message, true);
    if (result == TLoadResult::ReadError)
      ShowErrorBox(QString::fromStdString(Cp932ToUtf8(outcome.ErrorText)));
  }
  if (outcome.Branch == TLoadBranch::State) StateFileLoaded(result);
  return result;
}

void TForm1::StateFileLoaded(TLoadResult) {
  // Sources may have changed since the state was saved.
  CheckSourceTimeStamps();
}

void TForm1::SetCurrentFile(const std::string& path) {
  session_->Files().SetStrings(0, path);
  const QString name = QFileInfo(QString::fromStdString(path)).fileName();
  setWindowTitle(QStringLiteral("QRX エミュレータ : ") + name);
}

const std::string& TForm1::CurrentFile() const {
  return session_->CurrentFile();
}

namespace {

bool IsPattern(const QString& name) {
  return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

}  // namespace

QString TForm1::OpenDialogStartPath() const {
  const QString& name = openDialogName_;
  if (name.isEmpty()) return folders_.SourceFolder;
  const QFileInfo info(name);
  if (info.isAbsolute()) return IsPattern(name) ? info.path() : name;
  if (IsPattern(name)) return folders_.SourceFolder;
  return folders_.SourceFolder + QLatin1Char('/') + name;
}

QString TForm1::AskOpenPath(const QString& start, const QString& filter) {
  QFileDialog dialog(this, QString(), start, filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // The captions carry their patterns already; the patterns still filter.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  // The dialog starts in the pattern's folder with the pattern ("*.qasm")
  // in its name field.
  if (IsPattern(openDialogName_)) dialog.selectFile(QFileInfo(openDialogName_).fileName());
  if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

void TForm1::Load1Click() {
  const QString filter = OpenDialogFilter();
  const QString start = OpenDialogStartPath();
  const QString chosen =
      openDialogHook_ ? openDialogHook_(start, filter) : AskOpenPath(start, filter);
  if (chosen.isEmpty()) return;
  openDialogName_ = chosen;
  OpenFile(chosen);
}

void TForm1::R3Click() {
  const int remembered = listingView_->SelectedRow();
  const std::string mainSource = session_->MainSource();
  if (!mainSource.empty() && FileExists(mainSource)) {
    // The labels selected now stay selected in the new label table.
    TQRXAssembler& assembler = session_->Assembler();
    session_->SelectedLabelList().AssignStrings(assembler.SelectedLabels());
    OpenFile(QString::fromStdString(mainSource));
  } else {
    Load1Click();
  }
  SelectListingRow(remembered, 3, true);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  // Like the file menu, dropping loads nothing while a program runs.
  if (RunState() == TRunState::Idle && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  if (RunState() != TRunState::Idle) {
    event->ignore();
    return;
  }
  const QList<QUrl> urls = event->mimeData()->urls();
  event->acceptProposedAction();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  OpenFile(urls.first().toLocalFile());
}
