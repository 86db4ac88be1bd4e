#include "persistence/encoding.h"

#include <iconv.h>

#include <cerrno>
#include <utility>

namespace {

bool IsTrailByte(uint8_t b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The bytes of the character that failed to convert at the start of rest:
// a lead byte takes its trail byte along only when one follows, and a UTF-8
// start byte only the continuation bytes that follow it, so the character
// after a broken one is never swallowed.
size_t SkipLength(std::string_view rest, bool inputIsUtf8) {
  const auto b = static_cast<uint8_t>(rest[0]);
  if (!inputIsUtf8) {
    return IsLeadByte(b) && rest.size() >= 2 && IsTrailByte(static_cast<uint8_t>(rest[1])) ? 2 : 1;
  }
  const size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
  size_t skip = 1;
  while (skip < length && skip < rest.size() && (static_cast<uint8_t>(rest[skip]) & 0xC0) == 0x80)
    ++skip;
  return skip;
}

// Converts with iconv. An input sequence that does not convert is written
// as `replacement` and skipped (SkipLength); without a replacement the
// whole conversion fails instead (nullopt), as it does when iconv does not
// know the encodings.
std::optional<std::string> Convert(std::string_view in, const char* to, const char* from,
                                   std::optional<std::string_view> replacement, bool inputIsUtf8) {
  std::string out;
  if (in.empty()) return out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  out.reserve(in.size() * 2);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char buffer[4096];
  bool failed = false;
  while (srcLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, dst - buffer);
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: replace one character and go on, or give up.
    if (!replacement) {
      failed = true;
      break;
    }
    out.append(*replacement);
    const size_t skip = SkipLength(std::string_view(src, srcLeft), inputIsUtf8);
    src += skip;
    srcLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  char* dst = buffer;
  size_t dstLeft = sizeof buffer;
  iconv(cd, nullptr, nullptr, &dst, &dstLeft);
  out.append(buffer, dst - buffer);
  iconv_close(cd);
  if (failed) return std::nullopt;
  return out;
}

bool AllAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<uint8_t>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  if (AllAscii(cp932)) return std::string(cp932);
  return Convert(cp932, "UTF-8", "CP932", "\xEF\xBF\xBD", false).value_or(std::string(cp932));
}

std::string Utf8ToCp932(std::string_view utf8) {
  if (AllAscii(utf8)) return std::string(utf8);
  return Convert(utf8, "CP932", "UTF-8", "?", true).value_or(std::string(utf8));
}

std::optional<std::string> Utf8ToCp932Exactly(std::string_view utf8) {
  if (AllAscii(utf8)) return std::string(utf8);
  return Convert(utf8, "CP932", "UTF-8", std::nullopt, true);
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const auto b = static_cast<uint8_t>(s[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    size_t len;
    uint32_t cp;
    if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      const auto c = static_cast<uint8_t>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

std::string SourceBytesToCp932(std::string bytes) {
  if (AllAscii(bytes) || !IsValidUtf8(bytes)) return bytes;
  // Shift-JIS text can be valid UTF-8 by chance (half-width katakana such
  // as C3 BD); such text nearly always holds a character CP932 lacks, and
  // converting it would lose the learner's text.
  std::optional<std::string> converted = Utf8ToCp932Exactly(bytes);
  return converted ? std::move(*converted) : bytes;
}
