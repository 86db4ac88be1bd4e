#include "monitor/screen_model.h"

#include <algorithm>

namespace {

constexpr int kLastPosition = kScreenCellCount - 1;

uint32_t WithComponent(uint32_t colour, int component, uint8_t value) {
  if (component < 0 || component > 2) return colour;
  const int shift = 8 * component;
  return (colour & ~(0xFFu << shift)) | (static_cast<uint32_t>(value) << shift);
}

}  // namespace

TScreenModel::TScreenModel() {
  ResetScreen();
}

void TScreenModel::ResetScreen() {
  SetWritePosition(0);
  regs_.Foreground = kBlack;
  regs_.Background = kWhite;
  regs_.Direction = 0;
  SetCursorPosition(0);
  SetCursorShown(0);
  SetCursorMode(1);
  ClearScreen(0);
}

TScreenCell TScreenModel::BlankCell(uint16_t code) const {
  return MakeCell(code, regs_.Foreground, regs_.Background, regs_.Direction);
}

void TScreenModel::StoreCell(int position, const TScreenCell& cell) {
  std::lock_guard<std::mutex> guard(lock_);
  cells_[position] = cell;
}

void TScreenModel::MoveCursor(int column, int row) {
  std::lock_guard<std::mutex> guard(lock_);
  regs_.CursorColumn = static_cast<uint16_t>(column);
  regs_.CursorRow = static_cast<uint16_t>(row);
  regs_.CursorPosition = static_cast<uint16_t>(row * kScreenColumns + column);
}

void TScreenModel::PutChar(uint16_t code) {
  StoreCell(regs_.WritePosition, BlankCell(code));
  SetWritePosition(static_cast<uint16_t>(regs_.WritePosition + 1));
  SetCursorMode(regs_.CursorMode);
}

void TScreenModel::ClearScreen(uint16_t code) {
  const TScreenCell cell = BlankCell(code);
  std::lock_guard<std::mutex> guard(lock_);
  cells_.fill(cell);
}

void TScreenModel::Scroll(int16_t rows) {
  if (rows == 0 || rows < -(kScreenRows - 1) || rows > kScreenRows - 1) return;
  const TScreenCell blank = BlankCell(0);
  const int shift = rows * kScreenColumns;  // source = destination + shift
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (rows > 0) {
      for (int p = 0; p < kScreenCellCount; ++p)
        cells_[p] = p + shift < kScreenCellCount ? cells_[p + shift] : blank;
    } else {
      for (int p = kLastPosition; p >= 0; --p)
        cells_[p] = p + shift >= 0 ? cells_[p + shift] : blank;
    }
  }
  SetCursorRow(regs_.CursorRow - rows);
}

void TScreenModel::SetWritePosition(uint16_t position) {
  if (position >= kScreenCellCount) return;
  regs_.WritePosition = position;
  regs_.WriteColumn = position % kScreenColumns;
  regs_.WriteRow = position / kScreenColumns;
}

void TScreenModel::SetWriteRow(uint16_t row) {
  if (row >= kScreenRows) return;
  SetWritePosition(static_cast<uint16_t>(row * kScreenColumns + regs_.WriteColumn));
}

void TScreenModel::SetWriteColumn(uint16_t column) {
  if (column >= kScreenColumns) return;
  SetWritePosition(static_cast<uint16_t>(regs_.WriteRow * kScreenColumns + column));
}

void TScreenModel::SetCursorPosition(int position) {
  const int p = std::clamp(position, 0, kLastPosition);
  MoveCursor(p % kScreenColumns, p / kScreenColumns);
}

void TScreenModel::SetCursorRow(int row) {
  MoveCursor(regs_.CursorColumn, std::clamp(row, 0, kScreenRows - 1));
}

void TScreenModel::SetCursorColumn(int column) {
  MoveCursor(std::clamp(column, 0, kScreenColumns - 1), regs_.CursorRow);
}

void TScreenModel::SetCursorMode(uint16_t mode) {
  regs_.CursorMode = mode;
  if (mode == 1) SetCursorPosition(regs_.WritePosition);
  if (mode == 2) SetWritePosition(regs_.CursorPosition);
}

void TScreenModel::SetCursorShown(uint16_t flag) {
  std::lock_guard<std::mutex> guard(lock_);
  regs_.CursorShown = flag;
}

void TScreenModel::SetDirection(uint16_t direction) {
  regs_.Direction = direction & 3;
}

void TScreenModel::SetForegroundComponent(int component, uint8_t value) {
  regs_.Foreground = WithComponent(regs_.Foreground, component, value);
}

void TScreenModel::SetBackgroundComponent(int component, uint8_t value) {
  regs_.Background = WithComponent(regs_.Background, component, value);
}

uint16_t TScreenModel::CharAt(int column, int row) const {
  if (column < 0 || column >= kScreenColumns || row < 0 || row >= kScreenRows) return 0;
  return cells_[row * kScreenColumns + column].Code;
}

TScreenCell TScreenModel::Cell(int position) const {
  if (position < 0 || position >= kScreenCellCount) return TScreenCell{};
  return cells_[position];
}

void TScreenModel::TakeSnapshot(TScreenSnapshot& out) const {
  std::lock_guard<std::mutex> guard(lock_);
  out.Cells = cells_;
  out.CursorShown = regs_.CursorShown != 0;
  out.CursorColumn = regs_.CursorColumn;
  out.CursorRow = regs_.CursorRow;
}

void TScreenModel::AdvanceFrame() {
  uint16_t count = frameCounter_.load(std::memory_order_relaxed);
  // A reset by the program between the load and the store is not lost: the
  // exchange fails and the loop starts again from 0.
  while (count < 0xFFFF &&
         !frameCounter_.compare_exchange_weak(count, static_cast<uint16_t>(count + 1),
                                              std::memory_order_relaxed)) {
  }
}

void TScreenModel::Restore(const TScreenCells& cells, const TScreenRegisters& registers) {
  std::lock_guard<std::mutex> guard(lock_);
  cells_ = cells;
  regs_ = registers;
  // Column and row are taken as they stand when they are on the screen; the
  // position is recomputed from them so the pair can never disagree.
  regs_.WriteColumn = std::min<uint16_t>(regs_.WriteColumn, kScreenColumns - 1);
  regs_.WriteRow = std::min<uint16_t>(regs_.WriteRow, kScreenRows - 1);
  regs_.WritePosition = static_cast<uint16_t>(regs_.WriteRow * kScreenColumns + regs_.WriteColumn);
  regs_.CursorColumn = std::min<uint16_t>(regs_.CursorColumn, kScreenColumns - 1);
  regs_.CursorRow = std::min<uint16_t>(regs_.CursorRow, kScreenRows - 1);
  regs_.CursorPosition =
      static_cast<uint16_t>(regs_.CursorRow * kScreenColumns + regs_.CursorColumn);
}
