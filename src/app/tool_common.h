// What the commands of the qrx tool share: loading a program the way the
// workbench does, reporting the outcome, and text output.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "persistence/int_text.h"
#include "session/load_result.h"

class TProgramSession;

// Exit status when the program could not be loaded (or a file not written).
inline constexpr int kExitLoadFailure = 2;

// What a command writes after a load that took the program (IsLoaded),
// before the load's message line.
using TAfterLoad = std::function<void(const TProgramSession& session)>;

// Loads path into the session and reports the outcome on stderr: the
// message-line text without its leading blank, and for a reading failure the
// system's message too. Every unit is made visible and the listing rebuilt.
// Returns the load result.
TLoadResult LoadProgram(TProgramSession& session, const std::string& path,
                        const TAfterLoad& afterLoad = {});

// CP932 text as UTF-8 for output.
std::string OutputText(std::string_view cp932);

// Writes bytes to stdout / a CP932 message line (converted) to stderr.
void WriteOut(std::string_view bytes);
void WriteErrorLine(std::string_view cp932);
// Writes UTF-8 lines to stderr as they are.
void WriteDiagnostics(std::string_view utf8);
