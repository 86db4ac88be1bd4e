#include "assembler/literals.h"

#include <gtest/gtest.h>

#include <string>

#include "assembler/assembler_errors.h"
#include "persistence/encoding.h"

namespace {

// CP932 characters whose second byte is a backslash.
const std::string kSo = "\x83\x5C";    // ソ
const std::string kHyou = "\x95\x5C";  // 表

struct TNumberCase {
  std::string Text;
  int32_t Value;
};

void PrintTo(const TNumberCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.Text);
}

class EvalNumberValid : public testing::TestWithParam<TNumberCase> {};

TEST_P(EvalNumberValid, ReadsValue) {
  EXPECT_EQ(EvalNumber(GetParam().Text), GetParam().Value) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    Radixes, EvalNumberValid,
    testing::Values(TNumberCase{"", 0}, TNumberCase{"10", 10}, TNumberCase{"10d", 10},
                    TNumberCase{"10D", 10}, TNumberCase{"10h", 16}, TNumberCase{"0Ah", 10},
                    TNumberCase{"FFh", 255}, TNumberCase{"ffH", 255}, TNumberCase{"1Bh", 27},
                    TNumberCase{"1010b", 10}, TNumberCase{"0x10", 16}, TNumberCase{"0X1f", 31},
                    TNumberCase{"$10", 16}, TNumberCase{"x10", 16}, TNumberCase{"X10", 16},
                    TNumberCase{"-1", -1}, TNumberCase{"+7", 7}, TNumberCase{"-0", 0},
                    TNumberCase{"  12", 12}, TNumberCase{"007", 7}, TNumberCase{"-5d", -5},
                    // Suffix first: B and D at the end are radix marks.
                    TNumberCase{"1B", 1}, TNumberCase{"$1D", 1}, TNumberCase{"b", 0},
                    TNumberCase{"B", 0}, TNumberCase{"1111111111111111b", 65535},
                    // The 32-bit edges: decimal is signed, hexadecimal a bit pattern.
                    TNumberCase{"2147483647", 2147483647}, TNumberCase{"-2147483648", INT32_MIN},
                    TNumberCase{"$7FFFFFFF", INT32_MAX}, TNumberCase{"$FFFFFFFF", -1},
                    TNumberCase{"0x0000000010", 16}, TNumberCase{"FFFFFFFFh", -1}));

INSTANTIATE_TEST_SUITE_P(Decorations, EvalNumberValid,
                         testing::Values(TNumberCase{"#5", 5}, TNumberCase{"@5", 5},
                                         TNumberCase{"[5]", 5}, TNumberCase{"[5", 5},
                                         TNumberCase{"#[10h]", 16}, TNumberCase{"#-1", -1}));

INSTANTIATE_TEST_SUITE_P(
    Characters, EvalNumberValid,
    testing::Values(TNumberCase{"A$", 65}, TNumberCase{"AB$", 65 * 256 + 66},
                    TNumberCase{"\\n$", 10}, TNumberCase{"\\n\\", 10}, TNumberCase{"\\N$", 78},
                    TNumberCase{"\\\\$", 92}, TNumberCase{"\\\\", 92}, TNumberCase{"#A$", 65},
                    // A double-byte character in front of the suffix stays whole.
                    TNumberCase{kSo + "$", 0x835C}, TNumberCase{kSo + "\\", 0x835C},
                    TNumberCase{kHyou + "\\", 0x955C}));

class EvalNumberConvertError : public testing::TestWithParam<std::string> {};

TEST_P(EvalNumberConvertError, Throws) {
  EXPECT_THROW(EvalNumber(GetParam()), EConvertError) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Malformed, EvalNumberConvertError,
                         testing::Values("FF", "$1B", "2b", "0x1B", "12x", "1 2", "5 ", "1.5",
                                         "-$5", "--5", "+", "-", "0x", "$", "x", "h", "d", "#", "@",
                                         "[]", "-5h", "ABC$", "\\", "$G", "0xFG", "LOOP",
                                         "2147483648", "-2147483649", "$100000000", "100000000h",
                                         // The last byte of a double-byte character is no suffix.
                                         kSo, kHyou));

TEST(EvalNumberErrors, TooLongBinaryIsCharsetErrorWithConversionMessage) {
  try {
    EvalNumber("10000000000000001b");
    FAIL() << "17 binary digits were accepted";
  } catch (const EInvaridCharsetError& e) {
    EXPECT_EQ(std::string(e.what()), Sjis("文字列の変換エラー"));
  }
}

TEST(EvalNumberErrors, ConversionMessageIsCp932) {
  try {
    EvalNumber("FF");
    FAIL() << "FF was accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(std::string(e.what()), Sjis("文字列の変換エラー"));
  }
}

struct TCharCase {
  std::string Text;
  int32_t Value;
};

void PrintTo(const TCharCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.Text);
}

class CharLiteral : public testing::TestWithParam<TCharCase> {};

TEST_P(CharLiteral, ReadsValue) {
  EXPECT_EQ(CharLiteralValue(GetParam().Text), GetParam().Value) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Forms, CharLiteral,
                         testing::Values(TCharCase{"\\c", 44}, TCharCase{"\\n", 10},
                                         TCharCase{"\\q", 39}, TCharCase{"\\r", 13},
                                         TCharCase{"\\s", 32}, TCharCase{"\\t", 9},
                                         TCharCase{"\\x", 'x'}, TCharCase{"\\N", 78},
                                         TCharCase{"\\\\", 92}, TCharCase{"\\", 92},
                                         TCharCase{"A", 65}, TCharCase{"\xFF", 255},
                                         TCharCase{"AB", 0x4142}, TCharCase{kSo, 0x835C},
                                         TCharCase{"\xE0\xFC", 0xE0FC}));

TEST(CharLiteral, RejectsEmptyAndLong) {
  EXPECT_THROW(CharLiteralValue(""), EConvertError);
  EXPECT_THROW(CharLiteralValue("ABC"), EConvertError);
}

TEST(BinaryValue, DigitsLimitsAndFailures) {
  EXPECT_EQ(BinaryValue("", 16), 0);
  EXPECT_EQ(BinaryValue("0", 16), 0);
  EXPECT_EQ(BinaryValue("101", 16), 5);
  EXPECT_EQ(BinaryValue("0000000000000001", 16), 1);
  EXPECT_EQ(BinaryValue("11", 2), 3);
  EXPECT_THROW(BinaryValue("111", 2), EInvaridCharsetError);
  EXPECT_THROW(BinaryValue("102", 16), EConvertError);
  EXPECT_THROW(BinaryValue("1 1", 16), EConvertError);
  EXPECT_THROW(BinaryValue("1", -1), EInvaridCharsetError);
}

struct TEscapeCase {
  std::string Chunk;
  std::string Escaped;
};

class EscapeCharForms : public testing::TestWithParam<TEscapeCase> {};

TEST_P(EscapeCharForms, Escapes) {
  EXPECT_EQ(EscapeChar(GetParam().Chunk), GetParam().Escaped);
}

INSTANTIATE_TEST_SUITE_P(Chunks, EscapeCharForms,
                         testing::Values(TEscapeCase{"\t", "\\t"}, TEscapeCase{"\n", "\\n"},
                                         TEscapeCase{"\r", "\\r"}, TEscapeCase{" ", "\\s"},
                                         TEscapeCase{"'", "\\q"}, TEscapeCase{",", "\\c"},
                                         TEscapeCase{"A", "A"}, TEscapeCase{"", ""},
                                         TEscapeCase{"\\n", "\\n"}, TEscapeCase{kSo, kSo}));

struct TExpandCase {
  std::string Text;
  std::string Expanded;
};

void PrintTo(const TExpandCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.Text);
}

class ExpandStringsForms : public testing::TestWithParam<TExpandCase> {};

TEST_P(ExpandStringsForms, Expands) {
  EXPECT_EQ(ExpandStrings(GetParam().Text), GetParam().Expanded) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, ExpandStringsForms,
    testing::Values(TExpandCase{"DW 'A B,C'", "DW \tA\\\t\\s\\\tB\\\t\\c\\\tC\\"},
                    TExpandCase{"'It\\qs'", "\tI\\\tt\\\t\\q\\\ts\\"},
                    TExpandCase{"'a\\nb'", "\ta\\\t\\n\\\tb\\"}, TExpandCase{"';'", "\t;\\"},
                    TExpandCase{"'A','B'", "\tA\\,\tB\\"},
                    // A backslash as the last byte of the content is a chunk by itself.
                    TExpandCase{"'x\\'", "\tx\\\t\\\\"},
                    // Left alone: no string, an empty string (which also ends the
                    // expansion), an apostrophe without partner.
                    TExpandCase{"LD A,B", "LD A,B"}, TExpandCase{"''", "''"},
                    TExpandCase{"DW '', 'A'", "DW '', 'A'"}, TExpandCase{"DW 'A", "DW 'A"},
                    TExpandCase{"'A' 'B", "\tA\\ 'B"},
                    // Double-byte characters are one chunk, even with a 0x5C second byte.
                    TExpandCase{"'" + kSo + "'", "\t" + kSo + "\\"},
                    TExpandCase{"'" + kSo + "A'", "\t" + kSo + "\\\tA\\"},
                    TExpandCase{"'" + kSo + kHyou + "'", "\t" + kSo + "\\\t" + kHyou + "\\"},
                    // A backslash in front of a double-byte character escapes it whole.
                    TExpandCase{"'\\" + kSo + "'", "\t" + kSo + "\\"},
                    // A backslash before a blank, TAB or comma yields that character
                    // without splitting the field.
                    TExpandCase{"'\\ '", "\t\\s\\"}, TExpandCase{"'\\,'", "\t\\c\\"},
                    TExpandCase{"'\\\t'", "\t\\t\\"},
                    // Other control bytes are kept behind a backslash, not trimmed away.
                    TExpandCase{"'\x01'", "\t\\\x01\\"},
                    // So are the bytes that mark an operand when they begin a field.
                    TExpandCase{"'#@['", "\t\\#\\\t\\@\\\t\\[\\"},
                    // A lead byte without its trail byte is closed by "$", which no
                    // trail byte can be (a backslash would pair with it).
                    TExpandCase{"'f\xE9'", "\tf\\\t\xE9$"}, TExpandCase{"'\\\x81',1", "\t\x81$,1"},
                    TExpandCase{"'\xE9 '", "\t\xE9$\t\\s\\"}));

}  // namespace
