// "ファイル(&F)" → "ケースファイルで確認(&K)...": checks the loaded program's
// main source against the cases of a case file (*.json) with the grader, as
// the tool's test command does, and shows the results in a dialog. A case
// file that cannot be read at all gives an error box with its place.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class TMainWindow;

class TCaseCheckCommand : public QObject {
  Q_OBJECT

 public:
  // Adds the item to the file menu after "ソース編集(&E)...".
  explicit TCaseCheckCommand(TMainWindow& form);

  QAction* MenuItem() const { return item_; }

  // Given the start folder and the filter, returns the chosen case file or
  // "" for a cancelled dialog; replaces the open dialog (tests).
  using TFileDialogHook = std::function<QString(const QString& start, const QString& filter)>;
  void SetFileDialogHook(TFileDialogHook hook) { fileDialogHook_ = std::move(hook); }

  // Asks for the case file, then checks.
  void Run();
  // Checks the main source against the case file at path.
  void Check(const QString& path);

 private:
  TMainWindow& form_;
  QAction* item_ = nullptr;
  TFileDialogHook fileDialogHook_;
};
