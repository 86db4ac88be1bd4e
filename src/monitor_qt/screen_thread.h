// The screen-refresh thread: it has the GUI thread create the machine
// monitor window, keeps the window shown or hidden as asked, and while a
// program runs redraws the monitor about 29 times a second, so the run
// loops never draw. Every window operation is handed to the GUI thread;
// rendering into the off-screen image happens here.
#pragma once

#include <QThread>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "monitor/monitor_model.h"
#include "monitor/performance_counter.h"

class TFormMon;

// The screen thread's sense of time, replaceable for tests: the clock that
// paces the frames (the steady clock when none is given), and a call that
// hears of every sleep, in milliseconds, before the thread sleeps (a test's
// clock moves on by it). Both are used on the screen thread.
struct TScreenTiming {
  const TClock* Clock = nullptr;
  std::function<void(int64_t ms)> Sleeping;
};

class QRXScreen final : public QThread {
  Q_OBJECT

 public:
  // Whether a program runs (the run state as the main window last set it is
  // not idle); called on the screen thread, so it must read something safe
  // to share (an atomic).
  using TRunStateReader = std::function<bool()>;
  // Runs on the GUI thread once, after the monitor window exists: opens the
  // file named on the command line, if any.
  using TStartAction = std::function<void()>;

  // Create on the GUI thread; the thread starts at once. The window appears
  // once the GUI thread's event loop runs, at (left, top), shown when shown
  // is true. The model must outlive this object.
  QRXScreen(TMonitorModel& model, int left, int top, bool shown, TRunStateReader runState,
            TStartAction afterCreate = {}, TScreenTiming timing = {}, QObject* parent = nullptr);
  // Stops the thread and destroys the window (Stop). Destroy this object
  // before the QApplication.
  ~QRXScreen() override;

  // The monitor window; nullptr before the GUI thread has created it and
  // after Stop.
  TFormMon* Monitor() const { return monitor_.load(); }

  // Whether the monitor should be visible; the thread shows or hides the
  // window to match within a few milliseconds.
  bool MonitorShown() const { return shown_.load(); }
  void SetMonitorShown(bool shown) { shown_.store(shown); }
  // Shows the monitor and brings it to the front once.
  void RequestFront();

  // GUI thread. Ends the thread and then destroys the window. Safe to call
  // more than once, and at any point of the start-up: a window operation
  // that the GUI thread has not begun yet is dropped instead of awaited.
  void Stop();

 signals:
  // Emitted on the GUI thread right after the window is created and placed.
  void MonitorCreated(TFormMon* monitor);

 protected:
  void run() override;

 private:
  // Runs call on the GUI thread and waits for it. Returns false, without
  // waiting, when a stop comes before the GUI thread has begun the call,
  // which then never runs.
  bool RunOnGui(std::function<void()> call);
  // Sleeps, waking early for a stop. Returns false once a stop is asked.
  bool SleepMs(int64_t ms);
  bool StopRequested();
  void RunBody();
  void CreateMonitor();
  void SyncVisibility(TFormMon& monitor);
  void DrawFrame(TFormMon& monitor, TPerformanceCounter& frameClock);

  TMonitorModel& model_;
  const int left_;
  const int top_;
  TRunStateReader runState_;
  TStartAction afterCreate_;
  TSteadyClock steadyClock_;
  const TClock& clock_;
  std::function<void(int64_t ms)> sleeping_;

  std::atomic<bool> shown_;
  std::atomic<bool> frontRequest_{false};
  std::atomic<TFormMon*> monitor_{nullptr};

  // Wakes the thread from its sleeps and from waiting for the GUI thread.
  std::mutex waitLock_;
  std::condition_variable wake_;
  bool stop_ = false;
  bool bodyDone_ = false;
};
