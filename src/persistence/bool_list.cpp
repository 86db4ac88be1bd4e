#include "persistence/bool_list.h"

#include "persistence/int_text.h"

bool TBoolList::Contains(int32_t n) const {
  return IndexOf(IntToStr(n)) >= 0;
}

void TBoolList::SetMember(int32_t n, bool on) {
  const std::string text = IntToStr(n);
  const int index = IndexOf(text);
  if (on && index < 0) Add(text);
  if (!on && index >= 0) Delete(index);
}
