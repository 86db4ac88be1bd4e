// The encoding helpers: conversion both ways, what becomes of bytes that do
// not convert (the character after a broken one must survive), and the
// UTF-8 test that decides whether a source is converted.
#include "persistence/encoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

struct TConversion {
  const char* what;
  std::string from;
  std::string to;
};

TEST(Encoding, Cp932ToUtf8ReplacesOnlyTheBytesThatDoNotDecode) {
  const std::string r = kReplacement;
  const std::vector<TConversion> cases = {
      {"ASCII stays", "LD A,B", "LD A,B"},
      {"hiragana", "\x82\xA0\x82\xA2", "\xE3\x81\x82\xE3\x81\x84"},
      {"half-width katakana", "\xB1", "\xEF\xBD\xB1"},
      {"lead byte before a blank keeps the blank", "\x81 X", r + " X"},
      {"lead byte at the end", "A\x81", "A" + r},
      {"lead byte before a line feed", "\x9F\nB", r + "\nB"},
      {"undefined double-byte code is one character", "\x85\x40Z", r + "Z"},
      {"bytes that never start a character", "\xFD\xFE\xFFR", r + r + r + "R"},
      {"DEL after a lead byte", "\x82\x7F\x82\xA0", r + "\x7F\xE3\x81\x82"},
  };
  for (const TConversion& c : cases)
    EXPECT_EQ(Cp932ToUtf8(c.from), c.to) << c.what;
}

TEST(Encoding, Utf8ToCp932ReplacesOnlyTheCharactersItCannotWrite) {
  const std::vector<TConversion> cases = {
      {"ASCII stays", "HALT", "HALT"},
      {"kana and kanji", "\xE3\x81\x82\xE6\xBC\xA2", "\x82\xA0\x8A\xBF"},
      {"a character CP932 lacks",
       "a\xF0\x9F\x98\x80"
       "b",
       "a?b"},
      {"a start byte without its continuation",
       "a\xC3"
       "b",
       "a?b"},
      {"a three-byte start cut short",
       "a\xE3\x81"
       "b",
       "a?b"},
      {"a stray continuation byte",
       "a\x80"
       "b",
       "a?b"},
      {"broken at the very end", "ab\xE3", "ab?"},
  };
  for (const TConversion& c : cases)
    EXPECT_EQ(Utf8ToCp932(c.from), c.to) << c.what;
}

TEST(Encoding, TextSurvivesTheRoundTripThroughUtf8) {
  const std::string text = Sjis("ラベル:  DW  'あいう', 0 ; 全角のコメント");
  EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(text)), text);
  EXPECT_EQ(Sjis("命令が不正です"), "\x96\xBD\x97\xDF\x82\xAA\x95\x73\x90\xB3\x82\xC5\x82\xB7");
}

TEST(Encoding, IsValidUtf8AcceptsExactlyWellFormedText) {
  struct TCase {
    const char* what;
    std::string bytes;
    bool valid;
  };
  const std::vector<TCase> cases = {
      {"empty", "", true},
      {"ASCII", "abc", true},
      {"two, three and four bytes", "\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80", true},
      {"highest code point", "\xF4\x8F\xBF\xBF", true},
      {"past U+10FFFF", "\xF4\x90\x80\x80", false},
      {"overlong two bytes", "\xC0\xAF", false},
      {"overlong three bytes", "\xE0\x80\xAF", false},
      {"overlong four bytes", "\xF0\x80\x80\xAF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"cut short", "\xE3\x81", false},
      {"continuation missing", "\xE3\x41\x82", false},
      {"stray continuation", "\x80", false},
      {"Shift-JIS text", "\x82\xA0\x82\xA2", false},
      {"start bytes F5 and above", "\xF5\x80\x80\x80", false},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.what;
}

TEST(Encoding, SourcesAreConvertedOnlyWhenTheyAreUtf8) {
  EXPECT_EQ(SourceBytesToCp932("NOP\r\n"), "NOP\r\n");
  EXPECT_EQ(SourceBytesToCp932("DW '\xE3\x81\x82'"), "DW '\x82\xA0'");
  // Shift-JIS stays byte for byte, also where it happens to hold UTF-8-like
  // pairs next to invalid ones.
  EXPECT_EQ(SourceBytesToCp932("DW '\x82\xA0'"), "DW '\x82\xA0'");
  EXPECT_EQ(SourceBytesToCp932("\xC3\xA9\x82"), "\xC3\xA9\x82");
}

// Shift-JIS that happens to be valid UTF-8: half-width katakana pair up
// into two-byte UTF-8 sequences. ﾃｽ (C3 BD) reads as "ý", which CP932 lacks,
// so the text is kept as it is; converting it would turn it into "?".
TEST(Encoding, ShiftJisThatLooksLikeUtf8IsKeptWhenCp932LacksACharacter) {
  const struct {
    const char* what;
    std::string bytes;
    std::string read;
  } cases[] = {
      {"half-width katakana ﾃｽ", "DW '\xC3\xBD'", "DW '\xC3\xBD'"},
      {"one missing character among many", "; \xE3\x81\x82\xE3\x81\x84 \xC3\xBD",
       "; \xE3\x81\x82\xE3\x81\x84 \xC3\xBD"},
      {"every character in CP932", "; \xE3\x81\x82\xCE\xB1", Sjis("; あα")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SourceBytesToCp932(c.bytes), c.read) << c.what;
  EXPECT_EQ(Utf8ToCp932Exactly("\xC3\xBD"), std::nullopt);
  EXPECT_EQ(Utf8ToCp932Exactly("A\xE3\x81\x82"), std::optional<std::string>("A\x82\xA0"));
  EXPECT_EQ(Utf8ToCp932Exactly("\xC3"), std::nullopt);  // cut short: no UTF-8
}

TEST(Encoding, LeadBytesAreTheDoubleByteRanges) {
  int leads = 0;
  for (int b = 0; b < 256; ++b)
    leads += IsLeadByte(static_cast<uint8_t>(b)) ? 1 : 0;
  EXPECT_EQ(leads, 31 + 29);  // 0x81..0x9F and 0xE0..0xFC
  EXPECT_FALSE(IsLeadByte('\x80'));
  EXPECT_FALSE(IsLeadByte('\xA0'));
  EXPECT_FALSE(IsLeadByte('\xDF'));
  EXPECT_FALSE(IsLeadByte('\xFD'));
  EXPECT_TRUE(IsLeadByte('\x81'));
  EXPECT_TRUE(IsLeadByte('\xFC'));
}

}  // namespace
