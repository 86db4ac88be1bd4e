// TKwList: the label table. It holds every name an operand can refer to:
// the six register names, stored bare, and every label the assembly driver
// defines, stored under its label key (name + scope path, see label_key.h).
// Each entry owns one TKwValues.
//
// The table is sorted and compares keys without regard to letter case; a
// key that is already present (in any case) cannot be defined again.
//
// Lookups never build a key as a string. Every key a name can resolve to
// begins with the name, and those keys stand together in the sorted table:
// FindLabel finds that run once (one binary search, then a gallop over the
// run, which is short as a rule), and then searches each candidate scope
// path by binary search within the run, comparing only the text after the
// name.
//
// Resolving a name in an operand (FindLabel) tries, first hit winning:
//   1. name + CurrentScope, then name + each enclosing path out to ".*";
//   2. for each unit named in CurrentUses, in list order: name + the unit's
//      scope path as the unit table gives it (a unit the table does not know
//      is skipped);
//   3. the bare name (this finds the registers).
// A qualified name such as LOOP.SUB.MAIN therefore reaches the key
// "LOOP.SUB.MAIN.*" from anywhere, and LOOP.P reaches LOOP inside the block P
// of a used unit.
//
// Records handed out as const references cannot be changed by the caller;
// EmptyRecord in particular stays all zero. Writable access to a record goes
// through DefineLabel's result, FindRecord, or Record(index).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "assembler/label_record.h"
#include "persistence/record_string_list.h"

class TKwList : public TRecordStringList<TKwValues> {
 public:
  // The table starts out holding the six registers (ResetLabels).
  TKwList();

  // Deletes every entry with its record, then enters PC = -1, SP = -2,
  // VF = -3, SF = -4, ZF = -5, CF = -6 (0xFFFF down to 0xFFFA), bare.
  void ResetLabels();

  // Inserts key with a fresh record whose Value is the low 16 bits of value,
  // and returns that record so the caller can set DefLine and ValueOnly.
  // A key with a character outside the label key set raises
  // EInvaridCharsetError ("ラベルに使えない文字があります"); a key already
  // present, compared without regard to case, raises EStringListError
  // ("文字列が重複しています"). A failure leaves the table unchanged.
  TKwValues& DefineLabel(std::string key, int32_t value);

  // The 16-bit value of an operand text in CurrentScope:
  //  - "#" or "@" in front is dropped; "[...]" is an indirect operand: both
  //    brackets are dropped and the inner text may not begin with "#" or "@"
  //    nor be a bare register name (EInvaridParamTypeError, "[]内で使えない
  //    ラベル"); an inner text beginning with "^" is fine. A "[" without a
  //    closing "]" (a "]" of its own, not the second byte of a double-byte
  //    character) makes the operand malformed: EConvertError.
  //  - the part from the last "+" or "-" on is an offset, read as a literal
  //    with its sign; the part before it is the name. A sign and a
  //    hexadecimal prefix do not go together, so "X+10h", "X+$10" and
  //    "X+0x10" fail; offsets are decimal. "-5" is an offset alone: its
  //    empty name is looked up nowhere and counts 0, so it gives 0xFFFB.
  //  - the name is resolved by FindLabel; a value-only constant referenced
  //    without "#" raises EValueOnlyError ("ValueOnlyなのに#から始まってない").
  //    A name that is no label is read as a literal; one that is neither
  //    raises EConvertError.
  //  - an operand with no value text at all ("", "#", "@", "[]", and also
  //    "#[]") raises EConvertError rather than reading as 0: it comes from an
  //    empty field such as the middle one of "LD A,,B".
  // The result is (value + offset) reduced to 16 bits.
  uint16_t EvaluateOperand(std::string_view text) const;

  // The index of the entry the name resolves to (see above), or -1.
  int FindLabel(std::string_view name) const;

  // The record at index, or EmptyRecord when the index is outside the table.
  const TKwValues& RecordAt(int index) const;
  // The record of exactly this key (in any case), or EmptyRecord.
  const TKwValues& RecordOf(std::string_view key) const;
  // The record of exactly this key, writable, or nullptr when absent.
  TKwValues* FindRecord(std::string_view key);
  // The all-zero record returned for absent entries.
  const TKwValues& EmptyRecord() const { return empty_; }

  // Kind bits of the entry at index (label_record.h), 0 outside the table.
  // The first rule that applies gives the kind: the keys "PC" and "SP"
  // (exact case) are pointers; "VF", "ZF", "SF", "CF" variables; then a
  // value-only record is an immediate; then by the first character: a
  // letter or "_" variable, "^" pointer, ">" line label, "*" automatic.
  // kindSelected is added when the record is selected.
  uint16_t LabelKinds(int index) const;

  // The assembler's unit table: entries "NAME=scope path", the top level
  // "*=.*". Not owned; may be null (no units).
  const TCustomStringList* Units() const { return units_; }
  void SetUnits(const TCustomStringList* units) { units_ = units; }
  // The USES list (unit names) of the unit around the line being evaluated.
  // Not owned; null stands for an empty list.
  const TCustomStringList* CurrentUses() const { return currentUses_; }
  void SetCurrentUses(const TCustomStringList* uses) { currentUses_ = uses; }
  // The scope path of the line being evaluated; empty at creation.
  const std::string& CurrentScope() const { return currentScope_; }
  void SetCurrentScope(std::string_view scope) { currentScope_.assign(scope); }

  // The scope path the unit table gives for a unit name (compared without
  // regard to case), or an empty text when it has no such unit. The text
  // lives in the unit table's entry.
  std::string_view UnitScope(std::string_view unitName) const;

 private:
  // The label table is always sorted, case-insensitive and refuses
  // duplicates; these settings are not for callers to change.
  using TCustomStringList::SetCaseSensitive;
  using TCustomStringList::SetDuplicates;
  using TCustomStringList::SetSorted;

  const TKwValues empty_{};
  const TCustomStringList* units_ = nullptr;
  const TCustomStringList* currentUses_ = nullptr;
  std::string currentScope_;
};
