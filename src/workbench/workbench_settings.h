// The settings file QRX.INI: every key with its default, read at start and
// written on closing. Sections "MAINFORM" and "OPTION"; booleans as 1 and 0;
// strings as UTF-8 text (the callers convert label names from and to CP932).
#pragma once

#include <QString>
#include <array>

// Keys whose defaults the table fixes; LastFileName's default depends on the
// source folder and is filled in by ReadWorkbenchSettings.
struct TWorkbenchSettings {
  // "MAINFORM"
  int FmLeft = 0;
  int FmTop = 0;
  int FmWidth = 780;
  int FmHeight = 470;
  int FmWindowState = 0;  // 0 normal, 1 minimised, 2 maximised
  int KwWidth = 230;
  bool KwVisible = true;
  std::array<int, 5> KwHead{42, 48, 48, 48, 48};
  std::array<int, 6> SrcHead{48, 48, 48, 56, 56, 240};
  int DmpHeight = 100;
  bool DmpVisible = true;
  int NumHex = 2;
  int MnLeft = 32;
  int MnTop = 32;
  bool MnState = true;
  bool MoniterActive = false;
  bool BreakPointStop = true;
  bool SkNotAll = false;
  bool SkNum = false;
  bool SkVal = true;
  bool SkLabel = false;
  bool SkPointer = true;
  bool SkLocal = false;
  bool SkAuto = false;
  bool SyncView = true;
  bool CheckTimeStamp = false;
  QString LastFileName;
  int WaitCount = 200;
  QString SelectKw;
  // The hints panel and the stack view at the right of the listing.
  bool HintVisible = true;
  bool StackVisible = true;
  // "OPTION" (FontSize and FontName are only read)
  int FontSize = 9;
  QString FontName = QStringLiteral("ＭＳ ゴシック");
  QString Editer = QStringLiteral("xdg-open ");

  bool operator==(const TWorkbenchSettings&) const = default;
};

// Reads every key; a missing file or key gives the default. LastFileName
// defaults to sourceFolder + "/*.qasm"; a key that is present but empty
// stays empty.
TWorkbenchSettings ReadWorkbenchSettings(const QString& iniPath, const QString& sourceFolder);

// What WriteWorkbenchSettings leaves out.
struct TSettingsWriteScope {
  // FmLeft, FmTop, FmWidth, FmHeight: only while the window is in its
  // normal state.
  bool Geometry = true;
  // SelectKw: only when a current file is set.
  bool SelectKw = true;
};

// Writes the keys (FontSize and FontName never) and flushes the file.
// Returns false with the INI layer's message in error when the file could
// not be written; the settings are then lost.
bool WriteWorkbenchSettings(const QString& iniPath, const TWorkbenchSettings& settings,
                            const TSettingsWriteScope& scope, QString& error);

// The wait submenu's item (its tag 0, 20, 50, 100, 200 or 500) that shows a
// trace wait read from WaitCount: 0 → 0; 1–30 → 20; 31–70 → 50; 71–150 →
// 100; 151–300 → 200; 301–500 → 500; above 500 or below 0 → 500.
int WaitMenuTag(int waitCount);
// The trace wait run control uses: the value read, except that a value
// above 500 or below 0 becomes 500.
int TraceWaitFor(int waitCount);

// The number format of NumHex (0, 1, 2); any other value gives 2.
int NumberFormatIndexFor(int numHex);
