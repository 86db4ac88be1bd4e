// The main window: start-up (layout, buttons, folders), the settings read at
// creation and written on closing, the refusal to close while a program
// runs, the menus with their captions, checks and enabling rules.
#include <QActionGroup>
#include <QFontInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "main_window_test_support.h"
#include "monitor/monitor_model.h"
#include "monitor_qt/form_mon.h"
#include "monitor_qt/monitor_font.h"
#include "session/run_control.h"
#include "workbench/application_setup.h"
#include "workbench/memory_view.h"
#include "workbench/tool_buttons.h"
#include "workbench/window_placement.h"

namespace {

// The captions of a menu's items in order, "-" for a separator, a hidden
// item in brackets.
QStringList Captions(const QMenu* menu) {
  QStringList captions;
  for (const QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      captions << QStringLiteral("-");
      continue;
    }
    const QString text = action->text();
    captions << (action->isVisible() ? text : QLatin1Char('[') + text + QLatin1Char(']'));
  }
  return captions;
}

QStringList Checked(const QList<QAction*>& actions) {
  QStringList checked;
  for (const QAction* action : actions)
    if (action->isChecked()) checked << action->text();
  return checked;
}

// The exit code of an event loop that had to be ended from outside.
constexpr int kNotEnded = 99;

// Runs the application's event loop as the program does; a loop still
// running after ms is ended with kNotEnded.
int ExecUntilEnded(int ms) {
  QTimer giveUp;
  giveUp.setSingleShot(true);
  QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(kNotEnded); });
  giveUp.start(ms);
  return QApplication::exec();
}

}  // namespace

class TMainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() { rig_ = std::make_unique<TWindowRig>(); }
  void cleanup() { rig_.reset(); }

  // ---------------------------------------------------------- start-up

  void StartsWithItsCaptionSizeAndDisabledButtons() {
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.windowTitle(), QStringLiteral("QRX エミュレータ"));
    QCOMPARE(form.size(), QSize(780, 470));
    const QStringList hints =
        Lines({"実行 (F5)", "トレース実行 (F7)", "ステップ実行 (F8、Ctrl+F8でCALLの中へ)",
               "停止 (Ctrl+F5)", "リセット (Ctrl+F2)"});
    const int tags[] = {1, 2, 0, 0, 0};
    for (int i = 0; i < TToolBarPanel::kButtonCount; ++i) {
      const QToolButton* button = form.ToolBar()->ButtonAt(i);
      QVERIFY2(!button->isEnabled(), qPrintable(hints[i]));
      QCOMPARE(button->toolTip(), hints[i]);
      QCOMPARE(button->size(), QSize(40, 24));
      QCOMPARE(button->iconSize(), QSize(20, 20));
      QCOMPARE(form.ToolBar()->TagOf(i), tags[i]);
    }
    QCOMPARE(form.MessageLine()->text(), QString());
    QVERIFY(form.CurrentFile().empty());
    QCOMPARE(form.Navigator().JumpList().ToVector(), std::vector<std::string>{"0"});
    // Before any load the label view lists the six registers in order.
    QCOMPARE(LabelKeys(form), Lines({"PC", "SP", "VF", "SF", "ZF", "CF"}));
    QCOMPARE(form.LabelView()->RowCount(), 6);
    QCOMPARE(form.Session().Files().Count(), 2);
    QVERIFY(form.acceptDrops());
  }

  void LaysOutItsPanelsWithTheDefaultSizes() {
    TMainWindow& form = rig_->CreateShown();
    QCOMPARE(form.ToolBar()->height(), 25);
    QCOMPARE(form.LabelView()->HeaderBar()->height(), TMainWindow::kHeaderHeight);
    QCOMPARE(form.ListingView()->HeaderBar()->height(), TMainWindow::kHeaderHeight);
    QCOMPARE(form.LabelSplitter()->handleWidth(), 6);
    QCOMPARE(form.MemorySplitter()->handleWidth(), 6);
    QCOMPARE(form.LabelPanel()->width(), 230);
    QCOMPARE(form.MemoryPanel()->height(), 100);
    // The label panel is left of the listing, the memory panel below both.
    QVERIFY(form.LabelPanel()->mapTo(&form, QPoint()).x() <
            form.ListingPanel()->mapTo(&form, QPoint()).x());
    QVERIFY(form.MemoryPanel()->mapTo(&form, QPoint()).y() >
            form.ListingPanel()->mapTo(&form, QPoint()).y());
    const int sections[] = {42, 48, 48, 48, 48};
    for (int i = 0; i < 5; ++i)
      QCOMPARE(form.LabelView()->HeaderBar()->sectionSize(i), sections[i]);
    const int listing[] = {48, 48, 48, 56, 56, 240};
    for (int i = 0; i < 6; ++i)
      QCOMPARE(form.ListingView()->HeaderBar()->sectionSize(i), listing[i]);
  }

  // The memory panel's status bar does not hold the window wide: its
  // panels are cut off at the right edge instead.
  void TheWindowNarrowsTo420Pixels() {
    TMainWindow& form = rig_->CreateShown();
    form.resize(420, 470);
    QCOMPARE(form.width(), 420);
    QTRY_COMPARE(form.MemoryView()->StatusBar()->width(), 420);
  }

  void RowHeightsFollowTheFont() {
    const TRowMetrics metrics = RowMetricsForFontHeight(12);
    QCOMPARE(metrics.GridRowHeight, 16);
    QCOMPARE(metrics.GridColumnWidth, 44);
    QCOMPARE(metrics.ListRowHeight, 16);
    const TRowMetrics larger = RowMetricsForFontHeight(15);
    QCOMPARE(larger.GridRowHeight, 20);
    QCOMPARE(larger.GridColumnWidth, 53);
    QCOMPARE(larger.ListRowHeight, 19);

    TMainWindow& form = rig_->CreateShown();
    const int h = QFontInfo(form.MainFont()).pixelSize();
    QCOMPARE(form.ListingView()->RowHeight(), h + 4);
    QCOMPARE(form.LabelView()->RowHeight(), h + 4);
    QCOMPARE(form.MainFont().pointSize(), 9);
  }

  void FirstStartCopiesTheSamplesAndASecondStartDoesNot() {
    QFile::copy(QStringLiteral(QRX_SAMPLE_DIR "/hello.qasm"), rig_->Samples() + "/hello.qasm");
    QDir(rig_->Samples()).mkpath(QStringLiteral("nested"));
    TMainWindow& form = rig_->Create();
    QVERIFY(form.FirstStart().SettingsFolderCreated);
    QCOMPARE(form.FirstStart().SamplesCopied, 1);
    QVERIFY(QFileInfo::exists(rig_->SourceFolder() + "/hello.qasm"));
    QVERIFY(!QFileInfo::exists(rig_->SourceFolder() + "/nested"));
    rig_->Destroy();

    QVERIFY(QDir(rig_->SourceFolder()).removeRecursively());
    TMainWindow& again = rig_->Create();
    QVERIFY(!again.FirstStart().SettingsFolderCreated);
    QCOMPARE(again.FirstStart().SamplesCopied, 0);
    QVERIFY(!QFileInfo::exists(rig_->SourceFolder()));
  }

  void TheBundledSampleAssemblesCleanly() {
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.FileCommands().OpenFile(QStringLiteral(QRX_SAMPLE_DIR "/hello.qasm")),
             TLoadResult::Clean);
    QVERIFY(form.ListingView()->RowCount() > 10);
  }

  void CommandLineFileOpensOnceTheMonitorExists() {
    const QString path = rig_->WriteSource("start.qasm", Lines({"START: NOP", "  HALT"}));
    TMainWindow& form = rig_->Create({path});
    // Nothing is opened before the event loop has the monitor created.
    QVERIFY(form.CurrentFile().empty());
    QCOMPARE(form.FileCommands().OpenDialogFileName(), path);
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(form.CurrentFile()), path, kWindowWait);
    QVERIFY(form.Screen().Monitor() != nullptr);
    QCOMPARE(rig_->Message(), QStringLiteral(" ロード＆アセンブル正常終了"));
  }

  void CommandLineArgumentThatIsNoFileIsIgnored() {
    rig_->SetIni("MAINFORM/LastFileName", QStringLiteral("/old/prog.qasm"));
    TMainWindow& form = rig_->Create({rig_->Root() + "/missing.qasm"});
    QCOMPARE(form.FileCommands().OpenDialogFileName(), QStringLiteral("/old/prog.qasm"));
    rig_->WaitForMonitor();
    QTest::qWait(50);
    QVERIFY(form.CurrentFile().empty());
    QCOMPARE(rig_->Message(), QString());
  }

  // ---------------------------------------------------------- settings

  void SettingsAreAppliedAtCreation() {
    rig_->SetIni("MAINFORM/NumHex", 1);
    rig_->SetIni("MAINFORM/KwVisible", 0);
    rig_->SetIni("MAINFORM/DmpVisible", 0);
    rig_->SetIni("MAINFORM/KwHead2", 70);
    rig_->SetIni("MAINFORM/SrcHead5", 180);
    rig_->SetIni("MAINFORM/BreakPointStop", 0);
    rig_->SetIni("MAINFORM/MoniterActive", 1);
    rig_->SetIni("MAINFORM/SkNum", 1);
    rig_->SetIni("MAINFORM/SkVal", 0);
    rig_->SetIni("MAINFORM/SyncView", 0);
    rig_->SetIni("MAINFORM/CheckTimeStamp", 1);
    rig_->SetIni("MAINFORM/MnState", 0);
    rig_->SetIni("OPTION/Editer", QStringLiteral("gedit +%L %F"));
    rig_->SetIni("OPTION/FontSize", 11);
    TMainWindow& form = rig_->Create();
    const TMainMenus& m = form.Menus();
    QCOMPARE(form.NumberFormat(), TNumberFormat::UnsignedDecimal);
    QVERIFY(m.NumberFormatItems[1]->isChecked());
    QVERIFY(!m.NumberFormatItems[2]->isChecked());
    QVERIFY(form.LabelPanel()->isHidden());
    QVERIFY(form.MemoryPanel()->isHidden());
    QCOMPARE(form.LabelView()->HeaderBar()->sectionSize(2), 70);
    QCOMPARE(form.ListingView()->HeaderBar()->sectionSize(5), 180);
    QVERIFY(!m.BreakPointStop->isChecked());
    QVERIFY(m.MonitorActive->isChecked());
    QVERIFY(m.SkNum->isChecked());
    QVERIFY(!m.SkVal->isChecked());
    QVERIFY(!m.SyncView->isChecked());
    QVERIFY(m.CheckTimeStamp->isChecked());
    QVERIFY(!form.Screen().MonitorShown());
    QCOMPARE(form.Editor().EditorCommand(), QStringLiteral("gedit +%L %F"));
    QCOMPARE(form.MainFont().pointSize(), 11);
    QCOMPARE(form.Views().LabelFilterMask(), uint16_t{0x080 | 0x010 | 0x040});
  }

  // Two screens side by side, 1000 × 700 and 800 × 600 (a panel takes its
  // top 40 pixels), and a window 500 pixels wide.
  void TitleBarsAreKeptWithinReach_data() {
    QTest::addColumn<QPoint>("kept");
    QTest::addColumn<QPoint>("placed");
    QTest::newRow("on the first screen") << QPoint(100, 50) << QPoint(100, 50);
    QTest::newRow("on the second screen") << QPoint(1200, 300) << QPoint(1200, 300);
    QTest::newRow("across both") << QPoint(700, 100) << QPoint(700, 100);
    QTest::newRow("off the right, enough left") << QPoint(1700, 100) << QPoint(1700, 100);
    QTest::newRow("off the right, too little") << QPoint(1750, 100) << QPoint(1300, 100);
    QTest::newRow("above the top") << QPoint(100, -91) << QPoint(100, 0);
    QTest::newRow("under the panel") << QPoint(1200, 10) << QPoint(1200, 40);
    QTest::newRow("below the bottom") << QPoint(100, 690) << QPoint(100, 670);
    QTest::newRow("left of everything") << QPoint(-2000, 100) << QPoint(0, 100);
    QTest::newRow("far off") << QPoint(5000, 5000) << QPoint(1300, 570);
  }
  void TitleBarsAreKeptWithinReach() {
    QFETCH(QPoint, kept);
    const QList<QRect> areas = {QRect(0, 0, 1000, 700), QRect(1000, 40, 800, 560)};
    QTEST(TitleBarOnScreen(kept, 500, areas), "placed");
  }

  void WindowsKeptOffTheScreenAreRestoredOnIt() {
    rig_->SetIni("MAINFORM/FmLeft", -2000);
    rig_->SetIni("MAINFORM/FmTop", -91);
    rig_->SetIni("MAINFORM/MnLeft", -1000);
    rig_->SetIni("MAINFORM/MnTop", 100);
    TMainWindow& form = rig_->CreateShown();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(form.pos(), area.topLeft());
    QCOMPARE(form.Screen().Monitor()->pos(), QPoint(area.left(), 100));
  }

  void WaitCountSelectsTheNearestItem_data() {
    QTest::addColumn<int>("waitCount");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("wait");
    QTest::newRow("120") << 120 << QStringLiteral("100ms(&3)") << 120;
    QTest::newRow("900") << 900 << QStringLiteral("500ms(&5)") << 500;
    QTest::newRow("0") << 0 << QStringLiteral("なし(&0)") << 0;
    QTest::newRow("-7") << -7 << QStringLiteral("500ms(&5)") << 500;
  }
  void WaitCountSelectsTheNearestItem() {
    QFETCH(int, waitCount);
    QFETCH(QString, item);
    QFETCH(int, wait);
    rig_->SetIni("MAINFORM/WaitCount", waitCount);
    TMainWindow& form = rig_->Create();
    QCOMPARE(Checked(form.Menus().Wait->actions()), QStringList{item});
    QCOMPARE(form.Document().TraceWait(), wait);
    QVERIFY(form.close());
    QCOMPARE(rig_->Ini("MAINFORM/WaitCount").toInt(), wait);
  }

  void ChoosingAWaitItemSetsTheTraceWait() {
    TMainWindow& form = rig_->Create();
    form.Menus().WaitItems[2]->trigger();
    QCOMPARE(form.Document().TraceWait(), 50);
    QCOMPARE(Checked(form.Menus().Wait->actions()), QStringList{QStringLiteral("50ms(&2)")});
  }

  void NumHexOutOfRangeStartsInHexadecimal() {
    rig_->SetIni("MAINFORM/NumHex", 7);
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.NumberFormat(), TNumberFormat::Hexadecimal);
    QVERIFY(form.Menus().NumberFormatItems[2]->isChecked());
    QVERIFY(form.close());
    QCOMPARE(rig_->Ini("MAINFORM/NumHex"), QStringLiteral("2"));
  }

  void ClosingWritesTheLayoutAndOptions() {
    TMainWindow& form = rig_->CreateShown();
    QTRY_VERIFY_WITH_TIMEOUT(form.Screen().Monitor()->isVisible(), kWindowWait);
    form.Screen().Monitor()->move(300, 200);
    form.move(40, 50);
    form.resize(820, 500);
    form.LabelView()->HeaderBar()->resizeSection(0, 60);
    form.ListingView()->HeaderBar()->resizeSection(3, 70);
    form.Menus().NumberFormatItems[0]->trigger();
    form.Menus().SkAuto->trigger();
    form.Menus().SyncView->trigger();
    form.Menus().MemoryDump->trigger();
    form.Editor().SetEditorCommand(QStringLiteral("kate %F"));
    QVERIFY(form.close());

    QCOMPARE(rig_->Ini("MAINFORM/FmWindowState"), QStringLiteral("0"));
    QCOMPARE(rig_->Ini("MAINFORM/FmLeft"), QStringLiteral("40"));
    QCOMPARE(rig_->Ini("MAINFORM/FmTop"), QStringLiteral("50"));
    QCOMPARE(rig_->Ini("MAINFORM/FmWidth"), QStringLiteral("820"));
    QCOMPARE(rig_->Ini("MAINFORM/FmHeight"), QStringLiteral("500"));
    QCOMPARE(rig_->Ini("MAINFORM/MnLeft"), QStringLiteral("300"));
    QCOMPARE(rig_->Ini("MAINFORM/MnTop"), QStringLiteral("200"));
    QCOMPARE(rig_->Ini("MAINFORM/MnState"), QStringLiteral("1"));
    QCOMPARE(rig_->Ini("MAINFORM/KwWidth"), QStringLiteral("230"));
    QCOMPARE(rig_->Ini("MAINFORM/KwVisible"), QStringLiteral("1"));
    QCOMPARE(rig_->Ini("MAINFORM/KwHead0"), QStringLiteral("60"));
    QCOMPARE(rig_->Ini("MAINFORM/SrcHead3"), QStringLiteral("70"));
    QCOMPARE(rig_->Ini("MAINFORM/DmpHeight"), QStringLiteral("100"));
    QCOMPARE(rig_->Ini("MAINFORM/DmpVisible"), QStringLiteral("0"));
    QCOMPARE(rig_->Ini("MAINFORM/NumHex"), QStringLiteral("0"));
    QCOMPARE(rig_->Ini("MAINFORM/SkAuto"), QStringLiteral("1"));
    QCOMPARE(rig_->Ini("MAINFORM/SyncView"), QStringLiteral("0"));
    QCOMPARE(rig_->Ini("MAINFORM/BreakPointStop"), QStringLiteral("1"));
    QCOMPARE(rig_->Ini("OPTION/Editer"), QStringLiteral("kate %F"));
    QVERIFY(!rig_->IniHas("OPTION/FontName"));
    // Closing hides the monitor with the main window.
    QVERIFY(!form.Screen().MonitorShown());
    QTRY_VERIFY_WITH_TIMEOUT(!form.Screen().Monitor()->isVisible(), kWindowWait);
    QVERIFY(rig_->boxes.isEmpty());

    // The next start reads it all back.
    TMainWindow& next = rig_->CreateShown();
    QCOMPARE(next.pos(), QPoint(40, 50));
    QCOMPARE(next.size(), QSize(820, 500));
    QVERIFY(next.MemoryPanel()->isHidden());
    QCOMPARE(next.NumberFormat(), TNumberFormat::SignedDecimal);
    QCOMPARE(next.LabelView()->HeaderBar()->sectionSize(0), 60);
    QCOMPARE(next.Screen().Monitor()->pos(), QPoint(300, 200));
  }

  void MovedSplittersAreRemembered() {
    rig_->SetIni("MAINFORM/KwWidth", 260);
    rig_->SetIni("MAINFORM/DmpHeight", 130);
    TMainWindow& form = rig_->CreateShown();
    QCOMPARE(form.LabelPanel()->width(), 260);
    QCOMPARE(form.MemoryPanel()->height(), 130);
    // Hiding and showing the label panel keeps its width.
    form.Menus().LabelPanel->trigger();
    QVERIFY(form.LabelPanel()->isHidden());
    form.Menus().LabelPanel->trigger();
    QVERIFY(!form.LabelPanel()->isHidden());
    QTRY_COMPARE(form.LabelPanel()->width(), 260);
    QVERIFY(form.close());
    QCOMPARE(rig_->Ini("MAINFORM/KwWidth"), QStringLiteral("260"));
    QCOMPARE(rig_->Ini("MAINFORM/DmpHeight"), QStringLiteral("130"));
  }

  void AMaximisedWindowKeepsItsNormalGeometryInTheFile() {
    rig_->SetIni("MAINFORM/FmLeft", 15);
    rig_->SetIni("MAINFORM/FmWidth", 700);
    TMainWindow& form = rig_->Create();
    form.setWindowState(Qt::WindowMaximized);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.isMaximized());
    QVERIFY(form.close());
    QCOMPARE(rig_->Ini("MAINFORM/FmWindowState"), QStringLiteral("2"));
    QCOMPARE(rig_->Ini("MAINFORM/FmLeft"), QStringLiteral("15"));
    QCOMPARE(rig_->Ini("MAINFORM/FmWidth"), QStringLiteral("700"));
    QVERIFY(!rig_->IniHas("MAINFORM/FmTop"));

    // It starts maximised next time.
    TMainWindow& next = rig_->Create();
    QVERIFY(next.windowState() & Qt::WindowMaximized);
  }

  void WithoutAFileSelectKwStaysAndLastFileNameIsEmptied() {
    rig_->SetIni("MAINFORM/SelectKw", QStringLiteral("OLD.*"));
    rig_->SetIni("MAINFORM/LastFileName", QStringLiteral("/old/prog.qasm"));
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.Session().SelectedLabelList().ToVector(), std::vector<std::string>{"OLD.*"});
    QVERIFY(form.close());
    QCOMPARE(rig_->Ini("MAINFORM/SelectKw"), QStringLiteral("OLD.*"));
    QVERIFY(rig_->IniHas("MAINFORM/LastFileName"));
    QCOMPARE(rig_->Ini("MAINFORM/LastFileName"), QString());

    // The empty name does not fall back to the default pattern.
    TMainWindow& next = rig_->Create();
    QCOMPARE(next.FileCommands().OpenDialogFileName(), QString());
    QCOMPARE(next.FileCommands().OpenDialogStartPath(), rig_->SourceFolder());
  }

  void WithAFileSelectKwHoldsTheSelectedLabels() {
    rig_->SetIni("MAINFORM/SelectKw", QStringLiteral("COUNT.*,MISSING.*"));
    TMainWindow& form = rig_->Create();
    const QString path = rig_->WriteSource(
        "sel.qasm", Lines({"START: LD COUNT, #1", "  HALT", "COUNT: DW 0", "WORK: DW 0"}));
    QCOMPARE(form.FileCommands().OpenFile(path), TLoadResult::Clean);
    // The name read at start marks the new program's label.
    const TKwList& labels = form.Session().Assembler().Labels();
    QVERIFY(labels.RecordOf("COUNT.*").Selected);
    QVERIFY(!labels.RecordOf("WORK.*").Selected);
    QVERIFY(form.close());
    QCOMPARE(rig_->Ini("MAINFORM/SelectKw"), QStringLiteral("COUNT.*"));
    QCOMPARE(rig_->Ini("MAINFORM/LastFileName"), path);
  }

  void DefaultDialogNameIsThePatternInTheSourceFolder() {
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.FileCommands().OpenDialogFileName(), rig_->SourceFolder() + "/*.qasm");
    QCOMPARE(form.FileCommands().OpenDialogStartPath(), rig_->SourceFolder());
  }

  // ---------------------------------------------------------- closing

  void ClosingWhileAProgramRunsIsRefused_data() {
    QTest::addColumn<TRunState>("state");
    QTest::newRow("running") << TRunState::Running;
    QTest::newRow("tracing") << TRunState::Tracing;
    QTest::newRow("stepping") << TRunState::Stepping;
  }
  void ClosingWhileAProgramRunsIsRefused() {
    QFETCH(TRunState, state);
    TMainWindow& form = rig_->CreateShown();
    form.Document().SetRunState(state);
    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    QCOMPARE(rig_->boxes, QStringList{QStringLiteral("終了するにはプログラムを停止させて下さい")});
    QVERIFY(!QFileInfo::exists(rig_->IniPath()));
    QVERIFY(form.Screen().MonitorShown());

    form.Document().SetRunState(TRunState::Idle);
    QVERIFY(form.close());
    QVERIFY(QFileInfo::exists(rig_->IniPath()));
  }

  void QuitItemClosesTheWindow() {
    TMainWindow& form = rig_->CreateShown();
    QSignalSpy closed(&form, &TMainWindow::Closed);
    form.Menus().Quit->trigger();
    QVERIFY(!form.isVisible());
    QCOMPARE(closed.count(), 1);
  }

  // With the event loop running and the monitor on screen, the program ends
  // once the main window has accepted its close, whether the window system
  // asked for it or the quit item. The screen thread hides the monitor a
  // few milliseconds later; a second monitor window stands for one that is
  // still on screen then (its close box only hides it, so it refuses every
  // close).
  void TheProgramEndsOnceTheMainWindowHasClosed_data() {
    QTest::addColumn<bool>("quitItem");
    QTest::newRow("close request") << false;
    QTest::newRow("quit item") << true;
  }
  void TheProgramEndsOnceTheMainWindowHasClosed() {
    QFETCH(bool, quitItem);
    TMainWindow& form = rig_->CreateShown();
    QTRY_VERIFY(form.Screen().Monitor()->isVisible());
    TMonitorModel otherModel;
    TFormMon stillShown(otherModel);
    stillShown.show();
    EndWhenClosed(form);
    QTimer::singleShot(0, &form, [&form, quitItem] {
      if (quitItem)
        form.Menus().Quit->trigger();
      else
        form.windowHandle()->close();
    });
    QCOMPARE(ExecUntilEnded(2000), 0);
    QVERIFY(!form.isVisible());
  }

  void ACloseRefusedDuringARunKeepsTheProgramGoing() {
    TMainWindow& form = rig_->CreateShown();
    EndWhenClosed(form);
    QCOMPARE(
        form.FileCommands().OpenFile(rig_->WriteSource("endless.qasm", Lines({"LOOP: JP LOOP"}))),
        TLoadResult::Clean);
    bool closed = true;
    QTimer::singleShot(0, &form,
                       [&form] { form.RunCommands().RunOrTraceClick(TToolBarPanel::kRunTag); });
    QTimer::singleShot(50, &form, [&] {
      closed = form.windowHandle()->close();
      form.RunCommands().StopClick();
    });
    QCOMPARE(ExecUntilEnded(500), kNotEnded);
    QVERIFY(!closed);
    QVERIFY(form.isVisible());
    QCOMPARE(rig_->boxes, QStringList{QStringLiteral("終了するにはプログラムを停止させて下さい")});
  }

  void ASettingsFileThatCannotBeWrittenShowsTheErrorAndClosesAnyway() {
    QVERIFY(QDir().mkpath(rig_->IniPath()));
    TMainWindow& form = rig_->CreateShown();
    QVERIFY(form.close());
    QCOMPARE(rig_->boxes.size(), 1);
    QVERIFY(rig_->boxes.first().contains(rig_->IniPath()));
    QVERIFY(!form.isVisible());
  }

  void RunStateDisablesTheFileMenu() {
    TMainWindow& form = rig_->Create();
    QVERIFY(form.Menus().File->menuAction()->isEnabled());
    form.Document().SetRunState(TRunState::Tracing);
    QCOMPARE(form.Document().RunState(), TRunState::Tracing);
    QVERIFY(!form.Menus().File->menuAction()->isEnabled());
    form.Document().SetRunState(TRunState::Idle);
    QVERIFY(form.Menus().File->menuAction()->isEnabled());
  }

  // ---------------------------------------------------------- menus

  void MenusCarryTheirCaptionsInOrder() {
    TMainWindow& form = rig_->Create();
    const TMainMenus& m = form.Menus();
    QStringList bar;
    for (const QAction* action : form.menuBar()->actions())
      bar << action->text();
    QCOMPARE(bar, Lines({"ファイル(&F)", "実行(&R)", "表示(&V)", "ヘルプ(&H)"}));
    QCOMPARE(Captions(m.File),
             Lines({"読み込み(&L)...", "読み込み直す(&R)", "ソース編集(&E)...",
                    "ケースファイルで確認(&K)...", "-", "現在の状態を保存(&S)...",
                    "入力ログを保存(&I)...", "[機械語で保存(&B)...]", "-", "終了(&Q)"}));
    QCOMPARE(Captions(m.Run),
             Lines({"実行(&R)", "トレース実行(&T)", "[ステップ実行(&S)]", "-", "プログラム停止(&E)",
                    "リセット(&I)", "-", "1命令戻る(&P)", "CALLの前まで戻る(&C)", "逆実行(&V)", "-",
                    "実行時にブレークポイントが有効(&B)", "トレース時のウェイト(&W)"}));
    QCOMPARE(Captions(m.Wait),
             Lines({"なし(&0)", "20ms(&1)", "50ms(&2)", "100ms(&3)", "200ms(&4)", "500ms(&5)"}));
    QCOMPARE(Captions(m.View),
             Lines({"10進符号付き(&D)", "10進符号なし(&W)", "16進(&H)", "-", "メモリダンプ(&M)",
                    "ラベル(&L)", "モニタ(&V)", "ヒント(&I)", "スタック(&K)", "-",
                    "ラベル表示の設定(&L)", "表示するユニットの設定(&U)...",
                    "実行時にモニタを前面に出す(&T)", "ソースとメモリビューを同期する(&S)"}));
    QCOMPARE(
        Captions(m.LabelFilter),
        Lines({"選択ラベル以外表示しない(&A)", "[ローカルラベルも表示(&X)]", "-", "#即値型(&I)",
               "変数型(&V)", ">行ラベル型(&L)", "^ポインタ型(&P)", "*自動生成型(&S)"}));
    QCOMPARE(Captions(m.Help), Lines({"ヘルプ(&H)", "-", "エディタの設定(&E)...",
                                      "ソースのタイムスタンプをチェックする(&C)",
                                      "[表示フォントの設定(&F)...]", "-", "バージョン情報(&V)"}));
    QCOMPARE(m.HelpItem->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(m.StepBackItem->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F11));
    QCOMPARE(m.StepBackOverCallItem->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F10));
    QCOMPARE(m.RunBackItem->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F5));
    QCOMPARE(m.RunItem->data().toInt(), 1);
    QCOMPARE(m.TraceItem->data().toInt(), 0);
    int tags[6];
    for (int i = 0; i < 6; ++i)
      tags[i] = m.WaitItems[static_cast<size_t>(i)]->data().toInt();
    QCOMPARE(std::vector<int>(tags, tags + 6), (std::vector<int>{0, 20, 50, 100, 200, 500}));
    for (int i = 0; i < 3; ++i)
      QCOMPARE(m.NumberFormatItems[static_cast<size_t>(i)]->data().toInt(), i);
    QVERIFY(m.WaitGroup->isExclusive());
    QVERIFY(m.NumberFormatGroup->isExclusive());
  }

  void FirstStartShowsTheDesignChecks() {
    TMainWindow& form = rig_->Create();
    const TMainMenus& m = form.Menus();
    QCOMPARE(Checked(m.Run->actions()), Lines({"実行時にブレークポイントが有効(&B)"}));
    QCOMPARE(Checked(m.Wait->actions()), Lines({"200ms(&4)"}));
    QCOMPARE(Checked(m.View->actions()),
             Lines({"16進(&H)", "メモリダンプ(&M)", "ラベル(&L)", "モニタ(&V)", "ヒント(&I)",
                    "スタック(&K)", "ソースとメモリビューを同期する(&S)"}));
    QCOMPARE(Checked(m.LabelFilter->actions()), Lines({"変数型(&V)", "^ポインタ型(&P)"}));
    QCOMPARE(Checked(m.Help->actions()), QStringList());
    QCOMPARE(form.Views().LabelFilterMask(), uint16_t{0x080 | 0x002 | 0x010});
  }

  void FileMenuEnablesItsItemsByTheFileSet() {
    TMainWindow& form = rig_->Create();
    const TMainMenus& m = form.Menus();
    emit m.File->aboutToShow();
    QVERIFY(!m.Reload->isEnabled());
    QVERIFY(!m.EditSource->isEnabled());
    QVERIFY(m.Load->isEnabled());
    const QString path = rig_->WriteSource("a.qasm", Lines({"HALT"}));
    QCOMPARE(form.FileCommands().OpenFile(path), TLoadResult::Clean);
    emit m.File->aboutToShow();
    QVERIFY(m.Reload->isEnabled());
    QVERIFY(m.EditSource->isEnabled());
  }

  void RunMenuFollowsTheButtons() {
    TMainWindow& form = rig_->Create();
    const TMainMenus& m = form.Menus();
    // The hidden step item is never enabled (a hidden action is disabled).
    const QList<QAction*> items = {m.RunItem, m.TraceItem, m.StopItem, m.ResetItem};
    const int buttons[] = {TToolBarPanel::Run, TToolBarPanel::Trace, TToolBarPanel::Stop,
                           TToolBarPanel::Reset};
    emit m.Run->aboutToShow();
    for (const QAction* item : items)
      QVERIFY2(!item->isEnabled(), qPrintable(item->text()));
    form.ToolBar()->SetButtonsEnabled(true);
    form.ToolBar()->ButtonAt(TToolBarPanel::Trace)->setEnabled(false);
    emit m.Run->aboutToShow();
    for (int i = 0; i < items.size(); ++i)
      QCOMPARE(items[i]->isEnabled(), form.ToolBar()->ButtonAt(buttons[i])->isEnabled());
    QVERIFY(m.RunItem->isEnabled());
    QVERIFY(!m.TraceItem->isEnabled());
    QVERIFY(!m.StepItem->isVisible());
  }

  void ViewMenuRefreshesItsChecksFromThePanelsAndTheMonitor() {
    TMainWindow& form = rig_->CreateShown();
    const TMainMenus& m = form.Menus();
    form.MemoryPanel()->hide();
    form.Screen().SetMonitorShown(false);
    emit m.View->aboutToShow();
    QVERIFY(!m.MemoryDump->isChecked());
    QVERIFY(m.LabelPanel->isChecked());
    QVERIFY(!m.Monitor->isChecked());
    // The item flips the flag the screen thread acts on.
    m.Monitor->trigger();
    QVERIFY(form.Screen().MonitorShown());
    QTRY_VERIFY_WITH_TIMEOUT(form.Screen().Monitor()->isVisible(), kWindowWait);
    m.Monitor->trigger();
    QVERIFY(!form.Screen().MonitorShown());
    m.MemoryDump->trigger();
    QVERIFY(!form.MemoryPanel()->isHidden());
    QVERIFY(m.MemoryDump->isChecked());
  }

  void UnitItemNeedsMoreThanOneUnit() {
    TMainWindow& form = rig_->Create();
    const TMainMenus& m = form.Menus();
    emit m.View->aboutToShow();
    QVERIFY(!m.Units->isEnabled());
    const QString path = rig_->WriteSource(
        "units.qasm",
        Lines({"MAIN: UNIT", "  HALT", "  ENDUNIT", "LIB: UNIT", "X: DW 1", "  ENDUNIT"}));
    QVERIFY(IsLoaded(form.FileCommands().OpenFile(path)));
    emit m.View->aboutToShow();
    QVERIFY(m.Units->isEnabled());
  }

 private:
  std::unique_ptr<TWindowRig> rig_;
};

QTEST_MAIN(TMainWindowTest)
#include "main_window_test.moc"
