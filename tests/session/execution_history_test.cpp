// Going back over random programs fed with random outside events must give
// exactly the state the live run had at that position, and the same state a
// fresh run replaying the log reaches; the live devices must not notice.
#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <random>
#include <set>

#include "../persistence/temp_folder.h"
#include "history_fixture.h"
#include "persistence/encoding.h"
#include "session/input_log_file.h"

namespace {

constexpr uint64_t kAll = std::numeric_limits<uint64_t>::max();

int Chance(std::mt19937& rng, int oneIn) {
  return std::uniform_int_distribution<int>(0, oneIn - 1)(rng) == 0;
}

uint64_t Between(std::mt19937& rng, uint64_t low, uint64_t high) {
  return std::uniform_int_distribution<uint64_t>(low, high)(rng);
}

// Runs the rig forward to position `to` as a user would: the live devices
// change between instructions, the user edits a word now and then (before
// or after the run loop's checkpoint check, which comes every checkEvery
// instructions with 100 ms passed), and the states at the positions in keep
// are copied (after the edits made there), and PC at every position when
// pcs is given.
std::map<uint64_t, TProgramState> RunForward(std::mt19937& rng, TRig& rig, uint64_t to,
                                             const std::set<uint64_t>& keep, uint64_t checkEvery,
                                             int64_t& nowMs, std::vector<uint16_t>* pcs = nullptr) {
  std::map<uint64_t, TProgramState> states;
  const auto maybeEdit = [&](uint64_t position) {
    if (!Chance(rng, 120) && !(keep.count(position) && Chance(rng, 2))) return;
    const uint16_t address =
        Chance(rng, 8)
            ? static_cast<uint16_t>(0xFFFA + Between(rng, 0, 5))
            : static_cast<uint16_t>(Between(rng, kDataStart, kDataStart + kDataWords - 1));
    const uint16_t value = static_cast<uint16_t>(Between(rng, 0, 0xFFFF));
    rig.machine->WriteWord(address, value);
    rig.history.RecordEdit(address, value);
  };
  for (;;) {
    const uint64_t position = rig.history.Position();
    RandomOutsideEvent(rng, rig);
    const bool editFirst = Chance(rng, 2);
    if (editFirst) maybeEdit(position);
    if (position % checkEvery == 0) rig.history.TakeCheckpointIfDue(nowMs += 100);
    if (!editFirst) maybeEdit(position);
    if (keep.count(position)) states[position] = rig.State();
    if (pcs != nullptr) pcs->push_back(rig.machine->ReadWord(TQRXEmulater::PC));
    if (position == to) break;
    rig.machine->Step();
  }
  return states;
}

// Runs a replay to the end of its log, going on after each HALT as a user
// pressing run again would; returns the instructions run.
uint64_t ReplayToTheEnd(TExecutionHistory& history) {
  uint64_t steps = 0;
  TReplayRun run;
  do {
    run = history.RunReplay(kAll);
    steps += run.Steps;
  } while (!run.ReachedEnd && run.Steps > 0);
  EXPECT_TRUE(run.ReachedEnd);
  EXPECT_FALSE(history.Replaying());
  return steps;
}

// A fresh machine with the same program that replays a log to position.
TProgramState FreshReplay(const std::vector<uint16_t>& image, const TInputLog& log,
                          uint64_t position) {
  TRig fresh(image);
  std::string error;
  EXPECT_TRUE(fresh.history.StartReplay({log, position, std::nullopt}, error));
  EXPECT_EQ(ReplayToTheEnd(fresh.history), position);
  return fresh.State();
}

TEST(ExecutionHistory, GoingBackGivesTheStateOfTheLiveRunAndOfAFreshReplay) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    const std::vector<uint16_t> image = RandomProgram(rng);
    TRig rig(image);
    int64_t nowMs = 0;
    const uint64_t n = Between(rng, 300, 2500);
    const uint64_t k = Between(rng, 1, n);
    const uint64_t checkEvery = Between(rng, 30, 600);
    auto states = RunForward(rng, rig, n, {0, n - k}, checkEvery, nowMs);
    const TInputLog logBefore = rig.history.Log();
    const TLiveInputs live = rig.Live();

    ASSERT_TRUE(rig.history.StepBack(k));
    EXPECT_EQ(rig.history.Position(), n - k);
    EXPECT_TRUE(SameState(rig.State(), states[n - k]));
    EXPECT_TRUE(rig.Live() == live) << "going back changed the live devices";
    EXPECT_TRUE(SameState(FreshReplay(image, logBefore, n - k), states[n - k]));

    // Forward again with other inputs: the old future is gone, and going
    // back into the new stretch gives the new run's state.
    const uint64_t m = Between(rng, 1, 800);
    const uint64_t j = Between(rng, 0, m);
    const auto again = RunForward(rng, rig, n - k + m, {n - k + j}, checkEvery, nowMs);
    ASSERT_TRUE(rig.history.GoBackTo(n - k + j));
    EXPECT_TRUE(SameState(rig.State(), again.at(n - k + j)));

    ASSERT_TRUE(rig.history.GoBackTo(0));
    EXPECT_TRUE(SameState(rig.State(), states[0]));
    EXPECT_FALSE(rig.history.CanGoBack());
  }
}

TEST(ExecutionHistory, GoingBackPastTheOldestRetainedCheckpointAfterThinning) {
  for (unsigned seed = 100; seed < 110; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    const std::vector<uint16_t> image = RandomProgram(rng);
    TRig rig(image);
    rig.history.SetBudget(6 * sizeof(TCheckpoint));
    std::set<uint64_t> keep;
    for (uint64_t p = 0; p <= 3000; p += 37)
      keep.insert(p);
    int64_t nowMs = 0;
    const auto states = RunForward(rng, rig, 3000, keep, 25, nowMs);

    const TCheckpointStore& store = rig.history.Checkpoints();
    ASSERT_LE(store.Count(), store.Capacity());
    ASSERT_GT(store.At(1).Position, 25u) << "nothing was thinned";
    // One target between the oldest checkpoint kept after the start and the
    // next, then one between the start and that oldest one.
    const uint64_t targets[] = {std::prev(states.lower_bound(store.At(2).Position))->first,
                                std::prev(states.lower_bound(store.At(1).Position))->first};
    for (const uint64_t target : targets) {
      ASSERT_TRUE(rig.history.GoBackTo(target));
      EXPECT_TRUE(SameState(rig.State(), states.at(target)));
    }
  }
}

TEST(ExecutionHistory, RunBackStopsAtTheLatestEarlierPositionThatMatches) {
  for (unsigned seed = 200; seed < 215; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    const std::vector<uint16_t> image = RandomProgram(rng);
    TRig rig(image);
    int64_t nowMs = 0;
    const uint64_t n = Between(rng, 200, 2000);
    std::vector<uint16_t> pcs;
    RunForward(rng, rig, n, {}, 50, nowMs, &pcs);
    const TInputLog log = rig.history.Log();
    const uint16_t wanted = pcs[Between(rng, 0, n - 1)];
    uint64_t expected = n - 1;
    while (pcs[expected] != wanted)
      --expected;

    ASSERT_TRUE(rig.history.RunBackTo(
        [wanted](const TQRXEmulater& m) { return m.ReadWord(TQRXEmulater::PC) == wanted; }));
    EXPECT_EQ(rig.history.Position(), expected);
    EXPECT_TRUE(SameState(rig.State(), FreshReplay(image, log, expected)));

    // Nothing matches: back to the start.
    ASSERT_TRUE(rig.history.RunBackTo([](const TQRXEmulater&) { return false; }));
    EXPECT_EQ(rig.history.Position(), 0u);
  }
}

TEST(ExecutionHistory, RunBackFindsAStopExactlyAtACheckpoint) {
  std::mt19937 rng(250);
  const std::vector<uint16_t> image = RandomProgram(rng);
  TRig rig(image);
  int64_t nowMs = 0;
  RunForward(rng, rig, 1000, {}, 50, nowMs);
  std::vector<uint64_t> positions;
  for (size_t i = 0; i < rig.history.Checkpoints().Count(); ++i) {
    // Running back looks at earlier positions only.
    const uint64_t position = rig.history.Checkpoints().At(i).Position;
    if (position < rig.history.Position()) positions.push_back(position);
  }
  ASSERT_GT(positions.size(), 10u);
  for (auto p = positions.rbegin(); p != positions.rend() && *p > 0; ++p) {
    const uint64_t target = *p + rig.history.StartStepCount();
    ASSERT_TRUE(
        rig.history.RunBackTo([target](const TQRXEmulater& m) { return m.StepCount == target; }));
    EXPECT_EQ(rig.history.Position(), *p);
  }
}

TEST(ExecutionHistory, CheckpointsComeAfterAMillionStepsOrAHundredMillisecondsOfRunning) {
  const std::vector<uint16_t> loop = {0x4002, 0};  // JP 0
  TRig rig(loop);
  const TCheckpointStore& store = rig.history.Checkpoints();
  ASSERT_EQ(store.Count(), 1u);  // the start
  rig.history.TakeCheckpointIfDue(1000);
  rig.machine->Step();
  rig.history.TakeCheckpointIfDue(1099);
  EXPECT_EQ(store.Count(), 1u);
  rig.history.TakeCheckpointIfDue(1100);
  EXPECT_EQ(store.Count(), 2u);
  // A pause between two runs does not count as running time.
  rig.machine->Step();
  rig.history.TakeCheckpointIfDue(1160);
  rig.history.StartRunClock(50'000);
  rig.history.TakeCheckpointIfDue(50'039);
  EXPECT_EQ(store.Count(), 2u);
  rig.history.TakeCheckpointIfDue(50'040);
  EXPECT_EQ(store.Count(), 3u);
  // By steps, whatever the clock says.
  const uint64_t from = rig.history.Position();
  while (rig.history.Position() < from + TExecutionHistory::kCheckpointSteps - 1)
    rig.machine->Step();
  rig.history.TakeCheckpointIfDue(50'040);
  EXPECT_EQ(store.Count(), 3u);
  rig.machine->Step();
  rig.history.TakeCheckpointIfDue(50'040);
  EXPECT_EQ(store.Count(), 4u);
  EXPECT_EQ(store.At(3).Position, from + TExecutionHistory::kCheckpointSteps);
}

TEST(ExecutionHistory, StepBackOverCallReturnsToTheInstructionBeforeTheCall) {
  // 0: CALL 10   2: NOP   3: JP 0   ...   10: NOP   11: CALL 20   13: RET
  // 20: NOP   21: RET
  std::vector<uint16_t> image(32, 0);
  const auto place = [&](uint16_t at, std::initializer_list<uint16_t> words) {
    std::copy(words.begin(), words.end(), image.begin() + at);
  };
  place(0, {0x8002, 10, 0x0000, 0x4002, 0});
  place(10, {0x0000, 0x8002, 20, 0x8100});
  place(20, {0x0000, 0x8100});
  // Positions: 0 @0 d0, 1 @10 d1, 2 @11 d1, 3 @20 d2, 4 @21 d2, 5 @13 d1,
  // 6 @2 d0, 7 @3 d0.
  const auto notAt10 = [](const TQRXEmulater& m) { return m.ReadWord(TQRXEmulater::PC) != 10; };
  struct TCase {
    uint64_t from;
    bool onlyNotAt10;
    uint64_t expected;
  };
  for (const TCase& c :
       {TCase{6, false, 0}, TCase{7, false, 6}, TCase{5, false, 2}, TCase{4, false, 3},
        TCase{3, false, 2}, TCase{5, true, 2}, TCase{2, true, 0}, TCase{2, false, 1}}) {
    SCOPED_TRACE(c.from);
    TRig rig(image);
    for (uint64_t i = 0; i < c.from; ++i)
      rig.machine->Step();
    ASSERT_TRUE(rig.history.StepBackOverCall(c.onlyNotAt10 ? THistoryStop(notAt10) : nullptr));
    EXPECT_EQ(rig.history.Position(), c.expected);
  }
}

TEST(ExecutionHistory, AMachineResetStartsANewHistory) {
  std::mt19937 rng(401);
  const std::vector<uint16_t> image = RandomProgram(rng);
  TRig rig(image);
  int64_t nowMs = 0;
  RunForward(rng, rig, 700, {}, 100, nowMs);
  ASSERT_FALSE(rig.history.Log().Inputs().empty());
  const TImageLine line{0, image, 0};
  LoadImage(*rig.machine, {&line, 1});
  EXPECT_FALSE(rig.history.CanGoBack());
  EXPECT_TRUE(rig.history.Log() == TInputLog());
  EXPECT_EQ(rig.history.Checkpoints().Count(), 1u);
  // The new run goes back within itself only.
  const auto states = RunForward(rng, rig, 400, {123}, 100, nowMs);
  ASSERT_TRUE(rig.history.GoBackTo(123));
  EXPECT_TRUE(SameState(rig.State(), states.at(123)));
}

TEST(ExecutionHistory, RecordsAnInputOnlyWhenItChangesAtTheInstructionThatReadIt) {
  // 0: IN 100,#768   3: IN 100,#768   6: NOP   7: IN 100,#768   10: JP 0
  std::vector<uint16_t> image = {0x5009, 100,    768, 0x5009, 100,    768,
                                 0x0000, 0x5009, 100, 768,    0x4002, 0};
  TRig rig(image);
  rig.monitor.StartTimer(1);
  rig.clock.AdvanceMs(3);
  rig.machine->Step();
  rig.machine->Step();
  rig.clock.AdvanceMs(2);
  rig.machine->Step();
  rig.machine->Step();
  const std::vector<TInputEvent> expected = {{0, 768, 3}, {3, 768, 5}};
  EXPECT_EQ(rig.history.Log().Inputs(), expected);
}

TEST(ExecutionHistory, ARecordedSessionSavedAndReplayedReproducesTheEndState) {
  TTempFolder folder;
  for (unsigned seed = 300; seed < 306; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    const std::vector<uint16_t> image = RandomProgram(rng);
    TRig rig(image);
    int64_t nowMs = 0;
    const uint64_t n = Between(rng, 500, 3000);
    const auto end = RunForward(rng, rig, n, {n}, 100, nowMs);
    std::string error;
    const std::string path = folder.Path("session.log");
    ASSERT_TRUE(rig.history.SaveLog(path, error)) << error;

    TInputLogFile file;
    ASSERT_TRUE(LoadInputLogFile(path, file, error)) << error;
    EXPECT_EQ(file.EndStep, n);
    TRig replay(image);
    ASSERT_TRUE(replay.history.StartReplay(file, error)) << error;
    EXPECT_TRUE(replay.history.Replaying());
    EXPECT_EQ(ReplayToTheEnd(replay.history), n);
    EXPECT_TRUE(SameState(replay.State(), end.at(n)));

    // Another program does not take the log.
    TRig other(RandomProgram(rng));
    const TProgramState before = other.State();
    EXPECT_FALSE(other.history.StartReplay(file, error));
    EXPECT_NE(Cp932ToUtf8(error).find("別のプログラム"), std::string::npos);
    EXPECT_FALSE(other.history.Replaying());
    EXPECT_TRUE(other.history.Log() == TInputLog());
    EXPECT_TRUE(SameState(other.State(), before));
  }
}

}  // namespace
