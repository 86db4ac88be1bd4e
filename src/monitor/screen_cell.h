// One character cell of the monitor screen and the screen's geometry.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr int kScreenColumns = 64;
inline constexpr int kScreenRows = 48;
inline constexpr int kScreenCellCount = kScreenColumns * kScreenRows;  // 3072
// Cells are square, kCellSize pixels each way.
inline constexpr int kCellSize = 12;
inline constexpr int kScreenWidth = kScreenColumns * kCellSize;  // 768
inline constexpr int kScreenHeight = kScreenRows * kCellSize;    // 576

// Size of a cell in the saved monitor block.
inline constexpr size_t kCellBytes = 16;

// Colours are 0x00BBGGRR.
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kWhite = 0xFFFFFF;

// A cell as written by the program: the code, its colours and direction, and
// the display text computed once when the cell was written, so drawing never
// consults the character table. Held in memory in 16 bytes; the saved form
// (EncodeCell) has its own fixed field order.
struct TScreenCell {
  uint32_t Foreground = kBlack;
  uint32_t Background = kWhite;
  uint16_t Code = 0;
  uint8_t TextLength = 0;  // 0..4 when written here; a loaded block may hold more
  std::array<char, 4> Text{};
  uint8_t Direction = 0;  // 0..3 when written here; a loaded block may hold more

  // The display text, never longer than the 4 stored bytes.
  std::string_view DisplayBytes() const {
    return {Text.data(), std::min<size_t>(TextLength, Text.size())};
  }
  // The direction to draw in (0 left to right, 1 top to bottom, 2 upside
  // down, 3 bottom to top), whatever a loaded block put in the byte.
  int DrawDirection() const { return Direction & 3; }

  bool operator==(const TScreenCell&) const = default;
};
static_assert(sizeof(TScreenCell) == 16);

// A cell showing code in the given colours and direction (its low byte).
TScreenCell MakeCell(uint16_t code, uint32_t foreground, uint32_t background, uint16_t direction);

// The saved form, little-endian: code at 0 (2 bytes), foreground at 2 (4),
// background at 6 (4), text length at 10, text bytes at 11..14, direction
// at 15.
void EncodeCell(const TScreenCell& cell, uint8_t* out);
TScreenCell DecodeCell(const uint8_t* in);
