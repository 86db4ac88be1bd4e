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
#include "persistence/encoding.h"
#include "persistence/file_io.h"
#include "session/load_message.h"
#include "session/program_session.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/message_line.h"
#include "workbench/navigation.h"
#include "workbench/side_panels.h"
#include "workbench/workbench_document.h"

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

TLoadResult TMainWindow::OpenFile(const QString& path) {
  TLoadOutcome outcome;
  const TLoadResult result = document_->LoadFile(path.toStdString(), outcome);
  if (outcome.Branch == TLoadBranch::State) StateFileLoaded(result);
  return result;
}

void TMainWindow::ShowLoadOutcome(TLoadResult result, const TLoadOutcome& outcome) {
  const std::string message = LoadResultMessage(result, outcome);
  if (IsLoaded(result)) {
    listingView_->SetRows(&document_->Session().Assembler().Listing());
    RebuildLabelList();
    sidePanels_->ShowHints();
    SetCurrentFile(document_->Session().CurrentFile());
    RepaintViews();
    RefreshMonitor();
    SetButtonsEnabled(true);
    MessageLine()->ShowMessage(message, result != TLoadResult::Clean);
  } else {
    MessageLine()->ShowMessage(message, true);
    if (result == TLoadResult::ReadError)
      ShowErrorBox(QString::fromStdString(Cp932ToUtf8(outcome.ErrorText)));
  }
}

void TMainWindow::StateFileLoaded(TLoadResult) {
  // Sources may have changed since the state was saved.
  CheckSourceTimeStamps();
}

void TMainWindow::SetCurrentFile(const std::string& path) {
  document_->Session().Files().SetStrings(0, path);
  const QString name = QFileInfo(QString::fromStdString(path)).fileName();
  setWindowTitle(QStringLiteral("QRX エミュレータ : ") + name);
}

const std::string& TMainWindow::CurrentFile() const {
  return document_->Session().CurrentFile();
}

namespace {

bool IsPattern(const QString& name) {
  return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

}  // namespace

QString TMainWindow::OpenDialogStartPath() const {
  const QString& name = openDialogName_;
  if (name.isEmpty()) return folders_.SourceFolder;
  const QFileInfo info(name);
  if (info.isAbsolute()) return IsPattern(name) ? info.path() : name;
  if (IsPattern(name)) return folders_.SourceFolder;
  return folders_.SourceFolder + QLatin1Char('/') + name;
}

QString TMainWindow::AskOpenPath(const QString& start, const QString& filter) {
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

void TMainWindow::LoadClick() {
  const QString filter = OpenDialogFilter();
  const QString start = OpenDialogStartPath();
  const QString chosen =
      openDialogHook_ ? openDialogHook_(start, filter) : AskOpenPath(start, filter);
  if (chosen.isEmpty()) return;
  openDialogName_ = chosen;
  OpenFile(chosen);
}

void TMainWindow::ReloadClick() {
  const int remembered = listingView_->SelectedRow();
  const std::string mainSource = document_->Session().MainSource();
  if (!mainSource.empty() && FileExists(mainSource)) {
    // The labels selected now stay selected in the new label table.
    TQRXAssembler& assembler = document_->Session().Assembler();
    document_->Session().SelectedLabelList().AssignStrings(assembler.SelectedLabels());
    OpenFile(QString::fromStdString(mainSource));
  } else {
    LoadClick();
  }
  navigator_->SelectListingRow(remembered, 3, true);
}

void TMainWindow::dragEnterEvent(QDragEnterEvent* event) {
  // Like the file menu, dropping loads nothing while a program runs.
  if (document_->RunState() == TRunState::Idle && event->mimeData()->hasUrls())
    event->acceptProposedAction();
}

void TMainWindow::dropEvent(QDropEvent* event) {
  if (document_->RunState() != TRunState::Idle) {
    event->ignore();
    return;
  }
  const QList<QUrl> urls = event->mimeData()->urls();
  event->acceptProposedAction();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  OpenFile(urls.first().toLocalFile());
}
