#include "persistence/sub_string_list.h"

#include <memory>

namespace {

// Defined here, where TSubStringList is complete, so that the child's
// destructor is available wherever an entry is destroyed.
struct TSubEntry : TStringEntry {
  using TStringEntry::TStringEntry;
  std::unique_ptr<TSubStringList> child;
};

}  // namespace

TEntryPtr TSubStringList::NewEntry(std::string s) const {
  return std::make_unique<TSubEntry>(std::move(s));
}

TSubStringList& TSubStringList::Child(int index) {
  auto& entry = static_cast<TSubEntry&>(EntryAt(index));
  if (!entry.child) entry.child = std::make_unique<TSubStringList>();
  return *entry.child;
}

const TSubStringList* TSubStringList::ChildIfAny(int index) const {
  return static_cast<const TSubEntry&>(EntryAt(index)).child.get();
}

int32_t TSubStringList::EntryMark(int index) const {
  const TSubStringList* child = ChildIfAny(index);
  return child ? child->Mark() : 0;
}

void TSubStringList::SetEntryMark(int index, int32_t mark) {
  Child(index).SetMark(mark);
}
