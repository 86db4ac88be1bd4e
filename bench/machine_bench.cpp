// Step throughput on a tight counting loop:
//   0: ADD  count, #0xFFFF   ; count - 1
//   3: CMP  count, #0
//   6: JPF  0, ZF            ; back while count != 0
//   9: JP   0
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>

#include "assembler/machine_loader.h"
#include "machine/machine.h"

namespace {

constexpr uint16_t kCount = 0x0100;

void BM_StepCountingLoop(benchmark::State& state) {
  const std::array<uint16_t, 11> code = {
      0x2109, kCount, 0xFFFF,            // ADD count, #-1 (direct, immediate)
      0x2219, kCount, 0x0000,            // CMP count, #0
      0x410A, 0x0000, TQRXEmulater::ZF,  // JPF 0, ZF (direct, direct)
      0x4002, 0x0000,                    // JP 0
  };
  const TImageLine line{0, code, 0};
  auto machine = std::make_unique<TQRXEmulater>();
  LoadImage(*machine, {&line, 1});

  constexpr int kBatch = 1000;
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i)
      benchmark::DoNotOptimize(machine->Step());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kBatch);
  if (machine->StepCount != static_cast<uint64_t>(state.iterations()) * kBatch)
    state.SkipWithError("step count does not match the instructions run");
}
BENCHMARK(BM_StepCountingLoop);

}  // namespace
