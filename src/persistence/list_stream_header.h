// The 16-byte header of a string-list stream as it lies in a byte buffer:
// the byte 0x07, the ASCII tag "CSLV100", the text length N (little-endian,
// unsigned 32 bits) and four reserved bytes. The file set's reader, the
// source reader, the state file and the assembler's line restore look at it
// before handing the bytes to the list loader, which is lenient (a missing
// header reads the rest as plain text, a short text gives what is there).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "persistence/memory_stream.h"

inline constexpr std::string_view kListStreamTag{
    "\x07"
    "CSLV100",
    8};
inline constexpr size_t kListStreamHeaderSize = 16;

// Whether a complete header starts at bytes[at]; if so, length is its N.
inline bool ReadListStreamHeader(std::string_view bytes, size_t at, uint32_t& length) {
  if (at > bytes.size() || bytes.size() - at < kListStreamHeaderSize) return false;
  if (bytes.substr(at, kListStreamTag.size()) != kListStreamTag) return false;
  length = 0;
  for (size_t b = 4; b-- > 0;)
    length = (length << 8) | static_cast<unsigned char>(bytes[at + kListStreamTag.size() + b]);
  return true;
}

// Whether a complete headed list, its text included, starts at the stream's
// position.
inline bool CompleteListFollows(const TMemoryStream& stream) {
  uint32_t length = 0;
  if (!ReadListStreamHeader(stream.Bytes(), stream.Position(), length)) return false;
  return stream.Remaining() - kListStreamHeaderSize >= length;
}
