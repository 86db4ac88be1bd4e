// The workbench's main routine: the prepared application, the main window,
// and the event loop until the main window has closed.
#include <QApplication>

#include "workbench/application_setup.h"
#include "workbench/dialog_commands.h"
#include "workbench/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  PrepareApplication(app);

  // The window is destroyed before the application: its destructor stops
  // the screen thread, which needs the GUI thread to destroy the monitor.
  int exitCode = 0;
  {
    TMainWindow form;
    // The version, edit-file selection and unit selection dialogs live
    // until the program ends.
    form.Dialogs().CreateDialogs();
    EndWhenClosed(form);
    form.show();
    exitCode = QApplication::exec();
  }
  return exitCode;
}
