// The macro table: every macro of one assembly with its definition.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "assembler/auto_label.h"
#include "persistence/custom_string_list.h"
#include "persistence/record_string_list.h"

// Sorted by name, names compared without regard to case, a duplicate name an
// error. Each entry's record is the macro's definition:
// - entry 0: the header line's split list (SplitMacroLine) as comma text:
//   the name, the keyword as written, the formal parameters;
// - entries 1..: the body lines exactly as they stood, source tags included.
class TMacroList : public TRecordStringList<TCustomStringList> {
 public:
  TMacroList();

  // Adds the name with an empty definition and returns its index; returns -1
  // and changes nothing when the name is already there.
  int AddMacro(std::string_view name);
  // Index of the macro, or -1.
  int IndexOfMacro(std::string_view name) const;
  // The definition of entry index (made empty on first access). An index
  // outside the list raises EStringListError.
  TCustomStringList& Definition(int index) { return EnsureRecord(index); }

  // Replaces `lines` by the expansion of one call of macro `macroIndex`.
  // `callSplit` is the call line's SplitMacroLine list (label, the name as
  // written, the arguments); `callTag` is appended to every body line. The
  // formals pair with the call's items by position: position 1 pairs the
  // keyword with the name as written in the call, position k >= 2 formal
  // k with argument k - 1. Missing arguments count as empty, surplus ones
  // are ignored. A formal that begins with "?" gets FormatAutoLabel of the
  // counter, which then grows by one (positions in order); any other formal
  // with an empty argument gets "*ERROR*". Then in every body line + tag
  // each formal from position 1 on, in order, is replaced by its argument,
  // case-insensitively and anywhere in the line. An index outside the list
  // raises EStringListError.
  //
  // Returns false as soon as the lines would hold more than `limit` bytes
  // together (each replacement is measured before it is made, so a formal
  // that turns up again in the text put in for another can never make the
  // text grow past it); `lines` is then incomplete and the counter has
  // moved on.
  bool ExpandMacro(int macroIndex, const std::vector<std::string>& callSplit,
                   std::string_view callTag, TAutoLabelCounter& autoLabelCounter,
                   std::vector<std::string>& lines, size_t limit = SIZE_MAX);
};
