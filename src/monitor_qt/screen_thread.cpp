#include "monitor_qt/screen_thread.h"

#include <QMetaObject>
#include <memory>
#include <utility>

#include "monitor/screen_model.h"
#include "monitor_qt/form_mon.h"

namespace {

// A frame starts at the first check after more than the frame interval.
constexpr int64_t kFrameMs = kFrameIntervalMs;
constexpr int64_t kWaitForFrameMs = 1;
constexpr int64_t kIdleMs = 10;

// A call handed to the GUI thread, as the two threads see it.
enum class TGuiCallState { Pending, Running, Done, Dropped };

}  // namespace

QRXScreen::QRXScreen(TMonitorModel& model, int left, int top, bool shown, TRunStateReader runState,
                     TStartAction afterCreate, TScreenTiming timing, QObject* parent)
    : QThread(parent),
      model_(model),
      left_(left),
      top_(top),
      runState_(std::move(runState)),
      afterCreate_(std::move(afterCreate)),
      clock_(timing.Clock != nullptr ? *timing.Clock : steadyClock_),
      sleeping_(std::move(timing.Sleeping)),
      shown_(shown) {
  setObjectName(QStringLiteral("QRXScreen"));
  start();
}

QRXScreen::~QRXScreen() {
  Stop();
}

void QRXScreen::RequestFront() {
  shown_.store(true);
  frontRequest_.store(true);
}

void QRXScreen::Stop() {
  {
    std::lock_guard<std::mutex> guard(waitLock_);
    stop_ = true;
  }
  wake_.notify_all();
  // The thread never waits for the GUI thread once the stop is set, so
  // waiting for it here cannot deadlock. The body's own end mark makes its
  // last writes visible here before QThread's wait.
  {
    std::unique_lock<std::mutex> lock(waitLock_);
    wake_.wait(lock, [this] { return bodyDone_; });
  }
  wait();
  // The window belongs to the GUI thread and is destroyed here, after the
  // thread has stopped drawing into it.
  delete monitor_.exchange(nullptr);
}

bool QRXScreen::StopRequested() {
  std::lock_guard<std::mutex> guard(waitLock_);
  return stop_;
}

bool QRXScreen::SleepMs(int64_t ms) {
  if (sleeping_) sleeping_(ms);
  std::unique_lock<std::mutex> lock(waitLock_);
  wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_; });
  return !stop_;
}

bool QRXScreen::RunOnGui(std::function<void()> call) {
  auto state = std::make_shared<TGuiCallState>(TGuiCallState::Pending);
  // The context object is this, which lives on the GUI thread; if it is
  // gone, the call is dropped by Qt.
  QMetaObject::invokeMethod(
      this,
      [this, state, call = std::move(call)] {
        {
          std::lock_guard<std::mutex> guard(waitLock_);
          if (*state == TGuiCallState::Dropped) return;
          *state = TGuiCallState::Running;
        }
        call();
        {
          std::lock_guard<std::mutex> guard(waitLock_);
          *state = TGuiCallState::Done;
        }
        wake_.notify_all();
      },
      Qt::QueuedConnection);

  std::unique_lock<std::mutex> lock(waitLock_);
  // A call already running is always awaited; one not yet begun is dropped
  // on a stop, because the GUI thread may itself be waiting for this thread.
  wake_.wait(lock, [&] {
    return *state == TGuiCallState::Done || (stop_ && *state == TGuiCallState::Pending);
  });
  if (*state == TGuiCallState::Done) return true;
  *state = TGuiCallState::Dropped;
  return false;
}

void QRXScreen::CreateMonitor() {
  // GUI thread.
  auto* monitor = new TFormMon(model_);
  connect(monitor, &TFormMon::CloseRequested, this, [this] { shown_.store(false); });
  monitor->move(left_, top_);
  monitor->setFixedSize(kScreenWidth, kScreenHeight);
  monitor->TakeSnapshot();
  monitor->setVisible(shown_.load());
  monitor_.store(monitor);
  emit MonitorCreated(monitor);
}

void QRXScreen::SyncVisibility(TFormMon& monitor) {
  if (frontRequest_.exchange(false)) {
    RunOnGui([&monitor] {
      monitor.show();
      monitor.raise();
      monitor.activateWindow();
    });
    return;
  }
  const bool wanted = shown_.load();
  if (monitor.VisibleNow() == wanted) return;
  RunOnGui([&monitor, wanted] {
    if (wanted) {
      monitor.show();
      monitor.raise();
    } else {
      monitor.hide();
    }
  });
}

void QRXScreen::DrawFrame(TFormMon& monitor, TPerformanceCounter& frameClock) {
  if (frameClock.ElapsedMs() <= kFrameMs) {
    SleepMs(kWaitForFrameMs);
    return;
  }
  frameClock.Restart();
  monitor.TakeSnapshot();
  monitor.Render();
  model_.AdvanceFrame();
  const int64_t spent = frameClock.ElapsedMs();
  if (spent < kFrameMs) SleepMs(kFrameMs - spent);
}

void QRXScreen::run() {
  RunBody();
  // Notified under the lock: once Stop sees the mark, this thread no longer
  // touches the condition variable.
  std::lock_guard<std::mutex> guard(waitLock_);
  bodyDone_ = true;
  wake_.notify_all();
}

void QRXScreen::RunBody() {
  if (!RunOnGui([this] { CreateMonitor(); })) return;
  TFormMon* const monitor = monitor_.load();
  if (afterCreate_) {
    // Not awaited: opening a file may take long or ask questions, and this
    // thread has nothing to wait for.
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (monitor_.load() != nullptr) afterCreate_();
        },
        Qt::QueuedConnection);
  }

  TPerformanceCounter frameClock(clock_, true);
  while (!StopRequested()) {
    SyncVisibility(*monitor);
    if (monitor->VisibleNow() && runState_ && runState_()) {
      DrawFrame(*monitor, frameClock);
    } else {
      SleepMs(kIdleMs);
    }
  }
}
