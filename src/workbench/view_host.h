// What the three views of the main window read from it. The main window
// implements this; the views paint from the session's data and report user
// actions through their signals, and the main window decides what follows.
#pragma once

#include <QColor>
#include <QFont>

#include "workbench/number_format.h"

class TProgramSession;

// The views' background colour, and the colour while a view has the focus.
inline const QColor kViewBackground(255, 250, 221);
inline const QColor kViewFocusBackground(255, 255, 255);

class TViewHost {
 public:
  virtual ~TViewHost() = default;
  // The program shown: the assembler's listing and label rows, the machine's
  // memory, the breakpoints and the file set.
  virtual TProgramSession& Session() = 0;
  virtual TNumberFormat NumberFormat() const = 0;
  // The main window's font; the views draw in it.
  virtual QFont MainFont() const = 0;
};
