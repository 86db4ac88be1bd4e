// The input log as a text file, one event a line, written for people as well
// as for the tool (lines end with CR LF; LF alone is read too):
//
//   QRX-INPUT-LOG 1
//   # a '#' starts a comment, anywhere on a line
//   memory HASH              (optional) MemoryHash of the memory at the start
//   in STEP PORT VALUE       from instruction STEP on, IN from PORT reads VALUE
//   set STEP ADDRESS VALUE   VALUE written to ADDRESS after STEP instructions
//   end STEPS                the run covered STEPS instructions
//   end                      (instead) no fixed length: run until HALT
//
// Steps count instructions from the start of the history (0-based for "in").
// Numbers are decimal, or hexadecimal with "0x". PORT must be an input port
// (21, 256..511, 512..515, 768); VALUE and ADDRESS lie in 0..65535. The
// steps of the "in" lines never go down, nor those of the "set" lines; "in"
// steps lie below the end and "set" steps at or below it. The "end" line is
// the last line and ends with a line break, so a file cut short is noticed.
// The memory line, at most one, lets a replay refuse a log that was recorded
// with another program.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "session/input_log.h"

struct TInputLogFile {
  TInputLog Log;
  // The number of instructions the logged run covered; none for "end" alone.
  std::optional<uint64_t> EndStep;
  // MemoryHash of the memory when the run started, when the file says.
  std::optional<uint32_t> StartMemory;
};

// FNV-1a (32 bits) over the words as little-endian bytes.
uint32_t MemoryHash(std::span<const uint16_t> words);

// The text of a log; edits come before the input events of the same step,
// as they happened.
std::string InputLogText(const TInputLog& log, std::optional<uint64_t> endStep,
                         std::optional<uint32_t> startMemory = std::nullopt);

// Reads a log text. All or nothing: on failure out is left as it was and
// error holds a CP932 message that names the line at fault.
bool ReadInputLogText(std::string_view text, TInputLogFile& out, std::string& error);

// The same through files. Saving goes through a temporary file and a
// rename; errors are CP932 and name the file.
bool SaveInputLogFile(const std::string& path, const TInputLog& log,
                      std::optional<uint64_t> endStep, std::optional<uint32_t> startMemory,
                      std::string& error);
bool LoadInputLogFile(const std::string& path, TInputLogFile& out, std::string& error);
