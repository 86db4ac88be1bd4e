// Names the assembler makes for unnamed blocks and "?" macro parameters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "*" and the counter as at least four upper-case hexadecimal digits
// (*0000, *0001, ..., *FFFF, *10000).
std::string FormatAutoLabel(uint32_t counter);

// counter, or one more than the highest number that text holds written as
// an automatic name ("*" and hexadecimal digits in the form FormatAutoLabel
// gives, in either letter case), whichever is greater. Lines that were
// expanded before (restored from a state file) carry the names their
// expansion drew; a counter moved past them never draws one again.
uint32_t CounterPastAutoLabels(std::string_view text, uint32_t counter);
