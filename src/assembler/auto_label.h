// Names the assembler makes for unnamed blocks and "?" macro parameters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The counter of automatic names. The move-past rule below never takes it
// beyond 0x100000000, and no assembly draws anywhere near 2^64 names, so
// the counter never wraps round to a name it gave before.
using TAutoLabelCounter = uint64_t;

// "*" and the counter as at least four upper-case hexadecimal digits
// (*0000, *0001, ..., *FFFF, *10000).
std::string FormatAutoLabel(TAutoLabelCounter counter);

// counter, or one more than the number of `label` when the label is an
// automatic name (the whole label: "*" and four to eight hexadecimal digits
// in the form FormatAutoLabel gives, in either letter case) whose number is
// counter or above.
TAutoLabelCounter CounterPastAutoLabel(std::string_view label, TAutoLabelCounter counter);
