// TProgramSession::LoadFile: the decision between source and state file,
// every result with its message text, and what a load keeps, replaces or
// leaves alone.
#include "session/program_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "persistence/encoding.h"
#include "session/load_message.h"
#include "session/state_file.h"
#include "session_test_support.h"

namespace {

class ProgramSession : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.Ok());
    clean_ = folder_.Write("clean.qasm", SourceText({
                                             "START: LD  N, #3",
                                             "LOOP:  SUB N, #1",
                                             "       CMP N, #0",
                                             "       JPF LOOP, ZF",
                                             "       HALT",
                                             "N:     DW 0",
                                         }));
    other_ = folder_.Write("other.qasm", SourceText({"A: DW 1", " HALT"}));
  }

  std::string Message(TLoadResult result, const TLoadOutcome& outcome) {
    return LoadResultMessage(result, outcome);
  }

  TTempFolder folder_;
  std::string clean_;
  std::string other_;
};

TEST_F(ProgramSession, StartsWithTwoEmptyFileEntriesAndTheMonitorAttached) {
  TSessionRig rig;
  EXPECT_EQ(rig.session->Files().ToVector(), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(rig.session->Machine().PortDevice(), rig.monitor.get());
}

TEST_F(ProgramSession, ASourceIsAssembledAndLoadedIntoAFreshMachine) {
  TSessionRig rig;
  rig.session->Machine().WriteWord(TQRXEmulater::PC, 0x1234);
  rig.session->Machine().CallDepth = 5;
  rig.session->SetReferenceDepth(9);
  TLoadOutcome outcome;
  ASSERT_EQ(rig.Load(clean_, outcome), TLoadResult::Clean);
  EXPECT_EQ(outcome.Branch, TLoadBranch::Source);
  EXPECT_TRUE(outcome.Committed);
  EXPECT_EQ(Message(TLoadResult::Clean, outcome), Sjis(" ロード＆アセンブル正常終了"));

  const TProgramSession& s = *rig.session;
  EXPECT_EQ(s.Files().ToVector(), (std::vector<std::string>{clean_, clean_}));
  EXPECT_NE(s.Files().TimeStamp(0), -1);
  EXPECT_EQ(s.Files().TimeStamp(1), s.Files().TimeStamp(0));
  EXPECT_EQ(s.Machine().ReadWord(TQRXEmulater::PC), 0);
  EXPECT_EQ(s.Machine().ReadWord(0), 0x1009);
  EXPECT_EQ(s.Machine().LineOf(3), 1);
  EXPECT_EQ(s.Machine().CallDepth, 0);
  EXPECT_EQ(s.ReferenceDepth(), 0);
  EXPECT_EQ(s.Assembler().Listing().Count(), 6);
}

TEST_F(ProgramSession, AssemblyErrorsLoadAllTheSameAndAreCounted) {
  const std::string path = folder_.Write("bad.qasm", SourceText({" FOO", " JP NOWHERE", " HALT"}));
  TSessionRig rig;
  TLoadOutcome outcome;
  const TLoadResult result = rig.Load(path, outcome);
  EXPECT_EQ(result, TLoadResult::AssemblyErrors);
  EXPECT_GT(outcome.Assembly.Tally, 0);
  EXPECT_TRUE(outcome.Committed);
  EXPECT_EQ(rig.session->Assembler().ErrorLineCount(), 2);
  EXPECT_EQ(outcome.Assembly.ErrorLines, 2);
  EXPECT_EQ(Message(result, outcome), Sjis(" アセンブルエラーが2個あります"));
  EXPECT_EQ(rig.session->Machine().ReadWord(3), 0xFFF0);
}

// Every failure leaves a loaded session exactly as it was: machine,
// monitor, breakpoints, file set, lists, lines, listing and labels.
TEST_F(ProgramSession, FailedLoadsChangeNothingAndNameTheirCause) {
  folder_.Write("a.qasm", SourceText({"A1: DW 1"}));
  folder_.Write("b.qasm", SourceText({" INCLUDE a.qasm"}));
  const std::string twice =
      folder_.Write("twice.qasm", SourceText({" INCLUDE a.qasm", " INCLUDE b.qasm", " HALT"}));
  const std::string missing =
      folder_.Write("missing.qasm", SourceText({" HALT", " INCLUDE gone.qasm"}));
  const std::string empty = folder_.Write("empty.qasm", "");
  const std::string emptyState = folder_.Write("empty.qsav", "");
  const std::string newer = folder_.Write("newer.qsav", std::string("\x0BQRXBIN V111\0\0\0\0", 16));

  struct Case {
    std::string path;
    TLoadResult result;
    TLoadBranch branch;
    std::string message;
  };
  const std::vector<Case> cases = {
      {folder_.Path("none.qasm"), TLoadResult::NoSuchFile, TLoadBranch::None,
       Sjis(" 指定されたファイルが存在しません")},
      {empty, TLoadResult::EmptyFile, TLoadBranch::None, Sjis(" 指定されたファイルサイズが0です")},
      {emptyState, TLoadResult::EmptyFile, TLoadBranch::None,
       Sjis(" 指定されたファイルサイズが0です")},
      {newer, TLoadResult::OtherStateVersion, TLoadBranch::State,
       Sjis(" 状態保存ファイルのバージョンが違います")},
      {twice, TLoadResult::IncludedTwice, TLoadBranch::Source,
       Sjis(" インクルードする\"a.qasm\"が重複しています")},
      {missing, TLoadResult::ReadError, TLoadBranch::Source,
       Sjis(" ファイルロード時にエラーが発生しました")},
  };

  TSessionRig rig;
  ASSERT_EQ(rig.Load(clean_), TLoadResult::Clean);
  rig.session->Machine().Step();
  rig.session->Breakpoints().SetMember(1, true);
  rig.session->SelectedLabelList().Add("LOOP.*");
  rig.session->Monitor().PortOut(17, 'Z');
  const TSessionPicture before = Picture(*rig.session);
  for (const Case& c : cases) {
    TLoadOutcome outcome;
    EXPECT_EQ(rig.Load(c.path, outcome), c.result) << c.path;
    EXPECT_EQ(outcome.Branch, c.branch) << c.path;
    EXPECT_FALSE(outcome.Committed) << c.path;
    EXPECT_EQ(Message(c.result, outcome), c.message) << c.path;
    EXPECT_TRUE(Picture(*rig.session) == before) << c.path;
  }

  TLoadOutcome outcome;
  ASSERT_EQ(rig.Load(missing, outcome), TLoadResult::ReadError);
  EXPECT_NE(outcome.ErrorText.find("gone.qasm"), std::string::npos) << outcome.ErrorText;
  // Any value that is no known result reads as a loading error.
  EXPECT_EQ(LoadResultMessage(static_cast<TLoadResult>(-7), outcome),
            Sjis(" ファイルロード時にエラーが発生しました"));
}

TEST_F(ProgramSession, AStateOrBinNameDoesNotMakeASourceAStateFile) {
  const std::string path = folder_.Write("program.qsav", SourceText({" HALT"}));
  TSessionRig rig;
  TLoadOutcome outcome;
  EXPECT_EQ(rig.Load(path, outcome), TLoadResult::Clean);
  EXPECT_EQ(outcome.Branch, TLoadBranch::Source);
  EXPECT_EQ(rig.session->Machine().ReadWord(0), 0xFFF0);
}

TEST_F(ProgramSession, BreakpointsSurviveAReloadOfTheSameSourceOnly) {
  TSessionRig rig;
  ASSERT_EQ(rig.Load(clean_), TLoadResult::Clean);
  rig.session->Breakpoints().SetMember(1, true);
  rig.session->Breakpoints().SetMember(3, true);
  ASSERT_EQ(rig.Load(clean_), TLoadResult::Clean);
  EXPECT_EQ(rig.session->Breakpoints().Count(), 2);
  // A failed load of another source does not count as a change of source.
  ASSERT_FALSE(IsLoaded(rig.Load(folder_.Path("none.qasm"))));
  EXPECT_EQ(rig.session->Breakpoints().Count(), 2);
  ASSERT_EQ(rig.Load(other_), TLoadResult::Clean);
  EXPECT_EQ(rig.session->Breakpoints().Count(), 0);
}

TEST_F(ProgramSession, SelectedLabelsAreMarkedInEveryNewLabelTable) {
  TSessionRig rig;
  rig.session->SelectedLabelList().Add("LOOP.*");
  rig.session->SelectedLabelList().Add("GONE.*");
  ASSERT_EQ(rig.Load(clean_), TLoadResult::Clean);
  const TKwList& labels = rig.session->Assembler().Labels();
  EXPECT_TRUE(labels.RecordOf("LOOP.*").Selected);
  EXPECT_FALSE(labels.RecordOf("START.*").Selected);
  ASSERT_EQ(rig.Load(clean_), TLoadResult::Clean);
  EXPECT_TRUE(rig.session->Assembler().Labels().RecordOf("LOOP.*").Selected);
}

TEST_F(ProgramSession, IncludedFilesJoinTheFileSetWithTheirStamps) {
  folder_.Write("lib.qasm", SourceText({"L: DW 9"}));
  const std::string main = folder_.Write("main.qasm", SourceText({" HALT", " INCLUDE lib.qasm"}));
  TSessionRig rig;
  ASSERT_EQ(rig.Load(main), TLoadResult::Clean);
  const TFileNames& files = rig.session->Files();
  ASSERT_EQ(files.Count(), 3);
  EXPECT_EQ(files.ShortName(2), "lib.qasm");
  EXPECT_NE(files.TimeStamp(2), -1);
  EXPECT_EQ(rig.session->Machine().ReadWord(1), 9);
}

// Names relative to the working folder are recorded in full, so a state
// file saved from them still names its sources when opened from elsewhere.
TEST_F(ProgramSession, RelativeNamesAreRecordedAsFullPaths) {
  folder_.Write("sub/lib.qasm", SourceText({"L: DW 9"}));
  folder_.Write("sub/main.qasm", SourceText({" HALT", " INCLUDE lib.qasm"}));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(folder_.Folder());
  TSessionRig saver;
  const TLoadResult loaded = saver.Load("sub/main.qasm");
  std::string error;
  const bool saved = saver.session->SaveState("sub/main.qsav", error);
  TSessionRig rig;
  TLoadOutcome outcome;
  const TLoadResult restored = rig.Load("./sub/main.qsav", outcome);
  std::filesystem::current_path(before);

  ASSERT_EQ(loaded, TLoadResult::Clean);
  ASSERT_TRUE(saved) << error;
  EXPECT_EQ(saver.session->Files().ToVector(),
            (std::vector<std::string>{folder_.Path("sub/main.qasm"), folder_.Path("sub/main.qasm"),
                                      folder_.Path("sub/lib.qasm")}));
  ASSERT_EQ(restored, TLoadResult::Clean);
  EXPECT_EQ(outcome.Branch, TLoadBranch::State);
  const TFileNames& files = rig.session->Files();
  ASSERT_EQ(files.Count(), 3);
  EXPECT_TRUE(std::filesystem::path(files[0]).is_absolute()) << files[0];
  EXPECT_TRUE(std::filesystem::equivalent(files[0], folder_.Path("sub/main.qsav"))) << files[0];
  EXPECT_EQ(files[1], folder_.Path("sub/main.qasm"));
  // The restored stamps are found on disk: nothing changed since.
  EXPECT_EQ(files.StampDelta(1), 0);
  EXPECT_EQ(files.StampDelta(2), 0);
}

TEST_F(ProgramSession, ResetReloadsTheProgramAndClearsTheScreen) {
  const std::string path =
      folder_.Write("out.qasm", SourceText({" OUT #17, #41h", " CALL SUB", " HALT", "SUB: RET"}));
  TSessionRig rig;
  ASSERT_EQ(rig.Load(path), TLoadResult::Clean);
  TQRXEmulater& m = rig.session->Machine();
  m.Step();
  m.Step();
  ASSERT_EQ(m.CallDepth, 1);
  ASSERT_EQ(rig.monitor->Screen().CharAt(0, 0), 0x41);
  m.WriteWord(0, 0);
  rig.session->Reset();
  EXPECT_EQ(m.ReadWord(TQRXEmulater::PC), 0);
  EXPECT_NE(m.ReadWord(0), 0);
  EXPECT_EQ(m.StepCount, 0u);
  EXPECT_EQ(rig.session->ReferenceDepth(), 0);
  EXPECT_EQ(rig.monitor->Screen().CharAt(0, 0), 0);
}

TEST_F(ProgramSession, AStateFileReplacesEverySection) {
  TSessionRig saver;
  ASSERT_EQ(saver.Load(clean_), TLoadResult::Clean);
  saver.session->Breakpoints().SetMember(3, true);
  saver.session->Machine().Step();
  const std::string statePath = folder_.Path("s.qsav");
  std::string error;
  ASSERT_TRUE(saver.session->SaveState(statePath, error)) << error;

  TSessionRig rig;
  ASSERT_EQ(rig.Load(other_), TLoadResult::Clean);
  rig.session->Breakpoints().SetMember(0, true);
  rig.session->SelectedLabelList().Add("A.*");
  TLoadOutcome outcome;
  ASSERT_EQ(rig.Load(statePath, outcome), TLoadResult::Clean);
  EXPECT_EQ(outcome.Branch, TLoadBranch::State);
  const TProgramSession& s = *rig.session;
  EXPECT_EQ(s.Breakpoints().ToVector(), std::vector<std::string>{"3"});
  EXPECT_EQ(s.SelectedLabelList().Count(), 0);
  EXPECT_EQ(s.Files().ToVector(), (std::vector<std::string>{statePath, clean_}));
  EXPECT_EQ(s.Machine().ReadWord(TQRXEmulater::PC), 3);
  EXPECT_EQ(s.Machine().LineMap, saver.session->Machine().LineMap);
  EXPECT_EQ(s.Assembler().Listing().Count(), 6);
  EXPECT_EQ(Message(TLoadResult::Clean, outcome), Sjis(" ロード＆アセンブル正常終了"));
}

// A state file holds the lines as the assembly left them (macros expanded,
// definitions and errors marked); restoring assembles those lines again and
// must bring back the very program that was saved.
TEST_F(ProgramSession, AStateFileBringsBackTheAssemblyThatWasSaved) {
  struct TCase {
    const char* what;
    std::vector<std::string> source;
  };
  const std::vector<TCase> cases = {
      {"a clean program with a label parameter and an unnamed block",
       {"M:  MACRO ?L", "?L: NOP", "    JP ?L", "    ENDMACRO", "    M", "    PROC", "    RET",
        "    ENDPROC", "    HALT"}},
      {"macro errors and nothing else", {"    NOP", "    ENDMACRO", "    HALT"}},
      {"macro errors with a call left as it is",
       {"M:  MACRO %A", "    MACRO", "    ENDMACRO", "    M 1", "    HALT"}},
  };
  for (const TCase& c : cases) {
    const std::string source = folder_.Write("macros.qasm", SourceText(c.source));
    TSessionRig saver;
    TLoadOutcome savedOutcome;
    const TLoadResult saved = saver.Load(source, savedOutcome);
    ASSERT_TRUE(IsLoaded(saved)) << c.what;
    const std::string statePath = folder_.Path("macros.qsav");
    std::string error;
    ASSERT_TRUE(saver.session->SaveState(statePath, error)) << error;

    TSessionRig rig;
    TLoadOutcome outcome;
    const TLoadResult restored = rig.Load(statePath, outcome);
    ASSERT_EQ(outcome.Branch, TLoadBranch::State) << c.what;
    EXPECT_EQ(restored, saved) << c.what;
    EXPECT_EQ(Message(restored, outcome), Message(saved, savedOutcome)) << c.what;
    const TSessionPicture before = Picture(*saver.session);
    const TSessionPicture after = Picture(*rig.session);
    EXPECT_EQ(after.listing, before.listing) << c.what;
    EXPECT_EQ(after.labels, before.labels) << c.what;
    EXPECT_EQ(after.errorLines, before.errorLines) << c.what;
  }
}

}  // namespace
