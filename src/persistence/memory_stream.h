// A growable byte buffer with a read/write position. Every block of the
// state file, the string-list streams and the machine and monitor blocks are
// written to and read from one of these; files are read into one whole and
// written from one whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class TMemoryStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

  // Copies up to count bytes from the position into dest and advances the
  // position; returns how many bytes were copied (fewer at the end).
  size_t Read(void* dest, size_t count);
  // Reads exactly count bytes or, when fewer remain, as many as remain;
  // returns true only when all count bytes were read.
  bool ReadExact(void* dest, size_t count) { return Read(dest, count) == count; }
  // The bytes from the position to the end; the position moves to the end.
  std::string ReadRest();

  // Writes count bytes at the position, overwriting or extending the buffer.
  void Write(const void* src, size_t count);
  void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }

  // Little-endian integers.
  void WriteU8(uint8_t v) { Write(&v, 1); }
  void WriteU16(uint16_t v);
  void WriteU32(uint32_t v);
  void WriteI32(int32_t v) { WriteU32(static_cast<uint32_t>(v)); }
  bool ReadU16(uint16_t& v);
  bool ReadU32(uint32_t& v);
  bool ReadI32(int32_t& v);

  size_t Size() const { return bytes_.size(); }
  size_t Position() const { return position_; }
  size_t Remaining() const { return bytes_.size() - position_; }
  // Moves the position; a position past the end is clamped to the end.
  void Seek(size_t position) { position_ = position < bytes_.size() ? position : bytes_.size(); }

  const std::string& Bytes() const { return bytes_; }
  std::string TakeBytes() {
    position_ = 0;
    return std::move(bytes_);
  }

 private:
  std::string bytes_;
  size_t position_ = 0;
};
