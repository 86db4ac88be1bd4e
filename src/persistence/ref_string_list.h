// TRefStringList<T>: a string list whose entries may each point at an object
// that lives elsewhere; the list never owns or frees it. The pointer follows
// its string through every insert, delete, sort, exchange and move. The
// listing rows (line records owned by the assembler) and the label-view rows
// (label records owned by the label table) are such lists; T may be const.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "persistence/custom_string_list.h"

template <class T>
class TRefStringList : public TCustomStringList {
 public:
  using TCustomStringList::TCustomStringList;

  // Compares two entries by their strings and referenced objects (a pointer
  // may be null); negative, zero or positive.
  using TRefCompare =
      std::function<int(const std::string& textA, T* refA, const std::string& textB, T* refB)>;

  // The entry's object, or nullptr. Index errors raise EStringListError.
  T* Ref(int index) const { return Entry(index).ref; }
  void SetRef(int index, T* ref) { Entry(index).ref = ref; }

  // Add(s) carrying ref; returns the index (sorted lists: as Add; an ignored
  // duplicate keeps the existing entry's pointer).
  int AddWithRef(std::string s, T* ref) {
    auto entry = std::make_unique<TEntry>(std::move(s));
    entry->ref = ref;
    return AddEntry(std::move(entry));
  }

  // Insert(index, s) carrying ref. Not on sorted lists.
  void InsertWithRef(int index, std::string s, T* ref) {
    auto entry = std::make_unique<TEntry>(std::move(s));
    entry->ref = ref;
    InsertEntry(index, std::move(entry));
  }

  // Stable sort of an unsorted list by strings and objects.
  void SortBy(const TRefCompare& compare) {
    SortEntries([&](const TStringEntry& a, const TStringEntry& b) {
      const auto& ea = static_cast<const TEntry&>(a);
      const auto& eb = static_cast<const TEntry&>(b);
      return compare(ea.text, ea.ref, eb.text, eb.ref);
    });
  }

 protected:
  TEntryPtr NewEntry(std::string s) const final { return std::make_unique<TEntry>(std::move(s)); }

 private:
  struct TEntry : TStringEntry {
    using TStringEntry::TStringEntry;
    T* ref = nullptr;
  };

  TEntry& Entry(int index) { return static_cast<TEntry&>(EntryAt(index)); }
  const TEntry& Entry(int index) const { return static_cast<const TEntry&>(EntryAt(index)); }
};
