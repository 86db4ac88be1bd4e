// Hints: mistakes that assemble without an error but rarely do what the
// learner meant, found in a program that assembled cleanly. They are a
// separate list beside the listing; collecting them changes nothing in the
// assembler (records, labels, listing, error count).
//
// Each kind is chosen so that it does not fire on correct programs:
//  - DirectNumber: an operand that is read as a memory word although it is a
//    plain number ("LD X, 0" reads the word at address 0; "#0" is the number);
//  - NumberLikeName: a name that is no label anywhere and that the literal
//    rules read as a number ("B" is binary 0, "x1F" hexadecimal), or a short
//    number whose last digit B or D is read as a radix suffix ("0D" is 0,
//    not 0Dh);
//  - FallIntoProc: the program starts inside a PROC, or the instruction
//    before a PROC runs on into it, and from there a RET is reached without
//    any CALL;
//  - FallIntoInclude: the same for the code of an included file (an
//    INCLUDE placed before the main program);
//  - UnclosedBlock: a PROC or UNIT whose ENDPROC / ENDUNIT is missing at the
//    end of the file it was opened in;
//  - ReturnWithoutCall: a RET that the program reaches from its start
//    without a CALL, not explained by one of the two fall-in hints;
//  - WriteIntoCode: an instruction stores through a direct operand into a
//    word that holds one of the program's instructions.
#pragma once

#include <string>
#include <vector>

class TQRXAssembler;

enum class THintKind {
  DirectNumber,
  NumberLikeName,
  FallIntoProc,
  FallIntoInclude,
  UnclosedBlock,
  ReturnWithoutCall,
  WriteIntoCode,
};

struct TAsmHint {
  THintKind Kind = THintKind::DirectNumber;
  // The line of the expanded source the hint is about (for the INCLUDE
  // hints, the include start marker that replaced the INCLUDE line).
  int LineIndex = 0;
  // Where the learner finds it: the file-set index and the line number in
  // that file (from 1). For a line of a macro expansion, the call's place.
  int FileIndex = -1;
  int LineNumber = 0;
  // What was probably meant, one Japanese sentence or two (CP932).
  std::string Text;
};

// The hints of the last assembly, ordered by LineIndex (several on one line
// in the order of the kinds above). Empty when the assembly had errors or
// the assembler holds no assembled lines.
std::vector<TAsmHint> CollectHints(const TQRXAssembler& assembler);
