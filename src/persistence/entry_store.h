// The storage behind every string list: an ordered sequence of entries, each
// entry one heap object that holds the string and whatever per-entry data a
// list type adds. The store owns its entries; they enter and leave it as
// unique_ptr, and inside it they are plain pointers so that shifting them is
// a memmove even in unoptimised builds. Entries sit in blocks of a few
// hundred pointers, so an
// insertion or deletion anywhere moves at most one block of pointers plus one
// integer per block, never the whole list: a sorted table that receives tens
// of thousands of keys in arbitrary order and a line list of 100,000 lines
// with insertions in the middle both stay fast. Access by index finds the
// block by binary search over the blocks' start indices.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

// One entry of a string list. List types with per-entry data derive from it;
// the entry is owned by the list and destroyed with it.
struct TStringEntry {
  TStringEntry() = default;
  explicit TStringEntry(std::string s) : text(std::move(s)) {}
  TStringEntry(const TStringEntry&) = delete;
  TStringEntry& operator=(const TStringEntry&) = delete;
  virtual ~TStringEntry() = default;

  std::string text;
};

using TEntryPtr = std::unique_ptr<TStringEntry>;

class TEntryStore {
 public:
  TEntryStore() = default;
  TEntryStore(const TEntryStore&) = delete;
  TEntryStore& operator=(const TEntryStore&) = delete;
  ~TEntryStore() { Clear(); }

  int Size() const { return size_; }

  // Indices must lie within the sequence; the list checks them.
  TStringEntry& At(int index) { return *Locate(index); }
  const TStringEntry& At(int index) const { return *Locate(index); }

  // Inserts before position index (0..Size()).
  void Insert(int index, TEntryPtr entry);
  // Inserts all entries, in their order, before position index (0..Size()).
  void InsertRange(int index, std::vector<TEntryPtr> entries);
  // Removes the entry at index and hands it back.
  TEntryPtr Take(int index);
  void Swap(int a, int b);
  void Clear();
  // Removes every entry and hands them back in order.
  std::vector<TEntryPtr> TakeAll();
  // Replaces the whole sequence.
  void Assign(std::vector<TEntryPtr> entries);

  // The first index whose entry is not "before" (pred false); pred must be
  // true for a prefix of the sequence and false for the rest.
  template <class Pred>
  int PartitionPoint(Pred before) const {
    // First block whose last entry is not before.
    const auto block = std::partition_point(blocks_.begin(), blocks_.end(),
                                            [&](const TBlock& b) { return before(*b.back()); });
    if (block == blocks_.end()) return size_;
    const auto item = std::partition_point(block->begin(), block->end(),
                                           [&](const TStringEntry* e) { return before(*e); });
    const size_t b = static_cast<size_t>(block - blocks_.begin());
    return starts_[b] + static_cast<int>(item - block->begin());
  }

  // Calls f(entry) for every entry in order; stops early when f returns false.
  template <class F>
  void ForEach(F f) const {
    for (const TBlock& block : blocks_) {
      for (const TStringEntry* entry : block) {
        if (!f(*entry)) return;
      }
    }
  }

 private:
  using TBlock = std::vector<TStringEntry*>;

  // A block is split in two when it grows past kMaxBlock; blocks built in
  // one go hold kFillBlock entries; a block that shrinks below kMinBlock is
  // merged with a neighbour when the two fit in one block.
  static constexpr size_t kMaxBlock = 1024;
  static constexpr size_t kFillBlock = 512;
  static constexpr size_t kMinBlock = 128;

  // Block index holding position index (0..Size()-1).
  size_t BlockOf(int index) const;
  TStringEntry* Locate(int index) const;
  // Deletes the entries of the blocks.
  static void DeleteAll(std::vector<TBlock>& blocks);
  // Block and offset where an insertion before position index goes.
  void InsertionPoint(int index, size_t& block, size_t& offset);
  void SplitIfFull(size_t block);
  void MergeIfSmall(size_t block);
  void RenumberFrom(size_t block);

  // Blocks laid out from entries (ownership stays with the caller).
  static std::vector<TBlock> MakeBlocks(const std::vector<TEntryPtr>& entries);

  std::vector<TBlock> blocks_;  // never holds an empty block
  std::vector<int> starts_;     // global index of each block's first entry
  int size_ = 0;
};
