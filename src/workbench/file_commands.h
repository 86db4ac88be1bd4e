// The file commands of the main window: opening a file (the open dialog,
// "読み込み(&L)...", "読み込み直す(&R)" and OpenFile, which every way of
// opening a file ends in), the saves ("現在の状態を保存(&S)...",
// "機械語で保存(&B)...", "入力ログを保存(&I)...") and the time-stamp check
// of the sources when the application becomes active again.
//
// The implementation is split by job: file_commands.cpp (opening files),
// state_commands.cpp (the saves) and timestamp_check.cpp (the check).
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "session/load_result.h"

class TMainWindow;

// The open dialog's filter list in Qt's form ("name (pattern pattern);;...")
// from the "name|pattern;pattern|..." form; "*.*" becomes "*".
QString QtFileFilter(const QString& pairs);
// The open dialog's filter list.
QString OpenDialogFilter();

class TFileCommands : public QObject {
  Q_OBJECT

 public:
  // A child of the window; follows the application's activation.
  explicit TFileCommands(TMainWindow& form);

  // Opens a source or state file and shows the outcome in the message line;
  // returns the load result.
  TLoadResult OpenFile(const QString& path);

  // The name the open dialog starts with (prepared at start, then the last
  // chosen file).
  const QString& OpenDialogFileName() const { return openDialogName_; }
  void SetOpenDialogFileName(const QString& name) { openDialogName_ = name; }
  // The path the open dialog starts with: the prepared name (a bare name
  // in the source folder), or the folder alone when the name is a pattern.
  QString OpenDialogStartPath() const;

  // Given the dialog's start path and filter, returns the chosen file or
  // an empty text for a cancelled dialog.
  using TOpenDialogHook = std::function<QString(const QString& startPath, const QString& filter)>;
  void SetOpenDialogHook(TOpenDialogHook hook) { openDialogHook_ = std::move(hook); }
  // Given the start path, the filter and the default suffix, returns the
  // chosen file or "" when the save dialog was cancelled.
  using TSaveDialogHook = std::function<QString(const QString& startPath, const QString& filter,
                                                const QString& suffix)>;
  void SetSaveDialogHook(TSaveDialogHook hook) { saveDialogHook_ = std::move(hook); }

 public slots:
  void LoadClick();             // "読み込み(&L)..."
  void ReloadClick();           // "読み込み直す(&R)"
  void SaveStateClick();        // "現在の状態を保存(&S)...": state save
  void SaveMachineCodeClick();  // "機械語で保存(&B)...": machine-code save
  void SaveInputLogClick();     // "入力ログを保存(&I)..."
  // The application became active: the time-stamp check.
  void ApplicationActivated();

 private:
  // The time-stamp check of the sources (timestamp_check.cpp); it also
  // runs after a state file was read, whatever the result.
  void CheckSourceTimeStamps();
  // The open dialog: starts at start (a folder or a file) and returns the
  // chosen file, "" when cancelled.
  QString AskOpenPath(const QString& start, const QString& filter);
  // The save dialog (or its hook): start in basis's folder with basis's
  // name given the extension suffix; "" when cancelled.
  QString AskSavePath(const std::string& basis, const char* filterPairs, const QString& suffix);

  TMainWindow& form_;
  QString openDialogName_;
  TOpenDialogHook openDialogHook_;
  TSaveDialogHook saveDialogHook_;
  // A time-stamp check is running (its question re-activates the program).
  bool checkingStamps_ = false;
};
