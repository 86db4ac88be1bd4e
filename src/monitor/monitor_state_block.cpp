#include "monitor/monitor_state_block.h"

#include <algorithm>

namespace mb = monitor_block;

namespace {

static_assert(mb::kWriteColumn == kScreenCellCount * kCellBytes);
static_assert(mb::kReservedB + 32 == kMonitorBlockSize);

class TBlockWriter {
 public:
  explicit TBlockWriter(std::string& block) : block_(block) {}
  void U16(size_t offset, uint16_t v) { Bytes(offset, v, 2); }
  void U32(size_t offset, uint32_t v) { Bytes(offset, v, 4); }

 private:
  void Bytes(size_t offset, uint32_t v, int count) {
    for (int i = 0; i < count; ++i)
      block_[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  std::string& block_;
};

class TBlockReader {
 public:
  explicit TBlockReader(const uint8_t* block) : block_(block) {}
  uint16_t U16(size_t offset) const { return static_cast<uint16_t>(Bytes(offset, 2)); }
  uint32_t U32(size_t offset) const { return Bytes(offset, 4); }

 private:
  uint32_t Bytes(size_t offset, int count) const {
    uint32_t v = 0;
    for (int i = count - 1; i >= 0; --i)
      v = (v << 8) | block_[offset + i];
    return v;
  }
  const uint8_t* block_;
};

}  // namespace

std::string EncodeMonitorBlock(const TScreenCells& cells, const TScreenRegisters& screen,
                               const TInputState& input) {
  std::string block(kMonitorBlockSize, '\0');
  uint8_t* bytes = reinterpret_cast<uint8_t*>(block.data());
  for (size_t p = 0; p < cells.size(); ++p)
    EncodeCell(cells[p], bytes + mb::kCells + p * kCellBytes);

  TBlockWriter w(block);
  w.U16(mb::kWriteColumn, screen.WriteColumn);
  w.U16(mb::kWriteRow, screen.WriteRow);
  w.U16(mb::kWritePosition, screen.WritePosition);
  w.U16(mb::kDirection, screen.Direction);
  w.U32(mb::kForeground, screen.Foreground);
  w.U32(mb::kBackground, screen.Background);
  w.U16(mb::kCursorShown, screen.CursorShown);
  w.U16(mb::kCursorColumn, screen.CursorColumn);
  w.U16(mb::kCursorRow, screen.CursorRow);
  w.U16(mb::kCursorPosition, screen.CursorPosition);
  w.U16(mb::kCursorMode, screen.CursorMode);
  w.U32(mb::kMouseColumn, input.MouseColumn);
  w.U32(mb::kMouseRow, input.MouseRow);
  w.U16(mb::kMouseButtons, input.MouseButtons);
  w.U16(mb::kSelectedKey, input.SelectedKey);
  std::copy(input.Keyboard.begin(), input.Keyboard.end(), bytes + mb::kKeyboard);
  for (size_t n = 0; n < input.KeyRows.size(); ++n)
    w.U16(mb::kKeyRows + 2 * n, input.KeyRows[n]);
  return block;
}

void DecodeMonitorBlock(const uint8_t* block, TScreenCells& cells, TScreenRegisters& screen,
                        TInputState& input) {
  for (size_t p = 0; p < cells.size(); ++p)
    cells[p] = DecodeCell(block + mb::kCells + p * kCellBytes);

  const TBlockReader r(block);
  screen.WriteColumn = r.U16(mb::kWriteColumn);
  screen.WriteRow = r.U16(mb::kWriteRow);
  screen.WritePosition = r.U16(mb::kWritePosition);
  screen.Direction = r.U16(mb::kDirection);
  screen.Foreground = r.U32(mb::kForeground);
  screen.Background = r.U32(mb::kBackground);
  screen.CursorShown = r.U16(mb::kCursorShown);
  screen.CursorColumn = r.U16(mb::kCursorColumn);
  screen.CursorRow = r.U16(mb::kCursorRow);
  screen.CursorPosition = r.U16(mb::kCursorPosition);
  screen.CursorMode = r.U16(mb::kCursorMode);
  input.MouseColumn = r.U32(mb::kMouseColumn);
  input.MouseRow = r.U32(mb::kMouseRow);
  input.MouseButtons = r.U16(mb::kMouseButtons);
  input.SelectedKey = r.U16(mb::kSelectedKey);
  std::copy_n(block + mb::kKeyboard, input.Keyboard.size(), input.Keyboard.begin());
  for (size_t n = 0; n < input.KeyRows.size(); ++n)
    input.KeyRows[n] = r.U16(mb::kKeyRows + 2 * n);
}
