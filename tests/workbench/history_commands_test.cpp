// Going back through the main window: the back buttons and menu items put
// the views and the monitor where an earlier stop would have left them, a
// memory edit is part of the history, a state restore starts a new one, and
// the saved input log repeats the run headless.
#include <QAction>
#include <QToolButton>

#include "machine/machine.h"
#include "main_window_test_support.h"
#include "monitor/monitor_model.h"
#include "monitor_qt/form_mon.h"
#include "monitor_qt/monitor_font.h"
#include "monitor_qt/monitor_renderer.h"
#include "session/execution_history.h"
#include "session/run_control.h"
#include "workbench/memory_grid.h"
#include "workbench/tool_buttons.h"

namespace {

// Writes a character and a word at every step.
QStringList WritingProgram() {
  return Lines({"; writes", "        LD   V, #1", "TWO:    OUT  #17, #65", "THREE:  LD   V, #2",
                "FOUR:   OUT  #17, #66", "FIN:    HALT", "V:      DW   0", "W:      DW   0"});
}

// Adds V to W after a NOP, so an edit of V shows in W.
QStringList AddingProgram() {
  return Lines({"; adds", "        LD   V, #1", "        NOP", "        ADD  W, V", "FIN:    HALT",
                "V:      DW   0", "W:      DW   0"});
}

// Counts to 50; the breakpoint goes on LOOP.
QStringList CountingProgram() {
  return Lines({"; counts to 50", "LOOP:   ADD  N, #1", "        CMP  N, #50",
                "        JPT  LOOP, SF", "FIN:    HALT", "N:      DW   0"});
}

// Waits 20 ms on the timer, counting the turns, and writes the count as a
// character: a run the live devices decide.
QStringList TimedProgram() {
  return Lines({"; waits", "        OUT  #768, #1", "WAIT:   ADD  C, #1", "        IN   T, #768",
                "        CMP  T, #20", "        JPT  WAIT, SF", "        OUT  #17, C",
                "FIN:    HALT", "C:      DW   0", "T:      DW   0"});
}

// Whether the monitor window shows the model's screen as it is now, with
// the cursor in either phase of its blink.
bool MonitorShowsTheModel(TMainWindow& form) {
  TScreenSnapshot snapshot;
  form.Document().MonitorModel().TakeSnapshot(snapshot);
  TMonitorRenderer renderer;
  QImage cursorOn, cursorOff;
  renderer.Render(snapshot, cursorOn, 0);
  renderer.Render(snapshot, cursorOff, 800);
  const QImage shown = form.Screen().Monitor()->Image();
  return shown == cursorOn || shown == cursorOff;
}

uint16_t AddressOf(TMainWindow& form, const char* label) {
  const std::string key = std::string(label) + ".*";
  return static_cast<uint16_t>(form.Session().Assembler().Labels().RecordOf(key).Value);
}

// The text the memory grid shows for the word at address.
QString CellOf(TMainWindow& form, uint16_t address) {
  return form.MemoryView()->CellText(address % 16 + 1, address / 16 + 1);
}

void Click(QToolButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
}

QToolButton* Button(TMainWindow& form, int button) {
  return form.ToolBar()->ButtonAt(button);
}

QToolButton* BackButton(TMainWindow& form, int button) {
  return form.ToolBar()->BackButtonAt(button);
}

// The enabled state of the two back buttons and the three back items.
QList<bool> BackCommands(TMainWindow& form) {
  const TMainMenus& m = form.Menus();
  return {BackButton(form, TToolBarPanel::StepBack)->isEnabled(),
          BackButton(form, TToolBarPanel::RunBack)->isEnabled(), m.StepBackItem->isEnabled(),
          m.StepBackOverCallItem->isEnabled(), m.RunBackItem->isEnabled()};
}

}  // namespace

class THistoryCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() {
    rig_ = std::make_unique<TWindowRig>();
    form_ = &rig_->CreateShown();
  }
  void cleanup() { rig_.reset(); }

  void StepBackShowsTheEarlierStateInTheViewsAndOnTheMonitor() {
    Load("write.qasm", WritingProgram());
    const uint16_t v = AddressOf(*form_, "V");
    QCOMPARE(BackCommands(*form_), QList<bool>(5, false));
    Click(Button(*form_, TToolBarPanel::Step));
    Click(Button(*form_, TToolBarPanel::Step));
    QCOMPARE(BackCommands(*form_), QList<bool>(5, true));
    const QString cellAtTwo = CellOf(*form_, v);
    const TScreenCell screenAtTwo = form_->Document().MonitorModel().Screen().Cell(0);
    Click(Button(*form_, TToolBarPanel::Step));
    Click(Button(*form_, TToolBarPanel::Step));
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, "FIN"));
    QVERIFY(CellOf(*form_, v) != cellAtTwo);

    Click(BackButton(*form_, TToolBarPanel::StepBack));
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, "FOUR"));
    form_->Menus().StepBackItem->trigger();
    QCOMPARE(Message(), QStringLiteral(" 戻りました: 1steps(Total:2steps)"));
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, "THREE"));
    QCOMPARE(CellOf(*form_, v), cellAtTwo);
    QCOMPARE(form_->Document().MonitorModel().Screen().Cell(0), screenAtTwo);
    QCOMPARE(form_->Document().MonitorModel().Screen().Cell(0).Code, uint16_t{65});
    QCOMPARE(form_->Document().MonitorModel().Screen().Cell(1).Code, uint16_t{0});
    QVERIFY(MonitorShowsTheModel(*form_));

    // Forward again from there, then all the way back to the start, where
    // there is nothing more to go back to.
    Click(Button(*form_, TToolBarPanel::Step));
    QCOMPARE(Message(), QStringLiteral(" 実行停止: 1steps(Total:3steps)"));
    Click(BackButton(*form_, TToolBarPanel::RunBack));
    QCOMPARE(Message(), QStringLiteral(" 戻りました: 3steps(Total:0steps)"));
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, "TWO") - 1);
    QCOMPARE(BackCommands(*form_), QList<bool>(5, false));
  }

  void RunBackStopsAtTheBreakpoint() {
    Load("count.qasm", CountingProgram());
    const uint16_t n = AddressOf(*form_, "N");
    form_->Menus().BreakPointStop->trigger();  // off: the run goes to the HALT
    Click(Button(*form_, TToolBarPanel::Run));
    QCOMPARE(form_->Session().Machine().ReadWord(n), uint16_t{50});
    const int loop = RowOfLabel(*form_, "LOOP");
    form_->Session().Breakpoints().SetMember(
        form_->Session().Assembler().Listing().Ref(loop)->LineIndex, true);
    form_->Menus().BreakPointStop->trigger();  // on
    form_->Menus().RunBackItem->trigger();
    // The last time the loop began: N was 49, and the ADD, CMP, JPT and
    // HALT after it are undone.
    QCOMPARE(form_->ListingView()->SelectedRow(), loop);
    QCOMPARE(form_->Session().Machine().ReadWord(n), uint16_t{49});
    QCOMPARE(Message(), QStringLiteral(" 戻りました: 4steps(Total:147steps)"));
  }

  void AStateRestoreStartsANewHistory() {
    const QString state = rig_->Root() + QStringLiteral("/kept.qsav");
    form_->FileCommands().SetSaveDialogHook(
        [&](const QString&, const QString&, const QString&) { return state; });
    Load("write.qasm", WritingProgram());
    Click(Button(*form_, TToolBarPanel::Step));
    form_->FileCommands().SaveStateClick();
    Click(Button(*form_, TToolBarPanel::Step));
    QVERIFY(form_->Document().RunControl().CanGoBack());
    QCOMPARE(form_->FileCommands().OpenFile(state), TLoadResult::Clean);
    const uint64_t restored = form_->Session().Machine().StepCount;
    QVERIFY(!form_->Document().RunControl().CanGoBack());
    QCOMPARE(BackCommands(*form_), QList<bool>(5, false));
    QCOMPARE(form_->Document().History().Position(), uint64_t{0});
    // The history starts at the restored state, one step in.
    Click(Button(*form_, TToolBarPanel::Step));
    form_->RunCommands().RunBackClick();
    QCOMPARE(form_->Session().Machine().StepCount, restored);
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, "TWO"));
  }

  void AMemoryEditWhilePausedIsReplayedWhenGoingBackPastIt() {
    Load("add.qasm", AddingProgram());
    const uint16_t v = AddressOf(*form_, "V");
    const uint16_t w = AddressOf(*form_, "W");
    Click(Button(*form_, TToolBarPanel::Step));  // V := 1
    auto* grid = static_cast<TMemoryGrid*>(form_->MemoryView()->Grid());
    emit grid->CellTextEdited(v, QStringLiteral("5"));
    QCOMPARE(form_->Session().Machine().ReadWord(v), uint16_t{5});
    Click(Button(*form_, TToolBarPanel::Step));  // NOP
    Click(Button(*form_, TToolBarPanel::Step));  // W := W + V
    QCOMPARE(form_->Session().Machine().ReadWord(w), uint16_t{5});
    // Back one: the machine is rebuilt from the start, through the edit.
    form_->RunCommands().StepBackClick();
    QCOMPARE(form_->Session().Machine().ReadWord(v), uint16_t{5});
    QCOMPARE(form_->Session().Machine().ReadWord(w), uint16_t{0});
    QCOMPARE(CellOf(*form_, v), QStringLiteral("0005"));
    Click(Button(*form_, TToolBarPanel::Step));
    QCOMPARE(form_->Session().Machine().ReadWord(w), uint16_t{5});
  }

  void TheSavedInputLogReplaysToTheSameScreen() {
    const QString source = Load("timed.qasm", TimedProgram());
    const QString log = rig_->Root() + QStringLiteral("/timed.qlog");
    QString filter;
    form_->FileCommands().SetSaveDialogHook(
        [&](const QString&, const QString& given, const QString&) {
          filter = given;
          return log;
        });
    Click(Button(*form_, TToolBarPanel::Run));
    QVERIFY(Message().startsWith(QStringLiteral(" 実行終了: ")));
    form_->Menus().SaveInputLog->trigger();
    QVERIFY(filter.contains(QStringLiteral("*.qlog")));
    QVERIFY(rig_->boxes.isEmpty());

    TMonitorModel monitor;
    TProgramSession session(monitor);
    TLoadOutcome outcome;
    QCOMPARE(session.LoadFile(source.toStdString(), outcome), TLoadResult::Clean);
    TExecutionHistory replay(session.Machine(), monitor);
    TInputLogFile file;
    std::string error;
    QVERIFY(LoadInputLogFile(log.toStdString(), file, error));
    QVERIFY(replay.StartReplay(std::move(file), error));
    const TReplayRun run = replay.RunReplay(10'000'000);
    QVERIFY(run.Halted);
    QCOMPARE(session.Machine().StepCount, form_->Session().Machine().StepCount);
    QVERIFY(session.Machine().Memory == form_->Session().Machine().Memory);
    QVERIFY(monitor.Screen().Cells() == form_->Document().MonitorModel().Screen().Cells());
  }

  void ALogThatCannotBeWrittenSaysWhy() {
    Load("write.qasm", WritingProgram());
    const QString folder = rig_->Root() + QStringLiteral("/no/such/folder/run.qlog");
    form_->FileCommands().SetSaveDialogHook(
        [&](const QString&, const QString&, const QString&) { return folder; });
    form_->FileCommands().SaveInputLogClick();
    QCOMPARE(rig_->boxes.size(), 1);
    QVERIFY(rig_->boxes.first().contains(QStringLiteral("run.qlog")));
  }

 private:
  QString Load(const QString& name, const QStringList& lines) {
    const QString path = rig_->WriteSource(name, lines);
    const TLoadResult result = form_->FileCommands().OpenFile(path);
    if (result != TLoadResult::Clean)
      qWarning("load result %d: %s", static_cast<int>(result), qPrintable(Message()));
    return result == TLoadResult::Clean ? path : QString();
  }
  QString Message() const { return form_->MessageLine()->text(); }

  std::unique_ptr<TWindowRig> rig_;
  TMainWindow* form_ = nullptr;
};

QTEST_MAIN(THistoryCommandsTest)
#include "history_commands_test.moc"
