// The string-list stream of TCustomStringList (tag "CSLV100").
#include <algorithm>
#include <cstring>
#include <limits>

#include "persistence/custom_string_list.h"
#include "persistence/encoding.h"
#include "persistence/list_stream_header.h"
#include "persistence/memory_stream.h"
#include "persistence/string_list_error.h"

void TCustomStringList::SaveToStream(TMemoryStream& stream) const {
  const std::string text = Text();
  if (text.size() > std::numeric_limits<uint32_t>::max()) {
    throw EStringListError(Sjis("リストが大きすぎて保存できません"));
  }
  stream.Write(kListStreamTag);
  stream.WriteU32(static_cast<uint32_t>(text.size()));
  stream.WriteU32(0);
  stream.Write(text);
}

void TCustomStringList::LoadFromStream(TMemoryStream& stream) {
  const size_t start = stream.Position();
  const std::string_view rest = std::string_view(stream.Bytes()).substr(start);
  std::string text;
  if (rest.starts_with(kListStreamTag)) {
    // A header cut short carries no text; a text cut short gives the bytes
    // that are there. Never read past the end, whatever N claims.
    uint32_t length = 0;
    if (ReadListStreamHeader(stream.Bytes(), start, length)) {
      stream.Seek(start + kListStreamHeaderSize);
      text.resize(std::min<size_t>(length, stream.Remaining()));
      stream.Read(text.data(), text.size());
    } else {
      stream.Seek(stream.Size());
    }
  } else {
    text = stream.ReadRest();
  }
  try {
    SetText(text);
  } catch (...) {
    stream.Seek(start);
    throw;
  }
}
