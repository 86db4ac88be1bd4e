// The machine-state file: its header, the byte-exact round trip, and the
// rule that a damaged or cut-short file changes nothing at all.
#include "session/state_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "persistence/encoding.h"
#include "persistence/file_io.h"
#include "session/load_message.h"
#include "session_test_support.h"

namespace {

std::string Header(std::string_view text, size_t lengthByte) {
  std::string header(16, '\0');
  header[0] = static_cast<char>(lengthByte);
  header.replace(1, text.size(), text);
  return header.substr(0, std::max<size_t>(16, text.size() + 1));
}

std::string ReadFile(const std::string& path) {
  std::string bytes, error;
  EXPECT_TRUE(ReadWholeFile(path, bytes, error)) << error;
  return bytes;
}

uint32_t LittleEndian32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int k = 3; k >= 0; --k)
    v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(k)]);
  return v;
}

TEST(StateHeader, IsTheLengthPrefixedVersionTextInSixteenBytes) {
  const std::string header = StateHeader();
  ASSERT_EQ(header.size(), 16u);
  EXPECT_EQ(header, std::string("\x0BQRXBIN V110\0\0\0\0", 16));
}

TEST(StateHeader, RecognisesOnlyTheMagicWithAPositiveVersion) {
  struct Case {
    std::string bytes;
    bool isState;
    int version;
  };
  const std::vector<Case> cases = {
      {StateHeader(), true, 110},
      {Header("QRXBIN V111", 11), true, 111},
      {Header("QRXBIN V001", 11), true, 1},
      // The platform's integer conversion: leading blanks and "$" hex.
      {Header("QRXBIN V $A", 11), true, 10},
      {Header("QRXBIN V000", 11), false, 0},
      {Header("QRXBIN V-10", 11), false, 0},
      {Header("QRXBIN Vabc", 11), false, 0},
      {Header("QRXBIN V1 0", 11), false, 0},
      {Header("qrxbin V110", 11), false, 0},
      {Header("QRXBIX V110", 11), false, 0},
      // The length byte decides how much text there is.
      {Header("QRXBIN V110", 8), false, 0},
      {Header("QRXBIN V110", 9), true, 1},
      {Header("QRXBIN V110", 5), false, 0},
      // A length past the 16-byte field reads only the field.
      {Header("QRXBIN V110abcd", 0xFF), true, 110},
      // A file shorter than the header: only what is there.
      {std::string("\x0BQRXBIN V11", 11), true, 11},
      {std::string("\x0BQRXBIN ", 8), false, 0},
      {std::string(), false, 0},
      {"; a source file\r\n", false, 0},
  };
  for (const Case& c : cases) {
    int version = -7;
    EXPECT_EQ(IsStateHeader(c.bytes, version), c.isState) << c.bytes;
    if (c.isState) {
      EXPECT_EQ(version, c.version) << c.bytes;
    }
  }
}

// A program with an include, a unit, a subroutine and output to the screen:
// every section of the state file carries something.
class StateFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.Ok());
    mainPath_ = folder_.Write("main.qasm", SourceText({
                                               "; writes HI and halts",
                                               "START:  LD   P, #MSG",
                                               "NEXT:   LD   C, [P]",
                                               "        CMP  C, #0",
                                               "        JPT  DONE, ZF",
                                               "        CALL PUT",
                                               "        ADD  P, #1",
                                               "        JP   NEXT",
                                               "DONE:   HALT",
                                               "PUT:    OUT  #17, C",
                                               "        RET",
                                               "P:      DW 0",
                                               "C:      DW 0",
                                               "MSG:    DW 'HI',0",
                                               "        INCLUDE lib.qasm",
                                           }));
    folder_.Write("lib.qasm", SourceText({
                                  "MATH:   UNIT",
                                  "TWICE:  DW 2",
                                  "        ENDUNIT",
                              }));
  }

  // Loads the program, runs it part-way, sets breakpoints, a selection and
  // the visible units: a session with something in every section.
  void Prepare(TSessionRig& rig, int stepsToRun) {
    ASSERT_EQ(rig.Load(mainPath_), TLoadResult::Clean);
    for (int i = 0; i < stepsToRun; ++i)
      rig.session->Machine().Step();
    rig.session->Breakpoints().SetMember(2, true);
    rig.session->Breakpoints().SetMember(10, true);
    TQRXAssembler& assembler = rig.session->Assembler();
    assembler.Labels().FindRecord("START.*")->Selected = true;
    TCustomStringList units;
    units.Add("*");
    units.Add("MATH");
    assembler.SetVisibleUnits(units);
    assembler.BuildListing();
  }

  std::string Save(TSessionRig& rig, const std::string& name) {
    const std::string path = folder_.Path(name);
    std::string error;
    EXPECT_TRUE(rig.session->SaveState(path, error)) << error;
    return path;
  }

  TTempFolder folder_;
  std::string mainPath_;
};

TEST_F(StateFile, SectionsLieAtTheirOffsets) {
  TSessionRig rig;
  Prepare(rig, 9);
  const std::string bytes = ReadFile(Save(rig, "s.qsav"));
  EXPECT_EQ(bytes.substr(0, 16), StateHeader());
  // The machine block: memory word 0 first, little-endian.
  const uint16_t word0 = rig.session->Machine().ReadWord(0);
  EXPECT_EQ(static_cast<unsigned char>(bytes[16]), word0 & 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bytes[17]), word0 >> 8);
  // The breakpoint list follows the monitor block at 311,674.
  const size_t lists = 311674;
  EXPECT_EQ(bytes.substr(lists, 8), std::string("\x07"
                                                "CSLV100"));
  EXPECT_EQ(bytes.substr(lists + 16, LittleEndian32(bytes, lists + 8)), "10\r\n2\r\n");
}

TEST_F(StateFile, RoundTripIsByteForByte) {
  TSessionRig first;
  Prepare(first, 9);
  const std::string path = Save(first, "round.qsav");
  // Reload it into the same session, so entry 0 names the state file, and
  // save again: this is what a fresh session must reproduce.
  ASSERT_EQ(first.Load(path), TLoadResult::Clean);
  const std::string expected = ReadFile(Save(first, "round.qsav"));

  TSessionRig second;
  TLoadOutcome outcome;
  ASSERT_EQ(second.Load(path, outcome), TLoadResult::Clean);
  EXPECT_EQ(outcome.Branch, TLoadBranch::State);
  EXPECT_TRUE(outcome.Committed);
  EXPECT_EQ(ReadFile(Save(second, "round.qsav")), expected);

  // And the restored session is the saved one.
  TProgramSession& s = *second.session;
  EXPECT_EQ(s.Breakpoints().ToVector(), (std::vector<std::string>{"10", "2"}));
  EXPECT_TRUE(s.Assembler().Labels().RecordOf("START.*").Selected);
  EXPECT_EQ(s.Files().Count(), 3);
  EXPECT_EQ(s.CurrentFile(), path);
  EXPECT_EQ(s.MainSource(), mainPath_);
  EXPECT_EQ(s.Files().TimeStamp(2), first.session->Files().TimeStamp(2));
  EXPECT_EQ(s.Machine().ReadWord(TQRXEmulater::PC),
            first.session->Machine().ReadWord(TQRXEmulater::PC));
  EXPECT_EQ(s.Monitor().Screen().CharAt(0, 0), 'H');
  // The hidden-by-default unit MATH comes back visible.
  TCustomStringList units;
  s.Assembler().CollectVisibleUnits(units);
  EXPECT_GE(units.IndexOf("MATH"), 0);
}

TEST_F(StateFile, AProgramSavedMidRunResumesFromTheSavedPc) {
  TSessionRig first;
  Prepare(first, 9);
  const uint16_t pc = first.session->Machine().ReadWord(TQRXEmulater::PC);
  ASSERT_NE(pc, 0);
  const std::string path = Save(first, "mid.qsav");
  while (first.session->Machine().Step() >= 0) {
  }

  TSessionRig second;
  ASSERT_EQ(second.Load(path), TLoadResult::Clean);
  EXPECT_EQ(second.session->Machine().ReadWord(TQRXEmulater::PC), pc);
  while (second.session->Machine().Step() >= 0) {
  }
  EXPECT_EQ(second.session->Machine().Memory, first.session->Machine().Memory);
  EXPECT_EQ(second.session->Monitor().Screen().CharAt(1, 0), 'I');
}

// Every cut of the file (at the boundaries of the sections, one byte either
// side, inside the list headers, and spread through every section) is
// refused as a damaged file, not as one of another version, and the session
// that tried to load it is left exactly as it was.
TEST_F(StateFile, AFileCutShortAnywhereChangesNothing) {
  TSessionRig saver;
  Prepare(saver, 9);
  const std::string full = ReadFile(Save(saver, "full.qsav"));

  // Section boundaries, found by walking the lists.
  std::vector<size_t> bounds = {16, 16 + 262144, 16 + 262144 + 49514};
  std::vector<size_t> listHeaders;
  size_t at = bounds.back();
  for (int section = 0; section < 5; ++section) {
    listHeaders.push_back(at);
    at += 16 + LittleEndian32(full, at + 8);
    if (section == 1) at += 4 * static_cast<size_t>(saver.session->Files().Count());
    bounds.push_back(at);
  }
  ASSERT_EQ(bounds.back(), full.size());

  std::set<size_t> cuts;
  for (size_t b : bounds)
    for (size_t d : {b - 1, b, b + 1})
      if (d >= 16 && d < full.size()) cuts.insert(d);
  for (size_t h : listHeaders)
    for (size_t d : {1, 7, 8, 11, 12, 15, 17})
      if (h + d < full.size()) cuts.insert(h + d);
  size_t from = 16;
  for (size_t b : bounds) {
    for (int k = 1; k <= 4; ++k)
      cuts.insert(from + (b - from) * static_cast<size_t>(k) / 5);
    from = b;
  }
  // Inside the stamps of the file set.
  cuts.insert(bounds[4] - 3);

  TSessionRig loader;
  ASSERT_TRUE(folder_.Write("other.qasm", SourceText({"X: DW 7", " HALT"})).size());
  ASSERT_EQ(loader.Load(folder_.Path("other.qasm")), TLoadResult::Clean);
  loader.session->Machine().Step();
  loader.session->Breakpoints().SetMember(1, true);
  loader.session->SelectedLabelList().Add("X.*");
  loader.session->VisibleUnitList().Add("*");
  loader.session->Monitor().PortOut(17, 'Q');
  const TSessionPicture before = Picture(*loader.session);

  const std::string cutPath = folder_.Path("cut.qsav");
  for (size_t cut : cuts) {
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(cutPath, full.substr(0, cut), error)) << error;
    TLoadOutcome outcome;
    EXPECT_EQ(loader.Load(cutPath, outcome), TLoadResult::DamagedStateFile) << "cut at " << cut;
    EXPECT_EQ(outcome.Branch, TLoadBranch::State);
    EXPECT_FALSE(outcome.Committed);
    EXPECT_TRUE(Picture(*loader.session) == before) << "cut at " << cut;
  }
  EXPECT_GE(cuts.size(), 60u);
}

// Another version is named as such; our own header in front of sections
// that are missing or cut short names the file damaged. Neither changes
// anything.
TEST_F(StateFile, OtherVersionsAndDamagedFilesAreRefusedWithTheirOwnMessage) {
  TSessionRig saver;
  Prepare(saver, 3);
  const std::string good = ReadFile(Save(saver, "v.qsav"));
  std::string otherVersion = good;
  otherVersion.replace(0, 12, "\x0BQRXBIN V111");
  const std::string version = Sjis(" 状態保存ファイルのバージョンが違います");
  const std::string damaged = Sjis(" 状態保存ファイルが壊れています");
  const struct {
    std::string content;
    TLoadResult result;
    const std::string& message;
  } cases[] = {
      {otherVersion, TLoadResult::OtherStateVersion, version},
      {otherVersion.substr(0, otherVersion.size() - 1), TLoadResult::OtherStateVersion, version},
      {good.substr(0, good.size() - 1), TLoadResult::DamagedStateFile, damaged},
      {StateHeader(), TLoadResult::DamagedStateFile, damaged},
      {StateHeader().substr(0, 12), TLoadResult::DamagedStateFile, damaged},
  };

  TSessionRig loader;
  const TSessionPicture before = Picture(*loader.session);
  for (const auto& c : cases) {
    const std::string path = folder_.Write("bad.qsav", c.content);
    TLoadOutcome outcome;
    const TLoadResult result = loader.Load(path, outcome);
    EXPECT_EQ(result, c.result) << c.content.size();
    EXPECT_EQ(LoadResultMessage(result, outcome), c.message);
    EXPECT_EQ(outcome.Branch, TLoadBranch::State);
    EXPECT_FALSE(outcome.Committed);
    EXPECT_TRUE(Picture(*loader.session) == before) << c.content.size();
  }
}

// Damage that keeps the length: a list without its header, a length that
// runs past the end, a file set without its two fixed entries.
TEST_F(StateFile, DamagedSectionsAreRefused) {
  TSessionRig saver;
  Prepare(saver, 3);
  const std::string good = ReadFile(Save(saver, "good.qsav"));
  TStateSections sections;
  ASSERT_EQ(ReadStateSections(good, sections), TLoadResult::Clean);

  std::string noListHeader = good;
  noListHeader[311674 + 1] = 'X';
  TStateSections damaged;
  EXPECT_EQ(ReadStateSections(noListHeader, damaged), TLoadResult::DamagedStateFile);

  // The last list's length one byte more than there is.
  std::string longText = good;
  const size_t lines = good.size() - sections.lineBlock.size();
  const uint32_t n = LittleEndian32(good, lines + 8) + 1;
  for (int k = 0; k < 4; ++k)
    longText[lines + 8 + static_cast<size_t>(k)] = static_cast<char>(n >> (8 * k));
  TStateSections damaged2;
  EXPECT_EQ(ReadStateSections(longText, damaged2), TLoadResult::DamagedStateFile);

  TFileNames oneEntry;
  oneEntry.AddWithStamp("/only.qasm", 5);
  TCustomStringList empty;
  const TSessionRig& r = saver;
  const std::string bytes =
      StateFileBytes({r.session->Machine(), *r.monitor, empty, oneEntry, empty, empty, empty});
  TStateSections damaged3;
  EXPECT_EQ(ReadStateSections(bytes, damaged3), TLoadResult::DamagedStateFile);

  // Bytes after the source lines are ignored.
  TStateSections trailing;
  EXPECT_EQ(ReadStateSections(good + "trailing", trailing), TLoadResult::Clean);
  EXPECT_EQ(trailing.lineBlock, sections.lineBlock);
}

TEST_F(StateFile, AHeaderThatIsNoNumberIsReadAsASource) {
  // "QRXBIN V000": not a state file; the bytes are assembled as a source.
  const std::string path =
      folder_.Write("zero.bin", std::string("\x0BQRXBIN V000\0\0\0\0", 16) + "\r\n HALT\r\n");
  TSessionRig rig;
  TLoadOutcome outcome;
  const TLoadResult result = rig.Load(path, outcome);
  EXPECT_TRUE(IsLoaded(result));
  EXPECT_EQ(outcome.Branch, TLoadBranch::Source);
  EXPECT_EQ(rig.session->MainSource(), path);
}

// A save that fails half-way (the file size limit, which binds root too)
// leaves the earlier state file whole.
TEST_F(StateFile, AFailedSaveKeepsTheEarlierFile) {
  TSessionRig rig;
  Prepare(rig, 3);
  const std::string path = Save(rig, "keep.qsav");
  const std::string earlier = ReadFile(path);
  rig.session->Machine().Step();
  rig.session->Breakpoints().SetMember(4, true);

  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 65536;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  std::string error;
  const bool ok = rig.session->SaveState(path, error);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadFile(path), earlier);

  // A folder that does not exist: an error, and no file appears.
  EXPECT_FALSE(rig.session->SaveState(folder_.Path("missing/x.qsav"), error));
  EXPECT_FALSE(FileExists(folder_.Path("missing/x.qsav")));
}

}  // namespace
