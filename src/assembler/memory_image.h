// The memory image of an assembled program: the lines that put words into
// memory, each with the address of its first word.
#pragma once

#include <cstdint>
#include <span>

// One line of a memory image: its words go to Address, Address + 1, ...
// (wrapping at 0x10000) and are tagged with LineIndex in the line map.
struct TImageLine {
  uint16_t Address;
  std::span<const uint16_t> Words;
  int LineIndex;
};
