// The folders the workbench uses, and the first start that creates them.
//
// settings folder  $APPDATA/QRXEmulator, else ${XDG_CONFIG_HOME:-~/.config}/QRXEmulator
// settings file    settings folder + "/QRX.INI"
// source folder    $USERPROFILE/My Documents/QRXソースファイル, else the
//                  documents folder + "/QRXソースファイル"
// sample folder    program folder + "/qasm"
// help file        program folder + "/HELP/index.html"
//
// Paths are written with "/".
#pragma once

#include <QString>

struct TWorkbenchFolders {
  QString ProgramFolder;
  QString SettingsFolder;
  QString SettingsFile;
  QString SourceFolder;
  QString SampleFolder;
  QString HelpFile;

  // The folders for a program that lies in programFolder, from the
  // environment as it is now. An empty sampleFolder means programFolder +
  // "/qasm"; tests give their own.
  static TWorkbenchFolders Locate(const QString& programFolder, const QString& sampleFolder = {});
};

// What the first start did.
struct TFirstStartResult {
  bool SettingsFolderCreated = false;
  bool SourceFolderCreated = false;
  int SamplesCopied = 0;
};

// When the settings folder does not exist it is created (with its parents);
// then, when the source folder does not exist either, it is created and
// every regular file directly in the sample folder is copied into it under
// the same name, replacing a file of that name. Subfolders and files that
// cannot be copied are skipped without a word. Nothing at all happens when
// the settings folder already exists.
TFirstStartResult PrepareFirstStart(const TWorkbenchFolders& folders);
