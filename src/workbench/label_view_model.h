// TLabelViewModel: the rows of the label view, that is, which labels of the
// assembler's label table the view shows and in which order. It keeps the
// view's filter mask and its sort setting; the view draws what Rows holds.
//
// Label filter mask (16 bits): bit 0 (0x001) shows only the registers and
// the selected labels; the other bits are the label kinds of
// TKwList::LabelKinds (0x002 variable, 0x004 line label, 0x010 pointer,
// 0x040 immediate, 0x100 automatic; 0x080 stands for a selected label).
// Bit 5 (0x020) is carried in the mask but changes nothing here.
//
// The rows point at label records, which every Assemble replaces: once the
// assembler has assembled again, Rows is empty until the next Build.
#pragma once

#include <cstdint>

#include "assembler/label_record.h"
#include "persistence/ref_string_list.h"

class TQRXAssembler;

// The label filter bits that Build tests against the label kinds:
// variable, line label, pointer, immediate, automatic.
inline constexpr uint16_t kLabelViewKindMask = 0x156;

// Rows of the label view: label key + the label's record (not owned).
using TLabelViewRows = TRefStringList<TKwValues>;

class TLabelViewModel {
 public:
  // Shows the six registers (built with the mask 0), sorting off. The
  // assembler must outlive the model.
  explicit TLabelViewModel(TQRXAssembler& assembler);
  TLabelViewModel(const TLabelViewModel&) = delete;
  TLabelViewModel& operator=(const TLabelViewModel&) = delete;

  // The rows as the last Build (and sort) left them; see the note above on
  // assembling.
  const TLabelViewRows& Rows() const;
  // The mask of the last Build.
  uint16_t Filter() const { return filter_; }
  // Whether the rows are kept sorted.
  bool Sorted() const { return sorted_; }

  // Rebuilds the rows from the label table in table order and remembers
  // mask in Filter. A label in a hidden unit is left out; the registers and
  // selected labels are always taken; other labels only when bit 0 of the
  // mask is clear and their kinds share a bit with mask & 0x156. Sorts the
  // rows when Sorted.
  void Build(uint16_t mask);
  // Sorts the rows by key without regard to case, a value-only constant's
  // key read with "#" in front, then moves PC, SP, VF, SF, ZF, CF to rows 0
  // to 5 (those present).
  void Sort();
  // Switching on sorts the current rows; switching off rebuilds them in
  // table order with Filter. Nothing happens when flag is unchanged.
  void SetSorted(bool flag);

 private:
  TQRXAssembler& assembler_;
  // Emptied by Rows when the assembler assembled after the last Build.
  mutable TLabelViewRows rows_;
  uint64_t builtAfter_ = 0;  // the assembler's AssemblyCount at the last Build
  uint16_t filter_ = 0;
  bool sorted_ = false;
};
