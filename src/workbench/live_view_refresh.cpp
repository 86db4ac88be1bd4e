#include "workbench/live_view_refresh.h"

#include "workbench/label_view.h"
#include "workbench/main_window.h"
#include "workbench/memory_view.h"
#include "workbench/side_panels.h"

TLiveViewRefresh::TLiveViewRefresh(TMainWindow& form, TSidePanels& sidePanels)
    : QObject(&form), form_(form), sidePanels_(sidePanels) {
  timer_.setInterval(kIntervalMs);
  connect(&timer_, &QTimer::timeout, this, &TLiveViewRefresh::RefreshViews);
}

void TLiveViewRefresh::RunStarted() {
  if (enabled_) timer_.start();
}

void TLiveViewRefresh::RunEnded() {
  timer_.stop();
}

void TLiveViewRefresh::RefreshViews() {
  // Hidden panels paint nothing; update() on them is free.
  form_.LabelView()->RepaintAll();
  form_.MemoryView()->RefreshMemoryView();
  sidePanels_.RefreshStack();
}
