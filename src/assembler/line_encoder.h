// Checking an instruction line against the opcode table and building its
// instruction word.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "assembler/asm_line.h"

// The eight directives; they produce no instruction word.
inline constexpr std::array<std::string_view, 8> DirectiveTable = {
    "DW", "USES", "EQU", "PROC", "ENDPROC", "UNIT", "ENDUNIT", "PROGRAM"};

// Addressing modes as they go into the mode nibble.
inline constexpr int kModeImmediate = 1;
inline constexpr int kModeDirect = 2;
inline constexpr int kModeIndirect = 3;

// Whether an upper-case mnemonic is a directive.
bool IsDirectiveName(std::string_view upperMnemonic);

// The addressing mode by the operand's first byte: "#" or "@" immediate,
// "[" indirect, anything else direct. An empty operand (written as two
// commas in a row) is direct; its value is the evaluator's business.
int OperandMode(std::string_view operand);

// 0 for a line without mnemonic or for a directive (then IsDirective is
// set), -1 for an unknown mnemonic, -2 for a wrong number of fields, -5 for
// a first operand in a mode the instruction does not allow, or else the
// instruction word (0 to 65535), which is also stored in Words[0]. Operand
// words are left to the caller.
int32_t EncodeLine(TAsmLine& line);
