#include "persistence/compare_text.h"

#include <gtest/gtest.h>

#include <string>

#include "persistence/convert_error.h"
#include "persistence/encoding.h"
#include "persistence/int_text.h"

namespace {

int Sign(int v) {
  return (v > 0) - (v < 0);
}

struct TCompareCase {
  std::string a;
  std::string b;
  int expected;  // sign of CompareText(a, b)
};

TEST(CompareText, FoldsAsciiLettersAndComparesOtherBytesByValue) {
  const TCompareCase cases[] = {
      {"LOOP.*", "loop.*", 0},
      {"Loop", "lOOP", 0},
      {"A", "B", -1},
      {"b", "A", 1},
      {"ab", "abc", -1},
      {"", "", 0},
      {"", "a", -1},
      // Folding to lower case: "^" (5E) and "_" (5F) sort before every letter.
      {"^P", "A", -1},
      {"_X", "z", -1},
      {"[", "a", -1},  // 5B stays below the folded letters
      // Bytes of 0x80 and above compare unsigned, after ASCII.
      {"\xB1", "z", 1},
      {std::string("\x80"), std::string("\x7F"), 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sign(CompareText(c.a, c.b)), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(Sign(CompareText(c.b, c.a)), -c.expected) << c.b << " vs " << c.a;
  }
}

TEST(CompareText, NeverFoldsTheSecondByteOfADoubleByteCharacter) {
  // "ア" is 83 41 and "ヂ" is 83 61: the trail bytes are the codes of "A" and
  // "a", yet the characters differ.
  const std::string a = Sjis("ア");
  const std::string dzi = Sjis("ヂ");
  ASSERT_EQ(a, "\x83\x41");
  ASSERT_EQ(dzi, "\x83\x61");
  EXPECT_LT(CompareText(a, dzi), 0);
  EXPECT_GT(CompareText(dzi, a), 0);
  EXPECT_FALSE(SameText(a + "X", dzi + "X"));
  // A letter after a complete double-byte character is folded again.
  EXPECT_TRUE(SameText(a + "x", a + "X"));
  // Full-width "Ａ" (82 60) and "ａ" (82 81) are different characters.
  EXPECT_NE(CompareText(Sjis("Ａ"), Sjis("ａ")), 0);
  // A half-width katakana byte is a single-byte character: what follows is
  // folded.
  EXPECT_TRUE(
      SameText("\xB1"
               "a",
               "\xB1"
               "A"));
}

TEST(CompareText, ContinuedComparisonKeepsTheStateOfTheBeginning) {
  // Comparing the pieces of two texts cut at the same byte gives the same
  // answer as comparing the whole texts, also when the cut falls inside a
  // double-byte character: the piece after the cut starts with a second
  // byte, which is not folded.
  const std::string a = Sjis("ア") + "Bc";
  const std::string b = Sjis("ヂ") + "bC";
  for (size_t cut = 0; cut <= a.size(); ++cut) {
    const bool trail = cut == 1;
    const int head = CompareTextFrom(a.substr(0, cut), b.substr(0, cut), false);
    const int whole = head != 0 ? head : CompareTextFrom(a.substr(cut), b.substr(cut), trail);
    EXPECT_EQ(Sign(whole), Sign(CompareText(a, b))) << "cut at " << cut;
  }
  EXPECT_NE(CompareTextFrom("\x41", "\x61", true), 0);
  EXPECT_EQ(CompareTextFrom("\x41", "\x61", false), 0);
}

struct TIntCase {
  const char* text;
  bool ok;
  int32_t value;
};

TEST(IntText, ReadsDecimalIntegersAndRefusesEverythingElse) {
  const TIntCase cases[] = {
      {"0", true, 0},
      {"42", true, 42},
      {"-7", true, -7},
      {"+15", true, 15},
      {"  12", true, 12},
      {"\t3", true, 3},
      {"2147483647", true, INT32_MAX},
      {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"12 ", false, 0},
      {"1a", false, 0},
      {"$1F", false, 0},
      {"abc", false, 0},
  };
  for (const auto& c : cases) {
    int32_t value = 12345;
    EXPECT_EQ(TryStrToInt(c.text, value), c.ok) << c.text;
    EXPECT_EQ(value, c.ok ? c.value : 12345) << c.text;
    if (c.ok) {
      EXPECT_EQ(StrToInt(c.text), c.value);
    } else {
      EXPECT_THROW(StrToInt(c.text), EConvertError) << c.text;
    }
  }
}

TEST(IntText, ConversionErrorNamesTheText) {
  try {
    StrToInt("x1");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_NE(std::string(e.what()).find("'x1'"), std::string::npos);
  }
}

}  // namespace
