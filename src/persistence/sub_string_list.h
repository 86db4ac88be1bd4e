// TSubStringList: a string list each of whose entries owns a child
// TSubStringList, made on first access and destroyed with the entry. An
// entry's mark is its child's Mark (0 while the entry has no child). The
// assembler's unit table is one: entry "NAME=scope", child = the unit's USES
// names, entry mark = the unit's visible flag.
#pragma once

#include <cstdint>
#include <string>

#include "persistence/custom_string_list.h"

class TSubStringList : public TCustomStringList {
 public:
  using TCustomStringList::TCustomStringList;

  // The entry's child list, made (empty, unsorted) on first access. Index
  // errors raise EStringListError.
  TSubStringList& Child(int index);
  // The entry's child, or nullptr while it has none; never makes one.
  const TSubStringList* ChildIfAny(int index) const;

  // The child's mark without making a child (0 when there is none).
  int32_t EntryMark(int index) const;
  // Sets the child's mark (making the child).
  void SetEntryMark(int index, int32_t mark);

 protected:
  TEntryPtr NewEntry(std::string s) const final;
};
