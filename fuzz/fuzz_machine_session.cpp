// Arbitrary bytes as the machine's memory from address 0 (little-endian
// words, the rest zero), run for a bounded number of instructions with the
// monitor attached, so every port of IN and OUT can be reached. The input's
// first 256 bytes are also the keyboard state. Afterwards the screen must
// still be consistent and the monitor block must save and load back the
// same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "assembler/machine_loader.h"
#include "fuzz_support.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "persistence/memory_stream.h"

namespace {

constexpr int kSteps = 20'000;
constexpr int kStepsPerFrame = 500;

void CheckScreen(const TMonitorModel& monitor) {
  const TScreenRegisters& r = monitor.Screen().Registers();
  FuzzCheck(r.WritePosition < kScreenCellCount, "write position on the screen");
  FuzzCheck(r.WritePosition == r.WriteRow * kScreenColumns + r.WriteColumn,
            "write position agrees with its row and column");
  FuzzCheck(r.CursorPosition < kScreenCellCount, "cursor on the screen");
  FuzzCheck(r.CursorPosition == r.CursorRow * kScreenColumns + r.CursorColumn,
            "cursor position agrees with its row and column");
  FuzzCheck(r.Direction < 4, "direction 0..3");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint16_t> words((size + 1) / 2, 0);
  for (size_t i = 0; i < size; ++i)
    words[i / 2] |= static_cast<uint16_t>(data[i] << (8 * (i % 2)));
  if (words.size() > TQRXEmulater::kWords) words.resize(TQRXEmulater::kWords);

  TKeyboardState keys{};
  std::copy_n(data, std::min<size_t>(size, keys.size()), keys.begin());
  const TFuzzKeyboard keyboard(keys);
  const TFuzzClock clock;
  auto monitor = std::make_unique<TMonitorModel>(clock);
  monitor->SetKeyboardSource(&keyboard);
  auto machine = std::make_unique<TQRXEmulater>();
  machine->SetPortDevice(monitor.get());
  const TImageLine image[] = {{0, words, 0}};
  LoadImage(*machine, image);

  auto snapshot = std::make_unique<TScreenSnapshot>();
  for (int n = 1; n <= kSteps; ++n) {
    if (machine->Step() < 0) break;
    if (n % kStepsPerFrame == 0) {
      monitor->AdvanceFrame();
      monitor->TakeSnapshot(*snapshot);
      monitor->TrackMouse(n % 800 - 10, n % 600 - 10, static_cast<unsigned>(n));
    }
  }
  CheckScreen(*monitor);

  TMemoryStream saved;
  monitor->SaveToStream(saved);
  saved.Seek(0);
  TMonitorModel restored(clock);
  FuzzCheck(restored.LoadFromStream(saved) == 0, "a saved monitor block loads");
  CheckScreen(restored);
  TMemoryStream savedAgain;
  restored.SaveToStream(savedAgain);
  FuzzCheck(saved.Bytes() == savedAgain.Bytes(), "a monitor block keeps its bytes");

  TMemoryStream machineBlock;
  machine->SaveToStream(machineBlock);
  machineBlock.Seek(0);
  TQRXEmulater copy;
  FuzzCheck(copy.LoadFromStream(machineBlock) == 0, "a saved machine block loads");
  FuzzCheck(copy.Memory == machine->Memory && copy.LineMap == machine->LineMap,
            "a machine block keeps memory and line map");
  return 0;
}
