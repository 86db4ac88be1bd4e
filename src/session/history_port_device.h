// The port device that an execution history puts between the machine and the
// monitor. Recording, it passes everything on and logs what the input ports
// read. Replaying, it answers the input ports from the log without asking the
// monitor, and keeps back the OUTs that would change the live devices (timer
// start and stop, frame-counter reset); every other IN and OUT still goes to
// the monitor, whose screen is program state. Passing, it only passes on.
#pragma once

#include <cstdint>
#include <functional>

#include "machine/port_device.h"
#include "session/input_log.h"

class TQRXEmulater;

class THistoryPortDevice : public TPortDevice {
 public:
  enum class TMode { Passing, Recording, Replaying };

  // The machine (for its step count), the device behind (the monitor) and
  // the log must outlive this device.
  THistoryPortDevice(const TQRXEmulater& machine, TPortDevice& inner, TInputLog& log)
      : machine_(machine), inner_(inner), log_(log) {}

  uint16_t PortIn(uint16_t port) override;
  void PortOut(uint16_t port, uint16_t value) override;
  // The machine reset: the screen is reset, then the reset listener hears
  // of it (the machine is then at a fresh start: a load or a reset).
  void ResetScreen() override;
  void SetResetListener(std::function<void()> listener) { resetListener_ = std::move(listener); }

  TMode Mode() const { return mode_; }
  void SetMode(TMode mode) { mode_ = mode; }
  // The machine's StepCount at the start of the history: log steps count
  // from there.
  void SetStartStepCount(uint64_t stepCount) { startStepCount_ = stepCount; }
  // Where replay reads the log from.
  TInputCursor& Cursor() { return cursor_; }

 private:
  // The 0-based log step of the instruction executing now. Step has counted
  // it already when it calls IN, so it is one less than the step count.
  uint64_t ExecutingStep() const;

  const TQRXEmulater& machine_;
  TPortDevice& inner_;
  TInputLog& log_;
  TMode mode_ = TMode::Passing;
  uint64_t startStepCount_ = 0;
  TInputCursor cursor_;
  std::function<void()> resetListener_;
};
