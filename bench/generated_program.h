// A generated program of about the given number of expanded lines with
// procedures, units and USES, labels of every kind, macros with calls, and
// included files already expanded in place (start marker, tagged lines, end
// marker), as the source reader leaves them. The assembly benchmark and the
// view benchmark share it.
#pragma once

#include <string>
#include <vector>

#include "assembler/source_set.h"

namespace generated_program {

// One included part: a procedure with a loop, data and a constant.
inline void AddPart(std::vector<std::string>& lines, int part, int fileIndex) {
  const std::string n = std::to_string(part);
  const std::string name = "part" + n + ".qasm";
  const std::vector<std::string> code = {
      "P" + n + ": PROC ; part " + n,
      ">L" + n + ":  LD V" + n + ",#K" + n,
      "       ADD V" + n + ",[^Q" + n + "]",
      "       INC2 V" + n,
      "       CMP V" + n + ",#100",
      "       JPF ZF,>L" + n,
      "       CALL SQ",
      "       OUT #17,V" + n + "+1",
      "       RET",
      "       ENDPROC",
      "V" + n + ":  DW 0,1,2",
      "^Q" + n + ": DW V" + n,
      "K" + n + "   EQU " + n,
      "; ---- end of part " + n,
  };
  lines.push_back("; INCLUDE [" + name + "] ===>");
  int lineNumber = 1;
  for (const std::string& line : code)
    lines.push_back(line + SourceTag(fileIndex, lineNumber++));
  lines.push_back(";<=== END INCLUDE [" + name + "]" + SourceTag(fileIndex, lineNumber));
}

inline std::vector<std::string> GenerateProgram(size_t targetLines) {
  std::vector<std::string> lines;
  int mainLine = 1;
  const auto main = [&](const std::string& code) {
    lines.push_back(code + SourceTag(1, mainLine++));
  };
  main("INC2: MACRO %R, ?SKIP");
  main("      ADD %R,#2");
  main("?SKIP:  NOP");
  main("      ENDMACRO");
  main("MATH: UNIT");
  main("SQ:   PROC");
  main("      LD T,T");
  main("      RET");
  main("      ENDPROC");
  main("T:    DW 0");
  main("      ENDUNIT");
  main("      USES MATH");
  main("START: CALL P0");
  main("      HALT");
  for (int part = 0; lines.size() < targetLines; ++part) {
    if (part % 500 == 499) {
      // Now and then a unit of its own that uses MATH.
      const std::string u = std::string("U").append(std::to_string(part));
      main(u + ": UNIT");
      main("      USES MATH");
      main(u + "X: LD T,#1");
      main("      ENDUNIT");
    }
    AddPart(lines, part, part + 2);
  }
  return lines;
}

}  // namespace generated_program
