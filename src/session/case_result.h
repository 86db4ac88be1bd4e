// What checking one case on one program found. Texts are CP932.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "session/json_tree.h"

enum class TCheckKind {
  Halted,
  Steps,
  Register,
  Memory,
  ScreenText,
  Foreground,
  Background,
  AssemblyErrors,
};

struct TCheckResult {
  TCheckKind Kind = TCheckKind::Halted;
  // What was checked: "停止", "PC", "メモリ 0100h", "画面 10 行 8 桁"...
  std::string What;
  bool Passed = false;
  // As the case file asked and as the run left it. For screen text the
  // texts themselves: the expected one as written, the cells as they show.
  std::string Expected;
  std::string Actual;
  // Where a failed check differs, when more can be said ("12 桁目から違います").
  std::string Note;
};

enum class TCaseStatus {
  Passed,
  // The program was checked and something differs, or it could not be
  // loaded from a source named on the command line.
  Failed,
  // The case itself is wrong: a problem in the case file, or its own
  // source cannot be loaded. Nothing was checked.
  Broken,
};

struct TCaseResult {
  std::string Name;
  // The source as it was given (a path, not converted).
  std::string Source;
  TCaseStatus Status = TCaseStatus::Failed;
  // Why the case is broken or the program did not run, and for a broken
  // case the place in the case file.
  std::string Problem;
  std::optional<TJsonPosition> ProblemPosition;

  bool Ran = false;
  bool Halted = false;
  // Instructions the run executed (HALT included).
  uint64_t Steps = 0;
  uint64_t MaxSteps = 0;
  bool StepLimitReached() const { return Ran && !Halted && Steps >= MaxSteps; }

  // Every expectation, in the order halted, steps, registers, memory,
  // screen, assembly errors.
  std::vector<TCheckResult> Checks;
};

// The first difference of a result that did not pass, as one line: the
// problem (without its place), or the first failed check, "画面 10 行 8 桁:
// 期待「...」、実際「...」 (9 桁目から違います)". Empty for a passed case.
std::string FirstDifference(const TCaseResult& result);
