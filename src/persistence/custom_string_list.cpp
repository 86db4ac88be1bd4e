// Entry management, searching, sorting and the stack operations of
// TCustomStringList. The text forms are in string_list_text.cpp, the stream
// form in string_list_stream.cpp.
#include "persistence/custom_string_list.h"

#include <algorithm>

#include "persistence/compare_text.h"
#include "persistence/int_text.h"
#include "persistence/string_list_error.h"
#include "persistence/string_list_messages.h"

// ---------------------------------------------------------------- settings

void TCustomStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  sorted_ = sorted;
  if (sorted_) SortStable();
}

void TCustomStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == caseSensitive_) return;
  caseSensitive_ = caseSensitive;
  if (sorted_) SortStable();
}

int TCustomStringList::CompareStrings(std::string_view a, std::string_view b) const {
  return caseSensitive_ ? CompareBytes(a, b) : CompareText(a, b);
}

// ---------------------------------------------------------------- checks

void TCustomStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw EStringListError(ListIndexMessage(index));
}

void TCustomStringList::CheckUnsorted() const {
  if (sorted_) throw EStringListError(SortedListMessage());
}

// ---------------------------------------------------------------- entries

TStringEntry& TCustomStringList::EntryAt(int index) {
  CheckIndex(index);
  return store_.At(index);
}

const TStringEntry& TCustomStringList::EntryAt(int index) const {
  CheckIndex(index);
  return store_.At(index);
}

const std::string& TCustomStringList::Strings(int index) const {
  return EntryAt(index).text;
}

void TCustomStringList::SetStrings(int index, std::string s) {
  CheckUnsorted();
  EntryAt(index).text = std::move(s);
}

int TCustomStringList::Add(std::string s) {
  return AddEntry(NewEntry(std::move(s)));
}

int TCustomStringList::AddEntry(TEntryPtr entry) {
  if (!sorted_) {
    const int index = Count();
    store_.Insert(index, std::move(entry));
    return index;
  }
  int index = LowerBound(entry->text);
  if (index < Count() && CompareStrings(store_.At(index).text, entry->text) == 0) {
    switch (duplicates_) {
      case TDuplicates::Ignore:
        return index;
      case TDuplicates::Error:
        throw EStringListError(DuplicateStringMessage());
      case TDuplicates::Accept:
        index = UpperBound(entry->text);
        break;
    }
  }
  store_.Insert(index, std::move(entry));
  return index;
}

void TCustomStringList::Insert(int index, std::string s) {
  InsertEntry(index, NewEntry(std::move(s)));
}

void TCustomStringList::InsertEntry(int index, TEntryPtr entry) {
  CheckUnsorted();
  if (index < 0 || index > Count()) throw EStringListError(ListIndexMessage(index));
  store_.Insert(index, std::move(entry));
}

void TCustomStringList::Delete(int index) {
  CheckIndex(index);
  store_.Take(index);
}

void TCustomStringList::Exchange(int a, int b) {
  CheckUnsorted();
  CheckIndex(a);
  CheckIndex(b);
  if (a != b) store_.Swap(a, b);
}

void TCustomStringList::Move(int from, int to) {
  CheckUnsorted();
  CheckIndex(from);
  CheckIndex(to);
  if (from == to) return;
  TEntryPtr entry = store_.Take(from);
  store_.Insert(to, std::move(entry));
}

void TCustomStringList::AddStrings(const TCustomStringList& other) {
  if (!sorted_) {
    // Copy first: other may be this list.
    std::vector<TEntryPtr> entries;
    entries.reserve(static_cast<size_t>(other.Count()));
    other.store_.ForEach([&](const TStringEntry& e) {
      entries.push_back(NewEntry(e.text));
      return true;
    });
    store_.InsertRange(Count(), std::move(entries));
    return;
  }
  for (std::string& s : other.ToVector())
    Add(std::move(s));
}

void TCustomStringList::AssignStrings(const TCustomStringList& other) {
  if (&other == this) return;
  AssignFromStrings(other.ToVector());
}

std::vector<std::string> TCustomStringList::ToVector() const {
  std::vector<std::string> strings;
  strings.reserve(static_cast<size_t>(Count()));
  store_.ForEach([&](const TStringEntry& e) {
    strings.push_back(e.text);
    return true;
  });
  return strings;
}

void TCustomStringList::AssignFromStrings(std::vector<std::string> strings) {
  std::vector<TEntryPtr> entries;
  entries.reserve(strings.size());
  for (std::string& s : strings)
    entries.push_back(NewEntry(std::move(s)));
  if (sorted_) {
    std::stable_sort(entries.begin(), entries.end(), [&](const TEntryPtr& a, const TEntryPtr& b) {
      return CompareStrings(a->text, b->text) < 0;
    });
    if (duplicates_ != TDuplicates::Accept) {
      // Equal strings are adjacent and in their original order: keep the
      // first, as adding them one by one would.
      size_t kept = 0;
      for (size_t i = 0; i < entries.size(); ++i) {
        if (kept > 0 && CompareStrings(entries[kept - 1]->text, entries[i]->text) == 0) {
          if (duplicates_ == TDuplicates::Error) throw EStringListError(DuplicateStringMessage());
          continue;
        }
        if (kept != i) entries[kept] = std::move(entries[i]);
        ++kept;
      }
      entries.resize(kept);
    }
  }
  store_.Assign(std::move(entries));
}

// ---------------------------------------------------------------- searching

int TCustomStringList::LowerBound(std::string_view s) const {
  return store_.PartitionPoint(
      [&](const TStringEntry& e) { return CompareStrings(e.text, s) < 0; });
}

int TCustomStringList::UpperBound(std::string_view s) const {
  return store_.PartitionPoint(
      [&](const TStringEntry& e) { return CompareStrings(e.text, s) <= 0; });
}

bool TCustomStringList::Find(std::string_view s, int& index) const {
  if (sorted_) {
    index = LowerBound(s);
    return index < Count() && CompareStrings(store_.At(index).text, s) == 0;
  }
  int i = 0;
  bool found = false;
  store_.ForEach([&](const TStringEntry& e) {
    if (CompareStrings(e.text, s) == 0) {
      found = true;
      return false;
    }
    ++i;
    return true;
  });
  index = i;
  return found;
}

int TCustomStringList::IndexOf(std::string_view s) const {
  int index = -1;
  return Find(s, index) ? index : -1;
}

// ---------------------------------------------------------------- sorting

void TCustomStringList::SortEntries(const TEntryCompare& compare) {
  CheckUnsorted();
  Reorder(compare);
}

void TCustomStringList::Reorder(const TEntryCompare& compare) {
  std::vector<TStringEntry*> order;
  order.reserve(static_cast<size_t>(Count()));
  std::vector<TEntryPtr> owned = store_.TakeAll();
  for (const TEntryPtr& e : owned)
    order.push_back(e.get());
  try {
    std::stable_sort(order.begin(), order.end(), [&](const TStringEntry* a, const TStringEntry* b) {
      return compare(*a, *b) < 0;
    });
  } catch (...) {
    store_.Assign(std::move(owned));
    throw;
  }
  std::vector<TEntryPtr> sorted;
  sorted.reserve(order.size());
  for (TEntryPtr& e : owned)
    e.release();  // ownership passes to sorted below
  for (TStringEntry* e : order)
    sorted.emplace_back(e);
  store_.Assign(std::move(sorted));
}

void TCustomStringList::SortStable() {
  Reorder([this](const TStringEntry& a, const TStringEntry& b) {
    return CompareStrings(a.text, b.text);
  });
}

void TCustomStringList::Sort() {
  if (sorted_) return;
  SortStable();
}

void TCustomStringList::CustomSort(const TStringCompare& compare) {
  SortEntries(
      [&](const TStringEntry& a, const TStringEntry& b) { return compare(a.text, b.text); });
}

// ---------------------------------------------------------------- stack

int TCustomStringList::Push(std::string s) {
  Add(std::move(s));
  return Count();
}

int TCustomStringList::PushNumber(int32_t n) {
  return Push(IntToStr(n));
}

std::string TCustomStringList::Pop() {
  if (Empty()) return std::string();
  TEntryPtr last = store_.Take(Count() - 1);
  return std::move(last->text);
}

int32_t TCustomStringList::PopNum() {
  if (Empty()) return -1;
  const std::string& last = store_.At(Count() - 1).text;
  // Convert before removing, so that a non-numeric entry is not lost.
  const int32_t value = last.empty() ? -1 : StrToInt(last);
  store_.Take(Count() - 1);
  return value;
}

std::string TCustomStringList::Top() const {
  return Empty() ? std::string() : store_.At(Count() - 1).text;
}

std::string TCustomStringList::Bottom() const {
  return Empty() ? std::string() : store_.At(0).text;
}

int32_t TCustomStringList::TopNumber() const {
  const std::string top = Top();
  return top.empty() ? -1 : StrToInt(top);
}

int32_t TCustomStringList::BottomNumber() const {
  const std::string bottom = Bottom();
  return bottom.empty() ? -1 : StrToInt(bottom);
}

void TCustomStringList::InsertLinesAfter(int index, const TCustomStringList& lines) {
  CheckUnsorted();
  if (index < -1 || index >= Count()) throw EStringListError(ListIndexMessage(index));
  // The new entries are made before the list changes: lines may be this list.
  std::vector<TEntryPtr> entries;
  entries.reserve(static_cast<size_t>(lines.Count()));
  lines.store_.ForEach([&](const TStringEntry& e) {
    entries.push_back(NewEntry(e.text));
    return true;
  });
  store_.InsertRange(index + 1, std::move(entries));
}
