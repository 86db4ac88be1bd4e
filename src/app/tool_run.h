// qrx run: load a program, run it, then print what was asked for.
#pragma once

#include <cstdint>
#include <string>

#include "app/tool_options.h"

class TQRXEmulater;
class TMonitorModel;

// "PC=%04X SP=%04X VF=%04X SF=%04X ZF=%04X CF=%04X STEPS=%llu" and a line
// break.
std::string RegistersOutput(const TQRXEmulater& machine);

// count words from start in lines of up to 16, "AAAA: WWWW WWWW ...",
// addresses wrapping at 0x10000.
std::string DumpOutput(const TQRXEmulater& machine, uint16_t start, uint32_t count);

// The 48 screen rows as UTF-8: each cell's display text, an empty one as
// U+3000, with trailing U+3000 and blanks removed from every row.
std::string ScreenOutput(const TMonitorModel& monitor);

// Runs the command; returns the exit status (0 halted, 1 stopped by the
// step limit or the end of a replayed log, 2 load or write failure, the
// replayed log's included).
int RunRunCommand(const TToolOptions& options);
