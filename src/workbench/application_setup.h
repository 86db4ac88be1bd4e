// What the workbench's main routine does around its main window: the
// application's title, icon and desktop entry, the font substitutions and Qt's own texts in
// Japanese before the window exists, and the end of the program once the
// window has accepted its close.
#pragma once

class QCoreApplication;
class TMainWindow;

// Title "QRX Emulator", the icon of every window, the desktop entry's name
// ("qrx-workbench"), the font substitutions and the Japanese texts of Qt's
// standard dialogs and buttons.
void PrepareApplication(QCoreApplication& app);

// Installs Qt's Japanese translations (package qt6-translations-l10n) on
// the application; false when they cannot be found, and the texts stay
// English.
bool InstallQtJapaneseTexts(QCoreApplication& app);

// Ends the event loop as soon as the main window has accepted its close.
// Qt's own quit would first ask every other window to close, and the
// monitor window refuses a close (its close box only hides it).
void EndWhenClosed(TMainWindow& form);
