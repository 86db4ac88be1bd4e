// Checking one case on one program: a monitor, a program session (with its
// machine) and an execution history of its own for every run, so runs share
// nothing and may go on in parallel.
//
// The source is loaded as the workbench loads it; the memory and register
// settings are written; the history then replays the case's scripted input
// from a fresh start (no live device is ever asked: the frame counter, keys,
// mouse and timer read what the script says, 0 where it says nothing) until
// HALT or the step limit; and the expectations are checked.
#pragma once

#include <string>

#include "session/case_file.h"
#include "session/case_result.h"

// sourceFromCase: source is the case's own, so a source that cannot be
// loaded makes the case broken; a source from the command line that cannot
// be loaded fails the case instead. An empty source (the case names none and
// none was given) makes the case broken.
TCaseResult RunCase(const TTestCase& testCase, const std::string& source, bool sourceFromCase);
