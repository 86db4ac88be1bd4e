#include "session/history_port_device.h"

#include "machine/machine.h"
#include "session/input_ports.h"

uint64_t THistoryPortDevice::ExecutingStep() const {
  return machine_.StepCount - startStepCount_ - 1;
}

uint16_t THistoryPortDevice::PortIn(uint16_t port) {
  const int slot = InputPortSlot(port);
  if (slot < 0 || mode_ == TMode::Passing) return inner_.PortIn(port);
  if (mode_ == TMode::Replaying) return cursor_.Read(log_, ExecutingStep(), slot);
  const uint16_t value = inner_.PortIn(port);
  // A polling loop reads the same value again and again: that costs one
  // comparison here.
  if (value != log_.LastValue(slot)) log_.RecordInput(ExecutingStep(), port, value);
  return value;
}

void THistoryPortDevice::PortOut(uint16_t port, uint16_t value) {
  if (mode_ == TMode::Replaying && OutChangesLiveInput(port)) return;
  inner_.PortOut(port, value);
}

void THistoryPortDevice::ResetScreen() {
  inner_.ResetScreen();
  if (resetListener_) resetListener_();
}
