// The input ports whose values come from outside the machine: the frame
// counter (counted by the screen thread), the keyboard (ports 256..511; above
// 272 they read 0 but still take a fresh copy of the keyboard), the mouse and
// the timer. Everything else that IN reads is screen state that the program
// itself wrote, so a run is reproduced exactly when these ports answer as
// they did.
//
// Each input port has a slot 0..kInputPortSlots-1, so per-port tables are
// plain arrays.
#pragma once

#include <cstdint>

inline constexpr uint16_t kFrameCounterPort = 21;
inline constexpr uint16_t kFirstKeyboardPort = 256;
inline constexpr uint16_t kLastKeyboardPort = 511;
inline constexpr uint16_t kFirstMousePort = 512;
inline constexpr uint16_t kLastMousePort = 515;
inline constexpr uint16_t kTimerPort = 768;

inline constexpr int kKeyboardSlots = kLastKeyboardPort - kFirstKeyboardPort + 1;
inline constexpr int kMouseSlots = kLastMousePort - kFirstMousePort + 1;
inline constexpr int kInputPortSlots = 1 + kKeyboardSlots + kMouseSlots + 1;

// The slot of an input port, or -1 for every other port.
constexpr int InputPortSlot(uint16_t port) {
  if (port == kFrameCounterPort) return 0;
  if (port >= kFirstKeyboardPort && port <= kLastKeyboardPort) return 1 + port - kFirstKeyboardPort;
  if (port >= kFirstMousePort && port <= kLastMousePort)
    return 1 + kKeyboardSlots + port - kFirstMousePort;
  if (port == kTimerPort) return kInputPortSlots - 1;
  return -1;
}

constexpr bool IsInputPort(uint16_t port) {
  return InputPortSlot(port) >= 0;
}

// OUTs that act on the live devices rather than on program state: starting
// or stopping the timer and resetting the frame counter. A replayed run must
// not pass them on, or going back would change what the devices report now.
constexpr bool OutChangesLiveInput(uint16_t port) {
  return port == kTimerPort || port == kFrameCounterPort;
}
