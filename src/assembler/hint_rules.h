// The rule groups behind CollectHints; each appends the hints it finds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "assembler/asm_line.h"
#include "assembler/hints.h"
#include "machine/opcode_table.h"

class THintProgram;
class THintLayout;

// DirectNumber, NumberLikeName and WriteIntoCode, operand by operand, as
// the lines come in.
class TOperandHints {
 public:
  explicit TOperandHints(const THintProgram& program) : program_(program) {}
  // Looks at line i after the program has taken it in.
  void AddLine(int i);
  // Appends the hints found. Stores are judged here, when it is known for
  // every word whether it belongs to an instruction.
  void Finish(std::vector<TAsmHint>& hints);

 private:
  struct TStore {
    int Line;
    int Operand;
    uint16_t Address;
  };
  void CheckOperand(int i, const TAsmLine& line, int k);

  const THintProgram& program_;
  std::vector<TAsmHint> hints_;
  std::vector<TStore> stores_;
};

// FallIntoProc, FallIntoInclude and ReturnWithoutCall, from the paths that
// execution takes from address 0.
void AddFlowHints(const THintProgram& program, const THintLayout& layout,
                  std::vector<TAsmHint>& hints);
// UnclosedBlock.
void AddBlockHints(const THintProgram& program, const THintLayout& layout,
                   std::vector<TAsmHint>& hints);

// The opcode of an instruction line: its instruction word without the mode
// nibble.
inline uint16_t OpcodeOf(const TAsmLine& line) {
  return static_cast<uint16_t>(line.Words[0] & 0xFFF0);
}
// The opcode of an instruction, from the instruction table.
constexpr uint16_t OpcodeNamed(std::string_view mnemonic) {
  return FindOpcode(mnemonic)->Opcode;
}
// Instructions that store their result through operand 1 (LD, ADD, IN,
// POP ...), and those whose operand 1 is a jump target (JP, JPF, JPT, CALL).
bool StoresThroughFirst(uint16_t opcode);
bool JumpsThroughFirst(uint16_t opcode);

// A hint placed at line's own file and line number.
TAsmHint HintAtLine(const THintProgram& program, int line, THintKind kind, std::string text);
