// The checks every part of a case file shares: objects with known keys,
// integers in a range, words, texts and colours. Each failed check adds a
// problem with the place of the value at fault and returns false; the
// caller goes on with the next value, so one reading reports every problem.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "session/case_file.h"
#include "session/json_tree.h"

class TCaseValueReader {
 public:
  explicit TCaseValueReader(std::vector<TCaseFileProblem>& problems) : problems_(problems) {}

  void Problem(const TJsonPosition& where, std::string message);
  size_t ProblemCount() const { return problems_.size(); }

  // An object whose keys all are among keys; an unknown or repeated key is
  // a problem (the other keys are still read). False only when v is no
  // object.
  bool Object(const TJsonValue& v, std::initializer_list<std::string_view> keys);
  bool Array(const TJsonValue& v);
  // The member of an object, or nullptr.
  static const TJsonValue* Member(const TJsonValue& object, std::string_view key);
  // The same for a member that must be there: its absence is a problem at
  // the object.
  const TJsonValue* Required(const TJsonValue& object, std::string_view key);

  bool Integer(const TJsonValue& v, int64_t min, int64_t max, int64_t& out);
  // A step number or count: an integer from 0 up.
  bool Steps(const TJsonValue& v, uint64_t& out);
  // A string that CP932 can hold, as CP932; empty strings are refused.
  bool Text(const TJsonValue& v, std::string& out);
  // A word: an integer (-32768..65535, kept as 16 bits), a string beginning
  // with a digit or ending in "$" read as an assembler literal, "any" when
  // allowed, and, when labels are allowed, any other string as a label.
  bool Word(const TJsonValue& v, bool anyAllowed, bool labelAllowed, TCaseWord& out);
  // An address: as Word without "any", numbers 0..65535 only.
  bool Address(const TJsonValue& v, TCaseWord& out);
  // "#RRGGBB" as 0x00BBGGRR.
  bool Colour(const TJsonValue& v, uint32_t& out);

 private:
  bool Expect(const TJsonValue& v, TJsonValue::TKind kind);

  std::vector<TCaseFileProblem>& problems_;
};
