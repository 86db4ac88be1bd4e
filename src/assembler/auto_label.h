// Names the assembler makes for unnamed blocks and "?" macro parameters.
#pragma once

#include <cstdint>
#include <string>

// "*" and the counter as at least four upper-case hexadecimal digits
// (*0000, *0001, ..., *FFFF, *10000).
std::string FormatAutoLabel(uint32_t counter);
