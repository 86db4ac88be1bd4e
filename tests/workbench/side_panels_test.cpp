// The hints panel and the stack view at the right of the listing: what they
// list, where a hint leads, their toggles kept in QRX.INI, and the views
// that follow a program running at full speed.
#include <QAction>
#include <QListWidget>
#include <QTimer>
#include <QToolButton>

#include "machine/machine.h"
#include "main_window_test_support.h"
#include "monitor_qt/monitor_font.h"
#include "workbench/hints_panel.h"
#include "workbench/live_view_refresh.h"
#include "workbench/side_panels.h"
#include "workbench/stack_view.h"
#include "workbench/tool_buttons.h"

namespace {

// CALLER at 0 (two words, on the first line), BACK at 2, SUB at 3, its RET
// at 4.
QStringList CallProgram() {
  return Lines({"CALLER: CALL SUB", "BACK:   HALT", "SUB:    NOP", "        RET"});
}

// Counts paint events of a widget.
class TPaintCounter : public QObject {
 public:
  explicit TPaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && counting) ++paints;
    return false;
  }
  bool counting = false;
  int paints = 0;
};

}  // namespace

class TSidePanelsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() { rig_ = std::make_unique<TWindowRig>(); }
  void cleanup() { rig_.reset(); }

  void HintsOfALoadAreListedAndADoubleClickGoesToTheirRow() {
    TMainWindow& form = rig_->CreateShown();
    const QString path = rig_->WriteSource(
        "hinted.qasm", Lines({"; a number read as an address", "START:  LD   X, 0", "        HALT",
                              "X:      DW   0"}));
    QCOMPARE(form.FileCommands().OpenFile(path), TLoadResult::Clean);
    QCOMPARE(rig_->Message(), QStringLiteral(" ロード＆アセンブル正常終了"));
    THintsPanel* hints = form.SidePanels().HintsPanel();
    QCOMPARE(hints->count(), 1);
    QVERIFY2(hints->item(0)->text().startsWith(QStringLiteral("hinted.qasm(2): ")),
             qPrintable(hints->item(0)->text()));

    const int start = RowOfLabel(form, "START");
    QVERIFY(form.ListingView()->SelectedRow() != start);
    const QRect rect = hints->visualItemRect(hints->item(0));
    // A double-click is a click and the second press.
    QTest::mouseClick(hints->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(form.ListingView()->SelectedRow(), 0);
    QTest::mouseDClick(hints->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(form.ListingView()->SelectedRow(), start);
    // A navigation: the jump history holds the row.
    QCOMPARE(form.Navigator().JumpList().TopNumber(), start);

    // Reloading the corrected program clears the list.
    rig_->WriteSource("hinted.qasm", Lines({"; a number read as an address", "START:  LD   X, #0",
                                            "        HALT", "X:      DW   0"}));
    form.FileCommands().ReloadClick();
    QCOMPARE(rig_->Message(), QStringLiteral(" ロード＆アセンブル正常終了"));
    QCOMPARE(hints->count(), 0);
  }

  void TheStackShowsAReturnAddressAfterACallAndFollowsGoingBack() {
    TMainWindow& form = rig_->CreateShown();
    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("call.qasm", CallProgram())),
             TLoadResult::Clean);
    TStackView* stack = form.SidePanels().StackView();
    QCOMPARE(stack->model()->rowCount(), 0);

    // Step into the subroutine (Control held).
    QTest::keyPress(&form, Qt::Key_Control);
    QTest::mouseClick(form.ToolBar()->ButtonAt(TToolBarPanel::Step), Qt::LeftButton);
    QTest::keyRelease(&form, Qt::Key_Control);
    QCOMPARE(form.Session().Machine().ReadWord(TQRXEmulater::PC), uint16_t{3});
    QCOMPARE(stack->model()->rowCount(), 1);
    QCOMPARE(stack->CellText(0, TStackView::AddressColumn), QStringLiteral("FFEF"));
    QCOMPARE(stack->CellText(0, TStackView::ValueColumn), QStringLiteral("0002"));
    QCOMPARE(stack->CellText(0, TStackView::LabelColumn), QStringLiteral("BACK"));
    QVERIFY(!stack->CellText(0, TStackView::MarkColumn).isEmpty());

    // The RET takes it off; going back puts it on again.
    QTest::mouseClick(form.ToolBar()->ButtonAt(TToolBarPanel::Step), Qt::LeftButton);
    QTest::mouseClick(form.ToolBar()->ButtonAt(TToolBarPanel::Step), Qt::LeftButton);
    QCOMPARE(form.Session().Machine().ReadWord(TQRXEmulater::PC), uint16_t{2});
    QCOMPARE(stack->model()->rowCount(), 0);
    form.RunCommands().StepBackClick();
    QCOMPARE(stack->model()->rowCount(), 1);
    form.RunCommands().ResetClick();  // reset
    QCOMPARE(stack->model()->rowCount(), 0);
  }

  // Labels inside the program and the addresses after a CALL.
  void StackWordsNameTheLabelTheyPointInto() {
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("call.qasm", CallProgram())),
             TLoadResult::Clean);
    TStackRows rows;
    rows.Index(form.Session().Assembler());
    const struct {
      uint16_t value;
      const char* label;
      bool returnAddress;
    } cases[] = {{0, "CALLER", false}, {1, "CALLER+1", false}, {2, "BACK", true},
                 {3, "SUB", false},    {4, "SUB+1", false},    {0x7000, "SUB+28669", false}};
    for (const auto& c : cases) {
      QCOMPARE(QString::fromStdString(rows.LabelFor(c.value)), QString::fromUtf8(c.label));
      QCOMPARE(rows.IsReturnAddress(c.value), c.returnAddress);
    }
  }

  void TogglesAreKeptInTheSettingsFile_data() {
    QTest::addColumn<bool>("hints");
    QTest::addColumn<bool>("stack");
    QTest::newRow("hints off") << false << true;
    QTest::newRow("stack off") << true << false;
    QTest::newRow("both off") << false << false;
  }
  void TogglesAreKeptInTheSettingsFile() {
    QFETCH(bool, hints);
    QFETCH(bool, stack);
    {
      TMainWindow& form = rig_->CreateShown();
      // Shown on a first start.
      QVERIFY(form.SidePanels().HintsToggle()->isChecked());
      QVERIFY(form.SidePanels().StackToggle()->isChecked());
      QVERIFY(form.SidePanels().HintsBox()->isVisible());
      QVERIFY(form.SidePanels().StackBox()->isVisible());
      if (!hints) form.SidePanels().HintsToggle()->trigger();
      if (!stack) form.SidePanels().StackToggle()->trigger();
      QVERIFY(form.close());
    }
    QCOMPARE(rig_->Ini(QStringLiteral("MAINFORM/HintVisible")), hints ? "1" : "0");
    QCOMPARE(rig_->Ini(QStringLiteral("MAINFORM/StackVisible")), stack ? "1" : "0");
    TMainWindow& again = rig_->CreateShown();
    QCOMPARE(again.SidePanels().HintsToggle()->isChecked(), hints);
    QCOMPARE(again.SidePanels().StackToggle()->isChecked(), stack);
    QCOMPARE(again.SidePanels().HintsBox()->isVisible(), hints);
    QCOMPARE(again.SidePanels().StackBox()->isVisible(), stack);
    // They share the left column with the label panel: with none of the
    // three shown the listing has the width to itself.
    QWidget* column = again.SidePanels().HintsBox()->parentWidget();
    QCOMPARE(column, again.LabelPanel()->parentWidget());
    again.Menus().LabelPanel->trigger();
    QCOMPARE(column->isVisible(), hints || stack);
    again.Menus().LabelPanel->trigger();
    QVERIFY(column->isVisible());
  }

  // While a program runs at full speed the label view and the memory
  // grid are repainted from the machine every 100 ms; a trace shows its
  // lines itself and needs no timer.
  void LabelsAndMemoryFollowARunningProgram() {
    TMainWindow& form = rig_->CreateShown();
    QCOMPARE(
        form.FileCommands().OpenFile(rig_->WriteSource(
            "endless.qasm", Lines({"LOOP:   ADD  N, #1", "        JP   LOOP", "N:      DW   0"}))),
        TLoadResult::Clean);
    TPaintCounter labels(form.LabelView()->viewport());
    TPaintCounter memory(form.MemoryView()->Grid()->viewport());
    bool activeDuring = false;
    QTimer::singleShot(50, &form, [&] {
      labels.counting = memory.counting = true;
      activeDuring = form.LiveRefresh().IsActive();
    });
    QTimer::singleShot(600, &form, [&] {
      labels.counting = memory.counting = false;
      form.RunCommands().StopClick();
    });
    form.RunCommands().RunOrTraceClick(TToolBarPanel::kRunTag);
    QVERIFY(activeDuring);
    QVERIFY(!form.LiveRefresh().IsActive());
    QVERIFY2(labels.paints >= 3, qPrintable(QString::number(labels.paints)));
    QVERIFY2(memory.paints >= 3, qPrintable(QString::number(memory.paints)));
  }

 private:
  std::unique_ptr<TWindowRig> rig_;
};

QTEST_MAIN(TSidePanelsTest)
#include "side_panels_test.moc"
