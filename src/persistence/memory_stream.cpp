#include "persistence/memory_stream.h"

#include <algorithm>
#include <cstring>

size_t TMemoryStream::Read(void* dest, size_t count) {
  const size_t n = std::min(count, Remaining());
  if (n > 0) std::memcpy(dest, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

std::string TMemoryStream::ReadRest() {
  std::string rest = bytes_.substr(position_);
  position_ = bytes_.size();
  return rest;
}

void TMemoryStream::Write(const void* src, size_t count) {
  if (count == 0) return;
  if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
  std::memcpy(bytes_.data() + position_, src, count);
  position_ += count;
}

void TMemoryStream::WriteU16(uint16_t v) {
  const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
  Write(b, 2);
}

void TMemoryStream::WriteU32(uint32_t v) {
  const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                        static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
  Write(b, 4);
}

bool TMemoryStream::ReadU16(uint16_t& v) {
  uint8_t b[2];
  if (!ReadExact(b, 2)) return false;
  v = static_cast<uint16_t>(b[0] | (b[1] << 8));
  return true;
}

bool TMemoryStream::ReadU32(uint32_t& v) {
  uint8_t b[4];
  if (!ReadExact(b, 4)) return false;
  v = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
      (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
  return true;
}

bool TMemoryStream::ReadI32(int32_t& v) {
  uint32_t u;
  if (!ReadU32(u)) return false;
  v = static_cast<int32_t>(u);
  return true;
}
