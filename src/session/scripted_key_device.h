// The port device a checked run puts in front of its history when keys are
// scripted: IN 272 (is the selected key down?) answers from the key rows of
// the replayed input log at the instruction executing, for the key the
// program selected with OUT 272. Everything else passes to the device
// behind it.
#pragma once

#include <cstdint>

#include "machine/port_device.h"
#include "session/input_log.h"

class TQRXEmulater;
class TExecutionHistory;
class TMonitorModel;

class TScriptedKeyDevice : public TPortDevice {
 public:
  // All four must outlive the device; inner is the history's device.
  TScriptedKeyDevice(const TQRXEmulater& machine, const TExecutionHistory& history,
                     const TMonitorModel& monitor, TPortDevice& inner)
      : machine_(machine), history_(history), monitor_(monitor), inner_(inner) {}

  uint16_t PortIn(uint16_t port) override;
  void PortOut(uint16_t port, uint16_t value) override { inner_.PortOut(port, value); }
  void ResetScreen() override { inner_.ResetScreen(); }

 private:
  const TQRXEmulater& machine_;
  const TExecutionHistory& history_;
  const TMonitorModel& monitor_;
  TPortDevice& inner_;
  TInputCursor cursor_;
};
