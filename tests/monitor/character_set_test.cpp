#include "monitor/character_set.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "persistence/encoding.h"

namespace {

// The display table as bytes, first byte in the high half; row r holds codes
// 16 * r .. 16 * r + 15. Written out independently of the implementation.
// clang-format off
constexpr uint16_t kExpectedBytes[16][16] = {
    /* 0x00 */ {0x0000, 0x5E41, 0x5E42, 0x5E43, 0x5E44, 0x5E45, 0x5E46, 0x5E47,
                0x5E48, 0x5E49, 0x5E4A, 0x5E4B, 0x5E4C, 0x5E4D, 0x5E4E, 0x5E4F},
    /* 0x10 */ {0x5E50, 0x5E51, 0x5E52, 0x5E53, 0x5E54, 0x5E55, 0x5E56, 0x5E57,
                0x5E58, 0x5E59, 0x5E5A, 0x5E5B, 0x5E5C, 0x5E5D, 0x5E5E, 0x5E5F},
    /* 0x20 */ {0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166,
                0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E},
    /* 0x30 */ {0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256,
                0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148},
    /* 0x40 */ {0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266,
                0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E},
    /* 0x50 */ {0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276,
                0x8277, 0x8278, 0x8279, 0x816D, 0x818F, 0x816E, 0x814F, 0x8151},
    /* 0x60 */ {0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287,
                0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F},
    /* 0x70 */ {0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297,
                0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8160, 0x81A0},
    /* 0x80 */ {0x815F, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0,
                0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0},
    /* 0x90 */ {0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0,
                0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0},
    /* 0xA0 */ {0x8140, 0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340,
                0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362},
    /* 0xB0 */ {0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C,
                0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C},
    /* 0xC0 */ {0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B,
                0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D},
    /* 0xD0 */ {0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,
                0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B},
    /* 0xE0 */ {0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0,
                0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0},
    /* 0xF0 */ {0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0,
                0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0, 0x81A0},
};
// clang-format on

// The printable rows 0x20..0xFF as the characters they show (UTF-8).
const char* const kExpectedChars[14] = {
    /* 0x20 */ "　！”＃＄％＆’（）＊＋，－．／",
    /* 0x30 */ "０１２３４５６７８９：；＜＝＞？",
    /* 0x40 */ "＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ",
    /* 0x50 */ "ＰＱＲＳＴＵＶＷＸＹＺ［￥］＾＿",
    /* 0x60 */ "｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏ",
    /* 0x70 */ "ｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～□",
    /* 0x80 */ "＼□□□□□□□□□□□□□□□",
    /* 0x90 */ "□□□□□□□□□□□□□□□□",
    /* 0xA0 */ "　。「」、・ヲァィゥェォャュョッ",
    /* 0xB0 */ "ーアイウエオカキクケコサシスセソ",
    /* 0xC0 */ "タチツテトナニヌネノハヒフヘホマ",
    /* 0xD0 */ "ミムメモヤユヨラリルレロワン゛゜",
    /* 0xE0 */ "□□□□□□□□□□□□□□□□",
    /* 0xF0 */ "□□□□□□□□□□□□□□□□",
};

// Splits UTF-8 text into its characters.
std::vector<std::string> Utf8Chars(const std::string& text) {
  std::vector<std::string> chars;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    chars.push_back(text.substr(i, len));
    i += len;
  }
  return chars;
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes)
    s.push_back(static_cast<char>(b));
  return s;
}

class CharacterTableRow : public ::testing::TestWithParam<int> {};

TEST_P(CharacterTableRow, EveryEntryHasItsTwoBytes) {
  const int row = GetParam();
  for (int col = 0; col < 16; ++col) {
    const int code = row * 16 + col;
    if (code == 0) continue;
    const uint16_t want = kExpectedBytes[row][col];
    SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << code);
    EXPECT_EQ(DisplayText(static_cast<uint16_t>(code)), Bytes({want >> 8, want & 0xFF}));
  }
}

TEST_P(CharacterTableRow, PrintableEntriesShowTheirCharacter) {
  const int row = GetParam();
  if (row < 2) {
    // Control codes show a caret and the character 0x40 above the code.
    for (int col = 0; col < 16; ++col) {
      const int code = row * 16 + col;
      if (code == 0) continue;
      EXPECT_EQ(DisplayText(static_cast<uint16_t>(code)), Bytes({'^', code + 0x40}))
          << "code " << code;
    }
    return;
  }
  const std::vector<std::string> chars = Utf8Chars(kExpectedChars[row - 2]);
  ASSERT_EQ(chars.size(), 16u);
  for (int col = 0; col < 16; ++col) {
    const int code = row * 16 + col;
    EXPECT_EQ(Cp932ToUtf8(DisplayText(static_cast<uint16_t>(code))), chars[col])
        << "code 0x" << std::hex << code;
  }
}

INSTANTIATE_TEST_SUITE_P(AllRows, CharacterTableRow, ::testing::Range(0, 16));

TEST(DisplayText, CodeZeroShowsNothing) {
  EXPECT_EQ(DisplayText(0), "");
}

struct TWideCase {
  uint16_t code;
  std::string bytes;
};

class DisplayTextWide : public ::testing::TestWithParam<TWideCase> {};

TEST_P(DisplayTextWide, IsTheHighByteThenTheLowByte) {
  EXPECT_EQ(DisplayText(GetParam().code), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DisplayTextWide,
    ::testing::Values(TWideCase{0x82A0, Bytes({0x82, 0xA0})},  // hiragana a
                      TWideCase{0x4142, "AB"},                 // two single-byte characters
                      TWideCase{0x0100, Bytes({0x01, 0x00})},  // a zero low byte is kept
                      TWideCase{0xFFFF, Bytes({0xFF, 0xFF})},
                      TWideCase{0x889F, Bytes({0x88, 0x9F})}));

TEST(DisplayText, SampleCharactersReadAsExpected) {
  EXPECT_EQ(DisplayText(0x41), Sjis("Ａ"));
  EXPECT_EQ(DisplayText(0x0D), "^M");
  EXPECT_EQ(DisplayText(0x82A0), Sjis("あ"));
  EXPECT_EQ(DisplayText(0x5C), Sjis("￥"));
  EXPECT_EQ(DisplayText(0x80), Sjis("＼"));
  for (uint16_t code : {0x7F, 0x81, 0xFF})
    EXPECT_EQ(DisplayText(code), Sjis("□"));
}

}  // namespace
