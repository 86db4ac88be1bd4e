// What one assembly found.
#pragma once

struct TAssemblyResult {
  // The errors the macro pre-pass and the passes counted: 0 exactly when no
  // line ended with an error, greater than 0 otherwise (a line may count
  // more than once).
  int Tally = 0;
  // The number of lines that ended with an error.
  int ErrorLines = 0;

  bool Clean() const { return Tally == 0; }
};
