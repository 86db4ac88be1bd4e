#include "session/case_value_reader.h"

#include <algorithm>
#include <stdexcept>

#include "assembler/literals.h"
#include "persistence/encoding.h"

using TKind = TJsonValue::TKind;

namespace {

std::string Quoted(std::string_view utf8) {
  return Sjis("\"") + Utf8ToCp932(utf8) + Sjis("\"");
}

std::string KeyList(std::initializer_list<std::string_view> keys) {
  std::string list;
  for (std::string_view key : keys) {
    if (!list.empty()) list += ", ";
    list += key;
  }
  return list;
}

// A string the assembler reads as a number rather than a name.
bool LooksLikeLiteral(std::string_view text) {
  const char first = text.front();
  return (first >= '0' && first <= '9') || first == '$' || first == '-' || text.back() == '$';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void TCaseValueReader::Problem(const TJsonPosition& where, std::string message) {
  problems_.push_back({where, std::move(message)});
}

bool TCaseValueReader::Expect(const TJsonValue& v, TKind kind) {
  if (v.Kind == kind) return true;
  Problem(v.Position, JsonKindName(kind) + Sjis(" を書きます (") + JsonKindName(v.Kind) +
                          Sjis(" が書かれています)"));
  return false;
}

bool TCaseValueReader::Object(const TJsonValue& v, std::initializer_list<std::string_view> keys) {
  if (!Expect(v, TKind::Object)) return false;
  for (size_t i = 0; i < v.Members.size(); ++i) {
    const TJsonMember& member = v.Members[i];
    if (std::find(keys.begin(), keys.end(), member.Key) == keys.end()) {
      Problem(member.KeyPosition, Sjis("知らないキー ") + Quoted(member.Key) +
                                      Sjis(" です (使えるキー: ") + KeyList(keys) + ")");
      continue;
    }
    for (size_t j = 0; j < i; ++j) {
      if (v.Members[j].Key == member.Key) {
        Problem(member.KeyPosition, Sjis("キー ") + Quoted(member.Key) + Sjis(" が2回あります"));
        break;
      }
    }
  }
  return true;
}

bool TCaseValueReader::Array(const TJsonValue& v) {
  return Expect(v, TKind::Array);
}

const TJsonValue* TCaseValueReader::Member(const TJsonValue& object, std::string_view key) {
  for (const TJsonMember& member : object.Members)
    if (member.Key == key) return &member.Value;
  return nullptr;
}

const TJsonValue* TCaseValueReader::Required(const TJsonValue& object, std::string_view key) {
  const TJsonValue* value = Member(object, key);
  if (value == nullptr)
    Problem(object.Position, Sjis("キー \"") + std::string(key) + Sjis("\" がありません"));
  return value;
}

bool TCaseValueReader::Integer(const TJsonValue& v, int64_t min, int64_t max, int64_t& out) {
  if (!Expect(v, TKind::Number)) return false;
  if (!v.IsInteger || v.Integer < min || v.Integer > max) {
    Problem(v.Position, Sjis("整数 ") + std::to_string(min) + Sjis("～") + std::to_string(max) +
                            Sjis(" を書きます"));
    return false;
  }
  out = v.Integer;
  return true;
}

bool TCaseValueReader::Steps(const TJsonValue& v, uint64_t& out) {
  int64_t steps = 0;
  if (!Integer(v, 0, INT64_MAX, steps)) return false;
  out = static_cast<uint64_t>(steps);
  return true;
}

bool TCaseValueReader::Text(const TJsonValue& v, std::string& out) {
  if (!Expect(v, TKind::String)) return false;
  if (v.Text.empty()) {
    Problem(v.Position, Sjis("空の文字列です"));
    return false;
  }
  std::string cp932 = Utf8ToCp932(v.Text);
  if (Cp932ToUtf8(cp932) != v.Text) {
    Problem(v.Position, Sjis("シフトJIS (CP932) で表せない文字があります"));
    return false;
  }
  out = std::move(cp932);
  return true;
}

bool TCaseValueReader::Word(const TJsonValue& v, bool anyAllowed, bool labelAllowed,
                            TCaseWord& out) {
  out = TCaseWord();
  out.Position = v.Position;
  if (v.Kind == TKind::Number) {
    int64_t number = 0;
    if (!Integer(v, -32768, 65535, number)) return false;
    out.Number = static_cast<uint16_t>(number);
    return true;
  }
  if (v.Kind != TKind::String) {
    Problem(v.Position,
            Sjis("数値か文字列を書きます (") + JsonKindName(v.Kind) + Sjis(" が書かれています)"));
    return false;
  }
  if (v.Text == "any") {
    if (anyAllowed) {
      out.Any = true;
      return true;
    }
    Problem(v.Position, Sjis("ここには \"any\" は書けません"));
    return false;
  }
  std::string text;
  if (!Text(v, text)) return false;
  if (LooksLikeLiteral(text)) {
    try {
      out.Number = static_cast<uint16_t>(EvalNumber(text));
      return true;
    } catch (const std::runtime_error&) {
      Problem(v.Position, Sjis("数値として読めません: ") + text);
      return false;
    }
  }
  if (!labelAllowed) {
    Problem(v.Position, Sjis("数値を書きます (ラベルは使えません): ") + text);
    return false;
  }
  out.Label = std::move(text);
  return true;
}

bool TCaseValueReader::Address(const TJsonValue& v, TCaseWord& out) {
  if (v.Kind == TKind::Number) {
    int64_t address = 0;
    if (!Integer(v, 0, 0xFFFF, address)) return false;
    out = TCaseWord();
    out.Number = static_cast<uint16_t>(address);
    out.Position = v.Position;
    return true;
  }
  return Word(v, false, true, out);
}

bool TCaseValueReader::Colour(const TJsonValue& v, uint32_t& out) {
  if (!Expect(v, TKind::String)) return false;
  const std::string& text = v.Text;
  bool ok = text.size() == 7 && text[0] == '#';
  uint32_t rgb = 0;
  for (size_t i = 1; ok && i < text.size(); ++i) {
    const int digit = HexDigit(text[i]);
    ok = digit >= 0;
    rgb = rgb * 16 + static_cast<uint32_t>(digit);
  }
  if (!ok) {
    Problem(v.Position,
            Sjis("色は \"#RRGGBB\" (16進で赤・緑・青) と書きます: ") + Utf8ToCp932(text));
    return false;
  }
  // #RRGGBB to the machine's 0x00BBGGRR.
  out = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
  return true;
}
