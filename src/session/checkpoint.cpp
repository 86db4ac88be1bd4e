#include "session/checkpoint.h"

#include "monitor/monitor_model.h"

void CaptureCheckpoint(const TQRXEmulater& machine, const TMonitorModel& monitor,
                       TCheckpoint& checkpoint) {
  checkpoint.Memory = machine.Memory;
  checkpoint.CallDepth = machine.CallDepth;
  checkpoint.StepCount = machine.StepCount;
  checkpoint.InstrAddress = machine.InstrAddress;
  checkpoint.Opcode = machine.Opcode;
  checkpoint.Modes = machine.Modes;
  checkpoint.Destination = machine.Destination;
  checkpoint.Value1 = machine.Value1;
  checkpoint.Value2 = machine.Value2;
  checkpoint.Result = machine.Result;
  checkpoint.Cells = monitor.Screen().Cells();
  checkpoint.Screen = monitor.Screen().Registers();
  checkpoint.SelectedKey = monitor.Input().State().SelectedKey;
}

void RestoreCheckpoint(const TCheckpoint& checkpoint, TQRXEmulater& machine,
                       TMonitorModel& monitor) {
  machine.Memory = checkpoint.Memory;
  machine.CallDepth = checkpoint.CallDepth;
  machine.StepCount = checkpoint.StepCount;
  machine.InstrAddress = checkpoint.InstrAddress;
  machine.Opcode = checkpoint.Opcode;
  machine.Modes = checkpoint.Modes;
  machine.Destination = checkpoint.Destination;
  machine.Value1 = checkpoint.Value1;
  machine.Value2 = checkpoint.Value2;
  machine.Result = checkpoint.Result;
  monitor.Screen().Restore(checkpoint.Cells, checkpoint.Screen);
  // Only the selected key is program state; the mouse and the keyboard copy
  // are taken over as they stand.
  TInputState input = monitor.Input().State();
  input.SelectedKey = checkpoint.SelectedKey;
  monitor.Input().Restore(input);
}
