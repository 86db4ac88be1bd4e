// The workbench's main routine: the application with its title, the font
// substitutions, the main window, and the event loop until it closes.
#include <QApplication>

#include "monitor/monitor_font.h"
#include "workbench/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The application's title. No display name is set: Qt would append it
  // to every window caption ("QRX エミュレータ : x.qasm — QRX Emulator").
  QApplication::setApplicationName(QStringLiteral("QRX Emulator"));
  RegisterFontSubstitutions();

  // The window is destroyed before the application: its destructor stops
  // the screen thread, which needs the GUI thread to destroy the monitor.
  int exitCode = 0;
  {
    TForm1 form;
    // The version, edit-file selection and unit selection dialogs live
    // until the program ends.
    form.CreateDialogs();
    QObject::connect(&form, &TForm1::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    form.show();
    exitCode = QApplication::exec();
  }
  return exitCode;
}
