// The rule groups behind CollectHints; each appends the hints it finds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "assembler/hints.h"

class THintProgram;
class THintLayout;

// DirectNumber, NumberLikeName and WriteIntoCode, operand by operand.
void AddOperandHints(const THintProgram& program, std::vector<TAsmHint>& hints);
// FallIntoProc, FallIntoInclude and ReturnWithoutCall, from the paths that
// execution takes from address 0.
void AddFlowHints(const THintProgram& program, const THintLayout& layout,
                  std::vector<TAsmHint>& hints);
// UnclosedBlock.
void AddBlockHints(const THintProgram& program, const THintLayout& layout,
                   std::vector<TAsmHint>& hints);

// Instructions that store their result through operand 1 (LD, ADD, IN,
// POP ...), and those whose operand 1 is a jump target (JP, JPF, JPT, CALL).
bool StoresThroughFirst(std::string_view mnemonic);
bool JumpsThroughFirst(std::string_view mnemonic);

// A hint placed at line's own file and line number.
TAsmHint HintAtLine(const THintProgram& program, int line, THintKind kind, std::string text);
