// Opening files through the main window: OpenFile on every kind of file
// with the message line's text and look, what a failed load leaves alone,
// reloading, the open dialog and dropped files.
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "machine/machine.h"
#include "main_window_test_support.h"
#include "monitor_qt/monitor_font.h"
#include "workbench/keyboard_table.h"
#include "workbench/tool_buttons.h"

namespace {

// A program long enough to scroll, with labels of several kinds.
QStringList BaseProgram() {
  QStringList lines =
      Lines({"; base program", "START: LD COUNT, #0", "LOOP: ADD COUNT, #1", "  CMP COUNT, #10",
             "  JPF LOOP, ZF", "  HALT", "COUNT: DW 0", "^PTR: DW COUNT", ">MARK: DW 0"});
  for (int i = 0; i < 60; ++i)
    lines << QStringLiteral("  NOP ; filler %1").arg(i);
  return lines;
}

bool ButtonsEnabled(TMainWindow& form) {
  for (int i = 0; i < TToolBarPanel::kButtonCount; ++i)
    if (!form.ToolBar()->ButtonAt(i)->isEnabled()) return false;
  return true;
}

// The listing row of the first code row at or after row.
int CodeRowFrom(TMainWindow& form, int row) {
  const TListingRows& rows = form.Session().Assembler().Listing();
  for (int r = row; r < rows.Count(); ++r)
    if (rows.Ref(r)->FieldCount > 0) return r;
  return -1;
}

void Drop(TMainWindow& form, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &drop);
}

}  // namespace

class TLoadFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() { rig_ = std::make_unique<TWindowRig>(); }
  void cleanup() { rig_.reset(); }

  // ---------------------------------------------------------- OpenFile

  void ACleanSourceFillsTheViews() {
    TMainWindow& form = rig_->Create();
    const QString path = rig_->WriteSource("base.qasm", BaseProgram());
    QCOMPARE(form.FileCommands().OpenFile(path), TLoadResult::Clean);
    QCOMPARE(rig_->Message(), QStringLiteral(" ロード＆アセンブル正常終了"));
    QVERIFY(!rig_->Alarm());
    QCOMPARE(form.windowTitle(), QStringLiteral("QRX エミュレータ : base.qasm"));
    QCOMPARE(QString::fromStdString(form.CurrentFile()), path);
    QCOMPARE(QString::fromStdString(form.Session().MainSource()), path);
    QCOMPARE(form.ListingView()->RowCount(), form.Session().Assembler().Listing().Count());
    QVERIFY(form.ListingView()->RowCount() > 60);
    QCOMPARE(form.ListingView()->SelectedRow(), 0);
    QVERIFY(ButtonsEnabled(form));
    // The label view is rebuilt with the menu's filters (variables and
    // pointers by default): COUNT and ^PTR, not the line label >MARK.
    const QStringList keys = LabelKeys(form);
    QVERIFY(keys.contains(QStringLiteral("COUNT.*")));
    QVERIFY(keys.contains(QStringLiteral("^PTR.*")));
    QVERIFY(!keys.contains(QStringLiteral(">MARK.*")));
    QCOMPARE(keys.mid(0, 6), Lines({"PC", "SP", "VF", "SF", "ZF", "CF"}));
    QCOMPARE(form.LabelView()->RowCount(), keys.size());
    QVERIFY(rig_->boxes.isEmpty());
  }

  void EveryOutcomeShowsItsMessage_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TLoadResult>("result");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("alarm");
    QTest::addColumn<bool>("box");
    const auto source = [](std::initializer_list<const char*> lines) {
      return (Lines(lines).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    };
    QTest::newRow("errors") << "errors.qasm" << source({"FOO A", "LD A", "  HALT"})
                            << TLoadResult::AssemblyErrors
                            << QStringLiteral(" アセンブルエラーが2個あります") << true << false;
    QTest::newRow("missing") << "" << QByteArray() << TLoadResult::NoSuchFile
                             << QStringLiteral(" 指定されたファイルが存在しません") << true
                             << false;
    QTest::newRow("empty source") << "empty.qasm" << QByteArray() << TLoadResult::EmptyFile
                                  << QStringLiteral(" 指定されたファイルサイズが0です") << true
                                  << false;
    QTest::newRow("empty state") << "empty.qsav" << QByteArray() << TLoadResult::EmptyFile
                                 << QStringLiteral(" 指定されたファイルサイズが0です") << true
                                 << false;
    QTest::newRow("bin that is a source")
        << "prog.bin" << source({"  NOP", "  HALT"}) << TLoadResult::Clean
        << QStringLiteral(" ロード＆アセンブル正常終了") << false << false;
    QTest::newRow("duplicate include")
        << "dup.qasm" << source({"INCLUDE part.qasm", "INCLUDE part.qasm", "  HALT"})
        << TLoadResult::IncludedTwice
        << QStringLiteral(" インクルードする\"part.qasm\"が重複しています") << true << false;
    QTest::newRow("missing include")
        << "lost.qasm" << source({"INCLUDE nowhere.qasm", "  HALT"}) << TLoadResult::ReadError
        << QStringLiteral(" ファイルロード時にエラーが発生しました") << true << true;
    QByteArray otherVersion("\x0BQRXBIN V999");
    otherVersion.append(64, '\0');
    QTest::newRow("state of another version")
        << "old.qsav" << otherVersion << TLoadResult::OtherStateVersion
        << QStringLiteral(" 状態保存ファイルのバージョンが違います") << true << false;
  }
  void EveryOutcomeShowsItsMessage() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(TLoadResult, result);
    QFETCH(QString, message);
    QFETCH(bool, alarm);
    QFETCH(bool, box);
    TMainWindow& form = rig_->Create();
    rig_->WriteSource("part.qasm", Lines({"PART: DW 1"}));
    const QString base = rig_->WriteSource("base.qasm", BaseProgram());
    QCOMPARE(form.FileCommands().OpenFile(base), TLoadResult::Clean);
    const int baseRows = form.ListingView()->RowCount();
    const QString path = name.isEmpty() ? rig_->Root() + QStringLiteral("/src/none.qasm")
                                        : rig_->WriteBytes(name, bytes);

    QCOMPARE(form.FileCommands().OpenFile(path), result);
    QCOMPARE(rig_->Message(), message);
    QCOMPARE(rig_->Alarm(), alarm);
    QCOMPARE(rig_->boxes.size(), box ? 1 : 0);
    if (box) QVERIFY(rig_->boxes.first().contains(QStringLiteral("nowhere.qasm")));
    if (!IsLoaded(result)) {
      // A failed load leaves the views and the caption as they were.
      QCOMPARE(form.windowTitle(), QStringLiteral("QRX エミュレータ : base.qasm"));
      QCOMPARE(form.ListingView()->RowCount(), baseRows);
      QCOMPARE(QString::fromStdString(form.CurrentFile()), base);
    } else {
      QCOMPARE(form.windowTitle(), QStringLiteral("QRX エミュレータ : ") + name);
      QCOMPARE(QString::fromStdString(form.CurrentFile()), path);
    }
  }

  void AFailedFirstLoadKeepsTheButtonsDisabled() {
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.FileCommands().OpenFile(rig_->Root() + QStringLiteral("/none.qasm")),
             TLoadResult::NoSuchFile);
    QVERIFY(!ButtonsEnabled(form));
    QCOMPARE(form.windowTitle(), QStringLiteral("QRX エミュレータ"));
    // An assembly with errors still loads the program and enables them.
    const QString path = rig_->WriteSource("bad.qasm", Lines({"FOO", "  HALT"}));
    QCOMPARE(form.FileCommands().OpenFile(path), TLoadResult::AssemblyErrors);
    QVERIFY(ButtonsEnabled(form));
    QCOMPARE(rig_->Message(), QStringLiteral(" アセンブルエラーが1個あります"));
  }

  void AStateFileRestoresTheProgramAndItsBreakpoints() {
    TMainWindow& form = rig_->Create();
    const QString base = rig_->WriteSource("base.qasm", BaseProgram());
    QCOMPARE(form.FileCommands().OpenFile(base), TLoadResult::Clean);
    const int code = CodeRowFrom(form, 3);
    const int line = form.Session().Assembler().Listing().Ref(code)->LineIndex;
    form.Session().Breakpoints().SetMember(line, true);
    form.Session().Machine().WriteWord(0x0100, 0x1234);
    const int rows = form.ListingView()->RowCount();
    const QString state = rig_->Root() + QStringLiteral("/src/saved.qsav");
    std::string error;
    QVERIFY(form.Session().SaveState(state.toStdString(), error));

    const QString other = rig_->WriteSource("other.qasm", Lines({"  HALT"}));
    QCOMPARE(form.FileCommands().OpenFile(other), TLoadResult::Clean);
    QVERIFY(form.Session().Breakpoints().Empty());

    QCOMPARE(form.FileCommands().OpenFile(state), TLoadResult::Clean);
    QCOMPARE(rig_->Message(), QStringLiteral(" ロード＆アセンブル正常終了"));
    QCOMPARE(form.windowTitle(), QStringLiteral("QRX エミュレータ : saved.qsav"));
    QCOMPARE(QString::fromStdString(form.CurrentFile()), state);
    QCOMPARE(QString::fromStdString(form.Session().MainSource()), base);
    QCOMPARE(form.ListingView()->RowCount(), rows);
    QCOMPARE(form.ListingView()->SelectedRow(), 0);
    QVERIFY(form.Session().Breakpoints().Contains(line));
    // The memory stays as saved; it is not reloaded from the assembly.
    QCOMPARE(form.Session().Machine().ReadWord(0x0100), uint16_t{0x1234});
    QVERIFY(LabelKeys(form).contains(QStringLiteral("COUNT.*")));
  }

  // ---------------------------------------------------------- reload

  void ReloadKeepsBreakpointsLabelsAndTheSelectedRow() {
    TMainWindow& form = rig_->CreateShown();
    const QString path = rig_->WriteSource("base.qasm", BaseProgram());
    QCOMPARE(form.FileCommands().OpenFile(path), TLoadResult::Clean);
    const int code = CodeRowFrom(form, 2);
    const int line = form.Session().Assembler().Listing().Ref(code)->LineIndex;
    form.Session().Breakpoints().SetMember(line, true);
    // Select the label COUNT in the label view and mark it.
    const int countRow = LabelKeys(form).indexOf(QStringLiteral("COUNT.*"));
    QVERIFY(countRow >= 6);
    form.LabelView()->SetRowSelected(countRow, true);
    form.Views().SetLabelsSelected(true);
    QVERIFY(form.Session().Assembler().Labels().RecordOf("COUNT.*").Selected);
    form.Navigator().SelectListingRow(50, 3, true);
    QCOMPARE(form.ListingView()->SelectedRow(), 50);

    // The file changes on disk; the reload reads it again.
    QStringList changed = BaseProgram();
    changed << QStringLiteral("EXTRA: DW 5");
    rig_->WriteSource("base.qasm", changed);
    form.FileCommands().ReloadClick();
    QCOMPARE(rig_->Message(), QStringLiteral(" ロード＆アセンブル正常終了"));
    QVERIFY(LabelKeys(form).contains(QStringLiteral("EXTRA.*")));
    QVERIFY(form.Session().Breakpoints().Contains(line));
    QVERIFY(form.Session().Assembler().Labels().RecordOf("COUNT.*").Selected);
    QCOMPARE(form.ListingView()->SelectedRow(), 50);
    // Three rows of context above the row that had scrolled out of view.
    QCOMPARE(form.ListingView()->TopRow(), 47);
    QCOMPARE(form.Navigator().JumpList().TopNumber(), 50);
  }

  void AnotherMainSourceClearsTheBreakpoints() {
    TMainWindow& form = rig_->Create();
    const QString first = rig_->WriteSource("first.qasm", BaseProgram());
    const QString second = rig_->WriteSource("second.qasm", BaseProgram());
    QCOMPARE(form.FileCommands().OpenFile(first), TLoadResult::Clean);
    form.Session().Breakpoints().SetMember(2, true);
    QCOMPARE(form.FileCommands().OpenFile(first), TLoadResult::Clean);
    QVERIFY(form.Session().Breakpoints().Contains(2));
    QCOMPARE(form.FileCommands().OpenFile(second), TLoadResult::Clean);
    QVERIFY(form.Session().Breakpoints().Empty());
  }

  void ReloadWithoutAMainSourceUsesTheOpenDialog() {
    TMainWindow& form = rig_->Create();
    form.FileCommands().ReloadClick();
    QCOMPARE(rig_->dialogStarts.size(), 1);
    QVERIFY(form.CurrentFile().empty());

    const QString path = rig_->WriteSource("gone.qasm", BaseProgram());
    QCOMPARE(form.FileCommands().OpenFile(path), TLoadResult::Clean);
    QVERIFY(QFile::remove(path));
    const QString replacement = rig_->WriteSource("new.qasm", Lines({"  HALT"}));
    rig_->dialogAnswer = replacement;
    form.FileCommands().ReloadClick();
    QCOMPARE(rig_->dialogStarts.size(), 2);
    QCOMPARE(QString::fromStdString(form.CurrentFile()), replacement);
  }

  // ---------------------------------------------------------- dialog

  void FilterListTakesQtsForm() {
    QCOMPARE(OpenDialogFilter(), QStringLiteral("QRX関連ファイル (*.qasm *.qsav *.bin);;"
                                                "QRXソースファイル(*.qasm) (*.qasm);;"
                                                "状態保存ファイル(*.qsav;*.bin) (*.qsav *.bin);;"
                                                "全てのファイル(*.*) (*)"));
    QCOMPARE(QtFileFilter(QStringLiteral("A|*.a|B|*.b;*.c")),
             QStringLiteral("A (*.a);;B (*.b *.c)"));
    QCOMPARE(QtFileFilter(QString()), QString());
  }

  void OpenDialogOpensTheChosenFileAndRemembersIt() {
    TMainWindow& form = rig_->Create();
    const QString path = rig_->WriteSource("chosen.qasm", Lines({"  HALT"}));
    rig_->dialogAnswer = path;
    form.FileCommands().LoadClick();
    QCOMPARE(rig_->dialogStarts, QStringList{rig_->SourceFolder()});
    QCOMPARE(rig_->dialogFilters, QStringList{OpenDialogFilter()});
    QCOMPARE(QString::fromStdString(form.CurrentFile()), path);
    QCOMPARE(form.FileCommands().OpenDialogFileName(), path);
    QCOMPARE(form.FileCommands().OpenDialogStartPath(), path);

    // A cancelled dialog changes nothing.
    rig_->dialogAnswer.clear();
    form.FileCommands().LoadClick();
    QCOMPARE(QString::fromStdString(form.CurrentFile()), path);
    QCOMPARE(form.FileCommands().OpenDialogFileName(), path);
  }

  // The dialog itself, answered through the modal hook.
  void TheOpenDialogListsEachCaptionOnceWithThePatternInItsNameField() {
    TMainWindow& form = rig_->Create();
    form.FileCommands().SetOpenDialogHook({});
    QStringList captions, filters;
    QString name, directory;
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      auto* files = qobject_cast<QFileDialog*>(&dialog);
      if (files == nullptr || NameField(*files) == nullptr) return int(QDialog::Rejected);
      captions = ShownFilterCaptions(*files);
      filters = files->nameFilters();
      name = NameField(*files)->text();
      directory = files->directory().absolutePath();
      return int(QDialog::Rejected);
    });
    form.FileCommands().LoadClick();
    QCOMPARE(captions, (QStringList{"QRX関連ファイル", "QRXソースファイル(*.qasm)",
                                    "状態保存ファイル(*.qsav;*.bin)", "全てのファイル(*.*)"}));
    // The patterns still filter.
    QCOMPARE(filters, OpenDialogFilter().split(QStringLiteral(";;")));
    QCOMPARE(name, QStringLiteral("*.qasm"));
    QCOMPARE(directory, QDir(rig_->SourceFolder()).absolutePath());
    QCOMPARE(form.CurrentFile(), std::string());
  }

  // The real dialog, closed with Return in its name field: the press
  // reaches the key table, the release would go to the dialog's window,
  // which is gone by then.
  void ReturnThatClosesTheOpenDialogIsNotLeftDown() {
    TMainWindow& form = rig_->CreateShown();
    form.FileCommands().SetOpenDialogHook({});
    const QString path = rig_->WriteSource("typed.qasm", Lines({"  HALT"}));
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible()) return;
      answer.stop();
      QLineEdit* name = NameField(*dialog);
      if (name == nullptr) return dialog->reject();
      name->setText(path);
      QTest::keyPress(name, Qt::Key_Return);
    });
    answer.start(10);
    form.FileCommands().LoadClick();
    QCOMPARE(QString::fromStdString(form.CurrentFile()), path);
    QVERIFY(!form.Document().KeyboardTable().IsDown(0x0D));
  }

  void DialogStartPathForTheNamesItMayHold_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("start");
    QTest::newRow("full path") << "/data/prog.qasm"
                               << "/data/prog.qasm";
    QTest::newRow("pattern in a folder") << "/data/*.qasm"
                                         << "/data";
    QTest::newRow("bare name") << "prog.qasm"
                               << "SOURCE/prog.qasm";
    QTest::newRow("empty") << ""
                           << "SOURCE";
  }
  void DialogStartPathForTheNamesItMayHold() {
    QFETCH(QString, name);
    QFETCH(QString, start);
    rig_->SetIni("MAINFORM/LastFileName", name);
    TMainWindow& form = rig_->Create();
    start.replace(QStringLiteral("SOURCE"), rig_->SourceFolder());
    QCOMPARE(form.FileCommands().OpenDialogStartPath(), start);
  }

  // ---------------------------------------------------------- drops

  void DroppingSeveralFilesOpensOnlyTheFirst() {
    TMainWindow& form = rig_->Create();
    const QString first = rig_->WriteSource("first.qasm", Lines({"  HALT"}));
    const QString second = rig_->WriteSource("second.qasm", Lines({"  NOP", "  HALT"}));
    Drop(form, {QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    QCOMPARE(QString::fromStdString(form.CurrentFile()), first);
    QCOMPARE(form.windowTitle(), QStringLiteral("QRX エミュレータ : first.qasm"));
  }

  void ADropWithoutALocalFileOpensNothing() {
    TMainWindow& form = rig_->Create();
    Drop(form, {QUrl(QStringLiteral("https://example.org/prog.qasm"))});
    Drop(form, {});
    QVERIFY(form.CurrentFile().empty());
    QCOMPARE(rig_->Message(), QString());
  }

  // Like the file menu, a drop loads nothing while the program runs: the
  // running loop still steps the program a load would replace.
  void ADropWhileAProgramRunsOpensNothing() {
    TMainWindow& form = rig_->Create();
    const QString running = rig_->WriteSource("running.qasm", Lines({"  HALT"}));
    QCOMPARE(form.FileCommands().OpenFile(running), TLoadResult::Clean);
    const QString other = rig_->WriteSource("other.qasm", Lines({"  NOP", "  HALT"}));
    for (const TRunState state : {TRunState::Running, TRunState::Tracing, TRunState::Stepping}) {
      form.Document().SetRunState(state);
      Drop(form, {QUrl::fromLocalFile(other)});
      QCOMPARE(QString::fromStdString(form.CurrentFile()), running);
    }
    form.Document().SetRunState(TRunState::Idle);
    Drop(form, {QUrl::fromLocalFile(other)});
    QCOMPARE(QString::fromStdString(form.CurrentFile()), other);
  }

 private:
  std::unique_ptr<TWindowRig> rig_;
};

QTEST_MAIN(TLoadFlowTest)
#include "load_flow_test.moc"
