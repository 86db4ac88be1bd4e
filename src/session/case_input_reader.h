// The "input" list of a case, read into the input log that the run replays:
//   {"step": N, "port": P, "value": V}       IN P reads V from step N on
//   {"key": K, "from": A, "to": B}           key K held for steps A..B-1 ("to"
//                                            left out: held to the end)
//   {"timer": T, "from": A, "every": N}      IN 768 reads T from step A on;
//                                            with "every", one more each N steps
//   {"mouse": {"row": R, "column": C} or "outside",
//    "buttons": ["left", "right", "middle"], "from": A}
//                                            ports 512..515 from step A on
// Keys set the bits of the key rows (ports 256..271). IN 272 then answers
// for the selected key from those rows, unless the script gives events for
// port 272 itself (a recorded log does). A script with keys cannot also give
// events for ports 256..272.
#pragma once

#include "session/case_file.h"
#include "session/case_value_reader.h"

// Fills testCase.Input and testCase.SelectedKeyFromRows; testCase.MaxSteps
// must be set (it bounds "every").
void ReadCaseInput(TCaseValueReader& reader, const TJsonValue& list, TTestCase& testCase);
