#include "monitor/performance_counter.h"

#include <chrono>

int64_t TSteadyClock::NowTicks() const {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
}

int64_t TSteadyClock::Frequency() const {
  return 1'000'000'000;
}

int64_t TicksToMs(int64_t ticks, int64_t frequency) {
  if (frequency <= 0) return 0;
  // ticks = q * frequency + r; both parts truncate toward zero, so the sum
  // equals ticks * 1000 / frequency truncated toward zero.
  const int64_t q = ticks / frequency;
  const int64_t r = ticks % frequency;
  return q * 1000 + r * 1000 / frequency;
}

TPerformanceCounter::TPerformanceCounter(const TClock& clock, bool started) : clock_(clock) {
  if (started) Restart();
}

void TPerformanceCounter::Restart() {
  start_ = clock_.NowTicks();
  started_ = true;
}

int64_t TPerformanceCounter::ElapsedMs() const {
  if (!started_) return 0;
  return TicksToMs(clock_.NowTicks() - start_, clock_.Frequency());
}
