// The monitor's text screen as the running program sees it: 3072 cells, the
// write position, the cursor, the current colours and text direction, and the
// frame counter. All port operations run on the GUI thread; the screen thread
// only takes snapshots, under the screen lock, and counts frames.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "monitor/screen_cell.h"

using TScreenCells = std::array<TScreenCell, kScreenCellCount>;

// A frame of the monitor (a redraw and a count of the frame counter) starts
// when more than this many milliseconds have passed since the previous one:
// about 29 frames a second.
inline constexpr int kFrameIntervalMs = 33;

// Everything of the screen besides the cells, as saved in the monitor block.
// Positions are row * 64 + column.
struct TScreenRegisters {
  uint16_t WriteColumn = 0;
  uint16_t WriteRow = 0;
  uint16_t WritePosition = 0;
  uint16_t Direction = 0;  // new cells take its low byte
  uint32_t Foreground = kBlack;
  uint32_t Background = kWhite;
  uint16_t CursorShown = 0;  // as last written; 0 hides the cursor
  uint16_t CursorColumn = 0;
  uint16_t CursorRow = 0;
  uint16_t CursorPosition = 0;
  uint16_t CursorMode = 1;  // 0 free, 1 follows the write position, 2 pins it

  bool operator==(const TScreenRegisters&) const = default;
};

// What drawing needs, copied in one go so that a frame is drawn from a
// consistent picture while the program keeps writing. Owned by the caller
// (about 48 KiB: keep it on the heap or as a member).
struct TScreenSnapshot {
  TScreenCells Cells{};
  bool CursorShown = false;
  int CursorColumn = 0;
  int CursorRow = 0;
};

class TScreenModel {
 public:
  // A reset screen: blank, black on white, cursor hidden at the top left,
  // cursor mode 1, frame counter 0.
  TScreenModel();
  TScreenModel(const TScreenModel&) = delete;
  TScreenModel& operator=(const TScreenModel&) = delete;

  // Write position and cursor home, black on white, direction 0, cursor
  // hidden, cursor mode 1, every cell code 0. The frame counter stays.
  void ResetScreen();
  // Writes the cell at the write position and advances it (no wrap: at the
  // last cell it stays), then applies the cursor mode.
  void PutChar(uint16_t code);
  // Every cell gets code in the current colours and direction; positions stay.
  void ClearScreen(uint16_t code);
  // 1..47 scrolls up, -1..-47 down, by whole rows; the rows that come in are
  // blank in the current colours. The cursor follows the text (clamped); the
  // write position stays. Other values do nothing.
  void Scroll(int16_t rows);

  // Out-of-range values are ignored.
  void SetWritePosition(uint16_t position);
  void SetWriteRow(uint16_t row);
  void SetWriteColumn(uint16_t column);
  // Out-of-range values are clamped onto the screen.
  void SetCursorPosition(int position);
  void SetCursorRow(int row);
  void SetCursorColumn(int column);
  // Mode 1 moves the cursor to the write position, mode 2 the write position
  // to the cursor; any value is stored, and values other than 1 and 2 leave
  // both alone.
  void SetCursorMode(uint16_t mode);
  void SetCursorShown(uint16_t flag);
  // Direction := value AND 3.
  void SetDirection(uint16_t direction);
  // component 0 red, 1 green, 2 blue; other components are ignored.
  void SetForegroundComponent(int component, uint8_t value);
  void SetBackgroundComponent(int component, uint8_t value);

  // The code of a cell; 0 outside the screen.
  uint16_t CharAt(int column, int row) const;
  // The live cell at a position (GUI thread); a reset cell outside the screen.
  TScreenCell Cell(int position) const;
  // The live cells and registers (GUI thread).
  const TScreenCells& Cells() const { return cells_; }
  const TScreenRegisters& Registers() const { return regs_; }

  // Copies the cells and the cursor under the screen lock.
  void TakeSnapshot(TScreenSnapshot& out) const;

  // Counted up by the screen thread once per frame, up to 65535; reset by
  // the program.
  uint16_t FrameCounter() const { return frameCounter_.load(std::memory_order_relaxed); }
  void AdvanceFrame();
  void ResetFrameCounter() { frameCounter_.store(0, std::memory_order_relaxed); }

  // Replaces the whole screen with a loaded one. Positions are brought back
  // onto the screen (position = row * 64 + column), so a damaged block can
  // never make a later write land outside the cells.
  void Restore(const TScreenCells& cells, const TScreenRegisters& registers);

 private:
  TScreenCell BlankCell(uint16_t code) const;
  void StoreCell(int position, const TScreenCell& cell);
  void MoveCursor(int column, int row);

  // Guards the cells and the cursor fields that snapshots copy. Only the
  // GUI thread writes them, so it reads them without the lock.
  mutable std::mutex lock_;
  TScreenCells cells_{};
  TScreenRegisters regs_;
  std::atomic<uint16_t> frameCounter_{0};
};
