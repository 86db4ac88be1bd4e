// Opening files: OpenFile and the commands that end in it (the open dialog
// and the reload).
#include "workbench/file_commands.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>

#include "assembler/qrx_assembler.h"
#include "persistence/file_io.h"
#include "session/program_session.h"
#include "workbench/dialog_commands.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/navigation.h"
#include "workbench/workbench_document.h"

namespace {

const char* const kOpenFilter =
    "QRX関連ファイル|*.qasm;*.qsav;*.bin|QRXソースファイル(*.qasm)|*.qasm|"
    "状態保存ファイル(*.qsav;*.bin)|*.qsav;*.bin|全てのファイル(*.*)|*.*";

bool IsPattern(const QString& name) {
  return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

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

TFileCommands::TFileCommands(TMainWindow& form) : QObject(&form), form_(form) {
  connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive) ApplicationActivated();
          });
}

TLoadResult TFileCommands::OpenFile(const QString& path) {
  TLoadOutcome outcome;
  const TLoadResult result = form_.Document().LoadFile(path.toStdString(), outcome);
  // Sources may have changed since the state was saved.
  if (outcome.Branch == TLoadBranch::State) CheckSourceTimeStamps();
  return result;
}

QString TFileCommands::OpenDialogStartPath() const {
  const QString& name = openDialogName_;
  const QString& sourceFolder = form_.Folders().SourceFolder;
  if (name.isEmpty()) return sourceFolder;
  const QFileInfo info(name);
  if (info.isAbsolute()) return IsPattern(name) ? info.path() : name;
  if (IsPattern(name)) return sourceFolder;
  return sourceFolder + QLatin1Char('/') + name;
}

QString TFileCommands::AskOpenPath(const QString& start, const QString& filter) {
  QFileDialog dialog(&form_, QString(), start, filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // The captions carry their patterns already; the patterns still filter.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  // The dialog starts in the pattern's folder with the pattern ("*.qasm")
  // in its name field.
  if (IsPattern(openDialogName_)) dialog.selectFile(QFileInfo(openDialogName_).fileName());
  if (form_.Dialogs().ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().first();
}

void TFileCommands::LoadClick() {
  const QString filter = OpenDialogFilter();
  const QString start = OpenDialogStartPath();
  const QString chosen =
      openDialogHook_ ? openDialogHook_(start, filter) : AskOpenPath(start, filter);
  if (chosen.isEmpty()) return;
  openDialogName_ = chosen;
  OpenFile(chosen);
}

void TFileCommands::ReloadClick() {
  const int remembered = form_.ListingView()->SelectedRow();
  TProgramSession& session = form_.Document().Session();
  const std::string mainSource = session.MainSource();
  if (!mainSource.empty() && FileExists(mainSource)) {
    // The labels selected now stay selected in the new label table.
    session.SelectedLabelList().AssignStrings(session.Assembler().SelectedLabels());
    OpenFile(QString::fromStdString(mainSource));
  } else {
    LoadClick();
  }
  form_.Navigator().SelectListingRow(remembered, 3, true);
}
