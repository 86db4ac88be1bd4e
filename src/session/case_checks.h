// Checking a finished run against the expectations of a case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "session/case_file.h"
#include "session/case_result.h"

class TProgramSession;
class TQRXAssembler;

struct TRunFacts {
  bool Halted = false;
  uint64_t Steps = 0;
  uint64_t MaxSteps = 0;
};

// A word of the case file in the program checked: the number, or the value
// of the label (a label of the top level, a qualified name such as
// LOOP.SUB, or a register name); nullopt when the program has no such label.
std::optional<uint16_t> ResolveWord(const TCaseWord& word, const TQRXAssembler& assembler);

// "0034h (52)".
std::string WordText(uint16_t word);

// One result per expectation, in the order halted, steps, registers,
// memory, screen (text, then colours), assembly errors. Halted "any" and
// absent expectations give none.
std::vector<TCheckResult> CheckExpectations(const TExpectations& expect, const TRunFacts& run,
                                            const TProgramSession& session);
