#include "monitor/input_model.h"

#include "monitor/screen_cell.h"

void TInputModel::ReadKeyboard() {
  state_.Keyboard.fill(0);
  if (keyboard_ != nullptr) state_.Keyboard = keyboard_->KeyboardState();
  for (int row = 0; row < 16; ++row) {
    uint16_t bits = 0;
    for (int j = 0; j < 16; ++j) {
      if (state_.Keyboard[16 * row + j] & 0x80) bits |= static_cast<uint16_t>(1u << j);
    }
    state_.KeyRows[row] = bits;
  }
}

uint16_t TInputModel::KeyRow(int row) const {
  if (row < 0 || row >= 16) return 0;
  return state_.KeyRows[row];
}

bool TInputModel::SelectedKeyDown() const {
  // A loaded block may carry a code of 256 or more; no key has such a code.
  if (state_.SelectedKey >= state_.Keyboard.size()) return false;
  return (state_.Keyboard[state_.SelectedKey] & 0x80) != 0;
}

void TInputModel::SelectKey(uint16_t code) {
  if (code < 256) state_.SelectedKey = code;
}

void TInputModel::TrackMouse(int x, int y, unsigned buttons) {
  if (x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight) {
    state_.MouseColumn = kMouseOutside;
    state_.MouseRow = kMouseOutside;
    return;
  }
  state_.MouseColumn = static_cast<uint32_t>(x / kCellSize);
  state_.MouseRow = static_cast<uint32_t>(y / kCellSize);
  state_.MouseButtons = static_cast<uint16_t>(buttons & (kMouseLeft | kMouseRight | kMouseMiddle));
}

uint16_t TInputModel::MouseCell() const {
  if (state_.MouseColumn == kMouseOutside) return 0xFFFF;
  return static_cast<uint16_t>(state_.MouseRow * kScreenColumns + state_.MouseColumn);
}

void TInputModel::StartTimer(uint16_t unit) {
  timerUnit_ = unit;
  timerStart_ = unit != 0 ? clock_.NowTicks() : 0;
}

uint16_t TInputModel::TimerValue() const {
  if (timerUnit_ == 0 || clock_.Frequency() <= 0) return 0;
  const int64_t elapsedMs = TicksToMs(clock_.NowTicks() - timerStart_, clock_.Frequency());
  return static_cast<uint16_t>(elapsedMs / timerUnit_);
}
