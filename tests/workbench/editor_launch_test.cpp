// The editor command: the command-line text with the quoted path, the
// program and arguments that are started, placeholders in any case, paths
// that contain blanks, quotes, shell characters or placeholder letters, and
// a real start that shows no shell is involved.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "workbench/editor_launch.h"

class TEditorLaunchTest : public QObject {
  Q_OBJECT

 private slots:
  void BuildsTextProgramAndArguments_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("lower-case placeholders") << "myedit %f +%l"
                                             << "/a b/x.qasm" << 12 << "myedit \"/a b/x.qasm\" +12"
                                             << "myedit" << QStringList{"/a b/x.qasm", "+12"};
    QTest::newRow("upper-case placeholders") << "myedit +%L %F"
                                             << "/a b/x.qasm" << 7 << "myedit +7 \"/a b/x.qasm\""
                                             << "myedit" << QStringList{"+7", "/a b/x.qasm"};
    QTest::newRow("default command appends the path")
        << "xdg-open "
        << "/src/x.qasm" << 0 << "xdg-open  \"/src/x.qasm\""
        << "xdg-open" << QStringList{"/src/x.qasm"};
    QTest::newRow("no %F: path appended after the other words")
        << "gedit --new-window +%L"
        << "/s/m.qasm" << 3 << "gedit --new-window +3 \"/s/m.qasm\""
        << "gedit" << QStringList{"--new-window", "+3", "/s/m.qasm"};
    QTest::newRow("placeholders inside a word")
        << "ed --file=%F:%l"
        << "/p q/m.qasm" << 5 << "ed --file=\"/p q/m.qasm\":5"
        << "ed" << QStringList{"--file=/p q/m.qasm:5"};
    QTest::newRow("%F twice") << "diff %F %f"
                              << "/x.qasm" << 1 << "diff \"/x.qasm\" \"/x.qasm\""
                              << "diff" << QStringList{"/x.qasm", "/x.qasm"};
    QTest::newRow("quoted program with a blank")
        << "\"/opt/my editor/ed\" -l %L %F"
        << "/x.qasm" << 9 << "\"/opt/my editor/ed\" -l 9 \"/x.qasm\""
        << "/opt/my editor/ed" << QStringList{"-l", "9", "/x.qasm"};
    QTest::newRow("double quote in the path") << "ed %F"
                                              << "/a\"b/x.qasm" << 0 << "ed \"/a\"\"b/x.qasm\""
                                              << "ed" << QStringList{"/a\"b/x.qasm"};
    QTest::newRow("shell characters stay one argument")
        << "ed %F"
        << "/t/a; rm -rf ~ $(id) `id`.qasm" << 0 << "ed \"/t/a; rm -rf ~ $(id) `id`.qasm\""
        << "ed" << QStringList{"/t/a; rm -rf ~ $(id) `id`.qasm"};
    // The path is inserted once; its own "%L" or "%F" is not a placeholder.
    QTest::newRow("placeholder letters in the path")
        << "ed +%L %F"
        << "/t/100%Load%File.qasm" << 4 << "ed +4 \"/t/100%Load%File.qasm\""
        << "ed" << QStringList{"+4", "/t/100%Load%File.qasm"};
    QTest::newRow("negative line") << "ed +%L %F"
                                   << "/x" << -1 << "ed +-1 \"/x\""
                                   << "ed" << QStringList{"+-1", "/x"};
    // Nothing names a program: nothing is started, the file least of all.
    QTest::newRow("empty command") << ""
                                   << "/x.qasm" << 0 << " \"/x.qasm\""
                                   << "" << QStringList{};
    QTest::newRow("blank command") << "   "
                                   << "/x.qasm" << 0 << "    \"/x.qasm\""
                                   << "" << QStringList{};
  }
  void BuildsTextProgramAndArguments() {
    QFETCH(QString, command);
    QFETCH(QString, path);
    QFETCH(int, line);
    const TEditorLaunch launch = BuildEditorLaunch(command, path, line);
    QTEST(launch.CommandLine, "text");
    QTEST(launch.Program, "program");
    QTEST(launch.Arguments, "arguments");
  }

  // A real start: "touch %F" on a name full of shell syntax creates exactly
  // that one file; a shell would have run the commands inside it.
  void StartsTheProgramWithoutAShell() {
    const QString touch = QStandardPaths::findExecutable(QStringLiteral("touch"));
    if (touch.isEmpty()) QSKIP("no touch program");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = QStringLiteral("a b; touch pwned $(touch pwned2) \"q\".qasm");
    const QString path = dir.filePath(name);
    QVERIFY(StartEditor(BuildEditorLaunch(touch + QStringLiteral(" %F"), path, 0)));
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(path) && timer.elapsed() < 5000)
      QTest::qWait(20);
    QVERIFY(QFile::exists(path));
    QTest::qWait(100);
    const QStringList entries = QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    QCOMPARE(entries, QStringList{name});
  }

  void AProgramThatCannotStartIsOnlyReported() {
    QVERIFY(!StartEditor(BuildEditorLaunch(QStringLiteral("/no/such/editor %F"), "/x", 0)));
    QVERIFY(!StartEditor(BuildEditorLaunch(QString(), "/x", 0)));
  }
};

QTEST_MAIN(TEditorLaunchTest)
#include "editor_launch_test.moc"
