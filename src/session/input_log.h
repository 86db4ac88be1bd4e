// The input log of one execution history: everything that came from outside
// the machine, so that the run can be repeated exactly.
//
// Steps count instructions from the start of the history. An input event
// (step, port, value) says that from instruction number `step` (0-based) on,
// IN from that input port reads `value`, until the next event of the same
// port. Recording keeps an event only when the value differs from the one
// the port last had in the log (a port without events reads 0), so a polling
// loop logs almost nothing. A user edit (step, address, value) writes a word
// while the machine stands at `step`, that is after `step` instructions and
// before the next one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "session/input_ports.h"

struct TInputEvent {
  uint64_t Step;
  uint16_t Port;
  uint16_t Value;
  bool operator==(const TInputEvent&) const = default;
};

struct TUserEdit {
  uint64_t Step;
  uint16_t Address;
  uint16_t Value;
  bool operator==(const TUserEdit&) const = default;
};

class TInputLog {
 public:
  // Logs what an input port read at step; returns whether an event was
  // added (only when the value differs from the port's last logged value).
  // Steps never go down; port must be an input port.
  bool RecordInput(uint64_t step, uint16_t port, uint16_t value);
  // Appends an edit made while the machine stood at step.
  void RecordEdit(uint64_t step, uint16_t address, uint16_t value);

  // Appends an event or an edit as given, without the change rule (readers
  // of log files and scripted input). Steps must not go down. An event of a
  // port that is not an input port is refused (false).
  bool AppendInput(const TInputEvent& event);
  void AppendEdit(const TUserEdit& edit) { edits_.push_back(edit); }

  // Drops what lies after the machine's position `step`: input events of
  // instructions `step` and later, and edits stamped later than `step`
  // (edits stamped `step` are part of the state at that position).
  void TruncateAt(uint64_t step);
  void Clear();

  // The value the port of slot last logged (0 without an event): a value
  // equal to it would add nothing.
  uint16_t LastValue(int slot) const { return lastValues_[slot]; }

  const std::vector<TInputEvent>& Inputs() const { return inputs_; }
  const std::vector<TUserEdit>& Edits() const { return edits_; }
  // Index of the first edit stamped step or later.
  size_t FirstEditAtOrAfter(uint64_t step) const;
  // Bytes held, for the history's memory figures.
  size_t BytesUsed() const;

  bool operator==(const TInputLog& other) const {
    return inputs_ == other.inputs_ && edits_ == other.edits_;
  }

 private:
  void RecountLastValues();

  std::vector<TInputEvent> inputs_;
  std::vector<TUserEdit> edits_;
  // Per input-port slot: the value its last event logged (0 without one).
  std::array<uint16_t, kInputPortSlots> lastValues_{};
};

// What the input ports read at one point of a log, for replay. Steps asked
// for must not go down between two Rewinds.
class TInputCursor {
 public:
  // Back before the log's first event: every input port reads 0.
  void Rewind() { *this = TInputCursor(); }
  // Takes in every event of an instruction before `step`.
  void AdvanceBefore(const TInputLog& log, uint64_t step);
  // The value an input port reads at instruction `step`.
  uint16_t Read(const TInputLog& log, uint64_t step, int slot) {
    AdvanceBefore(log, step + 1);
    return values_[slot];
  }

 private:
  std::array<uint16_t, kInputPortSlots> values_{};
  size_t next_ = 0;
};
