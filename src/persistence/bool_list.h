// TBoolList: a set of 32-bit integers kept as a sorted string list without
// duplicates, each member as its decimal text ("-" in front of a negative).
// Its order is the text order ("10" before "9"), and its stream form is the
// string-list stream of those lines. The breakpoint list is one.
#pragma once

#include <cstdint>

#include "persistence/custom_string_list.h"

class TBoolList : public TCustomStringList {
 public:
  TBoolList() : TCustomStringList(true, TDuplicates::Ignore) {}

  // Whether n is a member (binary search on its text).
  bool Contains(int32_t n) const;
  // Adds n when on and absent; removes it when not on and present.
  void SetMember(int32_t n, bool on);
};
