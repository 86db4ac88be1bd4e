// Shared pieces of the history tests: a machine with the real monitor model
// on a hand-driven clock and keyboard, random programs that talk to every
// kind of port, random outside events, and a copy of all program state to
// compare with.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "../monitor/monitor_fakes.h"
#include "assembler/machine_loader.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "session/execution_history.h"

// Everything a run changes that is program state, copied field by field.
struct TProgramState {
  std::vector<uint16_t> Memory;
  int32_t CallDepth;
  uint64_t StepCount;
  uint16_t InstrAddress, Opcode;
  uint8_t Modes;
  int32_t Destination;
  uint16_t Value1, Value2, Result;
  std::vector<TScreenCell> Cells;
  TScreenRegisters Screen;
  uint16_t SelectedKey;

  bool operator==(const TProgramState&) const = default;
};

// Success when the two are equal; otherwise says where they differ first.
::testing::AssertionResult SameState(const TProgramState& actual, const TProgramState& expected);

// The live devices, which going back must leave alone.
struct TLiveInputs {
  TInputState Input;
  uint16_t Timer;
  uint16_t Frame;
  bool operator==(const TLiveInputs&) const = default;
};

// A machine, its monitor on a fake clock and keyboard, and a history.
struct TRig {
  TFakeClock clock;
  TFakeKeyboard keyboard;
  TMonitorModel monitor{clock};
  std::unique_ptr<TQRXEmulater> machine = std::make_unique<TQRXEmulater>();
  TExecutionHistory history{*machine, monitor};

  explicit TRig(const std::vector<uint16_t>& image) {
    monitor.SetKeyboardSource(&keyboard);
    const TImageLine line{0, image, 0};
    LoadImage(*machine, {&line, 1});
    history.SetEnabled(true);
  }

  TProgramState State() const {
    const TScreenModel& screen = monitor.Screen();
    return {{machine->Memory.begin(), machine->Memory.end()},
            machine->CallDepth,
            machine->StepCount,
            machine->InstrAddress,
            machine->Opcode,
            machine->Modes,
            machine->Destination,
            machine->Value1,
            machine->Value2,
            machine->Result,
            {screen.Cells().begin(), screen.Cells().end()},
            screen.Registers(),
            monitor.Input().State().SelectedKey};
  }
  TLiveInputs Live() const {
    return {monitor.Input().State(), monitor.TimerValue(), monitor.FrameCounter()};
  }
};

// The data block of the random programs.
inline constexpr uint16_t kDataStart = 0x0800;
inline constexpr uint16_t kDataWords = 0x100;

// A random program of 400 instructions from address 0 that reads every
// kind of input port and screen port, writes the screen, the selected key,
// the timer and the frame counter, calls, returns, pushes, jumps and
// rewrites its own code now and then. Data lives in the data block; the
// words there point into the same block, so indirect operands stay in it.
std::vector<uint16_t> RandomProgram(std::mt19937& rng);

// With the given chances, changes the live devices: a key goes down or up,
// the mouse moves or clicks, time passes (timer), a frame passes.
void RandomOutsideEvent(std::mt19937& rng, TRig& rig);
