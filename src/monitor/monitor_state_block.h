// The monitor's saved state: the screen followed by the input state, one
// block of fixed size with fixed offsets, little-endian. The frame counter
// and the timer are not part of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "monitor/input_model.h"
#include "monitor/screen_model.h"

inline constexpr size_t kMonitorBlockSize = 49514;

// Offsets of the fields in the block.
namespace monitor_block {
inline constexpr size_t kCells = 0;  // 3072 cells of 16 bytes, position order
inline constexpr size_t kWriteColumn = 49152;
inline constexpr size_t kWriteRow = 49154;
inline constexpr size_t kWritePosition = 49156;
inline constexpr size_t kDirection = 49158;
inline constexpr size_t kForeground = 49160;
inline constexpr size_t kBackground = 49164;
inline constexpr size_t kCursorShown = 49168;
inline constexpr size_t kCursorColumn = 49170;
inline constexpr size_t kCursorRow = 49172;
inline constexpr size_t kCursorPosition = 49174;
inline constexpr size_t kCursorMode = 49176;
inline constexpr size_t kMouseColumn = 49178;
inline constexpr size_t kMouseRow = 49182;
inline constexpr size_t kMouseButtons = 49186;
inline constexpr size_t kSelectedKey = 49188;
inline constexpr size_t kReservedA = 49190;  // 4 bytes, written as zero
inline constexpr size_t kKeyboard = 49194;   // 256 bytes
inline constexpr size_t kKeyRows = 49450;    // 16 words
inline constexpr size_t kReservedB = 49482;  // 32 bytes, written as zero
}  // namespace monitor_block

// The block for the given state, exactly kMonitorBlockSize bytes.
std::string EncodeMonitorBlock(const TScreenCells& cells, const TScreenRegisters& screen,
                               const TInputState& input);

// Reads a block of kMonitorBlockSize bytes back into its parts. The reserved
// bytes are not read.
void DecodeMonitorBlock(const uint8_t* block, TScreenCells& cells, TScreenRegisters& screen,
                        TInputState& input);
