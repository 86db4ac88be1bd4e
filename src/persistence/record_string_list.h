// TRecordStringList<TRecord>: a string list whose entries may each own one
// record of type TRecord. The record lives in the entry, so it follows its
// string through every insert, delete, clear, sort, exchange and move, and is
// destroyed with the entry (Delete, Clear, SetText, LoadFromStream, the
// list's destruction). Strings added by the plain string operations (Add,
// Insert, SetText, InsertLinesAfter ...) start without a record.
//
// The label table, the macro table, the file set and the assembler's line
// list derive from it with their own record types. TRecord must be a complete
// type wherever the list is created or destroyed.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "persistence/custom_string_list.h"

template <class TRecord>
class TRecordStringList : public TCustomStringList {
 public:
  using TCustomStringList::TCustomStringList;

  // Compares two entries by their strings and records (a record may be
  // null); negative, zero or positive.
  using TRecordCompare = std::function<int(const std::string& textA, const TRecord* recordA,
                                           const std::string& textB, const TRecord* recordB)>;

  // The entry's record, or nullptr when it has none. Index errors raise
  // EStringListError.
  TRecord* Record(int index) { return Entry(index).record.get(); }
  const TRecord* Record(int index) const { return Entry(index).record.get(); }

  // The entry's record, made (value-initialised) on first access.
  TRecord& EnsureRecord(int index) {
    auto& entry = Entry(index);
    if (!entry.record) entry.record = std::make_unique<TRecord>();
    return *entry.record;
  }

  // Replaces the entry's record (nullptr removes it); the old one is freed.
  void SetRecord(int index, std::unique_ptr<TRecord> record) {
    Entry(index).record = std::move(record);
  }

  // Removes the entry's record and hands it to the caller.
  std::unique_ptr<TRecord> TakeRecord(int index) { return std::move(Entry(index).record); }

  // Frees every record; the strings stay.
  void ClearRecords() {
    for (int i = 0; i < Count(); ++i)
      Entry(i).record.reset();
  }

  // Add(s) with its record; returns the index. On a sorted list a duplicate
  // that is ignored returns the existing entry's index and the given record is
  // dropped (the existing entry keeps its own); a duplicate error raises
  // EStringListError and changes nothing.
  int AddWithRecord(std::string s, std::unique_ptr<TRecord> record) {
    auto entry = std::make_unique<TEntry>(std::move(s));
    entry->record = std::move(record);
    return AddEntry(std::move(entry));
  }

  // Insert(index, s) with its record. Not on sorted lists.
  void InsertWithRecord(int index, std::string s, std::unique_ptr<TRecord> record) {
    auto entry = std::make_unique<TEntry>(std::move(s));
    entry->record = std::move(record);
    InsertEntry(index, std::move(entry));
  }

  // Stable sort of an unsorted list by strings and records.
  void SortBy(const TRecordCompare& compare) {
    SortEntries([&](const TStringEntry& a, const TStringEntry& b) {
      const auto& ea = static_cast<const TEntry&>(a);
      const auto& eb = static_cast<const TEntry&>(b);
      return compare(ea.text, ea.record.get(), eb.text, eb.record.get());
    });
  }

 protected:
  TEntryPtr NewEntry(std::string s) const final { return std::make_unique<TEntry>(std::move(s)); }

 private:
  struct TEntry : TStringEntry {
    using TStringEntry::TStringEntry;
    std::unique_ptr<TRecord> record;
  };

  // Every entry of this list was made by NewEntry or the operations above,
  // so it is a TEntry.
  TEntry& Entry(int index) { return static_cast<TEntry&>(EntryAt(index)); }
  const TEntry& Entry(int index) const { return static_cast<const TEntry&>(EntryAt(index)); }
};
