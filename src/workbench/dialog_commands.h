// The main window's dialogs and boxes: the version dialog, the edit-file
// selection and the unit selection (made once, children of the window), the
// commands that show them or Qt's font dialog ("表示するユニットの設定(&U)...",
// "表示フォントの設定(&F)...", "バージョン情報(&V)"), the help page
// ("ヘルプ(&H)"), and the one place every modal dialog, question box and
// error box of the commands runs through, with hooks that stand in for the
// user in tests.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QDialog;
class QUrl;
class TAboutBox;
class TEditFileSelect;
class TMainWindow;
class TUnitDialog;

class TDialogCommands : public QObject {
  Q_OBJECT

 public:
  explicit TDialogCommands(TMainWindow& form);

  // Makes the version dialog, the edit-file selection dialog and the unit
  // selection dialog, in that order, owned by the window; the main routine
  // calls it after creating the window. Later calls do nothing; the
  // commands that show a dialog call it first.
  void CreateDialogs();
  TAboutBox* AboutBox() const { return aboutBox_; }
  TEditFileSelect* EditFileSelect() const { return editFileSelect_; }
  TUnitDialog* UnitSelect() const { return unitSelect_; }

  // Runs a modal dialog or question box; with a hook the hook gets the
  // prepared dialog instead of the user and returns its result
  // (QDialog::Accepted, QMessageBox::Yes ...).
  using TModalHook = std::function<int(QDialog& dialog)>;
  void SetModalHook(TModalHook hook) { modalHook_ = std::move(hook); }
  int ExecModal(QDialog& dialog);
  // An error box with an OK button; with a hook the hook gets the text.
  using TErrorBoxHook = std::function<void(const QString& text)>;
  void SetErrorBoxHook(TErrorBoxHook hook) { errorBoxHook_ = std::move(hook); }
  void ShowErrorBox(const QString& text);
  // Opens the help page instead of the desktop's "open".
  using TUrlOpenerHook = std::function<bool(const QUrl& url)>;
  void SetUrlOpenerHook(TUrlOpenerHook hook) { urlOpenerHook_ = std::move(hook); }

 public slots:
  void UnitsClick();         // "表示するユニットの設定(&U)...": unit dialog
  void HelpClick();          // "ヘルプ(&H)": the help page
  void FontSettingsClick();  // "表示フォントの設定(&F)...": the font dialog
  void AboutClick();         // "バージョン情報(&V)": the version dialog

 private:
  TMainWindow& form_;
  // Children of the window.
  TAboutBox* aboutBox_ = nullptr;
  TEditFileSelect* editFileSelect_ = nullptr;
  TUnitDialog* unitSelect_ = nullptr;
  TModalHook modalHook_;
  TErrorBoxHook errorBoxHook_;
  TUrlOpenerHook urlOpenerHook_;
};
