// The machine monitor as the machine and the windows see it: the port map
// of IN and OUT over the screen and input models, the screen reset, and the
// saved monitor block. No Qt: the monitor window draws from snapshots of it
// and feeds it mouse positions and the keyboard source.
#pragma once

#include <cstdint>

#include "machine/port_device.h"
#include "monitor/input_model.h"
#include "monitor/monitor_state_block.h"
#include "monitor/performance_counter.h"
#include "monitor/screen_model.h"
#include "persistence/memory_stream.h"

class TMonitorModel : public TPortDevice {
 public:
  // Times with a steady clock of its own.
  TMonitorModel() : input_(ownClock_) {}
  // Times with the given clock, which must outlive the model.
  explicit TMonitorModel(const TClock& clock) : input_(clock) {}
  TMonitorModel(const TMonitorModel&) = delete;
  TMonitorModel& operator=(const TMonitorModel&) = delete;

  // IN: ports not in the map read 0. Reads of ports 256..511 first take a
  // fresh copy of the keyboard state.
  uint16_t PortIn(uint16_t port) override;
  // OUT: ports not in the map ignore the write.
  void PortOut(uint16_t port, uint16_t value) override;
  void ResetScreen() override { screen_.ResetScreen(); }

  // Writes the kMonitorBlockSize-byte block at the stream's position.
  void SaveToStream(TMemoryStream& stream) const;
  // Reads the block: 0 when complete; -1 when fewer than kMonitorBlockSize
  // bytes remain, in which case neither the model nor the stream position
  // changes. Nothing past the block is read.
  int LoadFromStream(TMemoryStream& stream);

  // For the screen thread and the window.
  void TakeSnapshot(TScreenSnapshot& out) const { screen_.TakeSnapshot(out); }
  uint16_t FrameCounter() const { return screen_.FrameCounter(); }
  void AdvanceFrame() { screen_.AdvanceFrame(); }
  void TrackMouse(int x, int y, unsigned buttons) { input_.TrackMouse(x, y, buttons); }
  void SetKeyboardSource(const TKeyboardSource* source) { input_.SetKeyboardSource(source); }
  void ReadKeyboard() { input_.ReadKeyboard(); }
  void StartTimer(uint16_t unit) { input_.StartTimer(unit); }
  uint16_t TimerValue() const { return input_.TimerValue(); }

  TScreenModel& Screen() { return screen_; }
  const TScreenModel& Screen() const { return screen_; }
  TInputModel& Input() { return input_; }
  const TInputModel& Input() const { return input_; }

 private:
  TSteadyClock ownClock_;  // used only when no clock is given
  TScreenModel screen_;
  TInputModel input_;
};
