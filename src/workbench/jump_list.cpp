#include "workbench/jump_list.h"

void TJumpList::Init(int32_t n) {
  Clear();
  if (n >= 0) PushNumber(n);
}

int32_t TJumpList::PopNum() {
  if (Empty()) return 0;
  if (Count() == 1) return TopNumber();
  return TCustomStringList::PopNum();
}
