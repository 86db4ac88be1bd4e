// The monkey: a seeded random sequence of real input to the main window,
// its menus, dialogs and views, and to the monitor window. Each tick sends
// one action; the next tick is scheduled before the action runs, so input
// goes on while a program runs or a modal dialog or pop-up menu waits in its
// own event loop. Modal dialogs and pop-up menus are answered first.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <random>

class QMenu;
class QWidget;
class TMainWindow;
class TMonkeyFiles;

class TMonkeyDriver : public QObject {
  Q_OBJECT

 public:
  TMonkeyDriver(TMainWindow& form, TMonkeyFiles& files, uint32_t seed, int seconds);

  // Starts the ticks; when the time is up the driver stops the program,
  // closes what is open, checks that a queued event is answered and calls
  // done with the outcome (true: alive).
  void Start(std::function<void(bool alive)> done);
  // The last actions, oldest first, for a failure report; safe to call from
  // any thread (the watchdog reports a hang with them).
  QStringList RecentActions() const;
  int64_t ActionCount() const { return actions_.load(); }
  // Milliseconds of the steady clock at the last tick (read by the watchdog).
  const std::atomic<int64_t>& Heartbeat() const { return heartbeat_; }

 private:
  void Tick();
  void ScheduleTick();
  void Finish();
  void Note(const QString& action);
  int Roll(int below);
  bool Chance(int percent) { return Roll(100) < percent; }

  // Answering what waits in a nested event loop.
  bool AnswerPopup();
  bool AnswerModal();
  void ClickMenuItem(QMenu& menu);

  // The actions.
  void OpenMainMenu();
  void ClickRunButton();
  void ClickBackButton();
  void ListingKeys();
  void ListingMouse();
  void LabelMouse();
  void MemoryGrid();
  void OpenFile();
  void DropFile();
  void ResizeMainWindow();
  void DragSplitter();
  void MonitorInput();
  void MonitorWindow();
  void Shortcut();

  TMainWindow& form_;
  TMonkeyFiles& files_;
  std::mt19937 random_;
  const int seconds_;
  QElapsedTimer clock_;
  std::function<void(bool)> done_;
  bool finishing_ = false;
  int depth_ = 0;
  std::atomic<int64_t> actions_{0};
  QWidget* lastModal_ = nullptr;
  int modalTicks_ = 0;
  mutable std::mutex recentLock_;
  QStringList recent_;
  std::atomic<int64_t> heartbeat_{0};
  QElapsedTimer finishClock_;
};
