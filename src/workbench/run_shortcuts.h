// The keys of the run commands, live wherever the keyboard focus is in the
// main window: F5 run, F7 trace, F8 step (Ctrl+F8: the step goes into a
// CALL, as a step with Control held does), Ctrl+F5 stop, Ctrl+F2 reset.
// Each key clicks its tool-bar button, so it does exactly what the button
// does and nothing while the button is disabled. The buttons' hints name
// their keys, and those of the two back buttons (whose menu items carry
// the keys) too. The menus keep their captions.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <array>

class QAction;
class TMainWindow;

class TRunShortcuts : public QObject {
  Q_OBJECT

 public:
  struct TKey {
    int Button;  // TToolBarPanel::Button
    QKeySequence Keys;
  };
  static const std::array<TKey, 6>& Keys();

  explicit TRunShortcuts(TMainWindow& form);
};
