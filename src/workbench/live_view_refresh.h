// Keeps the label view, the memory panel and the stack view current while a
// program runs at full speed: a timer repaints them every kIntervalMs. The
// timer fires from run control's event delivery, so it costs the run loop
// nothing between two firings, and a repaint touches only the visible rows
// (each view reads the machine when it paints).
#pragma once

#include <QObject>
#include <QTimer>

class TMainWindow;
class TSidePanels;

class TLiveViewRefresh : public QObject {
  Q_OBJECT

 public:
  static constexpr int kIntervalMs = 100;

  TLiveViewRefresh(TMainWindow& form, TSidePanels& sidePanels);

  // A run started / ended (trace and step show every line themselves).
  void RunStarted();
  void RunEnded();
  bool IsActive() const { return timer_.isActive(); }
  // Off: a run keeps the views as they were until it ends (for measuring).
  void SetEnabled(bool on) { enabled_ = on; }
  // The repaint the timer does.
  void RefreshViews();

 private:
  TMainWindow& form_;
  TSidePanels& sidePanels_;
  QTimer timer_;
  bool enabled_ = true;
};
