// The time base of the monitor's timer and of the screen thread's frame
// clock: a monotonic tick counter with its frequency, behind an interface so
// that tests and run control can drive time by hand.
#pragma once

#include <cstdint>

class TClock {
 public:
  virtual ~TClock() = default;
  // The counter now, in ticks.
  virtual int64_t NowTicks() const = 0;
  // Ticks per second; 0 means the counter cannot be read.
  virtual int64_t Frequency() const = 0;
};

// The steady clock of the standard library, counted in nanoseconds.
class TSteadyClock : public TClock {
 public:
  int64_t NowTicks() const override;
  int64_t Frequency() const override;
};

// Milliseconds between two readings of a clock, truncated toward zero.
// Computed without forming ticks * 1000, so a nanosecond clock does not
// overflow after months of uptime. 0 when the frequency is not positive.
int64_t TicksToMs(int64_t ticks, int64_t frequency);

// A stopwatch over a clock: started or not; reports the milliseconds since
// the last start.
class TPerformanceCounter {
 public:
  // Starts at once when started is true.
  explicit TPerformanceCounter(const TClock& clock, bool started = true);

  void Restart();
  // 0 when not started; otherwise the whole milliseconds since the start.
  int64_t ElapsedMs() const;
  bool Started() const { return started_; }

 private:
  const TClock& clock_;
  int64_t start_ = 0;
  // Kept apart from start_ so that a clock reading of 0 still counts as a
  // start.
  bool started_ = false;
};
