#include "workbench/application_setup.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "monitor_qt/monitor_font.h"
#include "workbench/application_icon.h"
#include "workbench/main_window.h"

void PrepareApplication(QCoreApplication& app) {
  // The application's title. No display name is set: Qt would append it
  // to every window caption ("QRX エミュレータ : x.qasm — QRX Emulator").
  QCoreApplication::setApplicationName(QStringLiteral("QRX Emulator"));
  // Every window (the main window, the monitor, the dialogs) shows our icon;
  // the desktop finds the entry, its name and icon, by the desktop file name.
  QGuiApplication::setWindowIcon(WorkbenchIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral("qrx-workbench"));
  RegisterFontSubstitutions();
  InstallQtJapaneseTexts(app);
}

bool InstallQtJapaneseTexts(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

void EndWhenClosed(TMainWindow& form) {
  QObject::connect(&form, &TMainWindow::Closed, &form, [] { QCoreApplication::exit(0); });
}
