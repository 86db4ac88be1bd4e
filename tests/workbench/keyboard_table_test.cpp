// The program-wide keyboard table: the Qt-key mapping, key and mouse-button
// bits from events in any window, auto-repeat, keys whose character changes
// between press and release, and clearing when the program loses the focus
// or hides a window.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QtTest>
#include <memory>

#include "monitor/monitor_model.h"
#include "workbench/keyboard_table.h"

namespace {

void SendKey(QWidget* target, QEvent::Type type, int key,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier, quint32 scanCode = 0,
             bool autoRepeat = false) {
  QKeyEvent event(type, key, modifiers, scanCode, 0, 0, QString(), autoRepeat);
  QApplication::sendEvent(target, &event);
}

void SendButton(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
  const QPointF at(5, 5);
  QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

void SendApplicationState(Qt::ApplicationState state) {
  QApplicationStateChangeEvent event(state);
  QCoreApplication::sendEvent(qApp, &event);
}

int DownCount(const TKeyboardTable& table) {
  const TKeyboardState state = table.KeyboardState();
  return static_cast<int>(std::count(state.begin(), state.end(), 0x80));
}

}  // namespace

class TKeyboardTableTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    table_ = std::make_unique<TKeyboardTable>();
    table_->Install();
    first_ = std::make_unique<QWidget>();
    second_ = std::make_unique<QWidget>();
  }
  void cleanup() {
    first_.reset();
    second_.reset();
    table_.reset();
  }

  void MapsQtKeysToVirtualKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("code");
    QTest::newRow("A") << int(Qt::Key_A) << false << 0x41;
    QTest::newRow("0") << int(Qt::Key_0) << false << 0x30;
    QTest::newRow("keypad 0") << int(Qt::Key_0) << true << 0x60;
    QTest::newRow("keypad *") << int(Qt::Key_Asterisk) << true << 0x6A;
    QTest::newRow("keypad +") << int(Qt::Key_Plus) << true << 0x6B;
    QTest::newRow("keypad /") << int(Qt::Key_Slash) << true << 0x6F;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true << 0x0D;
    QTest::newRow("keypad Home") << int(Qt::Key_Home) << true << 0x24;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << false << 0x08;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << false << 0x09;
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << false << 0x09;
    QTest::newRow("Return") << int(Qt::Key_Return) << false << 0x0D;
    QTest::newRow("Shift") << int(Qt::Key_Shift) << false << 0x10;
    QTest::newRow("Control") << int(Qt::Key_Control) << false << 0x11;
    QTest::newRow("CapsLock") << int(Qt::Key_CapsLock) << false << 0x14;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false << 0x1B;
    QTest::newRow("Space") << int(Qt::Key_Space) << false << 0x20;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << false << 0x21;
    QTest::newRow("Home") << int(Qt::Key_Home) << false << 0x24;
    QTest::newRow("Left") << int(Qt::Key_Left) << false << 0x25;
    QTest::newRow("Up") << int(Qt::Key_Up) << false << 0x26;
    QTest::newRow("Insert") << int(Qt::Key_Insert) << false << 0x2D;
    QTest::newRow("F1") << int(Qt::Key_F1) << false << 0x70;
    QTest::newRow("F12") << int(Qt::Key_F12) << false << 0x7B;
    QTest::newRow(";") << int(Qt::Key_Semicolon) << false << 0xBA;
    QTest::newRow("=") << int(Qt::Key_Equal) << false << 0xBB;
    QTest::newRow(",") << int(Qt::Key_Comma) << false << 0xBC;
    QTest::newRow("-") << int(Qt::Key_Minus) << false << 0xBD;
    QTest::newRow(".") << int(Qt::Key_Period) << false << 0xBE;
    QTest::newRow("/") << int(Qt::Key_Slash) << false << 0xBF;
    QTest::newRow("`") << int(Qt::Key_QuoteLeft) << false << 0xC0;
    QTest::newRow("[") << int(Qt::Key_BracketLeft) << false << 0xDB;
    QTest::newRow("\\") << int(Qt::Key_Backslash) << false << 0xDC;
    QTest::newRow("]") << int(Qt::Key_BracketRight) << false << 0xDD;
    QTest::newRow("'") << int(Qt::Key_Apostrophe) << false << 0xDE;
    QTest::newRow("! is the 1 key") << int(Qt::Key_Exclam) << false << 0x31;
    QTest::newRow("* is the 8 key") << int(Qt::Key_Asterisk) << false << 0x38;
    QTest::newRow(") is the 0 key") << int(Qt::Key_ParenRight) << false << 0x30;
    QTest::newRow("unknown") << int(Qt::Key_unknown) << false << 0;
    QTest::newRow("accented letter") << int(Qt::Key_Eacute) << false << 0;
  }
  void MapsQtKeysToVirtualKeys() {
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(int, code);
    QCOMPARE(VirtualKeyOf(key, keypad ? Qt::KeypadModifier : Qt::NoModifier), code);
    // Shift and Control do not change the key's code.
    QCOMPARE(VirtualKeyOf(key, (keypad ? Qt::KeypadModifier : Qt::NoModifier) | Qt::ShiftModifier |
                                   Qt::ControlModifier),
             code);
  }

  void PressSetsAndReleaseClearsBitSeven() {
    SendKey(first_.get(), QEvent::KeyPress, Qt::Key_A);
    QCOMPARE(table_->KeyboardState()[0x41], uint8_t{0x80});
    QVERIFY(table_->IsDown(0x41));
    QCOMPARE(DownCount(*table_), 1);
    SendKey(first_.get(), QEvent::KeyRelease, Qt::Key_A);
    QCOMPARE(table_->KeyboardState()[0x41], uint8_t{0});
  }

  void KeysOfEveryWindowCount() {
    SendKey(first_.get(), QEvent::KeyPress, Qt::Key_Left);
    SendKey(second_.get(), QEvent::KeyPress, Qt::Key_Space);
    QVERIFY(table_->IsDown(0x25));
    QVERIFY(table_->IsDown(0x20));
    SendKey(second_.get(), QEvent::KeyRelease, Qt::Key_Left);
    QVERIFY(!table_->IsDown(0x25));
    QVERIFY(table_->IsDown(0x20));
  }

  void AutoRepeatKeepsTheKeyDown() {
    SendKey(first_.get(), QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, 111);
    for (int i = 0; i < 3; ++i) {
      SendKey(first_.get(), QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier, 111, true);
      QVERIFY(table_->IsDown(0x26));
      SendKey(first_.get(), QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, 111, true);
      QVERIFY(table_->IsDown(0x26));
    }
    SendKey(first_.get(), QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier, 111);
    QVERIFY(!table_->IsDown(0x26));
  }

  void ReleaseClearsWhatThePhysicalKeyPressed() {
    // Shift+2 gives '"' on a Japanese layout; Shift is let go first, so the
    // release reports '2'. Both codes must end up up.
    SendKey(first_.get(), QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier, 50);
    SendKey(first_.get(), QEvent::KeyPress, Qt::Key_QuoteDbl, Qt::ShiftModifier, 11);
    QVERIFY(table_->IsDown(0xDE));
    SendKey(first_.get(), QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier, 50);
    SendKey(first_.get(), QEvent::KeyRelease, Qt::Key_2, Qt::NoModifier, 11);
    QVERIFY(!table_->IsDown(0xDE));
    QVERIFY(!table_->IsDown(0x32));
    QVERIFY(!table_->IsDown(0x10));
  }

  void EitherShiftKeyHoldsShiftDown() {
    SendKey(first_.get(), QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier, 50);
    SendKey(first_.get(), QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, 62);
    SendKey(first_.get(), QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier, 50);
    QVERIFY(table_->IsDown(0x10));
    SendKey(first_.get(), QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier, 62);
    QVERIFY(!table_->IsDown(0x10));
  }

  void ShortcutOverrideCountsAsAPress() {
    // A key that a shortcut takes reaches the program only this way.
    SendKey(first_.get(), QEvent::ShortcutOverride, Qt::Key_F5);
    QVERIFY(table_->IsDown(0x74));
    SendKey(first_.get(), QEvent::KeyRelease, Qt::Key_F5);
    QVERIFY(!table_->IsDown(0x74));
  }

  void MouseButtonsHaveTheirCodes_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("code");
    QTest::newRow("left") << int(Qt::LeftButton) << 0x01;
    QTest::newRow("right") << int(Qt::RightButton) << 0x02;
    QTest::newRow("middle") << int(Qt::MiddleButton) << 0x04;
  }
  void MouseButtonsHaveTheirCodes() {
    QFETCH(int, button);
    QFETCH(int, code);
    const auto b = static_cast<Qt::MouseButton>(button);
    SendButton(first_.get(), QEvent::MouseButtonPress, b, b);
    QVERIFY(table_->IsDown(code));
    QCOMPARE(DownCount(*table_), 1);
    SendButton(first_.get(), QEvent::MouseButtonRelease, b, Qt::NoButton);
    QVERIFY(!table_->IsDown(code));
  }

  void OneButtonReleasedLeavesTheOtherDown() {
    SendButton(first_.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    SendButton(second_.get(), QEvent::MouseButtonPress, Qt::RightButton,
               Qt::LeftButton | Qt::RightButton);
    SendButton(second_.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::RightButton);
    QVERIFY(!table_->IsDown(0x01));
    QVERIFY(table_->IsDown(0x02));
  }

  void LosingTheFocusClearsTheTable_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("inactive") << int(Qt::ApplicationInactive) << true;
    QTest::newRow("hidden") << int(Qt::ApplicationHidden) << true;
    QTest::newRow("suspended") << int(Qt::ApplicationSuspended) << true;
    QTest::newRow("active") << int(Qt::ApplicationActive) << false;
  }
  void LosingTheFocusClearsTheTable() {
    QFETCH(int, state);
    QFETCH(bool, cleared);
    SendKey(first_.get(), QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38);
    SendKey(first_.get(), QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier, 37);
    SendButton(first_.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    SendApplicationState(static_cast<Qt::ApplicationState>(state));
    QCOMPARE(table_->IsDown(0x41), !cleared);
    QCOMPARE(table_->IsControlDown(), !cleared);
    QCOMPARE(table_->IsDown(0x01), !cleared);
    if (cleared) {
      const TKeyboardState all = table_->KeyboardState();
      QVERIFY(std::all_of(all.begin(), all.end(), [](uint8_t b) { return b == 0; }));
    }
  }

  // A hidden window may have taken the releases of keys held in it; a tool
  // tip or a child widget never holds the keyboard.
  void HidingAWindowClearsTheTable_data() {
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("child");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("dialog") << int(Qt::Dialog) << false << true;
    QTest::newRow("pop-up") << int(Qt::Popup) << false << true;
    QTest::newRow("tool tip") << int(Qt::ToolTip) << false << false;
    QTest::newRow("child widget") << int(Qt::Widget) << true << false;
  }
  void HidingAWindowClearsTheTable() {
    QFETCH(int, flags);
    QFETCH(bool, child);
    QFETCH(bool, cleared);
    QWidget window(child ? first_.get() : nullptr, Qt::WindowFlags(flags));
    first_->show();
    window.show();
    SendKey(first_.get(), QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38);
    window.hide();
    QCOMPARE(table_->IsDown(0x41), !cleared);
  }

  void MonitorReadsTheTableThroughItsPorts() {
    TMonitorModel model;
    model.SetKeyboardSource(table_.get());
    SendKey(first_.get(), QEvent::KeyPress, Qt::Key_A);
    QCOMPARE(model.PortIn(256 + 4) & 0x0002, 0x0002);  // row 4, bit 1: code 0x41
    model.PortOut(272, 0x41);
    QCOMPARE(model.PortIn(272), uint16_t{1});
    SendKey(first_.get(), QEvent::KeyRelease, Qt::Key_A);
    QCOMPARE(model.PortIn(272), uint16_t{0});
  }

 private:
  std::unique_ptr<TKeyboardTable> table_;
  std::unique_ptr<QWidget> first_;
  std::unique_ptr<QWidget> second_;
};

QTEST_MAIN(TKeyboardTableTest)
#include "keyboard_table_test.moc"
