#include "monitor/input_model.h"

#include <gtest/gtest.h>

#include "monitor_fakes.h"

namespace {

TEST(PerformanceCounter, ReportsWholeMillisecondsSinceTheStart) {
  TFakeClock clock(1000);  // one tick per millisecond
  TPerformanceCounter stopped(clock, false);
  TPerformanceCounter counter(clock);
  clock.AdvanceTicks(250);
  EXPECT_EQ(stopped.ElapsedMs(), 0);
  EXPECT_FALSE(stopped.Started());
  EXPECT_EQ(counter.ElapsedMs(), 250);

  counter.Restart();
  EXPECT_EQ(counter.ElapsedMs(), 0);
  stopped.Restart();
  clock.AdvanceTicks(40);
  EXPECT_EQ(stopped.ElapsedMs(), 40);
  EXPECT_EQ(counter.ElapsedMs(), 40);
}

TEST(PerformanceCounter, AStartAtClockZeroStillCounts) {
  TFakeClock clock(1000, 0);
  TPerformanceCounter counter(clock);
  clock.AdvanceTicks(7);
  EXPECT_EQ(counter.ElapsedMs(), 7);
}

struct TMsCase {
  int64_t ticks;
  int64_t frequency;
  int64_t ms;
};

class TicksToMilliseconds : public ::testing::TestWithParam<TMsCase> {};

TEST_P(TicksToMilliseconds, TruncatesWithoutOverflow) {
  EXPECT_EQ(TicksToMs(GetParam().ticks, GetParam().frequency), GetParam().ms);
}

INSTANTIATE_TEST_SUITE_P(Cases, TicksToMilliseconds,
                         ::testing::Values(TMsCase{9'999, 10'000'000, 0},  // under a millisecond
                                           TMsCase{19'999'999, 10'000'000, 1'999},  // truncates
                                           TMsCase{3, 3, 1'000},
                                           // 200 days of nanoseconds: ticks * 1000 would overflow
                                           TMsCase{200LL * 86'400 * 1'000'000'000, 1'000'000'000,
                                                   200LL * 86'400'000},
                                           TMsCase{-1'500'000, 1'000'000'000, -1},  // toward zero
                                           TMsCase{12345, 0, 0}));                  // no counter

TEST(TimerModel, CountsUnitsAndWraps) {
  TFakeClock clock;
  TInputModel input(clock);
  EXPECT_EQ(input.TimerValue(), 0) << "before the first start";
  input.StartTimer(10);
  clock.AdvanceMs(9);
  EXPECT_EQ(input.TimerValue(), 0);
  clock.AdvanceMs(1);
  EXPECT_EQ(input.TimerValue(), 1);
  clock.AdvanceMs(95);
  EXPECT_EQ(input.TimerValue(), 10);

  input.StartTimer(1);
  clock.AdvanceMs(65536 + 5);
  EXPECT_EQ(input.TimerValue(), 5) << "modulo 65536";

  input.StartTimer(0);
  EXPECT_EQ(input.TimerValue(), 0);
  clock.AdvanceMs(1000);
  EXPECT_EQ(input.TimerValue(), 0);
}

TEST(TimerModel, ReadsZeroWithoutACounter) {
  TFakeClock clock;
  TInputModel input(clock);
  input.StartTimer(1);
  clock.AdvanceMs(50);
  clock.SetFrequency(0);
  EXPECT_EQ(input.TimerValue(), 0);
}

struct TMouseCase {
  int x, y;
  uint32_t column, row;
  uint16_t cell;
};

class MouseCells : public ::testing::TestWithParam<TMouseCase> {};

TEST_P(MouseCells, MapPixelsToCells) {
  const TMouseCase& c = GetParam();
  TFakeClock clock;
  TInputModel input(clock);
  input.TrackMouse(30, 30, kMouseLeft);
  input.TrackMouse(c.x, c.y, kMouseRight);
  EXPECT_EQ(input.State().MouseColumn, c.column);
  EXPECT_EQ(input.State().MouseRow, c.row);
  EXPECT_EQ(input.MouseCell(), c.cell);
  const bool outside = c.column == kMouseOutside;
  EXPECT_EQ(input.State().MouseButtons, outside ? kMouseLeft : kMouseRight);
}

INSTANTIATE_TEST_SUITE_P(Pixels, MouseCells,
                         ::testing::Values(TMouseCase{0, 0, 0, 0, 0}, TMouseCase{11, 11, 0, 0, 0},
                                           TMouseCase{12, 0, 1, 0, 1},
                                           TMouseCase{100, 50, 8, 4, 264},
                                           TMouseCase{767, 575, 63, 47, 3071},
                                           TMouseCase{768, 0, 65535, 65535, 0xFFFF},
                                           TMouseCase{0, 576, 65535, 65535, 0xFFFF},
                                           TMouseCase{-1, 10, 65535, 65535, 0xFFFF},
                                           TMouseCase{10, -1, 65535, 65535, 0xFFFF}));

TEST(MouseButtons, OnlyTheThreeButtonBitsCount) {
  TFakeClock clock;
  TInputModel input(clock);
  input.TrackMouse(1, 1, 0xFF);
  EXPECT_EQ(input.State().MouseButtons, 7);
}

TEST(KeyboardModel, RowsFollowBitSevenOfEachKey) {
  TFakeClock clock;
  TFakeKeyboard keyboard;
  TInputModel input(clock);
  input.SetKeyboardSource(&keyboard);
  keyboard.Press(0x00);
  keyboard.Press(0x25);         // left arrow: row 2, bit 5
  keyboard.Press(0xFF);         // row 15, bit 15
  keyboard.SetRaw(0x90, 0x7F);  // low bits only: not down
  input.ReadKeyboard();
  EXPECT_EQ(input.KeyRow(0), 0x0001);
  EXPECT_EQ(input.KeyRow(2), 0x0020);
  EXPECT_EQ(input.KeyRow(15), 0x8000);
  EXPECT_EQ(input.KeyRow(9), 0);
  EXPECT_EQ(input.KeyRow(16), 0);
  EXPECT_EQ(input.State().Keyboard[0x90], 0x7F) << "the bytes are copied as they are";
}

TEST(KeyboardModel, SelectionIgnoresCodesFrom256) {
  TFakeClock clock;
  TInputModel input(clock);
  input.SelectKey(0x20);
  input.SelectKey(256);
  EXPECT_EQ(input.State().SelectedKey, 0x20);
  input.SelectKey(255);
  EXPECT_EQ(input.State().SelectedKey, 255);
}

}  // namespace
