// The one place where text changes encoding. Inside the system every text is
// a std::string of Shift-JIS (code page 932) bytes; these helpers convert to
// UTF-8 for display and output, and read UTF-8 sources and the program's own
// message literals into CP932.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// True for the bytes that open a double-byte Shift-JIS character.
inline bool IsLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline bool IsLeadByte(char c) {
  return IsLeadByte(static_cast<uint8_t>(c));
}

// CP932 bytes to UTF-8. Bytes that do not decode become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932 bytes. Characters that CP932 lacks become "?".
std::string Utf8ToCp932(std::string_view utf8);

// UTF-8 to CP932 bytes when every character has a CP932 form; nullopt when
// one has none or a sequence is no UTF-8.
std::optional<std::string> Utf8ToCp932Exactly(std::string_view utf8);

// Whether the bytes form valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

// The rule for source files: a file that is valid UTF-8, holds bytes of
// 0x80 or above and has only characters that CP932 has is converted to
// CP932; any other file (ASCII, Shift-JIS, also Shift-JIS that happens to
// be valid UTF-8) is kept byte for byte.
std::string SourceBytesToCp932(std::string bytes);

// Shorthand for the program's own texts, written as UTF-8 literals in the
// code and used as CP932 inside the system.
inline std::string Sjis(std::string_view utf8) {
  return Utf8ToCp932(utf8);
}
