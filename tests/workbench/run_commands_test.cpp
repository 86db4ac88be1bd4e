// Run control through the main window: the buttons and menu items run,
// trace, step, stop and reset real programs; the window stays live during a
// run (timers fire, the stop button works, closing is refused), the views
// follow the machine, and the settings and toggles feed run control.
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "machine/machine.h"
#include "main_window_test_support.h"
#include "monitor/monitor_model.h"
#include "monitor_qt/form_mon.h"
#include "monitor_qt/monitor_font.h"
#include "monitor_qt/monitor_renderer.h"
#include "session/run_control.h"
#include "workbench/keyboard_table.h"
#include "workbench/tool_buttons.h"

namespace {

// Waits 40 ms on the machine's timer, then halts: long enough that the run
// loop delivers events several times before the HALT.
QStringList TimedProgram() {
  return Lines({"; waits on the timer", "        OUT  #768, #1", "WAIT:   IN   T, #768",
                "        CMP  T, #40", "        JPT  WAIT, SF", "FIN:    HALT", "T:      DW   0"});
}

// Never ends.
QStringList EndlessProgram() {
  return Lines({"LOOP:   ADD  N, #1", "        JP   LOOP", "N:      DW   0"});
}

// Straight code with a call, for trace and step.
QStringList CallProgram() {
  return Lines({"; call and return", "        NOP", "TWO:    NOP", "CALLER: CALL SUB",
                "BACK:   LD   V, #7", "FIN:    HALT", "SUB:    ADD  V, #1", "        RET",
                "V:      DW   0"});
}

// Counts up to 50 in a loop; the line ADD carries the breakpoint in tests.
QStringList CountingProgram() {
  return Lines({"; counts to 50", "LOOP:   ADD  N, #1", "        CMP  N, #50",
                "        JPT  LOOP, SF", "FIN:    HALT", "N:      DW   0"});
}

// Paints the whole screen red with a line of text on it, then halts.
QStringList RedScreenProgram() {
  return Lines({"        OUT  #38, #255", "        OUT  #39, #0", "        OUT  #40, #0",
                "        OUT  #16, #32", "        OUT  #17, #72", "        OUT  #17, #105",
                "FIN:    HALT"});
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

// A count with "," between groups of three digits.
QString Grouped(uint64_t n) {
  QString digits = QString::number(n);
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
    digits.insert(at, QLatin1Char(','));
  return digits;
}

QString Message(TMainWindow& form) {
  return form.MessageLine()->text();
}

// The enabled state of the five buttons, run to reset.
QList<bool> ButtonStates(TMainWindow& form) {
  QList<bool> states;
  for (int i = 0; i < TToolBarPanel::kButtonCount; ++i)
    states << form.ToolBar()->ButtonAt(i)->isEnabled();
  return states;
}

// The enabled state of the visible items of "実行(&R)" as the menu opens: run,
// trace, stop, reset (the step item is hidden, and Qt keeps a hidden action
// disabled).
QList<bool> RunMenuStates(TMainWindow& form) {
  const TMainMenus& m = form.Menus();
  emit m.Run->aboutToShow();
  return {m.RunItem->isEnabled(), m.TraceItem->isEnabled(), m.StopItem->isEnabled(),
          m.ResetItem->isEnabled()};
}

// The states of the buttons that have visible menu items.
QList<bool> MirroredButtons(const QList<bool>& buttons) {
  return {buttons[0], buttons[1], buttons[3], buttons[4]};
}

void Click(TMainWindow& form, int button) {
  QTest::mouseClick(form.ToolBar()->ButtonAt(button), Qt::LeftButton);
}

// The line index of a listing row.
int LineOfRow(TMainWindow& form, int row) {
  return form.Session().Assembler().Listing().Ref(row)->LineIndex;
}

// Runs action once the run loop delivers events, ms after it started.
void During(TMainWindow& form, int ms, std::function<void()> action) {
  QTimer::singleShot(ms, &form, std::move(action));
}

}  // namespace

class TRunCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() {
    rig_ = std::make_unique<TWindowRig>();
    form_ = &rig_->CreateShown();
  }
  void cleanup() { rig_.reset(); }

  // ---------------------------------------------------------- run

  void RunButtonRunsToTheHaltAndReports() {
    Load("timed.qasm", TimedProgram());
    QList<bool> buttonsDuring, menuDuring;
    bool fileMenuDuring = true;
    TRunState stateDuring = TRunState::Idle;
    QString messageDuring;
    During(*form_, 5, [&] {
      buttonsDuring = ButtonStates(*form_);
      menuDuring = RunMenuStates(*form_);
      fileMenuDuring = form_->Menus().File->menuAction()->isEnabled();
      stateDuring = form_->Document().RunState();
      messageDuring = Message(*form_);
    });
    Click(*form_, TToolBarPanel::Run);

    // While it ran: run, trace, step and reset off, stop on; the menu
    // mirrors the buttons; no file menu.
    QCOMPARE(stateDuring, TRunState::Running);
    QCOMPARE(buttonsDuring, (QList<bool>{false, false, false, true, false}));
    QCOMPARE(menuDuring, MirroredButtons(buttonsDuring));
    QVERIFY(!fileMenuDuring);
    QCOMPARE(messageDuring, QStringLiteral(" 実行中"));

    const uint64_t steps = form_->Session().Machine().StepCount;
    QVERIFY(steps > 4);
    QCOMPARE(Message(*form_),
             QStringLiteral(" 実行終了: %1steps(Total:%1steps)").arg(Grouped(steps)));
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, "FIN"));
    QCOMPARE(form_->Document().RunState(), TRunState::Idle);
    QCOMPARE(ButtonStates(*form_), QList<bool>(5, true));
    QCOMPARE(RunMenuStates(*form_), QList<bool>(4, true));
    QVERIFY(form_->Menus().File->menuAction()->isEnabled());
  }

  void TheRunMenuItemsRunAndTraceByTheirTags() {
    Load("call.qasm", CallProgram());
    form_->Menus().RunItem->trigger();
    QVERIFY(Message(*form_).startsWith(QStringLiteral(" 実行終了: 7steps")));
    form_->Menus().ResetItem->trigger();
    QCOMPARE(Message(*form_), QStringLiteral(" 初期化完了"));
    // The trace item (tag 0) traces: with a long wait the run is still
    // tracing when the timer looks.
    form_->Menus().WaitItems[3]->trigger();  // 100 ms
    TRunState stateDuring = TRunState::Idle;
    During(*form_, 20, [&] { stateDuring = form_->Document().RunState(); });
    form_->Menus().TraceItem->trigger();
    QCOMPARE(stateDuring, TRunState::Tracing);
    QVERIFY(Message(*form_).startsWith(QStringLiteral(" 実行終了: 7steps")));
  }

  void RunMenuMirrorsTheButtonsBeforeAnyLoad() {
    QCOMPARE(ButtonStates(*form_), QList<bool>(5, false));
    QCOMPARE(RunMenuStates(*form_), QList<bool>(4, false));
    QVERIFY(!form_->Menus().StepItem->isVisible());
    Load("call.qasm", CallProgram());
    QCOMPARE(RunMenuStates(*form_), QList<bool>(4, true));
    // The hidden step item does nothing.
    form_->Menus().StepItem->trigger();
    QCOMPARE(form_->Session().Machine().StepCount, uint64_t{0});
  }

  void StopFromATimerEndsAnEndlessRun() {
    Load("endless.qasm", EndlessProgram());
    bool closed = true;
    bool visibleAfterRefusal = false;
    During(*form_, 50, [&] {
      // Closing is refused while the program runs.
      closed = form_->close();
      visibleAfterRefusal = form_->isVisible();
      Click(*form_, TToolBarPanel::Stop);
    });
    Click(*form_, TToolBarPanel::Run);

    QVERIFY(!closed);
    QVERIFY(visibleAfterRefusal);
    QCOMPARE(rig_->boxes, QStringList{QStringLiteral("終了するにはプログラムを停止させて下さい")});
    QVERIFY(Message(*form_).startsWith(QStringLiteral(" 実行停止: ")));
    QCOMPARE(form_->Document().RunState(), TRunState::Idle);
    QCOMPARE(ButtonStates(*form_), QList<bool>(5, true));
    // Stopped in the loop; the listing shows where.
    const int row = form_->ListingView()->SelectedRow();
    QVERIFY(row == RowOfLabel(*form_, "LOOP") || row == RowOfLabel(*form_, "LOOP") + 1);
    QVERIFY(form_->Session().Machine().StepCount > 256);
    // Once stopped the window closes.
    QVERIFY(form_->close());
  }

  void ClosingIsRefusedDuringTraceAndStepToo_data() {
    QTest::addColumn<int>("button");
    QTest::newRow("trace") << int{TToolBarPanel::Trace};
    QTest::newRow("step") << int{TToolBarPanel::Step};
  }
  void ClosingIsRefusedDuringTraceAndStepToo() {
    QFETCH(int, button);
    // A step over an endless loop never reaches another visible line at
    // its depth: it runs until stopped.
    Load("endless.qasm", EndlessProgram());
    form_->Menus().WaitItems[0]->trigger();
    if (button == TToolBarPanel::Step) {
      // Hide every line after the first: the step never finds a visible
      // line to stop on.
      TQRXAssembler& assembler = form_->Session().Assembler();
      for (int i = 0; i < assembler.LineCount(); ++i)
        assembler.LineAt(i).Visible = false;
    }
    bool closed = true;
    TRunState stateDuring = TRunState::Idle;
    During(*form_, 50, [&] {
      stateDuring = form_->Document().RunState();
      closed = form_->close();
      form_->RunCommands().StopClick();
    });
    Click(*form_, button);
    QCOMPARE(stateDuring, button == TToolBarPanel::Step ? TRunState::Stepping : TRunState::Tracing);
    QVERIFY(!closed);
    QCOMPARE(rig_->boxes.size(), 1);
    QVERIFY(Message(*form_).startsWith(QStringLiteral(" 実行停止: ")));
  }

  void ADropDuringARunLoadsNothing() {
    const QString path = Load("endless.qasm", EndlessProgram());
    const QString other = rig_->WriteSource("other.qasm", CallProgram());
    During(*form_, 30, [&] {
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile(other)});
      QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(form_, &drop);
      form_->RunCommands().StopClick();
    });
    Click(*form_, TToolBarPanel::Run);
    QCOMPARE(QString::fromStdString(form_->CurrentFile()), path);
    QCOMPARE(RowOfLabel(*form_, "LOOP"), 0);
  }

  // ---------------------------------------------------------- breakpoints

  void BreakpointsStopARunOnlyWithTheToggleOn() {
    Load("count.qasm", CountingProgram());
    const int loop = RowOfLabel(*form_, "LOOP");
    form_->Session().Breakpoints().SetMember(LineOfRow(*form_, loop), true);
    QVERIFY(form_->Menus().BreakPointStop->isChecked());
    // Starting on the breakpoint's line does not stop at once.
    Click(*form_, TToolBarPanel::Run);
    QCOMPARE(Message(*form_), QStringLiteral(" 実行停止: 3steps(Total:3steps)"));
    QCOMPARE(form_->ListingView()->SelectedRow(), loop);

    form_->Menus().BreakPointStop->trigger();  // off
    QVERIFY(!form_->Document().RunControl().BreakpointsDuringRun());
    Click(*form_, TToolBarPanel::Run);
    QVERIFY(Message(*form_).startsWith(QStringLiteral(" 実行終了: ")));
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, "FIN"));

    // A trace stops there all the same.
    Click(*form_, TToolBarPanel::Reset);
    form_->Menus().WaitItems[0]->trigger();
    Click(*form_, TToolBarPanel::Trace);
    QCOMPARE(Message(*form_), QStringLiteral(" 実行停止: 3steps(Total:3steps)"));
  }

  void TheBreakpointToggleSetInTheFileIsFollowed() {
    rig_->SetIni("MAINFORM/BreakPointStop", 0);
    rig_->SetIni("MAINFORM/MoniterActive", 1);
    TMainWindow& form = rig_->Create();
    QVERIFY(!form.Document().RunControl().BreakpointsDuringRun());
    QVERIFY(form.Document().RunControl().MonitorToFront());
    form.Menus().BreakPointStop->trigger();
    form.Menus().MonitorActive->trigger();
    QVERIFY(form.Document().RunControl().BreakpointsDuringRun());
    QVERIFY(!form.Document().RunControl().MonitorToFront());
  }

  void MonitorToFrontShowsAHiddenMonitorWhenARunStarts() {
    Load("call.qasm", CallProgram());
    form_->Screen().SetMonitorShown(false);
    Click(*form_, TToolBarPanel::Run);
    QVERIFY(!form_->Screen().MonitorShown());
    form_->Menus().MonitorActive->trigger();  // on
    Click(*form_, TToolBarPanel::Reset);
    Click(*form_, TToolBarPanel::Run);
    QVERIFY(form_->Screen().MonitorShown());
  }

  // ---------------------------------------------------------- trace and step

  void TraceShowsEveryLineAtItsDepthInTheListing() {
    Load("call.qasm", CallProgram());
    form_->Menus().WaitItems[1]->trigger();  // 20 ms
    QCOMPARE(form_->Document().RunControl().TraceWait(), 20);
    QList<int> seen;
    const auto sample = [&] {
      const int row = form_->ListingView()->SelectedRow();
      if (seen.isEmpty() || seen.last() != row) seen << row;
    };
    QTimer sampler;
    connect(&sampler, &QTimer::timeout, sample);
    sampler.start(2);
    Click(*form_, TToolBarPanel::Trace);
    sampler.stop();
    // The last line is shown right before the HALT runs.
    sample();
    // The lines after each executed instruction at depth 0; the subroutine
    // runs without being shown.
    const QList<int> expected = {0, RowOfLabel(*form_, "TWO"), RowOfLabel(*form_, "CALLER"),
                                 RowOfLabel(*form_, "BACK"), RowOfLabel(*form_, "FIN")};
    QCOMPARE(seen, expected);
    QCOMPARE(Message(*form_), QStringLiteral(" 実行終了: 7steps(Total:7steps)"));
  }

  void StepMovesTheSelectionAndStepsOverCalls() {
    Load("call.qasm", CallProgram());
    struct TExpect {
      const char* row;
      const char* message;
    };
    const TExpect steps[] = {
        {"TWO", " 実行停止: 1steps(Total:1steps)"},
        {"CALLER", " 実行停止: 1steps(Total:2steps)"},
        {"BACK", " 実行停止: 3steps(Total:5steps)"},  // CALL, ADD, RET
        {"FIN", " 実行停止: 1steps(Total:6steps)"},
        {"FIN", " 実行終了: 1steps(Total:7steps)"},  // the HALT itself
    };
    for (const TExpect& step : steps) {
      Click(*form_, TToolBarPanel::Step);
      QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, step.row));
      QCOMPARE(Message(*form_), QString::fromUtf8(step.message));
      // A step disables nothing.
      QCOMPARE(ButtonStates(*form_), QList<bool>(5, true));
    }
    const uint16_t v =
        static_cast<uint16_t>(form_->Session().Assembler().Labels().RecordOf("V.*").Value);
    QCOMPARE(form_->Session().Machine().ReadWord(v), uint16_t{7});
  }

  // Control held in the main window: a step on a CALL stops inside the
  // subroutine, and a trace shows the subroutine's lines.
  void ControlHeldStepsIntoCalls() {
    Load("call.qasm", CallProgram());
    Click(*form_, TToolBarPanel::Step);
    Click(*form_, TToolBarPanel::Step);
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, "CALLER"));
    QTest::keyPress(form_, Qt::Key_Control);
    QVERIFY(form_->Document().KeyboardTable().IsControlDown());
    Click(*form_, TToolBarPanel::Step);
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, "SUB"));
    QCOMPARE(Message(*form_), QStringLiteral(" 実行停止: 1steps(Total:3steps)"));
    QTest::keyRelease(form_, Qt::Key_Control);
    // Without Control the step stays at the subroutine's depth.
    Click(*form_, TToolBarPanel::Step);
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, "SUB") + 1);
  }

  void ControlHeldTracesIntoCalls() {
    Load("call.qasm", CallProgram());
    form_->Menus().WaitItems[1]->trigger();  // 20 ms
    QList<int> seen;
    const auto sample = [&] {
      const int row = form_->ListingView()->SelectedRow();
      if (seen.isEmpty() || seen.last() != row) seen << row;
    };
    QTimer sampler;
    connect(&sampler, &QTimer::timeout, sample);
    sampler.start(2);
    QTest::keyPress(form_, Qt::Key_Control);
    Click(*form_, TToolBarPanel::Trace);
    QTest::keyRelease(form_, Qt::Key_Control);
    sampler.stop();
    sample();
    const int sub = RowOfLabel(*form_, "SUB");
    const QList<int> expected = {
        0,       RowOfLabel(*form_, "TWO"),  RowOfLabel(*form_, "CALLER"), sub,
        sub + 1, RowOfLabel(*form_, "BACK"), RowOfLabel(*form_, "FIN")};
    QCOMPARE(seen, expected);
  }

  // ---------------------------------------------------------- reset
  // ---------------------------------------------------------- reset

  void ResetReloadsTheProgramAndSaysSo() {
    Load("call.qasm", CallProgram());
    Click(*form_, TToolBarPanel::Run);
    const uint16_t v =
        static_cast<uint16_t>(form_->Session().Assembler().Labels().RecordOf("V.*").Value);
    QCOMPARE(form_->Session().Machine().ReadWord(v), uint16_t{7});
    form_->MessageLine()->ShowMessage(Sjis("1 行のエラー"), true);
    Click(*form_, TToolBarPanel::Reset);
    QCOMPARE(Message(*form_), QStringLiteral(" 初期化完了"));
    // The message keeps its look.
    QVERIFY(form_->MessageLine()->IsAlarm());
    QCOMPARE(form_->Session().Machine().ReadWord(v), uint16_t{0});
    QCOMPARE(form_->Session().Machine().StepCount, uint64_t{0});
    // The listing shows the first instruction; the history starts over.
    QCOMPARE(form_->ListingView()->SelectedRow(), 1);
    QCOMPARE(form_->Navigator().JumpList().ToVector(), (std::vector<std::string>{"0", "1"}));
    // The next report counts from zero.
    Click(*form_, TToolBarPanel::Step);
    QCOMPARE(Message(*form_), QStringLiteral(" 実行停止: 1steps(Total:1steps)"));
  }

  void RunAndTraceStartTheHistoryAtTheSelectedRow_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("lastRowRecorded");
    // A run moves the selection only when it is over, and then records it;
    // a trace has already selected the last row while it was tracing.
    QTest::newRow("run") << int{TToolBarPanel::Run} << true;
    QTest::newRow("trace") << int{TToolBarPanel::Trace} << false;
  }
  void RunAndTraceStartTheHistoryAtTheSelectedRow() {
    QFETCH(int, button);
    QFETCH(bool, lastRowRecorded);
    Load("call.qasm", CallProgram());
    form_->Menus().WaitItems[0]->trigger();
    const int sub = RowOfLabel(*form_, "SUB");
    form_->Navigator().SelectListingRow(sub, 3, true);
    form_->Navigator().SelectListingRow(2, 3, true);
    QCOMPARE(form_->Navigator().JumpList().Count(), 3);
    Click(*form_, button);
    // Rows shown while the program runs add nothing.
    std::vector<std::string> expected{"2"};
    if (lastRowRecorded) expected.push_back(std::to_string(RowOfLabel(*form_, "FIN")));
    QCOMPARE(form_->Navigator().JumpList().ToVector(), expected);
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOfLabel(*form_, "FIN"));
  }

  // The monitor shows the screen after a run, a reset, a state restore and
  // a load, each of which changes it. The monitor is hidden, so the screen
  // thread draws nothing: what it shows is what these commands drew.
  void TheMonitorIsRedrawnAfterEveryCommandThatChangesTheScreen() {
    form_->Screen().SetMonitorShown(false);
    QTRY_VERIFY(!form_->Screen().Monitor()->isVisible());
    const QString state = rig_->Root() + QStringLiteral("/red.qsav");
    form_->FileCommands().SetSaveDialogHook(
        [&state](const QString&, const QString&, const QString&) { return state; });
    const QString path = Load("red.qasm", RedScreenProgram());
    Click(*form_, TToolBarPanel::Run);
    QCOMPARE(form_->Document().MonitorModel().Screen().Cell(10 * 64 + 10).Background, 0x0000FFu);
    QVERIFY(MonitorShowsTheModel(*form_));
    form_->FileCommands().SaveStateClick();
    Click(*form_, TToolBarPanel::Reset);
    QCOMPARE(form_->Document().MonitorModel().Screen().Cell(10 * 64 + 10).Background, 0xFFFFFFu);
    QVERIFY(MonitorShowsTheModel(*form_));
    QCOMPARE(form_->FileCommands().OpenFile(state), TLoadResult::Clean);
    QCOMPARE(form_->Document().MonitorModel().Screen().Cell(10 * 64 + 10).Background, 0x0000FFu);
    QVERIFY(MonitorShowsTheModel(*form_));
    QCOMPARE(form_->FileCommands().OpenFile(path), TLoadResult::Clean);
    QCOMPARE(form_->Document().MonitorModel().Screen().Cell(10 * 64 + 10).Background, 0xFFFFFFu);
    QVERIFY(MonitorShowsTheModel(*form_));
  }

  // ---------------------------------------------------------- settings and thread

  void WaitItemsSetTheTraceWait() {
    const int tags[] = {0, 20, 50, 100, 200, 500};
    for (int i = 0; i < 6; ++i) {
      form_->Menus().WaitItems[static_cast<size_t>(i)]->trigger();
      QCOMPARE(form_->Document().RunControl().TraceWait(), tags[i]);
      QCOMPARE(form_->Document().TraceWait(), tags[i]);
    }
  }

  void WaitCountIsUsedExactlyAsRead() {
    rig_->SetIni("MAINFORM/WaitCount", 120);
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.Document().RunControl().TraceWait(), 120);
    QVERIFY(form.Menus().WaitItems[3]->isChecked());
  }

  void TheScreenThreadSeesTheRunState() {
    // The frame counter only advances while the run state is not 0: the
    // program waits for two frames.
    Load("frames.qasm", Lines({"        OUT  #21, #0", "WAIT:   IN   F, #21", "        CMP  F, #2",
                               "        JPT  WAIT, SF", "FIN:    HALT", "F:      DW   0"}));
    QTRY_VERIFY_WITH_TIMEOUT(form_->Screen().Monitor() != nullptr, kWindowWait);
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, &form_->RunCommands(), &TRunCommands::StopClick);
    safety.start(5000);
    Click(*form_, TToolBarPanel::Run);
    QVERIFY(Message(*form_).startsWith(QStringLiteral(" 実行終了: ")));
  }

 private:
  QString Load(const QString& name, const QStringList& lines) {
    const QString path = rig_->WriteSource(name, lines);
    const TLoadResult result = form_->FileCommands().OpenFile(path);
    if (result != TLoadResult::Clean)
      qWarning("load result %d: %s", static_cast<int>(result), qPrintable(Message(*form_)));
    return result == TLoadResult::Clean ? path : QString();
  }

  std::unique_ptr<TWindowRig> rig_;
  TMainWindow* form_ = nullptr;
};

QTEST_MAIN(TRunCommandsTest)
#include "run_commands_test.moc"
