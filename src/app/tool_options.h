// The command line of the qrx tool:
//   qrx asm SOURCE [--listing] [--labels] [--hints] [--machine-code FILE]
//   qrx run FILE [--max-steps N] [--regs] [--dump START[:COUNT]] [--screen]
//               [--save-state FILE] [--record LOG] [--replay LOG] [--back K]
//   qrx test CASES [SOURCE...] [--jobs N] [--json REPORT]
//   qrx --help        qrx --version
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class TToolCommand { Help, Version, Asm, Run, Test };

struct TToolOptions {
  TToolCommand Command = TToolCommand::Help;
  // The program: a source or a state file.
  std::string File;
  // asm
  bool Listing = false;
  bool Labels = false;
  bool Hints = false;
  std::optional<std::string> MachineCodePath;
  // run
  std::optional<uint64_t> MaxSteps;
  bool Regs = false;
  bool Screen = false;
  bool Dump = false;
  uint16_t DumpStart = 0;
  uint32_t DumpCount = 16;
  std::optional<std::string> SaveStatePath;
  // The input log to write, the one to read IN from, and how many
  // instructions to go back before the reports.
  std::optional<std::string> RecordPath;
  std::optional<std::string> ReplayPath;
  std::optional<uint64_t> BackSteps;
  // test
  std::string CaseFile;
  std::vector<std::string> Sources;
  std::optional<unsigned> Jobs;
  std::optional<std::string> JsonReportPath;
};

// Exit status of a usage error.
inline constexpr int kExitUsage = 64;
// The most worker threads qrx test takes.
inline constexpr unsigned kMaxJobs = 256;

// The usage text (UTF-8), ending in a line break.
const char* UsageText();

// Reads the arguments after the program name. Returns false with a UTF-8
// error text for anything that is not a valid command line.
bool ParseToolOptions(const std::vector<std::string>& args, TToolOptions& options,
                      std::string& error);
