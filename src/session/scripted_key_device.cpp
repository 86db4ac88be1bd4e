#include "session/scripted_key_device.h"

#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "session/execution_history.h"
#include "session/input_ports.h"

namespace {

constexpr uint16_t kSelectedKeyPort = 272;

}  // namespace

uint16_t TScriptedKeyDevice::PortIn(uint16_t port) {
  if (port != kSelectedKeyPort) return inner_.PortIn(port);
  const uint16_t key = monitor_.Input().State().SelectedKey;
  // Step has counted the instruction executing already.
  const uint64_t step = machine_.StepCount - history_.StartStepCount() - 1;
  const int slot = InputPortSlot(static_cast<uint16_t>(kFirstKeyboardPort + key / 16));
  const uint16_t row = cursor_.Read(history_.Log(), step, slot);
  return (row >> (key % 16)) & 1;
}
