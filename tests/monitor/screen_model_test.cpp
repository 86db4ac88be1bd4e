#include "monitor/screen_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "monitor/character_set.h"

namespace {

// Writes code 0x100 + r into every cell of row r, so each cell tells where it
// came from. Uses cursor mode 0 so the cursor stays put.
void MarkRows(TScreenModel& screen) {
  const uint16_t mode = screen.Registers().CursorMode;
  screen.SetCursorMode(0);
  for (int row = 0; row < kScreenRows; ++row) {
    for (int col = 0; col < kScreenColumns; ++col) {
      screen.SetWritePosition(static_cast<uint16_t>(row * kScreenColumns + col));
      screen.PutChar(static_cast<uint16_t>(0x100 + row));
    }
  }
  screen.SetCursorMode(mode);
}

TScreenCell ExpectedCell(uint16_t code, uint32_t fg, uint32_t bg, uint8_t dir) {
  TScreenCell cell;
  cell.Code = code;
  cell.Foreground = fg;
  cell.Background = bg;
  cell.Direction = dir;
  const std::string text = DisplayText(code);
  cell.TextLength = static_cast<uint8_t>(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    cell.Text[i] = text[i];
  return cell;
}

TEST(ScreenReset, EveryCellIsBlankBlackOnWhite) {
  TScreenModel screen;
  screen.SetForegroundComponent(0, 9);
  screen.SetDirection(2);
  screen.PutChar(0x41);
  screen.SetCursorShown(1);
  screen.SetCursorMode(0);
  screen.SetCursorPosition(77);
  screen.ResetScreen();

  const TScreenCell blank = ExpectedCell(0, kBlack, kWhite, 0);
  for (int p = 0; p < kScreenCellCount; ++p)
    ASSERT_EQ(screen.Cell(p), blank) << "position " << p;
  EXPECT_EQ(screen.Registers(), TScreenRegisters{});  // all home, mode 1, black on white
}

TEST(ScreenPutChar, WritesCurrentColoursAndDirectionThenAdvances) {
  TScreenModel screen;
  screen.SetForegroundComponent(0, 0x11);
  screen.SetForegroundComponent(2, 0x33);
  screen.SetBackgroundComponent(1, 0x00);
  screen.SetDirection(7);  // AND 3 = 3
  screen.SetWritePosition(130);
  screen.PutChar(0x82A0);

  EXPECT_EQ(screen.Cell(130), ExpectedCell(0x82A0, 0x330011, 0xFF00FF, 3));
  EXPECT_EQ(screen.Cell(130).DisplayBytes(), DisplayText(0x82A0));
  EXPECT_EQ(screen.Registers().WritePosition, 131);
  EXPECT_EQ(screen.Registers().WriteColumn, 3);
  EXPECT_EQ(screen.Registers().WriteRow, 2);
}

TEST(ScreenPutChar, ControlCodesOnlyShowAndAdvanceByOne) {
  TScreenModel screen;
  screen.SetWritePosition(10);
  for (uint16_t code : {0x0D, 0x0A, 0x08, 0x09})
    screen.PutChar(code);
  EXPECT_EQ(screen.Registers().WritePosition, 14);
  EXPECT_EQ(screen.Cell(10).DisplayBytes(), "^M");
  EXPECT_EQ(screen.Cell(12).DisplayBytes(), "^H");
}

TEST(ScreenPutChar, FillsTheScreenAndThenOverwritesTheLastCell) {
  TScreenModel screen;
  for (int i = 0; i < kScreenCellCount; ++i)
    screen.PutChar(static_cast<uint16_t>(1000 + i));
  for (int p = 0; p < kScreenCellCount; ++p)
    ASSERT_EQ(screen.Cell(p).Code, 1000 + p);
  EXPECT_EQ(screen.Registers().WritePosition, kScreenCellCount - 1);

  screen.PutChar(0x7777);  // the 3073rd
  EXPECT_EQ(screen.Cell(kScreenCellCount - 1).Code, 0x7777);
  EXPECT_EQ(screen.Cell(kScreenCellCount - 2).Code, 1000 + kScreenCellCount - 2);
  EXPECT_EQ(screen.Cell(0).Code, 1000);  // no wrap
  EXPECT_EQ(screen.Registers().WritePosition, kScreenCellCount - 1);
  EXPECT_EQ(screen.Registers().CursorPosition, kScreenCellCount - 1);
}

struct TCursorModeCase {
  uint16_t mode;
  std::vector<int> written;  // positions holding the three characters
  int cursorAfter;
  int writeAfter;
};

class CursorModes : public ::testing::TestWithParam<TCursorModeCase> {};

// Cursor at 500, write position at 100; three characters are put.
TEST_P(CursorModes, DecideWhereCharactersLandAndWhereTheCursorGoes) {
  const TCursorModeCase& c = GetParam();
  TScreenModel screen;
  screen.SetCursorMode(0);
  screen.SetWritePosition(100);
  screen.SetCursorPosition(500);
  screen.SetCursorMode(c.mode);
  for (uint16_t code : {0x31, 0x32, 0x33})
    screen.PutChar(code);

  for (size_t i = 0; i < c.written.size(); ++i)
    EXPECT_EQ(screen.Cell(c.written[i]).Code, c.written.size() == 3 ? 0x31 + i : 0x33) << i;
  EXPECT_EQ(screen.Registers().CursorPosition, c.cursorAfter);
  EXPECT_EQ(screen.Registers().WritePosition, c.writeAfter);
  EXPECT_EQ(screen.Registers().CursorMode, c.mode);
}

INSTANTIATE_TEST_SUITE_P(Modes, CursorModes,
                         ::testing::Values(
                             // 0: the cursor stays where it was.
                             TCursorModeCase{0, {100, 101, 102}, 500, 103},
                             // 1: setting the mode moves the cursor to 100, then it follows.
                             TCursorModeCase{1, {100, 101, 102}, 103, 103},
                             // 2: setting the mode moves the write position to the cursor, and
                             // every character lands on the cursor cell.
                             TCursorModeCase{2, {500}, 500, 500},
                             // Other values are kept but act as 0.
                             TCursorModeCase{9, {100, 101, 102}, 500, 103}));

TEST(CursorModes, ModeTwoLeavesNeighbourCellsAlone) {
  TScreenModel screen;
  screen.SetCursorMode(0);
  screen.SetCursorPosition(500);
  screen.SetCursorMode(2);
  for (int i = 0; i < 5; ++i)
    screen.PutChar(0x41);
  EXPECT_EQ(screen.Cell(500).Code, 0x41);
  EXPECT_EQ(screen.Cell(501).Code, 0);
}

struct TWriteCase {
  const char* what;
  void (*set)(TScreenModel&, uint16_t);
  uint16_t value;
  int position;  // expected afterwards; starts at 130 (column 2, row 2)
};

class WritePosition : public ::testing::TestWithParam<TWriteCase> {};

TEST_P(WritePosition, TakesInRangeValuesAndIgnoresOthers) {
  const TWriteCase& c = GetParam();
  TScreenModel screen;
  screen.SetWritePosition(130);
  c.set(screen, c.value);
  const TScreenRegisters& r = screen.Registers();
  EXPECT_EQ(r.WritePosition, c.position) << c.what;
  EXPECT_EQ(r.WriteColumn, c.position % 64) << c.what;
  EXPECT_EQ(r.WriteRow, c.position / 64) << c.what;
  EXPECT_EQ(r.CursorPosition, 0) << "the cursor does not follow: " << c.what;
}

void SetPos(TScreenModel& s, uint16_t v) {
  s.SetWritePosition(v);
}
void SetRow(TScreenModel& s, uint16_t v) {
  s.SetWriteRow(v);
}
void SetCol(TScreenModel& s, uint16_t v) {
  s.SetWriteColumn(v);
}

INSTANTIATE_TEST_SUITE_P(Values, WritePosition,
                         ::testing::Values(TWriteCase{"position 3071", SetPos, 3071, 3071},
                                           TWriteCase{"position 3072", SetPos, 3072, 130},
                                           TWriteCase{"position 0xFFFF", SetPos, 0xFFFF, 130},
                                           TWriteCase{"row 47", SetRow, 47, 47 * 64 + 2},
                                           TWriteCase{"row 48", SetRow, 48, 130},
                                           TWriteCase{"column 63", SetCol, 63, 2 * 64 + 63},
                                           TWriteCase{"column 64", SetCol, 64, 130},
                                           TWriteCase{"column 0xFFFF", SetCol, 0xFFFF, 130}));

struct TCursorCase {
  const char* what;
  void (*set)(TScreenModel&, int);
  int value;
  int position;  // expected afterwards; starts at 130 (column 2, row 2)
};

class CursorPosition : public ::testing::TestWithParam<TCursorCase> {};

TEST_P(CursorPosition, ClampsOntoTheScreen) {
  const TCursorCase& c = GetParam();
  TScreenModel screen;
  screen.SetCursorMode(0);
  screen.SetCursorPosition(130);
  c.set(screen, c.value);
  const TScreenRegisters& r = screen.Registers();
  EXPECT_EQ(r.CursorPosition, c.position) << c.what;
  EXPECT_EQ(r.CursorColumn, c.position % 64) << c.what;
  EXPECT_EQ(r.CursorRow, c.position / 64) << c.what;
  EXPECT_EQ(r.WritePosition, 0) << "the write position does not follow: " << c.what;
}

void CurPos(TScreenModel& s, int v) {
  s.SetCursorPosition(v);
}
void CurRow(TScreenModel& s, int v) {
  s.SetCursorRow(v);
}
void CurCol(TScreenModel& s, int v) {
  s.SetCursorColumn(v);
}

INSTANTIATE_TEST_SUITE_P(Values, CursorPosition,
                         ::testing::Values(TCursorCase{"position 3072", CurPos, 3072, 3071},
                                           TCursorCase{"position -1", CurPos, -1, 0},
                                           TCursorCase{"position 64", CurPos, 64, 64},
                                           TCursorCase{"row 48", CurRow, 48, 47 * 64 + 2},
                                           TCursorCase{"row -5", CurRow, -5, 2},
                                           TCursorCase{"column 64", CurCol, 64, 2 * 64 + 63},
                                           TCursorCase{"column -1", CurCol, -1, 2 * 64}));

struct TScrollCase {
  int16_t rows;
  int cursorRow;       // before
  int cursorRowAfter;  // expected
};

class ScreenScroll : public ::testing::TestWithParam<TScrollCase> {};

TEST_P(ScreenScroll, MovesRowsBlanksTheRestAndTheCursorFollows) {
  const TScrollCase& c = GetParam();
  TScreenModel screen;
  MarkRows(screen);
  screen.SetCursorMode(0);
  screen.SetCursorPosition(c.cursorRow * 64 + 5);
  screen.SetWritePosition(700);
  screen.SetBackgroundComponent(0, 0x10);  // blank rows come in as 0xFFFF10
  screen.Scroll(c.rows);

  const int n = c.rows;
  const bool scrolls = n != 0 && n >= -47 && n <= 47;
  for (int row = 0; row < kScreenRows; ++row) {
    const int source = scrolls ? row + n : row;
    for (int col = 0; col < kScreenColumns; col += 21) {
      const TScreenCell cell = screen.Cell(row * 64 + col);
      if (source >= 0 && source < kScreenRows) {
        ASSERT_EQ(cell.Code, 0x100 + source) << "row " << row;
        ASSERT_EQ(cell.Background, kWhite) << "moved cells keep their colours";
      } else {
        ASSERT_EQ(cell, ExpectedCell(0, kBlack, 0xFFFF10, 0)) << "row " << row;
      }
    }
  }
  EXPECT_EQ(screen.Registers().CursorRow, c.cursorRowAfter);
  EXPECT_EQ(screen.Registers().CursorColumn, 5);
  EXPECT_EQ(screen.Registers().WritePosition, 700);
}

INSTANTIATE_TEST_SUITE_P(Amounts, ScreenScroll,
                         ::testing::Values(TScrollCase{1, 10, 9}, TScrollCase{3, 10, 7},
                                           TScrollCase{47, 47, 0}, TScrollCase{5, 2, 0},
                                           TScrollCase{-1, 10, 11}, TScrollCase{-1, 47, 47},
                                           TScrollCase{-47, 0, 47}, TScrollCase{-10, 40, 47},
                                           // no scrolling, no cursor movement
                                           TScrollCase{0, 10, 10}, TScrollCase{48, 10, 10},
                                           TScrollCase{-48, 10, 10}, TScrollCase{-32768, 10, 10}));

TEST(ScreenColours, ChangingColoursDoesNotRecolourWrittenCells) {
  TScreenModel screen;
  screen.PutChar(0x41);
  screen.SetForegroundComponent(1, 0x80);
  screen.SetBackgroundComponent(2, 0x00);
  screen.SetDirection(1);
  screen.PutChar(0x42);
  EXPECT_EQ(screen.Cell(0), ExpectedCell(0x41, kBlack, kWhite, 0));
  EXPECT_EQ(screen.Cell(1), ExpectedCell(0x42, 0x008000, 0x00FFFF, 1));

  screen.ClearScreen(0x20);
  for (int p = 0; p < kScreenCellCount; p += 97)
    EXPECT_EQ(screen.Cell(p), ExpectedCell(0x20, 0x008000, 0x00FFFF, 1));
  EXPECT_EQ(screen.Registers().WritePosition, 2) << "ClearScreen keeps the write position";
}

TEST(ScreenColours, ComponentsOutsideRedGreenBlueAreIgnored) {
  TScreenModel screen;
  screen.SetForegroundComponent(3, 0xFF);
  screen.SetBackgroundComponent(-1, 0x00);
  EXPECT_EQ(screen.Registers().Foreground, kBlack);
  EXPECT_EQ(screen.Registers().Background, kWhite);
}

TEST(ScreenCharAt, ReadsCodesAndZeroOutsideTheScreen) {
  TScreenModel screen;
  screen.SetWritePosition(47 * 64 + 63);
  screen.PutChar(0x1234);
  EXPECT_EQ(screen.CharAt(63, 47), 0x1234);
  EXPECT_EQ(screen.CharAt(64, 47), 0);
  EXPECT_EQ(screen.CharAt(63, 48), 0);
  EXPECT_EQ(screen.CharAt(-1, 0), 0);
  EXPECT_EQ(screen.Cell(kScreenCellCount), TScreenCell{});
}

TEST(ScreenRestore, BringsDamagedPositionsBackOntoTheScreen) {
  TScreenModel screen;
  auto cells = std::make_unique<TScreenCells>();
  TScreenRegisters regs;
  regs.WriteColumn = 200;
  regs.WriteRow = 3;
  regs.WritePosition = 60000;
  regs.CursorColumn = 5;
  regs.CursorRow = 999;
  regs.CursorPosition = 4000;
  screen.Restore(*cells, regs);

  EXPECT_EQ(screen.Registers().WritePosition, 3 * 64 + 63);
  EXPECT_EQ(screen.Registers().CursorPosition, 47 * 64 + 5);
  screen.PutChar(0x41);  // lands on the screen
  EXPECT_EQ(screen.Cell(3 * 64 + 63).Code, 0x41);
}

}  // namespace
