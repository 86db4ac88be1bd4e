// The settings file without a window: defaults, a full round trip, what a
// write leaves out, a failed write, the wait mapping; and the folders with
// the first start's sample copy.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "workbench/workbench_folders.h"
#include "workbench/workbench_settings.h"

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TWorkbenchSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    ini_ = dir_->filePath(QStringLiteral("QRX.INI"));
  }

  // ---------------------------------------------------------- reading

  void MissingFileGivesEveryDefault() {
    TWorkbenchSettings expected;
    expected.LastFileName = QStringLiteral("/src/*.qasm");
    QVERIFY(ReadWorkbenchSettings(ini_, QStringLiteral("/src")) == expected);
    // The defaults themselves, as the settings table fixes them.
    QCOMPARE(expected.FmWidth, 780);
    QCOMPARE(expected.FmHeight, 470);
    QCOMPARE(expected.KwWidth, 230);
    QCOMPARE(expected.KwHead, (std::array<int, 5>{42, 48, 48, 48, 48}));
    QCOMPARE(expected.SrcHead, (std::array<int, 6>{48, 48, 48, 56, 56, 240}));
    QCOMPARE(expected.DmpHeight, 100);
    QCOMPARE(expected.NumHex, 2);
    QCOMPARE(expected.MnLeft, 32);
    QCOMPARE(expected.WaitCount, 200);
    QCOMPARE(expected.FontSize, 9);
    QCOMPARE(expected.FontName, QStringLiteral("ＭＳ ゴシック"));
  }

  void PresentButEmptyLastFileNameStaysEmpty() {
    WriteFile(ini_, "[MAINFORM]\r\nLastFileName=\r\n");
    QCOMPARE(ReadWorkbenchSettings(ini_, QStringLiteral("/src")).LastFileName, QString());
  }

  void ValuesAsAHandWrittenFileHoldsThem() {
    // Booleans are any integer, an unquoted list of names is one string, a
    // key that is no number falls back to its default.
    WriteFile(ini_,
              "[MAINFORM]\r\nKwVisible=0\r\nSkNum=5\r\nSelectKw=A.*,B.*,C.SUB.*\r\n"
              "FmWidth=wide\r\nNumHex=1\r\n[OPTION]\r\nFontSize=12\r\n");
    const TWorkbenchSettings s = ReadWorkbenchSettings(ini_, QString());
    QVERIFY(!s.KwVisible);
    QVERIFY(s.SkNum);
    QCOMPARE(s.SelectKw, QStringLiteral("A.*,B.*,C.SUB.*"));
    QCOMPARE(s.FmWidth, 780);
    QCOMPARE(s.NumHex, 1);
    QCOMPARE(s.FontSize, 12);
  }

  // ---------------------------------------------------------- writing

  void EveryWrittenKeyReadsBack() {
    // Every key away from its default (the font keys are never written).
    TWorkbenchSettings s;
    s.FmLeft = 11;
    s.FmTop = 12;
    s.FmWidth = 900;
    s.FmHeight = 600;
    s.KwWidth = 250;
    s.KwVisible = false;
    s.KwHead = {50, 51, 52, 53, 54};
    s.SrcHead = {60, 61, 62, 63, 64, 300};
    s.DmpHeight = 140;
    s.DmpVisible = false;
    s.NumHex = 0;
    s.MnLeft = 400;
    s.MnTop = 300;
    s.MnState = false;
    s.MoniterActive = true;
    s.BreakPointStop = false;
    s.SkNotAll = s.SkNum = s.SkLabel = s.SkLocal = s.SkAuto = true;
    s.SkVal = s.SkPointer = false;
    s.SyncView = false;
    s.CheckTimeStamp = true;
    s.LastFileName = QStringLiteral("/home/学生/プログラム.qasm");
    s.WaitCount = 120;
    s.SelectKw = QStringLiteral("COUNT.*,LOOP.MAIN.*");
    s.Editer = QStringLiteral("kate --line %L %F");
    QString error;
    QVERIFY(WriteWorkbenchSettings(ini_, s, TSettingsWriteScope{}, error));
    QVERIFY(error.isEmpty());
    QVERIFY(ReadWorkbenchSettings(ini_, QString()) == s);

    // Booleans are stored as 1 and 0; the font keys are never written.
    const QSettings raw(ini_, QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("MAINFORM/SkNum")).toString(), QStringLiteral("1"));
    QCOMPARE(raw.value(QStringLiteral("MAINFORM/SkVal")).toString(), QStringLiteral("0"));
    QVERIFY(!raw.contains(QStringLiteral("OPTION/FontName")));
    QVERIFY(!raw.contains(QStringLiteral("OPTION/FontSize")));
  }

  void NonAsciiTextIsStoredAsUtf8() {
    TWorkbenchSettings s;
    s.LastFileName = QStringLiteral("/データ/テスト.qasm");
    QString error;
    QVERIFY(WriteWorkbenchSettings(ini_, s, TSettingsWriteScope{}, error));
    QVERIFY(ReadFile(ini_).contains(QStringLiteral("テスト.qasm").toUtf8()));
  }

  void ScopeLeavesGeometryAndSelectKwAsTheyWere() {
    WriteFile(ini_,
              "[MAINFORM]\r\nFmLeft=5\r\nFmTop=6\r\nFmWidth=700\r\nFmHeight=500\r\n"
              "SelectKw=OLD.*\r\n");
    TWorkbenchSettings s;
    s.FmLeft = 99;
    s.FmWidth = 1000;
    s.FmWindowState = 2;
    s.SelectKw = QStringLiteral("NEW.*");
    TSettingsWriteScope scope;
    scope.Geometry = false;
    scope.SelectKw = false;
    QString error;
    QVERIFY(WriteWorkbenchSettings(ini_, s, scope, error));
    const TWorkbenchSettings r = ReadWorkbenchSettings(ini_, QString());
    QCOMPARE(r.FmWindowState, 2);
    QCOMPARE(r.FmLeft, 5);
    QCOMPARE(r.FmTop, 6);
    QCOMPARE(r.FmWidth, 700);
    QCOMPARE(r.FmHeight, 500);
    QCOMPARE(r.SelectKw, QStringLiteral("OLD.*"));
  }

  void AFileThatCannotBeWrittenReportsAnError() {
    // The settings file's path is a folder.
    QVERIFY(QDir().mkpath(ini_));
    QString error;
    QVERIFY(!WriteWorkbenchSettings(ini_, TWorkbenchSettings{}, TSettingsWriteScope{}, error));
    QVERIFY(!error.isEmpty());
    QVERIFY(error.contains(ini_));
  }

  // ---------------------------------------------------------- mappings

  void WaitCountShowsTheNearestItem_data() {
    QTest::addColumn<int>("waitCount");
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("wait");
    const int rows[][3] = {{0, 0, 0},       {1, 20, 1},      {30, 20, 30},    {31, 50, 31},
                           {70, 50, 70},    {71, 100, 71},   {120, 100, 120}, {150, 100, 150},
                           {151, 200, 151}, {300, 200, 300}, {301, 500, 301}, {500, 500, 500},
                           {501, 500, 500}, {900, 500, 500}, {-1, 500, 500},  {-300, 500, 500}};
    for (const auto& row : rows)
      QTest::addRow("%d", row[0]) << row[0] << row[1] << row[2];
  }
  void WaitCountShowsTheNearestItem() {
    QFETCH(int, waitCount);
    QFETCH(int, tag);
    QFETCH(int, wait);
    QCOMPARE(WaitMenuTag(waitCount), tag);
    QCOMPARE(TraceWaitFor(waitCount), wait);
  }

  void NumHexOutOfRangeIsHexadecimal_data() {
    QTest::addColumn<int>("numHex");
    QTest::addColumn<int>("format");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("2") << 2 << 2;
    QTest::newRow("3") << 3 << 2;
    QTest::newRow("7") << 7 << 2;
    QTest::newRow("-1") << -1 << 2;
  }
  void NumHexOutOfRangeIsHexadecimal() {
    QFETCH(int, numHex);
    QFETCH(int, format);
    QCOMPARE(NumberFormatIndexFor(numHex), format);
  }

  // ---------------------------------------------------------- folders

  void FoldersFollowAppDataAndUserProfile() {
    qputenv("APPDATA", QByteArray("C:\\Users\\gakusei\\AppData"));
    qputenv("USERPROFILE", dir_->filePath(QStringLiteral("profile")).toUtf8());
    const TWorkbenchFolders f = TWorkbenchFolders::Locate(QStringLiteral("/opt/qrx"));
    QCOMPARE(f.SettingsFolder, QStringLiteral("C:/Users/gakusei/AppData/QRXEmulator"));
    QCOMPARE(f.SettingsFile, QStringLiteral("C:/Users/gakusei/AppData/QRXEmulator/QRX.INI"));
    QCOMPARE(f.SourceFolder, dir_->filePath(QStringLiteral("profile")) +
                                 QStringLiteral("/My Documents/QRXソースファイル"));
    QCOMPARE(f.SampleFolder, QStringLiteral("/opt/qrx/qasm"));
    QCOMPARE(f.HelpFile, QStringLiteral("/opt/qrx/HELP/index.html"));
  }

  void FoldersWithoutTheVariablesUseXdgConfigAndDocuments() {
    const QByteArray home = qgetenv("HOME");
    qunsetenv("APPDATA");
    qunsetenv("USERPROFILE");
    qputenv("XDG_CONFIG_HOME", dir_->filePath(QStringLiteral("config")).toUtf8());
    const TWorkbenchFolders f =
        TWorkbenchFolders::Locate(QStringLiteral("/opt/qrx"), QStringLiteral("/tmp/samples"));
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(f.SettingsFolder,
             dir_->filePath(QStringLiteral("config")) + QStringLiteral("/QRXEmulator"));
    QVERIFY(f.SourceFolder.endsWith(QStringLiteral("/QRXソースファイル")));
    QVERIFY(!f.SourceFolder.startsWith(QStringLiteral("/QRX")));
    QCOMPARE(f.SampleFolder, QStringLiteral("/tmp/samples"));
    QCOMPARE(qgetenv("HOME"), home);
  }

  // Where the samples and the help page are found, for folders laid out as
  // the build leaves them and as an install leaves them. The layout lists
  // the folders made below the scratch folder; the program lies in "bin".
  void SamplesAndHelpLieWithTheProgramOrInItsPrefix_data() {
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<QString>("dataFolder");
    QTest::newRow("build folder") << QStringList{"bin/qasm", "bin/HELP"} << "bin";
    QTest::newRow("installed prefix")
        << QStringList{"bin", "share/qrx/qasm", "share/qrx/HELP"} << "share/qrx";
    QTest::newRow("build folder inside a prefix")
        << QStringList{"bin/qasm", "bin/HELP", "share/qrx/qasm"} << "bin";
    QTest::newRow("another program's share") << QStringList{"bin", "share/other"} << "bin";
    QTest::newRow("neither") << QStringList{"bin"} << "bin";
  }
  void SamplesAndHelpLieWithTheProgramOrInItsPrefix() {
    QFETCH(QStringList, layout);
    QFETCH(QString, dataFolder);
    const QString root = dir_->path();
    for (const QString& folder : layout)
      QVERIFY(QDir(root).mkpath(folder));
    const TWorkbenchFolders f = TWorkbenchFolders::Locate(root + QStringLiteral("/bin"));
    QCOMPARE(f.ProgramFolder, root + QStringLiteral("/bin"));
    QCOMPARE(f.SampleFolder, root + QLatin1Char('/') + dataFolder + QStringLiteral("/qasm"));
    QCOMPARE(f.HelpFile, root + QLatin1Char('/') + dataFolder + QStringLiteral("/HELP/index.html"));
  }

  void FirstStartCopiesTheSamplesOfAnInstalledPrefix() {
    const QString root = dir_->path();
    QDir().mkpath(root + QStringLiteral("/usr/bin"));
    QDir().mkpath(root + QStringLiteral("/usr/share/qrx/qasm/tests"));
    WriteFile(root + QStringLiteral("/usr/share/qrx/qasm/hello.qasm"), "HELLO\r\n");
    WriteFile(root + QStringLiteral("/usr/share/qrx/qasm/tests/hello.json"), "{}");
    qputenv("APPDATA", (root + QStringLiteral("/appdata")).toUtf8());
    qputenv("USERPROFILE", (root + QStringLiteral("/profile")).toUtf8());
    const TWorkbenchFolders f = TWorkbenchFolders::Locate(root + QStringLiteral("/usr/bin"));
    const TFirstStartResult result = PrepareFirstStart(f);
    QCOMPARE(result.SamplesCopied, 1);
    QCOMPARE(ReadFile(f.SourceFolder + QStringLiteral("/hello.qasm")), QByteArray("HELLO\r\n"));
  }

  void FirstStartKeepsAnExistingSourceFolderUntouched() {
    const QString root = dir_->path();
    TWorkbenchFolders f;
    f.SettingsFolder = root + QStringLiteral("/app/QRXEmulator");
    f.SourceFolder = root + QStringLiteral("/docs");
    f.SampleFolder = root + QStringLiteral("/qasm");
    QDir().mkpath(f.SampleFolder);
    QDir().mkpath(f.SourceFolder);
    WriteFile(f.SampleFolder + QStringLiteral("/hello.qasm"), "NEW\r\n");
    WriteFile(f.SourceFolder + QStringLiteral("/hello.qasm"), "MINE\r\n");
    const TFirstStartResult result = PrepareFirstStart(f);
    QVERIFY(result.SettingsFolderCreated);
    QCOMPARE(result.SamplesCopied, 0);
    QCOMPARE(ReadFile(f.SourceFolder + QStringLiteral("/hello.qasm")), QByteArray("MINE\r\n"));
  }

  void MissingSampleFolderCopiesNothingSilently() {
    const QString root = dir_->path();
    TWorkbenchFolders f;
    f.SettingsFolder = root + QStringLiteral("/app/QRXEmulator");
    f.SourceFolder = root + QStringLiteral("/docs");
    f.SampleFolder = root + QStringLiteral("/nowhere");
    const TFirstStartResult result = PrepareFirstStart(f);
    QVERIFY(result.SourceFolderCreated);
    QCOMPARE(result.SamplesCopied, 0);
  }

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QString ini_;
};

QTEST_MAIN(TWorkbenchSettingsTest)
#include "workbench_settings_test.moc"
