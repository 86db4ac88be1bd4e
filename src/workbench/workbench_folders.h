// The folders the workbench uses, and the first start that creates them.
//
// settings folder  $APPDATA/QRXEmulator, else ${XDG_CONFIG_HOME:-~/.config}/QRXEmulator
// settings file    settings folder + "/QRX.INI"
// source folder    $USERPROFILE/My Documents/QRXソースファイル, else the
//                  documents folder + "/QRXソースファイル"
// sample folder    data folder + "/qasm"
// help file        data folder + "/HELP/index.html"
//
// The data folder is the program folder when it holds "qasm" (the build
// folder, where the build copies the samples and the help page beside the
// program); otherwise, when the program lies in an installed prefix's bin/,
// the prefix's "share/qrx"; otherwise the program folder.
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
  // environment and the folders as they are now. An empty sampleFolder means
  // the data folder's "qasm"; tests give their own.
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
