// The external editor: its command with the placeholders %F and %L
// ("エディタの設定(&E)..."), "ソース編集(&E)..." (sources chosen in the
// edit-file selection dialog), and the listing pop-up's items that open the
// source, or the macro source, of the selected row at its line.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class TMainWindow;
struct TEditorLaunch;

class TEditorCommands : public QObject {
  Q_OBJECT

 public:
  explicit TEditorCommands(TMainWindow& form);

  // The editor's command, kept in QRX.INI as Editer.
  const QString& EditorCommand() const { return command_; }
  void SetEditorCommand(const QString& command) { command_ = command; }

  // Starts the editor on path (UTF-8) at line; an editor that cannot be
  // started gives an error box naming the command tried.
  void RunEditor(const std::string& path, int line);
  // Receives the editor's program and arguments instead of starting them.
  using TEditorLaunchHook = std::function<void(const TEditorLaunch& launch)>;
  void SetEditorLaunchHook(TEditorLaunchHook hook) { launchHook_ = std::move(hook); }

 public slots:
  void EditSourceClick();          // "ソース編集(&E)..."
  void EditRowSourceClick();       // pop-up "ソースの編集(&E)"
  void EditRowMacroSourceClick();  // pop-up "マクロソースの編集(&M)"
  void EditorSettingsClick();      // "エディタの設定(&E)..."

 private:
  TMainWindow& form_;
  QString command_;
  TEditorLaunchHook launchHook_;
};
