// The machine's one peripheral as the machine sees it: IN and OUT reach it,
// and the machine reset clears its screen. The monitor model implements it;
// tests use fakes.
#pragma once

#include <cstdint>

class TPortDevice {
 public:
  virtual ~TPortDevice() = default;
  // Called by IN with the port number; the word returned is stored.
  virtual uint16_t PortIn(uint16_t port) = 0;
  // Called by OUT with the port number and the data word.
  virtual void PortOut(uint16_t port, uint16_t value) = 0;
  // Called by the machine reset: write position and cursor home, black on
  // white, cursor hidden, screen cleared.
  virtual void ResetScreen() = 0;
};
