// The screen-refresh thread: creating and publishing the monitor window,
// the start action, visibility, frames while a program runs and their
// pacing, and stopping at any point without a hang.
#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "monitor/monitor_model.h"
#include "monitor/performance_counter.h"
#include "monitor_qt/form_mon.h"
#include "monitor_qt/screen_thread.h"

namespace {

constexpr int kWait = 5000;

// A millisecond clock that moves only while the screen thread sleeps.
class TSleepClock : public TClock {
 public:
  int64_t NowTicks() const override { return now.load(); }
  int64_t Frequency() const override { return 1000; }
  std::atomic<int64_t> now{0};
};

// One sleep of the screen thread: when, how long, and how many frames had
// been drawn by then.
struct TSleep {
  int64_t at;
  int64_t ms;
  uint16_t frames;
};

QString Text(const TSleep& sleep) {
  return QStringLiteral("at %1: %2 ms after frame %3")
      .arg(sleep.at)
      .arg(sleep.ms)
      .arg(sleep.frames);
}

}  // namespace

class TScreenThreadTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    model_ = std::make_unique<TMonitorModel>();
    runState_.store(0);
    opens_ = 0;
    monitorAtOpen_ = nullptr;
  }
  void cleanup() {
    screen_.reset();
    model_.reset();
  }

  void CreatesPublishesAndPlacesTheWindow() {
    Start(40, 30, true);
    QSignalSpy created(screen_.get(), &QRXScreen::MonitorCreated);
    QTRY_VERIFY_WITH_TIMEOUT(screen_->Monitor() != nullptr, kWait);
    TFormMon* monitor = screen_->Monitor();
    QCOMPARE(created.count(), 1);
    QCOMPARE(created.at(0).at(0).value<TFormMon*>(), monitor);
    QCOMPARE(monitor->size(), QSize(768, 576));
    QCOMPARE(monitor->pos(), QPoint(40, 30));
    QVERIFY(monitor->isVisible());
    QVERIFY(screen_->MonitorShown());
  }

  void StartActionRunsOnceAfterTheWindowExists() {
    Start(0, 0, false);
    QTRY_COMPARE_WITH_TIMEOUT(opens_, 1, kWait);
    QVERIFY(monitorAtOpen_ != nullptr);
    QCOMPARE(monitorAtOpen_, screen_->Monitor());
    QTest::qWait(100);
    QCOMPARE(opens_, 1);
  }

  void VisibilityFollowsTheShownFlag() {
    Start(0, 0, false);
    QTRY_VERIFY_WITH_TIMEOUT(screen_->Monitor() != nullptr, kWait);
    TFormMon* monitor = screen_->Monitor();
    QVERIFY(!monitor->isVisible());
    screen_->SetMonitorShown(true);
    QTRY_VERIFY_WITH_TIMEOUT(monitor->isVisible(), kWait);
    screen_->SetMonitorShown(false);
    QTRY_VERIFY_WITH_TIMEOUT(!monitor->isVisible(), kWait);
  }

  void CloseBoxClearsTheFlagAndTheThreadHidesTheWindow() {
    Start(0, 0, true);
    QTRY_VERIFY_WITH_TIMEOUT(screen_->Monitor() != nullptr, kWait);
    TFormMon* monitor = screen_->Monitor();
    QVERIFY(monitor->isVisible());
    QVERIFY(!monitor->close());
    QVERIFY(!screen_->MonitorShown());
    QTRY_VERIFY_WITH_TIMEOUT(!monitor->isVisible(), kWait);
    // It stays hidden: nothing shows it again on its own.
    QTest::qWait(100);
    QVERIFY(!monitor->isVisible());
  }

  void FrontRequestShowsAHiddenMonitor() {
    Start(0, 0, false);
    QTRY_VERIFY_WITH_TIMEOUT(screen_->Monitor() != nullptr, kWait);
    screen_->RequestFront();
    QVERIFY(screen_->MonitorShown());
    QTRY_VERIFY_WITH_TIMEOUT(screen_->Monitor()->isVisible(), kWait);
  }

  void FramesAdvanceOnlyWhileRunningAndShown() {
    Start(0, 0, true);
    QTRY_VERIFY_WITH_TIMEOUT(screen_->Monitor() != nullptr, kWait);
    TFormMon* monitor = screen_->Monitor();
    QTRY_VERIFY_WITH_TIMEOUT(monitor->isVisible(), kWait);

    // Idle: no frames.
    QTest::qWait(200);
    QCOMPARE(model_->FrameCounter(), uint16_t{0});

    // Running: frames, and never faster than one per 33 ms.
    runState_.store(1);
    QElapsedTimer elapsed;
    elapsed.start();
    QTRY_VERIFY_WITH_TIMEOUT(model_->FrameCounter() >= 3, kWait);
    QTest::qWait(300);
    const uint16_t counted = model_->FrameCounter();
    const qint64 ms = elapsed.elapsed();
    QVERIFY2(counted <= ms / 33 + 2,
             qPrintable(QStringLiteral("%1 frames in %2 ms").arg(counted).arg(ms)));

    // Back to idle: the counter stops (a frame under way may still count).
    runState_.store(0);
    QTest::qWait(100);
    const uint16_t stopped = model_->FrameCounter();
    QTest::qWait(300);
    QCOMPARE(model_->FrameCounter(), stopped);

    // Running but hidden: no frames either.
    screen_->SetMonitorShown(false);
    QTRY_VERIFY_WITH_TIMEOUT(!monitor->isVisible(), kWait);
    runState_.store(3);
    QTest::qWait(100);
    const uint16_t hidden = model_->FrameCounter();
    QTest::qWait(300);
    QCOMPARE(model_->FrameCounter(), hidden);

    // Shown again while running: frames resume.
    screen_->SetMonitorShown(true);
    QTRY_VERIFY_WITH_TIMEOUT(model_->FrameCounter() > hidden + 2, kWait);
  }

  // On a clock that moves only while the thread sleeps: while a program
  // runs, the thread waits in 1 ms sleeps until more than 33 ms have passed
  // since the last frame began, draws a frame, and sleeps the rest of the
  // 33 ms; so a frame begins every 34 ms. Idle, it sleeps 10 ms at a time.
  void FramesArePacedByTheClock() {
    TSleepClock clock;
    std::mutex lock;
    std::vector<TSleep> sleeps;
    TScreenTiming timing;
    timing.Clock = &clock;
    timing.Sleeping = [&](int64_t ms) {
      std::lock_guard<std::mutex> guard(lock);
      sleeps.push_back({clock.now.load(), ms, model_->FrameCounter()});
      clock.now += ms;
    };
    const auto count = [&](int64_t ms) {
      std::lock_guard<std::mutex> guard(lock);
      return std::count_if(sleeps.begin(), sleeps.end(),
                           [ms](const TSleep& s) { return s.ms == ms; });
    };
    runState_.store(1);
    Start(0, 0, true, timing);
    QTRY_VERIFY_WITH_TIMEOUT(model_->FrameCounter() >= 4, kWait);
    runState_.store(0);
    QTRY_VERIFY_WITH_TIMEOUT(count(10) >= 3, kWait);
    screen_.reset();

    // Running: 34 sleeps of 1 ms before the first frame, then after each
    // frame one of 33 ms and one of 1 ms. Then idle.
    QStringList running;
    for (int64_t t = 0; t < 34; ++t)
      running << Text({t, 1, 0});
    for (uint16_t frame = 1; frame < 100; ++frame)
      running << Text({34 * frame, 33, frame}) << Text({34 * frame + 33, 1, frame});
    QStringList ran, idle;
    for (const TSleep& sleep : sleeps)
      (idle.isEmpty() && sleep.ms != 10 ? ran : idle) << Text(sleep);
    QCOMPARE(ran, running.mid(0, ran.size()));
    QVERIFY(ran.size() >= 34 + 2 * 3);
    for (const QString& sleep : idle)
      QVERIFY2(sleep.contains(QStringLiteral(" 10 ms")), qPrintable(sleep));
  }

  void FramesDrawWhatTheProgramWrote() {
    Start(0, 0, true);
    QTRY_VERIFY_WITH_TIMEOUT(screen_->Monitor() != nullptr, kWait);
    TFormMon* monitor = screen_->Monitor();
    runState_.store(1);
    // Written on the GUI thread, as the ports do, while frames are drawn.
    TScreenModel& screen = model_->Screen();
    screen.SetWritePosition(64 * 5 + 6);
    screen.SetBackgroundComponent(1, 0);  // white without green: magenta
    screen.PutChar(0x20);
    const auto magenta = [monitor] {
      const QImage image = monitor->Image();
      return !image.isNull() && (image.pixel(6 * 12 + 6, 5 * 12 + 6) & 0xFFFFFF) == 0xFF00FFu;
    };
    QTRY_VERIFY_WITH_TIMEOUT(magenta(), kWait);
    QTRY_VERIFY_WITH_TIMEOUT(
        (monitor->PaintBox1()->grab().toImage().pixel(78, 66) & 0xFFFFFF) == 0xFF00FFu, kWait);
  }

  void StopEndsTheThreadAndDestroysTheWindow() {
    Start(0, 0, true);
    QTRY_VERIFY_WITH_TIMEOUT(screen_->Monitor() != nullptr, kWait);
    QPointer<TFormMon> monitor = screen_->Monitor();
    runState_.store(1);
    QTest::qWait(100);
    screen_->Stop();
    QVERIFY(screen_->isFinished());
    QVERIFY(screen_->Monitor() == nullptr);
    QVERIFY(monitor.isNull());
    screen_->Stop();  // again: nothing left to do
    screen_.reset();
  }

  void StopBeforeTheWindowIsCreatedDoesNotHang() {
    // The GUI thread never gets to the creation: it is busy stopping.
    Start(0, 0, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    QElapsedTimer elapsed;
    elapsed.start();
    screen_.reset();
    QVERIFY(elapsed.elapsed() < 2000);
    // The dropped creation and start action never run later.
    QTest::qWait(100);
    QCOMPARE(opens_, 0);
  }

  void StopWhileTheThreadWaitsForTheGuiDoesNotHang() {
    Start(0, 0, true);
    QTRY_VERIFY_WITH_TIMEOUT(screen_->Monitor() != nullptr, kWait);
    QPointer<TFormMon> monitor = screen_->Monitor();
    // The thread asks the GUI thread to hide the window and waits; the GUI
    // thread does not deliver events but stops the thread instead.
    screen_->SetMonitorShown(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    QElapsedTimer elapsed;
    elapsed.start();
    screen_->Stop();
    QVERIFY(elapsed.elapsed() < 2000);
    QVERIFY(monitor.isNull());
    QTest::qWait(50);
  }

 private:
  void Start(int left, int top, bool shown, TScreenTiming timing = {}) {
    screen_ = std::make_unique<QRXScreen>(
        *model_, left, top, shown, [this] { return runState_.load(); },
        [this] {
          ++opens_;
          monitorAtOpen_ = screen_->Monitor();
        },
        std::move(timing));
  }

  std::unique_ptr<TMonitorModel> model_;
  std::unique_ptr<QRXScreen> screen_;
  std::atomic<int> runState_{0};
  int opens_ = 0;
  TFormMon* monitorAtOpen_ = nullptr;
};

QTEST_MAIN(TScreenThreadTest)
#include "screen_thread_test.moc"
