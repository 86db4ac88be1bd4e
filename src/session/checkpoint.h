// One checkpoint of an execution history: everything a run changes that is
// program state, so that restoring it and replaying the input log from there
// repeats the run exactly. That is the machine's memory (registers included),
// its decode fields and counters, the monitor's screen (cells and registers)
// and the selected key of port 272, plus where the replay of the input log
// stands. The line map changes only when a program is loaded, which starts a
// new history, so it is not copied. The live input devices (keys held, the
// mouse, the timer, the frame counter) are not program state: restoring a
// checkpoint leaves them as they are.
#pragma once

#include <array>
#include <cstdint>

#include "machine/machine.h"
#include "monitor/screen_model.h"
#include "session/input_log.h"

class TMonitorModel;

struct TCheckpoint {
  // Instructions since the start of the history.
  uint64_t Position = 0;

  std::array<uint16_t, TQRXEmulater::kWords> Memory;
  int32_t CallDepth = 0;
  uint64_t StepCount = 0;
  uint16_t InstrAddress = 0;
  uint16_t Opcode = 0;
  uint8_t Modes = 0;
  int32_t Destination = 0;
  uint16_t Value1 = 0;
  uint16_t Value2 = 0;
  uint16_t Result = 0;

  TScreenCells Cells;
  TScreenRegisters Screen;
  uint16_t SelectedKey = 0;

  // The input ports as the log has them before instruction Position.
  TInputCursor Inputs;
};

// Copies the program state of the machine and the monitor into checkpoint
// (Position and Inputs are the caller's).
void CaptureCheckpoint(const TQRXEmulater& machine, const TMonitorModel& monitor,
                       TCheckpoint& checkpoint);
// Puts the program state of a checkpoint back into the machine and the
// monitor; the line map and the live input devices stay as they are.
void RestoreCheckpoint(const TCheckpoint& checkpoint, TQRXEmulater& machine,
                       TMonitorModel& monitor);
