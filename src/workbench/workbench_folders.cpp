#include "workbench/workbench_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString Environment(const char* name) {
  return qEnvironmentVariable(name);
}

QString Slashes(QString path) {
  return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString ConfigBase() {
  const QString xdg = Environment("XDG_CONFIG_HOME");
  if (!xdg.isEmpty()) return xdg;
  return QDir::homePath() + QStringLiteral("/.config");
}

QString DocumentsBase() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return documents.isEmpty() ? QDir::homePath() : documents;
}

// The folder that holds the samples and the help page: the program folder
// itself in a build folder, else the shared data folder of an installed
// prefix (bin/ beside share/qrx/), else the program folder as the default.
QString DataFolder(const QString& programFolder) {
  if (QFileInfo(programFolder + QStringLiteral("/qasm")).isDir()) return programFolder;
  const QString installed = QDir::cleanPath(programFolder + QStringLiteral("/../share/qrx"));
  if (QFileInfo(installed).isDir()) return installed;
  return programFolder;
}

}  // namespace

TWorkbenchFolders TWorkbenchFolders::Locate(const QString& programFolder,
                                            const QString& sampleFolder) {
  TWorkbenchFolders f;
  f.ProgramFolder = Slashes(programFolder);
  const QString appData = Environment("APPDATA");
  f.SettingsFolder =
      Slashes(appData.isEmpty() ? ConfigBase() : appData) + QStringLiteral("/QRXEmulator");
  f.SettingsFile = f.SettingsFolder + QStringLiteral("/QRX.INI");
  const QString profile = Environment("USERPROFILE");
  const QString documents =
      profile.isEmpty() ? DocumentsBase() : Slashes(profile) + QStringLiteral("/My Documents");
  f.SourceFolder = Slashes(documents) + QStringLiteral("/QRXソースファイル");
  const QString data = DataFolder(f.ProgramFolder);
  f.SampleFolder = sampleFolder.isEmpty() ? data + QStringLiteral("/qasm") : Slashes(sampleFolder);
  f.HelpFile = data + QStringLiteral("/HELP/index.html");
  return f;
}

TFirstStartResult PrepareFirstStart(const TWorkbenchFolders& folders) {
  TFirstStartResult result;
  if (QFileInfo::exists(folders.SettingsFolder)) return result;
  result.SettingsFolderCreated = QDir().mkpath(folders.SettingsFolder);
  if (QFileInfo::exists(folders.SourceFolder)) return result;
  result.SourceFolderCreated = QDir().mkpath(folders.SourceFolder);
  if (!result.SourceFolderCreated) return result;
  const QDir samples(folders.SampleFolder);
  const QFileInfoList files = samples.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
  for (const QFileInfo& file : files) {
    const QString target = folders.SourceFolder + QLatin1Char('/') + file.fileName();
    if (QFileInfo::exists(target)) QFile::remove(target);
    if (QFile::copy(file.absoluteFilePath(), target)) ++result.SamplesCopied;
  }
  return result;
}
