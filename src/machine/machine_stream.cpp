// The machine's block of a state file: Memory, then LineMap, each 65,536
// little-endian words. The counters and decode fields are not part of it.
#include <string>

#include "machine/machine.h"
#include "persistence/memory_stream.h"

namespace {

using TWords = std::array<uint16_t, TQRXEmulater::kWords>;

void PutWords(const TWords& words, char* out) {
  for (uint16_t w : words) {
    *out++ = static_cast<char>(w & 0xFF);
    *out++ = static_cast<char>(w >> 8);
  }
}

void GetWords(const char* in, TWords& words) {
  for (uint16_t& w : words) {
    const auto lo = static_cast<uint8_t>(in[0]);
    const auto hi = static_cast<uint8_t>(in[1]);
    w = static_cast<uint16_t>(lo | (hi << 8));
    in += 2;
  }
}

}  // namespace

void TQRXEmulater::SaveToStream(TMemoryStream& stream) const {
  std::string block(2 * kBlockBytes, '\0');
  PutWords(Memory, block.data());
  PutWords(LineMap, block.data() + kBlockBytes);
  stream.Write(block);
}

int TQRXEmulater::LoadFromStream(TMemoryStream& stream) {
  // Read the whole block aside first, so a cut-short stream leaves the
  // machine and the stream position exactly as they were.
  const size_t start = stream.Position();
  std::string block(2 * kBlockBytes, '\0');
  if (!stream.ReadExact(block.data(), block.size())) {
    stream.Seek(start);
    return -1;
  }
  GetWords(block.data(), Memory);
  GetWords(block.data() + kBlockBytes, LineMap);
  return 0;
}
