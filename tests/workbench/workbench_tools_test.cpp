// The run commands' keys, the boxes that name an editor command that could
// not start, and the check of the loaded program against a case file.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "machine/machine.h"
#include "main_window_test_support.h"
#include "monitor_qt/monitor_font.h"
#include "workbench/case_check_command.h"
#include "workbench/case_check_dialog.h"
#include "workbench/hints_panel.h"
#include "workbench/run_shortcuts.h"
#include "workbench/side_panels.h"
#include "workbench/stack_view.h"
#include "workbench/tool_buttons.h"

namespace {

QStringList CallProgram() {
  return Lines({"; call and return", "        NOP", "CALLER: CALL SUB", "BACK:   LD   V, #7",
                "FIN:    HALT", "SUB:    ADD  V, #1", "        RET", "V:      DW   0"});
}

}  // namespace

class TWorkbenchToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() { rig_ = std::make_unique<TWindowRig>(); }
  void cleanup() { rig_.reset(); }

  // ---------------------------------------------------------- keys

  void KeysRunTheCommandsFromAnyPanel() {
    TMainWindow& form = rig_->CreateShown();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QWidget* stack = form.SidePanels().StackView();
    stack->setFocus();
    // Before a load the buttons are off and so are their keys.
    QTest::keyClick(stack, Qt::Key_F5);
    QCOMPARE(form.Session().Machine().StepCount, uint64_t{0});

    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("call.qasm", CallProgram())),
             TLoadResult::Clean);
    stack->setFocus();
    QTest::keyClick(stack, Qt::Key_F8);  // step
    QCOMPARE(form.Session().Machine().StepCount, uint64_t{1});
    QTest::keyClick(stack, Qt::Key_F5);  // run
    QVERIFY(rig_->Message().startsWith(QStringLiteral(" 実行終了: ")));
    QTest::keyClick(form.SidePanels().HintsPanel(), Qt::Key_F2, Qt::ControlModifier);  // reset
    QCOMPARE(rig_->Message(), QStringLiteral(" 初期化完了"));
    form.Document().SetTraceWait(0);
    QTest::keyClick(stack, Qt::Key_F7);  // trace
    QVERIFY(rig_->Message().startsWith(QStringLiteral(" 実行終了: ")));
  }

  void TheStopKeyEndsARun() {
    TMainWindow& form = rig_->CreateShown();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(
        form.FileCommands().OpenFile(rig_->WriteSource(
            "endless.qasm", Lines({"LOOP:   ADD  N, #1", "        JP   LOOP", "N:      DW   0"}))),
        TLoadResult::Clean);
    QWidget* hints = form.SidePanels().HintsPanel();
    hints->setFocus();
    QTimer::singleShot(50, &form, [&] { QTest::keyClick(hints, Qt::Key_F5, Qt::ControlModifier); });
    QTest::keyClick(hints, Qt::Key_F5);
    QVERIFY(rig_->Message().startsWith(QStringLiteral(" 実行停止: ")));
    QCOMPARE(form.Document().RunState(), TRunState::Idle);
  }

  void TheButtonsNameTheirKeys() {
    TMainWindow& form = rig_->Create();
    for (const TRunShortcuts::TKey& key : TRunShortcuts::Keys()) {
      const QString tip = form.ToolBar()->ButtonAt(key.Button)->toolTip();
      QVERIFY2(tip.contains(key.Keys.toString()), qPrintable(tip));
    }
    // The menus keep their captions.
    QCOMPARE(form.Menus().RunItem->text(), QStringLiteral("実行(&R)"));
    QCOMPARE(form.Menus().StopItem->text(), QStringLiteral("プログラム停止(&E)"));
  }

  // ---------------------------------------------------------- the editor

  void AnEditorThatCannotStartNamesItsCommand_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("named");
    QTest::newRow("missing program") << "/nonexistent/qrx-editor -l %L"
                                     << "/nonexistent/qrx-editor -l 3";
    QTest::newRow("empty command") << ""
                                   << "";
  }
  void AnEditorThatCannotStartNamesItsCommand() {
    QFETCH(QString, command);
    QFETCH(QString, named);
    TMainWindow& form = rig_->Create();
    const QString path = rig_->WriteSource("a.qasm", Lines({"HALT"}));
    form.Editor().SetEditorCommand(command);
    form.Editor().RunEditor(path.toStdString(), 3);
    QCOMPARE(rig_->boxes.size(), 1);
    QVERIFY2(rig_->boxes[0].contains(named), qPrintable(rig_->boxes[0]));
    QVERIFY2(rig_->boxes[0].contains(path), qPrintable(rig_->boxes[0]));
  }

  void AnEditorThatStartsGivesNoBox() {
    TMainWindow& form = rig_->Create();
    form.Editor().SetEditorCommand(QStringLiteral("true"));
    form.Editor().RunEditor(rig_->WriteSource("a.qasm", Lines({"HALT"})).toStdString(), 1);
    QVERIFY(rig_->boxes.isEmpty());
  }

  // ---------------------------------------------------------- case files

  void TheCaseCheckListsEachCaseWithItsResult() {
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("call.qasm", CallProgram())),
             TLoadResult::Clean);
    const QString cases = rig_->WriteBytes(
        "cases.json",
        QStringLiteral("{\"cases\": [\n"
                       " {\"name\": \"V は 7\", \"expect\": {\"memory\": [{\"address\": \"V\", "
                       "\"value\": 7}]}},\n"
                       " {\"name\": \"V は 9\", \"expect\": {\"memory\": [{\"address\": \"V\", "
                       "\"value\": 9}]}}\n"
                       "]}\n")
            .toUtf8());
    QString start;
    form.CaseCheck().SetFileDialogHook([&](const QString& folder, const QString&) {
      start = folder;
      return cases;
    });
    QStringList verdicts, differences;
    QString closing;
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      auto* check = qobject_cast<TCaseCheckDialog*>(&dialog);
      if (check == nullptr) return int(QDialog::Rejected);
      for (int r = 0; r < check->Table()->rowCount(); ++r) {
        verdicts << check->Table()->item(r, TCaseCheckDialog::ResultColumn)->text();
        differences << check->Table()->item(r, TCaseCheckDialog::DifferenceColumn)->text();
      }
      closing = check->ClosingLine()->text();
      return int(QDialog::Accepted);
    });
    emit form.Menus().File->aboutToShow();
    QVERIFY(form.CaseCheck().MenuItem()->isEnabled());
    form.CaseCheck().MenuItem()->trigger();
    QCOMPARE(start, QFileInfo(rig_->Root() + QStringLiteral("/src")).absoluteFilePath());
    QCOMPARE(verdicts, Lines({"PASS", "FAIL"}));
    QVERIFY(differences[0].isEmpty());
    QVERIFY2(differences[1].contains(QStringLiteral("9")) &&
                 differences[1].contains(QStringLiteral("7")),
             qPrintable(differences[1]));
    QCOMPARE(closing, QStringLiteral("1 passed, 1 failed"));
    QVERIFY(rig_->boxes.isEmpty());
  }

  void ABrokenCaseFileGivesABoxWithItsPlace() {
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("call.qasm", CallProgram())),
             TLoadResult::Clean);
    const QString cases = rig_->WriteBytes("broken.json", "{\"cases\": [\n  {\"name\": }\n]}\n");
    bool dialogShown = false;
    form.Dialogs().SetModalHook([&](QDialog&) {
      dialogShown = true;
      return int(QDialog::Rejected);
    });
    form.CaseCheck().Check(cases);
    QVERIFY(!dialogShown);
    QCOMPARE(rig_->boxes.size(), 1);
    QVERIFY2(rig_->boxes[0].contains(QRegularExpression(QStringLiteral("broken\\.json:2:\\d+: "))),
             qPrintable(rig_->boxes[0]));
  }

  void TheCaseCheckNeedsALoadedProgram() {
    TMainWindow& form = rig_->Create();
    emit form.Menus().File->aboutToShow();
    QVERIFY(!form.CaseCheck().MenuItem()->isEnabled());
  }

 private:
  std::unique_ptr<TWindowRig> rig_;
};

QTEST_MAIN(TWorkbenchToolsTest)
#include "workbench_tools_test.moc"
