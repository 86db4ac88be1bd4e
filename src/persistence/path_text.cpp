#include "persistence/path_text.h"

#include "persistence/encoding.h"

namespace {

bool AllAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string PathNamePart(std::string_view path) {
  const size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string PathFolderPart(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string PathToCp932(std::string_view path) {
  if (AllAscii(path) || !IsValidUtf8(path)) return std::string(path);
  return Utf8ToCp932(path);
}

std::string Cp932ToPath(std::string_view text) {
  if (AllAscii(text)) return std::string(text);
  return Cp932ToUtf8(text);
}
