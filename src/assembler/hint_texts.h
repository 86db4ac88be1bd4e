// The sentences of the hints, in the style of the assembler's messages:
// what the line does now, then what to write if something else was meant.
// Names and operands are CP932 as written; the results are CP932.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// How an instruction uses one of its operands.
enum class TOperandUse {
  Read,   // a value it reads
  Store,  // the place it writes its result to
  Jump,   // the target of JP, JPF, JPT, CALL
  Data,   // a DW value
};

// Why a name or number reads as something other than it looks.
enum class TNumberLook {
  LetterName,     // a name that is no label, read as a literal ("B", "x1F")
  BinarySuffix,   // digits and B: binary ("0B" is 0)
  DecimalSuffix,  // digits and D: decimal ("0D" is 0)
};

std::string DirectNumberText(std::string_view operand, uint16_t address);
// number: the name's own value; address: the operand's word (offset added).
std::string NumberLikeNameText(std::string_view name, int32_t number, TNumberLook look,
                               TOperandUse use, bool direct, uint16_t address);
std::string FallIntoProcText(std::string_view procName, bool atStart);
std::string FallIntoIncludeText(std::string_view fileName, bool atStart);
std::string UnclosedBlockText(std::string_view blockName, bool isProc);
std::string ReturnWithoutCallText(bool insideProc);
std::string WriteIntoCodeText(std::string_view operand, uint16_t address);
