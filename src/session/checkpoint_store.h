// The checkpoints of one execution history, in the order of their positions,
// kept within a memory budget. When a new checkpoint would go over the
// budget, one is removed: the one whose removal leaves the smallest gap
// between its neighbours relative to its age (its distance from the newest).
// So the recent past stays dense and the far past thins out rather than
// vanishes: gaps grow roughly in proportion to age. The first checkpoint,
// the start of the history, and the newest one are never removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "session/checkpoint.h"

class TCheckpointStore {
 public:
  static constexpr size_t kDefaultBudgetBytes = size_t{64} << 20;

  explicit TCheckpointStore(size_t budgetBytes = kDefaultBudgetBytes) : budget_(budgetBytes) {}

  // Thins at once when the store holds more than the new budget allows.
  void SetBudget(size_t bytes);
  size_t Budget() const { return budget_; }
  // How many checkpoints the budget holds (one spare object included in the
  // budget), never fewer than two: the start and the newest.
  size_t Capacity() const;

  // An object to fill and hand to Add: the one a removal freed, or a new one.
  std::unique_ptr<TCheckpoint> Blank();
  // Keeps a checkpoint as the newest one; kept checkpoints at or after its
  // position are dropped first. Then thins the store back to its capacity.
  void Add(std::unique_ptr<TCheckpoint> checkpoint);
  // Drops every checkpoint after position.
  void DropAfter(uint64_t position);
  void Clear();

  // The last checkpoint at or before position; nullptr when there is none.
  const TCheckpoint* AtOrBefore(uint64_t position) const;
  size_t Count() const { return kept_.size(); }
  const TCheckpoint& At(size_t index) const { return *kept_[index]; }
  // Memory held by checkpoint objects, the spare one included.
  size_t BytesUsed() const;

 private:
  void Thin();
  // The interior checkpoint whose removal costs least (see the top).
  size_t CheapestToRemove() const;

  std::vector<std::unique_ptr<TCheckpoint>> kept_;
  std::unique_ptr<TCheckpoint> spare_;
  size_t budget_;
};
