#include "workbench/case_check_command.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

#include "persistence/encoding.h"
#include "session/case_file.h"
#include "session/grading_report.h"
#include "session/grading_run.h"
#include "session/program_session.h"
#include "workbench/case_check_dialog.h"
#include "workbench/dialog_commands.h"
#include "workbench/main_window.h"

namespace {

const char* const kCaseFilter = "ケースファイル (*.json);;全てのファイル (*)";

// The busy cursor for as long as the scope lasts.
class TBusyCursor {
 public:
  TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace

TCaseCheckCommand::TCaseCheckCommand(TMainWindow& form) : QObject(&form), form_(form) {
  const TMainMenus& menus = form.Menus();
  item_ = new QAction(QString::fromUtf8("ケースファイルで確認(&K)..."), this);
  const QList<QAction*> items = menus.File->actions();
  const qsizetype editAt = items.indexOf(menus.EditSource);
  menus.File->insertAction(editAt >= 0 && editAt + 1 < items.size() ? items[editAt + 1] : nullptr,
                           item_);
  connect(item_, &QAction::triggered, this, &TCaseCheckCommand::Run);
  // Like the source editing, it needs a main source.
  connect(menus.File, &QMenu::aboutToShow, this,
          [this] { item_->setEnabled(!form_.Session().MainSource().empty()); });
}

void TCaseCheckCommand::Run() {
  if (form_.Session().MainSource().empty()) return;
  const QString start = QFileInfo(QString::fromStdString(form_.Session().MainSource())).path();
  const QString filter = QString::fromUtf8(kCaseFilter);
  const QString chosen = fileDialogHook_
                             ? fileDialogHook_(start, filter)
                             : QFileDialog::getOpenFileName(&form_, QString(), start, filter);
  if (!chosen.isEmpty()) Check(chosen);
}

void TCaseCheckCommand::Check(const QString& path) {
  const std::string casePath = path.toStdString();
  TCaseFile file;
  TCaseFileProblem fatal;
  std::vector<TCaseResult> results;
  bool readable = false;
  {
    TBusyCursor busy;
    readable = ReadCaseFile(casePath, file, fatal);
    if (readable) {
      // Every case on the program loaded now, on the grader's worker
      // threads; the window waits with the busy cursor.
      const std::vector<TGradingJob> jobs = GradingJobs(file, {form_.Session().MainSource()});
      results = RunGrading(jobs, DefaultJobCount());
    }
  }
  if (!readable) {
    form_.Dialogs().ShowErrorBox(
        QString::fromStdString(Cp932ToUtf8(ProblemLine(casePath, fatal.Position, fatal.Message))));
    return;
  }
  TCaseCheckDialog dialog(path, &form_);
  dialog.ShowResults(results);
  form_.Dialogs().ExecModal(dialog);
}
