// The parts of a case that name machine words and screen cells: memory and
// register lists (settings before the run and expectations after it) and the
// "expect" object.
#pragma once

#include <string>
#include <vector>

#include "session/case_file.h"
#include "session/case_value_reader.h"

// [{"address": A, "value": V} or {"address": A, "values": [V, ...]}, ...];
// "any" only where anyAllowed.
void ReadMemoryWords(TCaseValueReader& reader, const TJsonValue& list, bool anyAllowed,
                     std::vector<TMemoryWords>& out);
// {"PC": V, "ZF": 1, ...}; register names in capitals.
void ReadRegisterWords(TCaseValueReader& reader, const TJsonValue& object, bool anyAllowed,
                       std::vector<TRegisterWord>& out);
// The "expect" object; wildcard is the CP932 character that stands for any
// screen cell.
void ReadExpectations(TCaseValueReader& reader, const TJsonValue& object,
                      const std::string& wildcard, TExpectations& out);
