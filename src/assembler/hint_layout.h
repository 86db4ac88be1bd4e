// The block and file structure of an assembled program, as the hint rules
// need it: which PROC holds a line, which included file, where an INCLUDE
// line stood, and which blocks are left open at the end of their file.
//
// Blocks are told from the scope paths: a PROC or UNIT line opens a block
// when its scope differs from the line before it, an ENDPROC or ENDUNIT
// line closes one likewise (a macro-definition line never changes the
// scope). Included files are told from the start and end markers that
// replaced their INCLUDE lines.
#pragma once

#include <string>
#include <vector>

class THintProgram;

// A place in the learner's files: file-set index and line number from 1.
struct TSourcePlace {
  int FileIndex = -1;
  int LineNumber = 0;
};

// The lines of one included file: from its start marker to its end marker.
struct TIncludeSpan {
  int Start = 0;
  int End = 0;
  std::string FileName;  // without folder, CP932
};

// An opening PROC or UNIT line and the line that closes it.
struct TBlockSpan {
  int Open = 0;
  int Close = 0;  // the line count when the block is never closed
  bool IsProc = true;
};

class THintLayout {
 public:
  explicit THintLayout(const THintProgram& program);

  // Takes in line i after the program has; every line once, in order.
  void AddLine(int i);
  // After the last line: the blocks still open are left open.
  void Finish();

  // The opening line of the innermost PROC around line, or -1.
  int ProcAround(int line) const { return procAroundLine_[static_cast<size_t>(line)]; }
  // Whether line belongs to an included file (its markers included).
  bool InsideInclude(int line) const { return insideInclude_[static_cast<size_t>(line)] != 0; }
  // The first PROC opened after line `after` that still holds `line`, or -1:
  // the PROC that execution enters when it goes on from `after` to `line`.
  int ProcEntered(int after, int line) const;
  // Likewise for an included file; nullptr when none.
  const TIncludeSpan* IncludeEntered(int after, int line) const;
  // Where the INCLUDE line stood that the span replaced.
  TSourcePlace IncludePlace(const TIncludeSpan& span) const;
  // The blocks whose end is not in the file they were opened in, by
  // opening line.
  const std::vector<int>& UnclosedBlocks() const { return unclosed_; }
  // The number of lines that have an error.
  int ErrorLineCount() const { return errorLines_; }
  // Whether the block opened at line is a PROC (else a UNIT).
  bool IsProcLine(int line) const;

 private:
  void CloseInclude(int endLine);
  void MarkUnclosed(int openLine);

  const THintProgram& program_;
  std::vector<int> procAroundLine_;
  std::vector<char> insideInclude_;
  std::vector<TBlockSpan> blocks_;      // by opening line
  std::vector<TIncludeSpan> includes_;  // by start marker, once sorted
  std::vector<int> unclosed_;
  int errorLines_ = 0;
  // While the lines come in.
  std::vector<int> openBlocks_;                       // indices into blocks_
  std::vector<std::pair<int, size_t>> openIncludes_;  // span index, open blocks then
  int procAround_ = -1;
  const std::string* previousScope_ = nullptr;
  std::string name_;
};

// Whether the line text is an include start marker; its file name into name.
bool IsIncludeStartMarker(const std::string& text, std::string& name);
// Whether the line text is an include end marker.
bool IsIncludeEndMarker(const std::string& text);
