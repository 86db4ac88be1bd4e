// qrx test: check programs against a case file.
#pragma once

#include "app/tool_options.h"

// Exit status when the case file is broken (or the report not written).
inline constexpr int kExitBrokenCaseFile = 2;

// Runs the command; returns the exit status: 0 every case passed, 1 a case
// failed, 2 the case file is broken.
int RunTestCommand(const TToolOptions& options);
