#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "monitor/screen_model.h"

namespace {

TEST(ScreenSnapshot, CopiesCellsAndCursorAndStaysPut) {
  TScreenModel screen;
  screen.SetCursorShown(3);
  screen.PutChar(0x41);
  screen.PutChar(0x42);  // cursor follows to column 2
  auto snapshot = std::make_unique<TScreenSnapshot>();
  screen.TakeSnapshot(*snapshot);

  EXPECT_EQ(snapshot->Cells, screen.Cells());
  EXPECT_TRUE(snapshot->CursorShown);
  EXPECT_EQ(snapshot->CursorColumn, 2);
  EXPECT_EQ(snapshot->CursorRow, 0);

  screen.ClearScreen(0x43);
  screen.SetCursorShown(0);
  EXPECT_EQ(snapshot->Cells[0].Code, 0x41) << "the snapshot is a copy";
  screen.TakeSnapshot(*snapshot);
  EXPECT_EQ(snapshot->Cells[0].Code, 0x43);
  EXPECT_FALSE(snapshot->CursorShown);
}

TEST(FrameCounter, CountsUpToTheLimitAndIsResetByTheProgram) {
  TScreenModel screen;
  for (int i = 0; i < 70000; ++i)
    screen.AdvanceFrame();
  EXPECT_EQ(screen.FrameCounter(), 65535);
  screen.ResetScreen();
  EXPECT_EQ(screen.FrameCounter(), 65535) << "the screen reset leaves it";
  screen.ResetFrameCounter();
  EXPECT_EQ(screen.FrameCounter(), 0);
  screen.AdvanceFrame();
  EXPECT_EQ(screen.FrameCounter(), 1);
}

TEST(FrameCounter, AdvancesFromTwoThreadsLoseNothing) {
  TScreenModel screen;
  auto advance = [&screen](int count) {
    for (int i = 0; i < count; ++i)
      screen.AdvanceFrame();
  };
  std::thread a(advance, 20000), b(advance, 20000);
  a.join();
  b.join();
  EXPECT_EQ(screen.FrameCounter(), 40000);
  std::thread c(advance, 20000), d(advance, 20000);
  c.join();
  d.join();
  EXPECT_EQ(screen.FrameCounter(), 65535);
}

// The colours and direction a cell gets when the writer puts code c, so
// that a reader can tell a whole cell from a torn one.
uint32_t ForegroundOf(uint16_t code) {
  return (code * 2654435761u) & 0xFFFFFF;
}
uint32_t BackgroundOf(uint16_t code) {
  return ~ForegroundOf(code) & 0xFFFFFF;
}

void UseColoursOf(TScreenModel& screen, uint16_t code) {
  for (int i = 0; i < 3; ++i) {
    screen.SetForegroundComponent(i, static_cast<uint8_t>(ForegroundOf(code) >> (8 * i)));
    screen.SetBackgroundComponent(i, static_cast<uint8_t>(BackgroundOf(code) >> (8 * i)));
  }
  screen.SetDirection(code & 3);
}

TEST(ScreenSnapshot, NoCellIsEverTornWhileTheProgramWrites) {
  TScreenModel screen;
  std::atomic<bool> done{false};

  std::thread writer([&] {
    for (int round = 0; round < 40; ++round) {
      for (int i = 0; i < 3072; ++i) {
        // Alternate single-byte and double-byte codes so text lengths differ.
        const uint16_t code = static_cast<uint16_t>(i % 2 ? 0x8200 + (i & 0xFF) : 1 + (i % 255));
        UseColoursOf(screen, code);
        screen.PutChar(code);
      }
      const uint16_t fill = static_cast<uint16_t>(0x4100 + round);
      UseColoursOf(screen, fill);
      screen.ClearScreen(fill);
      screen.Scroll(round % 2 ? 3 : -3);  // blank rows: code 0 in the fill's colours
      screen.SetWritePosition(0);
    }
    done = true;
  });

  auto snapshot = std::make_unique<TScreenSnapshot>();
  int snapshots = 0;
  int torn = 0;
  do {
    screen.TakeSnapshot(*snapshot);
    ++snapshots;
    for (const TScreenCell& cell : snapshot->Cells) {
      const TScreenCell whole =
          MakeCell(cell.Code, ForegroundOf(cell.Code), BackgroundOf(cell.Code), cell.Code & 3);
      // A blank row from a scroll has code 0 but the colours of the fill.
      const bool blank = cell.Code == 0 && cell.TextLength == 0;
      if (!(cell == whole || blank)) ++torn;
    }
    EXPECT_LT(snapshot->CursorColumn, kScreenColumns);
    EXPECT_LT(snapshot->CursorRow, kScreenRows);
  } while (!done);
  writer.join();

  EXPECT_EQ(torn, 0);
  EXPECT_GT(snapshots, 1);
}

}  // namespace
