#include "workbench/workbench_settings.h"

#include <QSettings>
#include <QStringList>

namespace {

const QString kMainForm = QStringLiteral("MAINFORM/");
const QString kOption = QStringLiteral("OPTION/");

// An integer as the INI layer reads it: text that is no number gives the
// default, as a missing key does.
int ReadInt(const QSettings& ini, const QString& key, int fallback) {
  if (!ini.contains(key)) return fallback;
  bool ok = false;
  const int value = ini.value(key).toString().trimmed().toInt(&ok);
  return ok ? value : fallback;
}

// Booleans are stored as integers: 0 is false, any other number true.
bool ReadBool(const QSettings& ini, const QString& key, bool fallback) {
  return ReadInt(ini, key, fallback ? 1 : 0) != 0;
}

// A string. QSettings reads an unquoted value that holds commas as a list;
// the list is joined again so that the text reads as it stands in the file.
QString ReadString(const QSettings& ini, const QString& key, const QString& fallback) {
  if (!ini.contains(key)) return fallback;
  const QVariant value = ini.value(key);
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(','));
  return value.toString();
}

QString ErrorText(QSettings::Status status, const QString& iniPath) {
  switch (status) {
    case QSettings::AccessError:
      return QStringLiteral("設定ファイル %1 に書き込めません。").arg(iniPath);
    case QSettings::FormatError:
      return QStringLiteral("設定ファイル %1 の形式が不正です。").arg(iniPath);
    case QSettings::NoError:
      break;
  }
  return {};
}

}  // namespace

TWorkbenchSettings ReadWorkbenchSettings(const QString& iniPath, const QString& sourceFolder) {
  const QSettings ini(iniPath, QSettings::IniFormat);
  TWorkbenchSettings s;
  const auto m = [](const char* key) { return kMainForm + QLatin1String(key); };
  s.FmLeft = ReadInt(ini, m("FmLeft"), s.FmLeft);
  s.FmTop = ReadInt(ini, m("FmTop"), s.FmTop);
  s.FmWidth = ReadInt(ini, m("FmWidth"), s.FmWidth);
  s.FmHeight = ReadInt(ini, m("FmHeight"), s.FmHeight);
  s.FmWindowState = ReadInt(ini, m("FmWindowState"), s.FmWindowState);
  s.KwWidth = ReadInt(ini, m("KwWidth"), s.KwWidth);
  s.KwVisible = ReadBool(ini, m("KwVisible"), s.KwVisible);
  for (size_t n = 0; n < s.KwHead.size(); ++n)
    s.KwHead[n] = ReadInt(ini, kMainForm + QStringLiteral("KwHead%1").arg(n), s.KwHead[n]);
  for (size_t n = 0; n < s.SrcHead.size(); ++n)
    s.SrcHead[n] = ReadInt(ini, kMainForm + QStringLiteral("SrcHead%1").arg(n), s.SrcHead[n]);
  s.DmpHeight = ReadInt(ini, m("DmpHeight"), s.DmpHeight);
  s.DmpVisible = ReadBool(ini, m("DmpVisible"), s.DmpVisible);
  s.NumHex = ReadInt(ini, m("NumHex"), s.NumHex);
  s.MnLeft = ReadInt(ini, m("MnLeft"), s.MnLeft);
  s.MnTop = ReadInt(ini, m("MnTop"), s.MnTop);
  s.MnState = ReadBool(ini, m("MnState"), s.MnState);
  s.MoniterActive = ReadBool(ini, m("MoniterActive"), s.MoniterActive);
  s.BreakPointStop = ReadBool(ini, m("BreakPointStop"), s.BreakPointStop);
  s.SkNotAll = ReadBool(ini, m("SkNotAll"), s.SkNotAll);
  s.SkNum = ReadBool(ini, m("SkNum"), s.SkNum);
  s.SkVal = ReadBool(ini, m("SkVal"), s.SkVal);
  s.SkLabel = ReadBool(ini, m("SkLabel"), s.SkLabel);
  s.SkPointer = ReadBool(ini, m("SkPointer"), s.SkPointer);
  s.SkLocal = ReadBool(ini, m("SkLocal"), s.SkLocal);
  s.SkAuto = ReadBool(ini, m("SkAuto"), s.SkAuto);
  s.SyncView = ReadBool(ini, m("SyncView"), s.SyncView);
  s.CheckTimeStamp = ReadBool(ini, m("CheckTimeStamp"), s.CheckTimeStamp);
  s.LastFileName = ReadString(ini, m("LastFileName"), sourceFolder + QStringLiteral("/*.qasm"));
  s.WaitCount = ReadInt(ini, m("WaitCount"), s.WaitCount);
  s.SelectKw = ReadString(ini, m("SelectKw"), s.SelectKw);
  s.HintVisible = ReadBool(ini, m("HintVisible"), s.HintVisible);
  s.StackVisible = ReadBool(ini, m("StackVisible"), s.StackVisible);
  s.FontSize = ReadInt(ini, kOption + QStringLiteral("FontSize"), s.FontSize);
  s.FontName = ReadString(ini, kOption + QStringLiteral("FontName"), s.FontName);
  s.Editer = ReadString(ini, kOption + QStringLiteral("Editer"), s.Editer);
  return s;
}

bool WriteWorkbenchSettings(const QString& iniPath, const TWorkbenchSettings& s,
                            const TSettingsWriteScope& scope, QString& error) {
  QSettings ini(iniPath, QSettings::IniFormat);
  const auto m = [](const char* key) { return kMainForm + QLatin1String(key); };
  const auto b = [](bool flag) { return flag ? 1 : 0; };
  ini.setValue(m("MnLeft"), s.MnLeft);
  ini.setValue(m("MnTop"), s.MnTop);
  ini.setValue(m("MnState"), b(s.MnState));
  ini.setValue(m("FmWindowState"), s.FmWindowState);
  if (scope.Geometry) {
    ini.setValue(m("FmLeft"), s.FmLeft);
    ini.setValue(m("FmTop"), s.FmTop);
    ini.setValue(m("FmWidth"), s.FmWidth);
    ini.setValue(m("FmHeight"), s.FmHeight);
  }
  ini.setValue(m("KwWidth"), s.KwWidth);
  ini.setValue(m("KwVisible"), b(s.KwVisible));
  for (size_t n = 0; n < s.KwHead.size(); ++n)
    ini.setValue(kMainForm + QStringLiteral("KwHead%1").arg(n), s.KwHead[n]);
  for (size_t n = 0; n < s.SrcHead.size(); ++n)
    ini.setValue(kMainForm + QStringLiteral("SrcHead%1").arg(n), s.SrcHead[n]);
  ini.setValue(m("DmpHeight"), s.DmpHeight);
  ini.setValue(m("DmpVisible"), b(s.DmpVisible));
  ini.setValue(m("NumHex"), s.NumHex);
  ini.setValue(m("MoniterActive"), b(s.MoniterActive));
  ini.setValue(m("BreakPointStop"), b(s.BreakPointStop));
  ini.setValue(m("SkNotAll"), b(s.SkNotAll));
  ini.setValue(m("SkNum"), b(s.SkNum));
  ini.setValue(m("SkVal"), b(s.SkVal));
  ini.setValue(m("SkLabel"), b(s.SkLabel));
  ini.setValue(m("SkPointer"), b(s.SkPointer));
  ini.setValue(m("SkLocal"), b(s.SkLocal));
  ini.setValue(m("SkAuto"), b(s.SkAuto));
  ini.setValue(m("SyncView"), b(s.SyncView));
  ini.setValue(m("CheckTimeStamp"), b(s.CheckTimeStamp));
  ini.setValue(m("LastFileName"), s.LastFileName);
  ini.setValue(m("WaitCount"), s.WaitCount);
  if (scope.SelectKw) ini.setValue(m("SelectKw"), s.SelectKw);
  ini.setValue(m("HintVisible"), b(s.HintVisible));
  ini.setValue(m("StackVisible"), b(s.StackVisible));
  ini.setValue(kOption + QStringLiteral("Editer"), s.Editer);
  ini.sync();
  error = ErrorText(ini.status(), iniPath);
  return ini.status() == QSettings::NoError;
}

int WaitMenuTag(int waitCount) {
  if (waitCount == 0) return 0;
  if (waitCount >= 1 && waitCount <= 30) return 20;
  if (waitCount >= 31 && waitCount <= 70) return 50;
  if (waitCount >= 71 && waitCount <= 150) return 100;
  if (waitCount >= 151 && waitCount <= 300) return 200;
  return 500;
}

int TraceWaitFor(int waitCount) {
  return waitCount < 0 || waitCount > 500 ? 500 : waitCount;
}

int NumberFormatIndexFor(int numHex) {
  return numHex >= 0 && numHex <= 2 ? numHex : 2;
}
