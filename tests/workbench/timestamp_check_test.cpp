// The time-stamp check: the question's text, what Yes and No do, several
// changed sources, the menu switch, the activation that starts it, the
// guard against asking inside the question, and the check after a state
// file was opened (also one of another version).
#include <QFileInfo>
#include <QMessageBox>
#include <functional>
#include <utility>

#include "machine/machine.h"
#include "main_window_test_support.h"
#include "monitor_qt/monitor_font.h"
#include "persistence/file_stamp.h"

namespace {

// Sources are given this old time when written, so that touching them later
// makes them newer than what a load recorded. Even seconds: the stamps have
// a resolution of two seconds.
QDateTime OldTime() {
  const QDateTime now = QDateTime::currentDateTime();
  QDateTime old = now.addSecs(-7200);
  old.setTime(QTime(old.time().hour(), old.time().minute(), 10));
  return old;
}

QDateTime NewTime() {
  QDateTime later = QDateTime::currentDateTime().addSecs(-600);
  later.setTime(QTime(later.time().hour(), later.time().minute(), 44));
  return later;
}

bool SetModified(const QString& path, const QDateTime& when) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) return false;
  return file.setFileTime(when, QFileDevice::FileModificationTime);
}

// The stamp text the question shows for a time, worked out from the time.
QString StampText(const QDateTime& when) {
  return when.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

QString Question(const QString& name, const QDateTime& stored, const QDateTime& disk) {
  return QStringLiteral("\"") + name +
         QStringLiteral("\" は変更されています。読み込み直しますか？\n実行中のソース\t") +
         StampText(stored) + QStringLiteral("\nDisk上のソース\t") + StampText(disk) +
         QStringLiteral("\n");
}

}  // namespace

class TTimeStampCheckTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() {
    rig_ = std::make_unique<TWindowRig>();
    questions_.clear();
    answers_.clear();
    oldTime_ = OldTime();
    newTime_ = NewTime();
    reentered_ = false;
    duringQuestion_ = nullptr;
  }
  void cleanup() { rig_.reset(); }

  void AnEditedSourceIsOfferedWithItsStamps() {
    TMainWindow& form = LoadProgram();
    QVERIFY(SetModified(lib_, newTime_));
    answers_ = {QMessageBox::No};
    form.FileCommands().ApplicationActivated();
    QCOMPARE(questions_, QStringList{Question(QStringLiteral("lib.qasm"), oldTime_, newTime_)});
    // No records the disk's stamp: the same change is not asked again.
    const TFileNames& files = form.Session().Files();
    QCOMPARE(files.TimeStamp(2), FileTimeStamp(lib_.toStdString()));
    QCOMPARE(files.TimeStamp(1), FileTimeStamp(main_.toStdString()));
    form.FileCommands().ApplicationActivated();
    QCOMPARE(questions_.size(), 1);
    // A later change is.
    QVERIFY(SetModified(lib_, newTime_.addSecs(60)));
    answers_ = {QMessageBox::No};
    form.FileCommands().ApplicationActivated();
    QCOMPARE(questions_.size(), 2);
  }

  void YesReloadsTheMainSource() {
    TMainWindow& form = LoadProgram();
    TQRXEmulater& machine = form.Session().Machine();
    for (int i = 0; i < 5; ++i)
      machine.Step();
    QVERIFY(machine.ReadWord(TQRXEmulater::PC) != 0);
    form.MessageLine()->ShowMessage(std::string("stale"), true);
    QVERIFY(SetModified(main_, newTime_));
    answers_ = {QMessageBox::Yes};
    form.FileCommands().ApplicationActivated();
    QCOMPARE(questions_.size(), 1);
    QCOMPARE(machine.ReadWord(TQRXEmulater::PC), uint16_t{0});
    QCOMPARE(rig_->Message(), QStringLiteral(" ロード＆アセンブル正常終了"));
    QCOMPARE(form.Session().Files().TimeStamp(1), FileTimeStamp(main_.toStdString()));
    form.FileCommands().ApplicationActivated();
    QCOMPARE(questions_.size(), 1);
  }

  // Two changed sources: No to the first asks about the second; Yes to the
  // first reloads at once and asks nothing more.
  void TwoChangedSources_data() {
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("reloaded");
    QTest::newRow("no, no") << QList<int>{QMessageBox::No, QMessageBox::No}
                            << QStringList{"main.qasm", "lib.qasm"} << false;
    QTest::newRow("no, yes") << QList<int>{QMessageBox::No, QMessageBox::Yes}
                             << QStringList{"main.qasm", "lib.qasm"} << true;
    QTest::newRow("yes") << QList<int>{QMessageBox::Yes} << QStringList{"main.qasm"} << true;
  }
  void TwoChangedSources() {
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, asked);
    QFETCH(bool, reloaded);
    TMainWindow& form = LoadProgram();
    form.Session().Machine().Step();
    QVERIFY(SetModified(main_, newTime_));
    QVERIFY(SetModified(lib_, newTime_));
    answers_ = answers;
    form.FileCommands().ApplicationActivated();
    QCOMPARE(questions_.size(), asked.size());
    for (int i = 0; i < asked.size(); ++i)
      QVERIFY2(questions_[i].startsWith(QLatin1Char('"') + asked[i] + QLatin1Char('"')),
               qPrintable(questions_[i]));
    QCOMPARE(form.Session().Machine().ReadWord(TQRXEmulater::PC) == 0, reloaded);
    // Either way every change has been dealt with.
    form.FileCommands().ApplicationActivated();
    QCOMPARE(questions_.size(), asked.size());
  }

  // With the check off nothing is asked and nothing recorded, so switching
  // it on later reports the change made in between.
  void TheMenuSwitchTurnsTheCheckOff() {
    TMainWindow& form = LoadProgram();
    form.Menus().CheckTimeStamp->setChecked(false);
    QVERIFY(SetModified(lib_, newTime_));
    const int32_t before = form.Session().Files().TimeStamp(2);
    form.FileCommands().ApplicationActivated();
    QVERIFY(questions_.isEmpty());
    QCOMPARE(form.Session().Files().TimeStamp(2), before);
    form.Menus().CheckTimeStamp->setChecked(true);
    answers_ = {QMessageBox::No};
    form.FileCommands().ApplicationActivated();
    QCOMPARE(questions_.size(), 1);
  }

  void TheApplicationBecomingActiveStartsTheCheck() {
    TMainWindow& form = LoadProgram();
    QVERIFY(SetModified(lib_, newTime_));
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    QVERIFY(questions_.isEmpty());
    // Not while a program runs: a reload would replace it under the loop.
    form.Document().SetRunState(TRunState::Running);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    QVERIFY(questions_.isEmpty());
    form.Document().SetRunState(TRunState::Idle);
    answers_ = {QMessageBox::No};
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    QCOMPARE(questions_.size(), 1);
  }

  // The question box activates the program again; that must not start a
  // second check inside the first.
  void NoCheckStartsInsideTheQuestion() {
    TMainWindow& form = LoadProgram();
    QVERIFY(SetModified(lib_, newTime_));
    reentered_ = true;
    answers_ = {QMessageBox::No, QMessageBox::No};
    form.FileCommands().ApplicationActivated();
    QCOMPARE(questions_.size(), 1);
  }

  // The question runs an event loop; a program with fewer sources loaded
  // meanwhile must not make the No answer write past the file set.
  void AProgramLoadedDuringTheQuestionIsKept() {
    TMainWindow& form = LoadProgram();
    QVERIFY(SetModified(lib_, newTime_));
    const QString single = rig_->WriteSource("single.qasm", {"  HALT"});
    duringQuestion_ = [&form, single] { form.FileCommands().OpenFile(single); };
    answers_ = {QMessageBox::No};
    form.FileCommands().ApplicationActivated();
    QCOMPARE(questions_.size(), 1);
    QCOMPARE(form.Session().Files().Count(), 2);
    QCOMPARE(QString::fromStdString(form.CurrentFile()), single);
    QCOMPARE(rig_->Message(), QStringLiteral(" ロード＆アセンブル正常終了"));
  }

  void AMissingSourceIsNeverOffered() {
    TMainWindow& form = LoadProgram();
    QVERIFY(QFile::remove(lib_));
    form.FileCommands().ApplicationActivated();
    QVERIFY(questions_.isEmpty());
  }

  // A state file restored after its source was edited asks at once: No
  // keeps the restored machine, Yes reloads the main source.
  void OpeningAStateChecksTheRestoredStamps_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("reloaded");
    QTest::newRow("no") << int(QMessageBox::No) << false;
    QTest::newRow("yes") << int(QMessageBox::Yes) << true;
  }
  void OpeningAStateChecksTheRestoredStamps() {
    QFETCH(int, answer);
    QFETCH(bool, reloaded);
    TMainWindow& form = LoadProgram();
    form.Session().Machine().Step();
    const uint16_t pc = form.Session().Machine().ReadWord(TQRXEmulater::PC);
    QVERIFY(pc != 0);
    const QString state = rig_->Root() + QStringLiteral("/saved.qsav");
    std::string error;
    QVERIFY(form.Session().SaveState(state.toStdString(), error));
    QVERIFY(SetModified(lib_, newTime_));

    TMainWindow& second = rig_->Create();
    Hook(second);
    second.Menus().CheckTimeStamp->setChecked(true);
    answers_ = {answer};
    QCOMPARE(second.FileCommands().OpenFile(state), TLoadResult::Clean);
    QCOMPARE(questions_, QStringList{Question(QStringLiteral("lib.qasm"), oldTime_, newTime_)});
    QCOMPARE(second.Session().Machine().ReadWord(TQRXEmulater::PC), reloaded ? uint16_t{0} : pc);
    QCOMPARE(QString::fromStdString(second.CurrentFile()), reloaded ? main_ : state);
  }

  // A state file of another version is refused, and the check still runs
  // over the file set from before.
  void ARefusedStateFileStillChecks() {
    TMainWindow& form = LoadProgram();
    QVERIFY(SetModified(lib_, newTime_));
    QByteArray header(16, '\0');
    header[0] = 11;
    header.replace(1, 11, "QRXBIN V111");
    const QString state =
        rig_->WriteBytes(QStringLiteral("old.qsav"), header + QByteArray(64, 'x'));
    answers_ = {QMessageBox::No};
    QCOMPARE(form.FileCommands().OpenFile(state), TLoadResult::OtherStateVersion);
    QCOMPARE(questions_.size(), 1);
    QVERIFY(questions_[0].startsWith(QStringLiteral("\"lib.qasm\"")));
    QCOMPARE(QString::fromStdString(form.CurrentFile()), main_);
  }

 private:
  // Writes main.qasm including lib.qasm, both dated oldTime_, and loads it
  // with the check switched on.
  TMainWindow& LoadProgram() {
    TMainWindow& form = rig_->Create();
    Hook(form);
    main_ = rig_->WriteSource("main.qasm",
                              {"INCLUDE lib.qasm", "START: LD X, #1", "  ADD X, #2", "  ADD X, #3",
                               "  ADD X, #4", "  ADD X, #5", "  ADD X, #6", "  HALT"});
    lib_ = rig_->WriteSource("lib.qasm", {"X: DW 0"});
    SetModified(main_, oldTime_);
    SetModified(lib_, oldTime_);
    if (form.FileCommands().OpenFile(main_) != TLoadResult::Clean) qWarning("program did not load");
    form.Menus().CheckTimeStamp->setChecked(true);
    return form;
  }

  void Hook(TMainWindow& form) {
    form.Dialogs().SetModalHook([this, &form](QDialog& dialog) {
      auto* box = qobject_cast<QMessageBox*>(&dialog);
      if (box == nullptr) return int(QDialog::Rejected);
      if (box->icon() != QMessageBox::Information ||
          box->standardButtons() != (QMessageBox::Yes | QMessageBox::No))
        questions_ << QStringLiteral("wrong box");
      questions_ << box->text();
      if (reentered_) {
        reentered_ = false;
        form.FileCommands().ApplicationActivated();
      }
      if (duringQuestion_) std::exchange(duringQuestion_, nullptr)();
      return answers_.isEmpty() ? int(QMessageBox::No) : answers_.takeFirst();
    });
  }

  std::unique_ptr<TWindowRig> rig_;
  QString main_;
  QString lib_;
  QStringList questions_;
  QList<int> answers_;
  bool reentered_ = false;
  // Runs once inside the next question.
  std::function<void()> duringQuestion_;
  QDateTime oldTime_;
  QDateTime newTime_;
};

QTEST_MAIN(TTimeStampCheckTest)
#include "timestamp_check_test.moc"
