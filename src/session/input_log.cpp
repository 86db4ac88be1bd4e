#include "session/input_log.h"

#include <algorithm>

bool TInputLog::RecordInput(uint64_t step, uint16_t port, uint16_t value) {
  const int slot = InputPortSlot(port);
  if (slot < 0 || lastValues_[slot] == value) return false;
  lastValues_[slot] = value;
  inputs_.push_back({step, port, value});
  return true;
}

void TInputLog::RecordEdit(uint64_t step, uint16_t address, uint16_t value) {
  edits_.push_back({step, address, value});
}

bool TInputLog::AppendInput(const TInputEvent& event) {
  const int slot = InputPortSlot(event.Port);
  if (slot < 0) return false;
  lastValues_[slot] = event.Value;
  inputs_.push_back(event);
  return true;
}

void TInputLog::TruncateAt(uint64_t step) {
  const auto firstInput =
      std::lower_bound(inputs_.begin(), inputs_.end(), step,
                       [](const TInputEvent& event, uint64_t s) { return event.Step < s; });
  inputs_.erase(firstInput, inputs_.end());
  const auto firstEdit =
      std::upper_bound(edits_.begin(), edits_.end(), step,
                       [](uint64_t s, const TUserEdit& edit) { return s < edit.Step; });
  edits_.erase(firstEdit, edits_.end());
  RecountLastValues();
}

void TInputLog::Clear() {
  inputs_.clear();
  edits_.clear();
  lastValues_.fill(0);
}

size_t TInputLog::FirstEditAtOrAfter(uint64_t step) const {
  const auto first =
      std::lower_bound(edits_.begin(), edits_.end(), step,
                       [](const TUserEdit& edit, uint64_t s) { return edit.Step < s; });
  return static_cast<size_t>(first - edits_.begin());
}

size_t TInputLog::BytesUsed() const {
  return inputs_.capacity() * sizeof(TInputEvent) + edits_.capacity() * sizeof(TUserEdit);
}

void TInputLog::RecountLastValues() {
  lastValues_.fill(0);
  for (const TInputEvent& event : inputs_)
    lastValues_[InputPortSlot(event.Port)] = event.Value;
}

void TInputCursor::AdvanceBefore(const TInputLog& log, uint64_t step) {
  const std::vector<TInputEvent>& inputs = log.Inputs();
  while (next_ < inputs.size() && inputs[next_].Step < step) {
    values_[InputPortSlot(inputs[next_].Port)] = inputs[next_].Value;
    ++next_;
  }
}
