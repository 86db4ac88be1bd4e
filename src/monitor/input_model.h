// The monitor's inputs as the running program polls them: the keyboard as
// the state of every key, the mouse as the cell under the pointer and the
// buttons held, and a timer counting in program-chosen units of milliseconds.
#pragma once

#include <array>
#include <cstdint>

#include "monitor/keyboard_source.h"
#include "monitor/performance_counter.h"

// Column and row of a pointer last seen outside the screen.
inline constexpr uint32_t kMouseOutside = 65535;

// Mouse buttons as TrackMouse takes them and port 512 reports them.
inline constexpr unsigned kMouseLeft = 1;
inline constexpr unsigned kMouseRight = 2;
inline constexpr unsigned kMouseMiddle = 4;

// The saved part of the input state, in the order of the monitor block.
struct TInputState {
  uint32_t MouseColumn = 0;  // 0..63, or kMouseOutside
  uint32_t MouseRow = 0;     // 0..47, or kMouseOutside
  uint16_t MouseButtons = 0;
  uint16_t SelectedKey = 0;            // the virtual-key code that port 272 answers for
  TKeyboardState Keyboard{};           // bit 7 of byte k: key k was down at the last read
  std::array<uint16_t, 16> KeyRows{};  // row n, bit j: key 16 * n + j down

  bool operator==(const TInputState&) const = default;
};

class TInputModel {
 public:
  explicit TInputModel(const TClock& clock) : clock_(clock) {}

  // Where ReadKeyboard copies from; nullptr means no key is down.
  void SetKeyboardSource(const TKeyboardSource* source) { keyboard_ = source; }
  // Takes a fresh copy of the keyboard state and recomputes the key rows.
  void ReadKeyboard();
  // Key row 0..15 as of the last ReadKeyboard; 0 for other rows.
  uint16_t KeyRow(int row) const;
  // Whether the selected key was down at the last ReadKeyboard.
  bool SelectedKeyDown() const;
  // Taken only below 256.
  void SelectKey(uint16_t code);

  // Pointer position in pixels over the drawing area and the buttons held
  // after the event (kMouseLeft | kMouseRight | kMouseMiddle). Outside the
  // area the cell becomes kMouseOutside and the buttons keep their value.
  void TrackMouse(int x, int y, unsigned buttons);
  // The cell as port 513 reads it: row * 64 + column, 0xFFFF outside.
  uint16_t MouseCell() const;

  // unit != 0 starts the timer now counting units of that many ms; 0 stops it.
  void StartTimer(uint16_t unit);
  // Whole units since the start, modulo 65536; 0 while stopped or when the
  // clock cannot be read.
  uint16_t TimerValue() const;

  const TInputState& State() const { return state_; }
  void Restore(const TInputState& state) { state_ = state; }

 private:
  const TClock& clock_;
  const TKeyboardSource* keyboard_ = nullptr;
  TInputState state_;
  // Not part of the saved state.
  int64_t timerStart_ = 0;
  uint16_t timerUnit_ = 0;
};
