// What the window shows after a load, the current file shown in the
// caption, and the files dropped on the window (opened through the file
// commands' OpenFile, like the command-line file, which the screen
// thread's start action opens).
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "assembler/qrx_assembler.h"
#include "persistence/encoding.h"
#include "session/load_message.h"
#include "session/program_session.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/message_line.h"
#include "workbench/side_panels.h"
#include "workbench/workbench_document.h"

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

void TMainWindow::SetCurrentFile(const std::string& path) {
  document_->Session().Files().SetStrings(0, path);
  const QString name = QFileInfo(QString::fromStdString(path)).fileName();
  setWindowTitle(QStringLiteral("QRX エミュレータ : ") + name);
}

const std::string& TMainWindow::CurrentFile() const {
  return document_->Session().CurrentFile();
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
  FileCommands().OpenFile(urls.first().toLocalFile());
}
