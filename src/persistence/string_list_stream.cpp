// The string-list stream of TCustomStringList (tag "CSLV100").
#include <algorithm>
#include <cstring>
#include <limits>

#include "persistence/custom_string_list.h"
#include "persistence/encoding.h"
#include "persistence/memory_stream.h"
#include "persistence/string_list_error.h"

namespace {

constexpr size_t kHeaderSize = 16;
constexpr char kTag[] =
    "\x07"
    "CSLV100";  // length byte and tag, 8 bytes
constexpr size_t kTagSize = 8;

uint32_t ReadLittleEndian32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

void TCustomStringList::SaveToStream(TMemoryStream& stream) const {
  const std::string text = Text();
  if (text.size() > std::numeric_limits<uint32_t>::max()) {
    throw EStringListError(Sjis("リストが大きすぎて保存できません"));
  }
  stream.Write(kTag, kTagSize);
  stream.WriteU32(static_cast<uint32_t>(text.size()));
  stream.WriteU32(0);
  stream.Write(text);
}

void TCustomStringList::LoadFromStream(TMemoryStream& stream) {
  const size_t start = stream.Position();
  unsigned char header[kHeaderSize];
  const size_t got = stream.Read(header, kHeaderSize);
  std::string text;
  if (got >= kTagSize && std::memcmp(header, kTag, kTagSize) == 0) {
    // A header cut short carries no text; a text cut short gives the bytes
    // that are there. Never read past the end, whatever N claims.
    const uint32_t length = got >= 12 ? ReadLittleEndian32(header + 8) : 0;
    if (got == kHeaderSize) {
      text.resize(std::min<size_t>(length, stream.Remaining()));
      stream.Read(text.data(), text.size());
    }
  } else {
    stream.Seek(start);
    text = stream.ReadRest();
  }
  try {
    SetText(text);
  } catch (...) {
    stream.Seek(start);
    throw;
  }
}
