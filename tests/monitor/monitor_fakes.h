// Hand-driven clock and keyboard for the monitor tests.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "monitor/keyboard_source.h"
#include "monitor/performance_counter.h"

class TFakeClock : public TClock {
 public:
  // Starts well away from 0 so that a reading of 0 is never special.
  explicit TFakeClock(int64_t frequency = 10'000, int64_t now = 5'000'000)
      : now_(now), frequency_(frequency) {}
  int64_t NowTicks() const override { return now_; }
  int64_t Frequency() const override { return frequency_; }

  void AdvanceMs(int64_t ms) { now_ += ms * frequency_ / 1000; }
  void AdvanceTicks(int64_t ticks) { now_ += ticks; }
  void SetFrequency(int64_t frequency) { frequency_ = frequency; }

 private:
  int64_t now_;
  int64_t frequency_;
};

class TFakeKeyboard : public TKeyboardSource {
 public:
  TKeyboardState KeyboardState() const override { return state_; }
  void Press(uint8_t key) { state_[key] |= 0x80; }
  void Release(uint8_t key) { state_[key] &= 0x7F; }
  // Low bits are toggle state on the real keyboard and never mean "down".
  void SetRaw(uint8_t key, uint8_t value) { state_[key] = value; }

 private:
  TKeyboardState state_{};
};
