#include "session/checkpoint_store.h"

#include <algorithm>

void TCheckpointStore::SetBudget(size_t bytes) {
  budget_ = bytes;
  Thin();
  if (BytesUsed() > budget_) spare_.reset();
}

size_t TCheckpointStore::Capacity() const {
  const size_t objects = budget_ / sizeof(TCheckpoint);
  return std::max<size_t>(objects > 0 ? objects - 1 : 0, 2);
}

std::unique_ptr<TCheckpoint> TCheckpointStore::Blank() {
  if (spare_) return std::move(spare_);
  return std::make_unique<TCheckpoint>();
}

void TCheckpointStore::Add(std::unique_ptr<TCheckpoint> checkpoint) {
  while (!kept_.empty() && kept_.back()->Position >= checkpoint->Position) {
    spare_ = std::move(kept_.back());
    kept_.pop_back();
  }
  kept_.push_back(std::move(checkpoint));
  Thin();
}

void TCheckpointStore::DropAfter(uint64_t position) {
  while (!kept_.empty() && kept_.back()->Position > position) {
    spare_ = std::move(kept_.back());
    kept_.pop_back();
  }
}

void TCheckpointStore::Clear() {
  if (!kept_.empty() && !spare_) spare_ = std::move(kept_.back());
  kept_.clear();
}

const TCheckpoint* TCheckpointStore::AtOrBefore(uint64_t position) const {
  const auto after = std::upper_bound(
      kept_.begin(), kept_.end(), position,
      [](uint64_t p, const std::unique_ptr<TCheckpoint>& c) { return p < c->Position; });
  if (after == kept_.begin()) return nullptr;
  return std::prev(after)->get();
}

size_t TCheckpointStore::BytesUsed() const {
  return (kept_.size() + (spare_ ? 1 : 0)) * sizeof(TCheckpoint);
}

void TCheckpointStore::Thin() {
  while (kept_.size() > Capacity()) {
    const size_t victim = CheapestToRemove();
    spare_ = std::move(kept_[victim]);
    kept_.erase(kept_.begin() + static_cast<std::ptrdiff_t>(victim));
  }
}

size_t TCheckpointStore::CheapestToRemove() const {
  const uint64_t newest = kept_.back()->Position;
  size_t best = 1;
  double bestCost = 0;
  for (size_t i = 1; i + 1 < kept_.size(); ++i) {
    const double gap = static_cast<double>(kept_[i + 1]->Position - kept_[i - 1]->Position);
    const double age = static_cast<double>(newest - kept_[i]->Position);
    const double cost = gap / age;
    if (i == 1 || cost < bestCost) {
      best = i;
      bestCost = cost;
    }
  }
  return best;
}
