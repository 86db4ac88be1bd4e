// A case file: the cases that check a program, each with the source to
// load, a step limit, scripted input, settings made before the run and what
// is expected after it. Read from JSON (comments allowed):
//
//   {
//     "max_steps": 1000000,            // default for every case (10,000,000)
//     "wildcard": "?",                 // stands for any one screen cell
//     "cases": [{
//       "name": "greets",
//       "source": "../hello.qasm",      // from the case file's folder
//       "max_steps": 5000,
//       "input": [
//         {"step": 100, "port": 21, "value": 1},        // IN 21 reads 1 from step 100
//         {"key": "Space", "from": 2000, "to": 2500},   // held for steps 2000..2499
//         {"timer": 0, "from": 0, "every": 1000},       // counts up every 1000 steps
//         {"mouse": {"row": 5, "column": 9}, "buttons": ["left"], "from": 3000}
//       ],
//       "memory": [{"address": "DATA", "values": [3, 1, 2]}],
//       "registers": {"PC": 16},
//       "expect": {
//         "halted": true,                               // the default; false or "any"
//         "steps": {"min": 100, "max": 200},            // or one number
//         "registers": {"PC": "0034h", "ZF": 1},
//         "memory": [{"address": "DATA", "values": [1, 2, "any"]}],
//         "screen": [{"row": 10, "column": 8, "text": "Hello, QRX!",
//                     "foreground": "#FFE000", "background": "#000000"}],
//         "assembly_errors": []                         // or the lines: [12, "lib.qasm:3"]
//       }
//     }]
//   }
//
// Steps count instructions from the start of the run, the first being step
// 0. Words are numbers, strings in the assembler's literal forms ("0FFh",
// "A$") or label names of the program checked ("DATA", "LOOP.SUB").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "session/input_log.h"
#include "session/json_tree.h"

// The step limit of a case that gives none, nor the file.
inline constexpr uint64_t kDefaultMaxSteps = 10'000'000;
// Scripted input may hold at most this many events ("every" makes many).
inline constexpr size_t kMaxScriptedEvents = 1'000'000;

// A word of a case file: a number, a label of the program checked, or (in
// expectations) "any".
struct TCaseWord {
  std::optional<uint16_t> Number;
  std::string Label;  // CP932
  bool Any = false;
  TJsonPosition Position;
};

// Words at an address: one ("value") or a run of them ("values").
struct TMemoryWords {
  TCaseWord Address;
  std::vector<TCaseWord> Values;
  bool Run = false;  // written as "values"
  TJsonPosition Position;
};

struct TRegisterWord {
  std::string Name;  // as the register is called: PC, SP, VF, SF, ZF, CF
  uint16_t Address = 0;
  TCaseWord Value;
};

// One expected screen character: the folded CP932 bytes of one character
// (screen_match.h), or nullopt for the wildcard.
using TExpectedChar = std::optional<std::string>;

struct TScreenExpectation {
  int Row = 0;
  int Column = 0;
  // A text is to be checked (without one, the colours are those of one
  // cell).
  bool HasText = false;
  // Written without "column": the text is the whole row, every cell after it
  // blank (an empty text: a blank row).
  bool WholeRow = false;
  std::vector<TExpectedChar> Text;
  std::string TextAsWritten;           // CP932
  std::optional<uint32_t> Foreground;  // 0x00BBGGRR
  std::optional<uint32_t> Background;
  TJsonPosition Position;
};

// A line with an assembly error: of the main source (File empty) or of an
// included file named without its folder.
struct TErrorLine {
  std::string File;  // CP932
  int Line = 0;
  bool operator<(const TErrorLine& other) const {
    return File != other.File ? File < other.File : Line < other.Line;
  }
  bool operator==(const TErrorLine&) const = default;
};

enum class THaltExpectation { Halted, Running, Either };

struct TStepRange {
  uint64_t Min = 0;
  uint64_t Max = 0;
};

struct TExpectations {
  THaltExpectation Halt = THaltExpectation::Halted;
  std::optional<TStepRange> Steps;
  std::vector<TRegisterWord> Registers;
  std::vector<TMemoryWords> Memory;
  std::vector<TScreenExpectation> Screen;
  std::optional<std::vector<TErrorLine>> AssemblyErrors;  // sorted
};

// Something wrong in a case file, with its place.
struct TCaseFileProblem {
  TJsonPosition Position;
  std::string Message;  // CP932
};

struct TTestCase {
  // CP932; "ケース N" when the case has no usable name.
  std::string Name;
  // 1 for the first case of the file.
  int Number = 0;
  // Where the case begins in the file.
  TJsonPosition Position;
  // The source to load, resolved against the case file's folder; empty
  // when the case names none.
  std::string Source;
  TJsonPosition SourcePosition;
  uint64_t MaxSteps = kDefaultMaxSteps;
  // Scripted input as the replayed input log: events sorted by step.
  TInputLog Input;
  // IN 272 answers for the selected key from the scripted key rows; false
  // when the script gives events for port 272 itself.
  bool SelectedKeyFromRows = true;
  std::vector<TMemoryWords> MemorySettings;
  std::vector<TRegisterWord> RegisterSettings;
  TExpectations Expect;
  // Not empty: the case is broken and does not run.
  std::vector<TCaseFileProblem> Problems;

  bool Broken() const { return !Problems.empty(); }
};

struct TCaseFile {
  std::string Path;
  std::vector<TTestCase> Cases;
  // Problems outside any case (a top-level key, the wildcard). The cases
  // still run.
  std::vector<TCaseFileProblem> Problems;
};

// Reads a case file from its text; relative sources are taken from folder.
// Returns false with the problem when nothing can be run (malformed JSON, no
// list of cases); problems within a case only mark that case broken.
bool ParseCaseFile(std::string_view text, const std::string& folder, TCaseFile& out,
                   TCaseFileProblem& fatal);

// The same from a file; a file that cannot be read is a fatal problem at
// line 1, column 1.
bool ReadCaseFile(const std::string& path, TCaseFile& out, TCaseFileProblem& fatal);
