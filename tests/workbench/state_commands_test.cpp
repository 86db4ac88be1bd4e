// Saving from the main window: the state file (what the save dialog is
// given, a program saved mid-run that continues to the same end after it is
// opened again, what the views show after the restore, failures that leave
// an earlier file whole) and the pseudo machine-code file.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QFileDialog>
#include <QFileInfo>
#include <QToolButton>
#include <vector>

#include "assembler/machine_code_file.h"
#include "machine/machine.h"
#include "main_window_test_support.h"
#include "monitor/monitor_model.h"
#include "monitor_qt/monitor_font.h"
#include "persistence/memory_stream.h"
#include "workbench/tool_buttons.h"

namespace {

// Sums 1 to 40 into SUM, writing a character to the monitor on each round.
QStringList SumProgram() {
  return {QStringLiteral("START: LD CNT, #0"),
          QStringLiteral("LOOP: ADD CNT, #1"),
          QStringLiteral("  ADD SUM, CNT"),
          QStringLiteral("  OUT #17, #65"),
          QStringLiteral("  CMP CNT, #40"),
          QStringLiteral("  JPF LOOP, ZF"),
          QStringLiteral("  HALT"),
          QStringLiteral("CNT: DW 0"),
          QStringLiteral("SUM: DW 0"),
          QStringLiteral("MATH: UNIT"),
          QStringLiteral("TOTAL: DW 0"),
          QStringLiteral("ENDUNIT")};
}

// Steps until HALT; returns the steps taken (-1 when it did not stop).
int RunToHalt(TQRXEmulater& machine, int limit = 100000) {
  for (int steps = 1; steps <= limit; ++steps)
    if (machine.Step() != 0) return steps;
  return -1;
}

std::vector<uint16_t> MemoryOf(TMainWindow& form) {
  const auto& memory = form.Session().Machine().Memory;
  return std::vector<uint16_t>(memory.begin(), memory.end());
}

std::string MonitorBlock(TMainWindow& form) {
  TMemoryStream stream;
  form.Session().Monitor().SaveToStream(stream);
  return stream.Bytes();
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// Makes a folder refuse new files for as long as it lives: by its mode, and
// for a user whom modes do not stop, by the immutable flag.
class TUnwritableFolder {
 public:
  explicit TUnwritableFolder(const QString& path) : path_(path) {
    QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (Writable()) SetImmutable(true);
    ok_ = !Writable();
  }
  ~TUnwritableFolder() {
    SetImmutable(false);
    QFile::setPermissions(path_,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  bool Ok() const { return ok_; }

 private:
  bool Writable() const {
    QFile probe(path_ + QStringLiteral("/.probe"));
    if (!probe.open(QIODevice::WriteOnly)) return false;
    probe.close();
    probe.remove();
    return true;
  }
  void SetImmutable(bool on) {
    const int fd = open(path_.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    int flags = 0;
    if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      const int wanted = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      if (wanted != flags) ioctl(fd, FS_IOC_SETFLAGS, &wanted);
    }
    close(fd);
  }
  QString path_;
  bool ok_ = false;
};

}  // namespace

class TStateCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() {
    rig_ = std::make_unique<TWindowRig>();
    saveStarts_.clear();
    saveFilters_.clear();
    saveSuffixes_.clear();
    saveAnswer_.clear();
  }
  void cleanup() { rig_.reset(); }

  // ---------------------------------------------------------- state file

  void TheSaveDialogStartsBesideTheCurrentFile() {
    TMainWindow& form = Create();
    const QString source = rig_->WriteSource("sum.prog.qasm", SumProgram());
    QCOMPARE(form.FileCommands().OpenFile(source), TLoadResult::Clean);
    form.FileCommands().SaveStateClick();  // cancelled: nothing is written
    QCOMPARE(saveStarts_, QStringList{QFileInfo(source).path() + QStringLiteral("/sum.prog.qsav")});
    QCOMPARE(saveFilters_, QStringList{"状態保存ファイル(*.qsav;*.bin) (*.qsav)"});
    QCOMPARE(saveSuffixes_, QStringList{"qsav"});
    QCOMPARE(QDir(QFileInfo(source).path()).entryList(QDir::Files), QStringList{"sum.prog.qasm"});
    QVERIFY(rig_->boxes.isEmpty());
  }

  // After a state file was opened the state is saved beside it, while the
  // machine code still goes beside the main source.
  void AfterAStateTheDialogsStartBesideTheirOwnFiles() {
    TMainWindow& form = Create();
    const QString source = rig_->WriteSource("sum.qasm", SumProgram());
    QCOMPARE(form.FileCommands().OpenFile(source), TLoadResult::Clean);
    QVERIFY(QDir().mkpath(rig_->Root() + QStringLiteral("/states")));
    saveAnswer_ = rig_->Root() + QStringLiteral("/states/first.bin");
    form.FileCommands().SaveStateClick();
    QCOMPARE(form.FileCommands().OpenFile(saveAnswer_), TLoadResult::Clean);
    saveAnswer_.clear();
    saveStarts_.clear();
    form.FileCommands().SaveStateClick();
    form.FileCommands().SaveMachineCodeClick();
    QCOMPARE(saveStarts_, QStringList({rig_->Root() + QStringLiteral("/states/first.qsav"),
                                       QFileInfo(source).path() + QStringLiteral("/sum.qrxg")}));
  }

  // The save dialog itself, answered through the modal hook: it starts in
  // the current file's folder with the name given the new extension, offers
  // the one filter, asks before overwriting, and gives a name typed without
  // an extension the default one.
  void TheSaveDialogGivesATypedNameItsExtension_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("written");
    QTest::newRow("bare name") << "typed" << int(QDialog::Accepted) << "typed.qsav";
    QTest::newRow("own extension") << "kept.bin" << int(QDialog::Accepted) << "kept.bin";
    QTest::newRow("cancelled") << "typed" << int(QDialog::Rejected) << "";
  }
  void TheSaveDialogGivesATypedNameItsExtension() {
    QFETCH(QString, typed);
    QFETCH(int, result);
    QFETCH(QString, written);
    TMainWindow& form = rig_->Create();
    const QString source = rig_->WriteSource("sum.qasm", SumProgram());
    QCOMPARE(form.FileCommands().OpenFile(source), TLoadResult::Clean);
    const QString folder = QFileInfo(source).path();
    bool saveMode = false;
    bool confirmsOverwrite = false;
    QString suffix, directory;
    QStringList filters, captions, offered;
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      auto* files = qobject_cast<QFileDialog*>(&dialog);
      if (files == nullptr) return int(QDialog::Rejected);
      saveMode = files->acceptMode() == QFileDialog::AcceptSave;
      confirmsOverwrite = !files->testOption(QFileDialog::DontConfirmOverwrite);
      suffix = files->defaultSuffix();
      directory = files->directory().absolutePath();
      filters = files->nameFilters();
      captions = ShownFilterCaptions(*files);
      offered = files->selectedFiles();
      files->selectFile(folder + QLatin1Char('/') + typed);
      return result;
    });
    form.FileCommands().SaveStateClick();
    QVERIFY(saveMode);
    QVERIFY(confirmsOverwrite);
    QCOMPARE(suffix, QStringLiteral("qsav"));
    QCOMPARE(directory, folder);
    QCOMPARE(filters, QStringList{"状態保存ファイル(*.qsav;*.bin) (*.qsav)"});
    // The caption is shown once, without the pattern repeated after it.
    QCOMPARE(captions, QStringList{"状態保存ファイル(*.qsav;*.bin)"});
    QCOMPARE(offered, QStringList{folder + QStringLiteral("/sum.qsav")});
    QVERIFY(rig_->boxes.isEmpty());
    QStringList expected{"sum.qasm"};
    if (!written.isEmpty()) expected << written;
    expected.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
    if (!written.isEmpty()) {
      // What was written is a state file of this program.
      TMainWindow& second = rig_->Create();
      QCOMPARE(second.FileCommands().OpenFile(folder + QLatin1Char('/') + written),
               TLoadResult::Clean);
      QCOMPARE(QString::fromStdString(second.Session().MainSource()), source);
    }
  }

  void BeforeAnyLoadTheDialogStartsInTheSourceFolder() {
    TMainWindow& form = Create();
    form.FileCommands().SaveStateClick();
    form.FileCommands().SaveMachineCodeClick();
    QCOMPARE(saveStarts_, QStringList({rig_->SourceFolder(), rig_->SourceFolder()}));
  }

  // A program stopped mid-run, saved, and opened again in a fresh window
  // runs on to the same memory and monitor as the run that never stopped.
  void AStateSavedMidRunContinuesToTheSameEnd() {
    TMainWindow& form = Create();
    const QString source = rig_->WriteSource("sum.qasm", SumProgram());
    QCOMPARE(form.FileCommands().OpenFile(source), TLoadResult::Clean);
    TQRXEmulater& machine = form.Session().Machine();
    for (int i = 0; i < 57; ++i)
      QCOMPARE(machine.Step(), 0);
    const std::vector<uint16_t> atSave = MemoryOf(form);
    const std::string monitorAtSave = MonitorBlock(form);
    const int breakLine =
        form.Session().Assembler().Listing().Ref(RowOfLabel(form, "LOOP"))->LineIndex;
    form.Session().Breakpoints().SetMember(breakLine, true);

    saveAnswer_ = rig_->Root() + QStringLiteral("/mid run.qsav");
    form.FileCommands().SaveStateClick();
    QVERIFY(rig_->boxes.isEmpty());
    QVERIFY(QFileInfo(saveAnswer_).size() > 311674);

    const int rest = RunToHalt(machine);
    QVERIFY(rest > 0);
    const std::vector<uint16_t> atEnd = MemoryOf(form);
    const std::string monitorAtEnd = MonitorBlock(form);
    const int sumRow = RowOfLabel(form, "SUM");
    QVERIFY(sumRow >= 0);
    QCOMPARE(atEnd[form.Session().Assembler().Listing().Ref(sumRow)->Address], uint16_t{820});

    // A fresh window with another program loaded first.
    TMainWindow& second = Create();
    QCOMPARE(second.FileCommands().OpenFile(rig_->WriteSource("other.qasm", {"  NOP", "  HALT"})),
             TLoadResult::Clean);
    QCOMPARE(second.FileCommands().OpenFile(saveAnswer_), TLoadResult::Clean);
    QVERIFY(MemoryOf(second) == atSave);
    QCOMPARE(MonitorBlock(second), monitorAtSave);
    QVERIFY(second.Session().Breakpoints().Contains(breakLine));

    QCOMPARE(RunToHalt(second.Session().Machine()), rest);
    QVERIFY(MemoryOf(second) == atEnd);
    QCOMPARE(MonitorBlock(second), monitorAtEnd);
  }

  // The restore rebuilds what the load flow names: the listing, the label
  // view, the current file and the caption, the buttons.
  void TheRestoreRebuildsTheViewsAndTheCaption() {
    TMainWindow& form = Create();
    const QString source = rig_->WriteSource("sum.qasm", SumProgram());
    QCOMPARE(form.FileCommands().OpenFile(source), TLoadResult::Clean);
    saveAnswer_ = rig_->Root() + QStringLiteral("/views.qsav");
    form.FileCommands().SaveStateClick();
    QVERIFY(QFile::exists(saveAnswer_));
    const int savedRows = form.Session().Assembler().Listing().Count();

    // The first window goes; a fresh one opens the state.
    TMainWindow& second = Create();
    QCOMPARE(second.FileCommands().OpenFile(saveAnswer_), TLoadResult::Clean);
    QCOMPARE(rig_->Message(), QStringLiteral(" ロード＆アセンブル正常終了"));
    QCOMPARE(second.windowTitle(), QStringLiteral("QRX エミュレータ : views.qsav"));
    QCOMPARE(QString::fromStdString(second.CurrentFile()), saveAnswer_);
    QCOMPARE(QString::fromStdString(second.Session().MainSource()), source);
    const TListingRows& rows = second.Session().Assembler().Listing();
    QCOMPARE(second.ListingView()->RowCount(), rows.Count());
    QCOMPARE(rows.Count(), savedRows);
    QCOMPARE(second.ListingView()->SelectedRow(), 0);
    QVERIFY(LabelKeys(second).contains(QStringLiteral("SUM.*")));
    QCOMPARE(second.LabelView()->RowCount(), second.LabelRows().Rows().Count());
    for (int i = 0; i < TToolBarPanel::kButtonCount; ++i)
      QVERIFY(second.ToolBar()->ButtonAt(i)->isEnabled());
  }

  // The units shown when the state was saved are shown after the restore
  // (units start hidden after an ordinary load).
  void TheVisibleUnitsTravelWithTheState() {
    TMainWindow& form = Create();
    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("sum.qasm", SumProgram())),
             TLoadResult::Clean);
    QCOMPARE(RowOfLabel(form, "TOTAL"), -1);
    TQRXAssembler& assembler = form.Session().Assembler();
    QCOMPARE(QString::fromStdString(assembler.UnitNameAt(1)), QStringLiteral("MATH"));
    assembler.SetUnitVisible(1, true);
    saveAnswer_ = rig_->Root() + QStringLiteral("/units.qsav");
    form.FileCommands().SaveStateClick();

    TMainWindow& second = Create();
    QCOMPARE(second.FileCommands().OpenFile(saveAnswer_), TLoadResult::Clean);
    QVERIFY(RowOfLabel(second, "TOTAL") >= 0);
    QVERIFY(LabelKeys(second).contains(QStringLiteral("TOTAL.MATH.*")));
  }

  // The labels selected when the state was saved are the selected ones
  // after the restore, whatever the opening window had selected.
  void TheSelectedLabelsTravelWithTheState() {
    TMainWindow& form = Create();
    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("sum.qasm", SumProgram())),
             TLoadResult::Clean);
    TKwList& labels = form.Session().Assembler().Labels();
    QVERIFY(labels.FindRecord("CNT.*") != nullptr && labels.FindRecord("SUM.*") != nullptr);
    labels.FindRecord("CNT.*")->Selected = true;
    saveAnswer_ = rig_->Root() + QStringLiteral("/selected.qsav");
    form.FileCommands().SaveStateClick();
    QVERIFY(rig_->boxes.isEmpty());

    // The opening window had SUM selected (as the setting SelectKw gives).
    TMainWindow& second = Create();
    second.Session().SelectedLabelList().Add("SUM.*");
    QCOMPARE(second.FileCommands().OpenFile(saveAnswer_), TLoadResult::Clean);
    const TKwList& restored = second.Session().Assembler().Labels();
    QVERIFY(restored.RecordOf("CNT.*").Selected);
    QVERIFY(!restored.RecordOf("SUM.*").Selected);
    QVERIFY(!restored.RecordOf("LOOP.*").Selected);
  }

  void AFailedSaveShowsTheSystemsMessage() {
    TMainWindow& form = Create();
    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("sum.qasm", SumProgram())),
             TLoadResult::Clean);
    saveAnswer_ = rig_->Root() + QStringLiteral("/no such folder/x.qsav");
    form.FileCommands().SaveStateClick();
    QCOMPARE(rig_->boxes.size(), 1);
    QVERIFY(rig_->boxes[0].contains(QStringLiteral("x.qsav")));
    QVERIFY(!QFile::exists(saveAnswer_));
  }

  void AFailedSaveLeavesTheEarlierFileWhole() {
    TMainWindow& form = Create();
    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("sum.qasm", SumProgram())),
             TLoadResult::Clean);
    const QString folder = rig_->Root() + QStringLiteral("/locked");
    QVERIFY(QDir().mkpath(folder));
    saveAnswer_ = folder + QStringLiteral("/earlier.qsav");
    form.FileCommands().SaveStateClick();
    QVERIFY(rig_->boxes.isEmpty());
    const QByteArray earlier = ReadAll(saveAnswer_);
    QVERIFY(earlier.size() > 311674);

    // The machine has moved on; the save is refused.
    QVERIFY(RunToHalt(form.Session().Machine()) > 0);
    {
      TUnwritableFolder locked(folder);
      if (!locked.Ok()) QSKIP("cannot make a folder unwritable here");
      form.FileCommands().SaveStateClick();
    }
    QCOMPARE(rig_->boxes.size(), 1);
    QVERIFY(rig_->boxes[0].contains(QStringLiteral("earlier.qsav")));
    QCOMPARE(ReadAll(saveAnswer_), earlier);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"earlier.qsav"});

    // And the file still opens as the state it was.
    TMainWindow& second = Create();
    QCOMPARE(second.FileCommands().OpenFile(saveAnswer_), TLoadResult::Clean);
    QCOMPARE(second.Session().Machine().ReadWord(TQRXEmulater::PC), uint16_t{0});
  }

  // ---------------------------------------------------------- machine code

  void TheMachineCodeFileIsWrittenBesideTheMainSource() {
    TMainWindow& form = Create();
    const QString source =
        rig_->WriteSource("code.qasm", {"  HALT", "DATA: DW 1, 2, -1", "; only a comment"});
    QCOMPARE(form.FileCommands().OpenFile(source), TLoadResult::Clean);
    saveAnswer_ = rig_->Root() + QStringLiteral("/out/code.qrxg");
    QVERIFY(QDir().mkpath(rig_->Root() + QStringLiteral("/out")));
    form.FileCommands().SaveMachineCodeClick();
    QCOMPARE(saveStarts_, QStringList{QFileInfo(source).path() + QStringLiteral("/code.qrxg")});
    QCOMPARE(saveFilters_, QStringList{"偽機械語ファイル(*.qrxg) (*.qrxg)"});
    QCOMPARE(saveSuffixes_, QStringList{"qrxg"});
    QVERIFY(rig_->boxes.isEmpty());
    QCOMPARE(ReadAll(saveAnswer_),
             QByteArray("00000h:DW,FFF0h\r\n00001h:DW,0001h,0002h,FFFFh\r\n"));
  }

  void AMachineCodeFileThatCannotBeWrittenShowsTheMessage() {
    TMainWindow& form = Create();
    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("code.qasm", {"  HALT"})),
             TLoadResult::Clean);
    saveAnswer_ = rig_->Root() + QStringLiteral("/missing/code.qrxg");
    form.FileCommands().SaveMachineCodeClick();
    QCOMPARE(rig_->boxes.size(), 1);
    QVERIFY(rig_->boxes[0].contains(QStringLiteral("code.qrxg")));
    QVERIFY(!QFile::exists(saveAnswer_));
  }

 private:
  TMainWindow& Create() {
    TMainWindow& form = rig_->Create();
    form.FileCommands().SetSaveDialogHook(
        [this](const QString& start, const QString& filter, const QString& suffix) {
          saveStarts_ << start;
          saveFilters_ << filter;
          saveSuffixes_ << suffix;
          return saveAnswer_;
        });
    return form;
  }

  std::unique_ptr<TWindowRig> rig_;
  QStringList saveStarts_;
  QStringList saveFilters_;
  QStringList saveSuffixes_;
  QString saveAnswer_;
};

QTEST_MAIN(TStateCommandsTest)
#include "state_commands_test.moc"
