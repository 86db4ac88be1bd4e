// Where the monitor reads the keyboard from: 256 bytes indexed by Windows
// virtual-key codes, bit 7 set while the key is down. The workbench provides
// the live table kept by its event filter; tests and the tool provide fakes.
#pragma once

#include <array>
#include <cstdint>

using TKeyboardState = std::array<uint8_t, 256>;

class TKeyboardSource {
 public:
  virtual ~TKeyboardSource() = default;
  virtual TKeyboardState KeyboardState() const = 0;
};
