// TJumpList: the jump history of the listing, a stack of listing-view row
// numbers held as decimal strings. Its bottom entry is never removed by
// PopNum, so going back repeatedly ends on the row the history was started
// with (row 0 after start-up) instead of running dry.
#pragma once

#include <cstdint>

#include "persistence/custom_string_list.h"

class TJumpList : public TCustomStringList {
 public:
  // Holds row 0, as the main window starts with it.
  TJumpList() { Init(0); }

  // Clears the history; then, when n is 0 or more, pushes n.
  void Init(int32_t n);

  // Empty: 0. Exactly one entry: that entry, which stays. Otherwise the
  // last entry is removed and returned.
  int32_t PopNum() override;
};
