// The one application the GUI benchmarks share, on the offscreen platform.
#pragma once

#include <QApplication>

#include "monitor_qt/monitor_font.h"

// Creates the application on first use (with the font substitutions) and
// returns it.
inline QApplication& BenchApplication() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  static int argc = 1;
  static char name[] = "qrx_gui_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: an application torn down among the exit-time
  // destructors crashes in Qt's own clean-up.
  auto* app = new QApplication(argc, argv);
  RegisterFontSubstitutions();
  return *app;
}
