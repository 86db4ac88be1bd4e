// The monitor window: its geometry, the close box, key events, the mouse
// over the drawing area, and what the drawing area shows.
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>
#include <memory>
#include <thread>

#include "monitor/monitor_model.h"
#include "monitor/screen_cell.h"
#include "monitor_qt/form_mon.h"

namespace {

// Writes one character cell with the given background at the write position.
void WriteCell(TMonitorModel& model, int column, int row, uint32_t background,
               uint16_t code = 0x20) {
  TScreenModel& screen = model.Screen();
  screen.SetWritePosition(static_cast<uint16_t>(row * kScreenColumns + column));
  for (int c = 0; c < 3; ++c)
    screen.SetBackgroundComponent(c, static_cast<uint8_t>(background >> (8 * c)));
  screen.PutChar(code);
}

QRgb CellCentre(const QImage& image, int column, int row) {
  return image.pixel(column * kCellSize + kCellSize / 2, row * kCellSize + kCellSize / 2) &
         0xFFFFFF;
}

void SendMouse(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

// Counts the paint events of the widget it watches.
class TPaintCounter : public QObject {
 public:
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

}  // namespace

class TFormMonTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    model_ = std::make_unique<TMonitorModel>();
    form_ = std::make_unique<TFormMon>(*model_);
  }
  void cleanup() {
    form_.reset();
    model_.reset();
  }

  void WindowHasTheScreensClientSizeAndOnlyACloseBox() {
    QCOMPARE(form_->size(), QSize(768, 576));
    QCOMPARE(form_->minimumSize(), form_->maximumSize());
    QCOMPARE(form_->PaintBox1()->geometry(), QRect(0, 0, 768, 576));
    QCOMPARE(form_->windowTitle(), QString::fromUtf8("QRXマシンモニタ"));
    QVERIFY(form_->isWindow());
    const Qt::WindowFlags flags = form_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(form_->font().pixelSize(), kCellSize);
  }

  void CreatingTheWindowResetsTheScreen() {
    form_.reset();
    model_->Screen().PutChar(0x41);
    model_->Screen().SetCursorShown(1);
    form_ = std::make_unique<TFormMon>(*model_);
    QCOMPARE(model_->Screen().CharAt(0, 0), uint16_t{0});
    QCOMPARE(model_->Screen().Registers().CursorShown, uint16_t{0});
  }

  void CloseBoxAsksButLeavesTheWindowShown() {
    QSignalSpy requests(form_.get(), &TFormMon::CloseRequested);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QVERIFY(!form_->close());
    QCOMPARE(requests.count(), 1);
    QVERIFY(form_->isVisible());
    QVERIFY(form_->VisibleNow());
  }

  void KeyEventsAreSwallowed_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("key");
    QTest::newRow("press A") << int(QEvent::KeyPress) << int(Qt::Key_A);
    QTest::newRow("release A") << int(QEvent::KeyRelease) << int(Qt::Key_A);
    QTest::newRow("press Escape") << int(QEvent::KeyPress) << int(Qt::Key_Escape);
    QTest::newRow("press Tab") << int(QEvent::KeyPress) << int(Qt::Key_Tab);
    QTest::newRow("release Return") << int(QEvent::KeyRelease) << int(Qt::Key_Return);
  }
  void KeyEventsAreSwallowed() {
    QFETCH(int, type);
    QFETCH(int, key);
    form_->show();
    QKeyEvent event(static_cast<QEvent::Type>(type), key, Qt::NoModifier);
    event.ignore();
    QApplication::sendEvent(form_.get(), &event);
    QVERIFY(event.isAccepted());
    QCOMPARE(model_->Screen().CharAt(0, 0), uint16_t{0});
    QVERIFY(form_->isVisible());
  }

  void MouseOverTheDrawingAreaReachesTheModel() {
    // One drag: press inside, move within, leave the area with the button
    // held, come back, release.
    struct TStep {
      QEvent::Type type;
      QPointF at;
      Qt::MouseButton button;
      Qt::MouseButtons held;  // after the event
      uint32_t column;
      uint32_t row;
      uint16_t buttons;
      uint16_t cell;  // port 513
    };
    const TStep steps[] = {
        {QEvent::MouseMove, {5, 5}, Qt::NoButton, Qt::NoButton, 0, 0, 0, 0},
        {QEvent::MouseButtonPress, {100, 50}, Qt::LeftButton, Qt::LeftButton, 8, 4, 1, 264},
        {QEvent::MouseMove, {767, 575}, Qt::NoButton, Qt::LeftButton, 63, 47, 1, 3071},
        {QEvent::MouseMove,
         {768, 100},
         Qt::NoButton,
         Qt::LeftButton,
         kMouseOutside,
         kMouseOutside,
         1,
         0xFFFF},
        {QEvent::MouseMove,
         {-0.5, 100},
         Qt::NoButton,
         Qt::LeftButton,
         kMouseOutside,
         kMouseOutside,
         1,
         0xFFFF},
        {QEvent::MouseButtonPress,
         {12, 12},
         Qt::RightButton,
         Qt::LeftButton | Qt::RightButton,
         1,
         1,
         3,
         65},
        {QEvent::MouseButtonPress,
         {12, 12},
         Qt::MiddleButton,
         Qt::LeftButton | Qt::RightButton | Qt::MiddleButton,
         1,
         1,
         7,
         65},
        {QEvent::MouseButtonRelease,
         {12, 12},
         Qt::RightButton,
         Qt::LeftButton | Qt::MiddleButton,
         1,
         1,
         5,
         65},
        {QEvent::MouseButtonRelease, {100, 50}, Qt::LeftButton, Qt::MiddleButton, 8, 4, 4, 264},
        {QEvent::MouseButtonRelease, {100, 50}, Qt::MiddleButton, Qt::NoButton, 8, 4, 0, 264},
    };
    QWidget* box = form_->PaintBox1();
    int index = 0;
    for (const TStep& step : steps) {
      SendMouse(box, step.type, step.at, step.button, step.held);
      const TInputState& state = model_->Input().State();
      const QByteArray where = "step " + QByteArray::number(index++);
      QVERIFY2(state.MouseColumn == step.column, where);
      QVERIFY2(state.MouseRow == step.row, where);
      QVERIFY2(state.MouseButtons == step.buttons, where);
      QVERIFY2(model_->PortIn(513) == step.cell, where);
    }
  }

  void RefreshShowsTheLiveScreenAtOnce() {
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    WriteCell(*model_, 3, 4, 0x0000FF);
    form_->Refresh();
    QCOMPARE(CellCentre(form_->Image(), 3, 4), qRgb(255, 0, 0) & 0xFFFFFF);
    QCOMPARE(CellCentre(form_->PaintBox1()->grab().toImage(), 3, 4), qRgb(255, 0, 0) & 0xFFFFFF);
  }

  void RenderDrawsTheSnapshotNotTheLiveCells() {
    form_->show();
    form_->Refresh();
    WriteCell(*model_, 0, 0, 0x00FF00);
    form_->Render();
    QCOMPARE(CellCentre(form_->Image(), 0, 0), qRgb(255, 255, 255) & 0xFFFFFF);
    form_->TakeSnapshot();
    form_->Render();
    QCOMPARE(CellCentre(form_->Image(), 0, 0), qRgb(0, 255, 0) & 0xFFFFFF);
  }

  void RenderOfAGivenSnapshotKeepsIt() {
    auto snapshot = std::make_unique<TScreenSnapshot>();
    snapshot->Cells[65] = MakeCell(0, kBlack, 0xFF0000, 0);
    form_->Render(*snapshot);
    QCOMPARE(CellCentre(form_->Image(), 1, 1), qRgb(0, 0, 255) & 0xFFFFFF);
    // A paint request draws the same snapshot again.
    form_->show();
    QCOMPARE(CellCentre(form_->PaintBox1()->grab().toImage(), 1, 1), qRgb(0, 0, 255) & 0xFFFFFF);
  }

  void RenderOnAnotherThreadReachesTheWindow() {
    // Drawing text off the GUI thread must not make Qt complain, and the
    // drawing area must be repainted on the GUI thread afterwards.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    TPaintCounter paints;
    form_->PaintBox1()->installEventFilter(&paints);
    WriteCell(*model_, 10, 10, 0xFF00FF, 0x82A0);  // "あ" on magenta
    std::thread other([this] {
      form_->TakeSnapshot();
      form_->Render();
    });
    other.join();
    const QImage image = form_->Image();
    QCOMPARE(image.pixel(10 * kCellSize, 10 * kCellSize) & 0xFFFFFF, qRgb(255, 0, 255) & 0xFFFFFF);
    QVERIFY(CountInk(image, 10, 10) > 0);
    QTRY_VERIFY_WITH_TIMEOUT(paints.count > 0, 5000);
    QVERIFY(CountInk(form_->PaintBox1()->grab().toImage(), 10, 10) > 0);
  }

 private:
  static int CountInk(const QImage& image, int column, int row) {
    int count = 0;
    for (int y = 0; y < kCellSize; ++y) {
      for (int x = 0; x < kCellSize; ++x) {
        const QRgb p = image.pixel(column * kCellSize + x, row * kCellSize + y) & 0xFFFFFF;
        if (p != (qRgb(255, 0, 255) & 0xFFFFFF) && p != 0xFFFFFF) ++count;
      }
    }
    return count;
  }

  std::unique_ptr<TMonitorModel> model_;
  std::unique_ptr<TFormMon> form_;
};

QTEST_MAIN(TFormMonTest)
#include "form_mon_test.moc"
