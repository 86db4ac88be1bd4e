#include "persistence/entry_store.h"

#include <iterator>

size_t TEntryStore::BlockOf(int index) const {
  // Last block whose start is <= index.
  const auto it = std::upper_bound(starts_.begin(), starts_.end(), index);
  return static_cast<size_t>(it - starts_.begin()) - 1;
}

TStringEntry* TEntryStore::Locate(int index) const {
  const size_t b = BlockOf(index);
  return blocks_[b][static_cast<size_t>(index - starts_[b])];
}

void TEntryStore::InsertionPoint(int index, size_t& block, size_t& offset) {
  if (blocks_.empty()) {
    blocks_.emplace_back();
    starts_.push_back(0);
  }
  if (index == size_) {
    block = blocks_.size() - 1;
    offset = blocks_[block].size();
    return;
  }
  block = BlockOf(index);
  offset = static_cast<size_t>(index - starts_[block]);
}

void TEntryStore::RenumberFrom(size_t block) {
  starts_.resize(blocks_.size());
  int start = block == 0 ? 0 : starts_[block - 1] + static_cast<int>(blocks_[block - 1].size());
  for (size_t b = block; b < blocks_.size(); ++b) {
    starts_[b] = start;
    start += static_cast<int>(blocks_[b].size());
  }
}

void TEntryStore::SplitIfFull(size_t block) {
  TBlock& items = blocks_[block];
  if (items.size() <= kMaxBlock) return;
  const auto half = items.begin() + static_cast<long>(items.size() / 2);
  TBlock upper(half, items.end());
  blocks_[block].erase(half, blocks_[block].end());
  blocks_.insert(blocks_.begin() + static_cast<long>(block) + 1, std::move(upper));
}

void TEntryStore::MergeIfSmall(size_t block) {
  if (block >= blocks_.size()) return;
  if (blocks_[block].empty()) {
    blocks_.erase(blocks_.begin() + static_cast<long>(block));
    return;
  }
  if (blocks_[block].size() >= kMinBlock) return;
  // Prefer the previous block so that the merged entries append at its end.
  size_t into = block;
  size_t from = block + 1;
  if (block > 0 && blocks_[block - 1].size() + blocks_[block].size() <= kMaxBlock) {
    into = block - 1;
    from = block;
  }
  if (from >= blocks_.size() || blocks_[into].size() + blocks_[from].size() > kMaxBlock) return;
  blocks_[into].insert(blocks_[into].end(), blocks_[from].begin(), blocks_[from].end());
  blocks_.erase(blocks_.begin() + static_cast<long>(from));
}

void TEntryStore::Insert(int index, TEntryPtr entry) {
  size_t block = 0;
  size_t offset = 0;
  InsertionPoint(index, block, offset);
  TBlock& items = blocks_[block];
  items.insert(items.begin() + static_cast<long>(offset), entry.get());
  entry.release();  // the block owns it now
  ++size_;
  SplitIfFull(block);
  RenumberFrom(block);
}

std::vector<TEntryStore::TBlock> TEntryStore::MakeBlocks(const std::vector<TEntryPtr>& entries) {
  std::vector<TBlock> blocks;
  blocks.reserve(entries.size() / kFillBlock + 2);
  for (size_t i = 0; i < entries.size(); i += kFillBlock) {
    const size_t end = std::min(entries.size(), i + kFillBlock);
    TBlock block;
    block.reserve(end - i);
    for (size_t k = i; k < end; ++k)
      block.push_back(entries[k].get());
    blocks.push_back(std::move(block));
  }
  return blocks;
}

void TEntryStore::InsertRange(int index, std::vector<TEntryPtr> entries) {
  if (entries.empty()) return;
  size_t block = 0;
  size_t offset = 0;
  InsertionPoint(index, block, offset);
  TBlock& items = blocks_[block];
  if (items.size() + entries.size() <= kMaxBlock) {
    items.reserve(items.size() + entries.size());
    const auto at = items.begin() + static_cast<long>(offset);
    std::vector<TStringEntry*> raw;
    raw.reserve(entries.size());
    for (const TEntryPtr& e : entries)
      raw.push_back(e.get());
    items.insert(at, raw.begin(), raw.end());
  } else {
    // Cut the block at the insertion point and lay the new entries out as
    // blocks of their own between the two halves.
    std::vector<TBlock> fresh = MakeBlocks(entries);
    TBlock tail(items.begin() + static_cast<long>(offset), items.end());
    fresh.push_back(std::move(tail));
    blocks_.reserve(blocks_.size() + fresh.size());
    TBlock& cut = blocks_[block];
    cut.erase(cut.begin() + static_cast<long>(offset), cut.end());
    if (fresh.back().empty()) fresh.pop_back();
    blocks_.insert(blocks_.begin() + static_cast<long>(block) + 1,
                   std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    if (blocks_[block].empty()) blocks_.erase(blocks_.begin() + static_cast<long>(block));
  }
  for (TEntryPtr& e : entries)
    e.release();  // the blocks own them now
  size_ += static_cast<int>(entries.size());
  RenumberFrom(block);
}

TEntryPtr TEntryStore::Take(int index) {
  const size_t block = BlockOf(index);
  TBlock& items = blocks_[block];
  const auto at = items.begin() + (index - starts_[block]);
  TEntryPtr entry(*at);
  items.erase(at);
  --size_;
  MergeIfSmall(block);
  RenumberFrom(block > 0 ? block - 1 : 0);
  return entry;
}

void TEntryStore::Swap(int a, int b) {
  const size_t ba = BlockOf(a);
  const size_t bb = BlockOf(b);
  std::swap(blocks_[ba][static_cast<size_t>(a - starts_[ba])],
            blocks_[bb][static_cast<size_t>(b - starts_[bb])]);
}

void TEntryStore::DeleteAll(std::vector<TBlock>& blocks) {
  for (TBlock& block : blocks) {
    for (TStringEntry* entry : block)
      delete entry;
  }
  blocks.clear();
}

void TEntryStore::Clear() {
  DeleteAll(blocks_);
  starts_.clear();
  size_ = 0;
}

std::vector<TEntryPtr> TEntryStore::TakeAll() {
  std::vector<TEntryPtr> all;
  all.reserve(static_cast<size_t>(size_));
  for (TBlock& block : blocks_) {
    for (TStringEntry* entry : block)
      all.emplace_back(entry);
  }
  blocks_.clear();
  starts_.clear();
  size_ = 0;
  return all;
}

void TEntryStore::Assign(std::vector<TEntryPtr> entries) {
  std::vector<TBlock> blocks = MakeBlocks(entries);
  Clear();
  blocks_ = std::move(blocks);
  for (TEntryPtr& e : entries)
    e.release();  // the blocks own them now
  size_ = 0;
  for (const TBlock& block : blocks_)
    size_ += static_cast<int>(block.size());
  RenumberFrom(0);
}
