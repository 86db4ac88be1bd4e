// A JSON document as a tree whose every value and key knows where it stands
// in the text (line and column, both from 1; columns count characters), so
// that a reader of the tree can name the place of anything it refuses.
//
// The text is read by nlohmann/json's SAX parser with comments allowed
// ("// ..." and "/* ... */"). Strings stay UTF-8 as written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TJsonPosition {
  int Line = 1;
  int Column = 1;
  bool operator==(const TJsonPosition&) const = default;
};

// The line and column of a byte offset of text (an offset at the end gives
// the place just after the last character).
TJsonPosition PositionOf(std::string_view text, size_t offset);

struct TJsonMember;

struct TJsonValue {
  enum class TKind { Null, Boolean, Number, String, Array, Object };

  TKind Kind = TKind::Null;
  // Where the value begins.
  TJsonPosition Position;
  bool Boolean = false;
  // Numbers: IsInteger when the number is written without fraction or
  // exponent and fits 64 signed bits; Integer then holds it.
  bool IsInteger = false;
  int64_t Integer = 0;
  std::string Text;  // strings (UTF-8)
  std::vector<TJsonValue> Items;
  std::vector<TJsonMember> Members;  // in the order written, duplicates kept
};

struct TJsonMember {
  std::string Key;
  TJsonPosition KeyPosition;
  TJsonValue Value;
};

struct TJsonError {
  TJsonPosition Position;
  // CP932.
  std::string Message;
};

// Objects and arrays may nest this deep; deeper text is refused.
inline constexpr int kMaxJsonDepth = 64;

// Reads a whole JSON text. On failure returns false with the place and the
// reason; root then holds what was read before the failure.
bool ReadJsonTree(std::string_view text, TJsonValue& root, TJsonError& error);

// A short name of a value's kind for messages (CP932): "文字列", "数値"...
std::string JsonKindName(TJsonValue::TKind kind);
