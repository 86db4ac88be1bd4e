#include "assembler/macro_line_split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assembler/text_replace.h"

namespace {

const std::string kTag =
    ";/\x1B"
    "1\x1B"
    "4";

struct TSplitCase {
  std::string Text;
  std::vector<std::string> Split;
};

void PrintTo(const TSplitCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.Text);
}

class SplitMacroLineForms : public testing::TestWithParam<TSplitCase> {};

TEST_P(SplitMacroLineForms, SplitsAndAgreesOnTheKeyword) {
  const TSplitCase& c = GetParam();
  EXPECT_EQ(SplitMacroLine(c.Text), c.Split);
  EXPECT_EQ(std::string(MacroLineKeyword(c.Text)), c.Split[1]);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitMacroLineForms,
    testing::Values(
        // Header with comment and tag; the comment is dropped.
        TSplitCase{"ADD2: MACRO %A, %B, ?L ; add" + kTag, {"ADD2", "MACRO", "%A", "%B", "?L"}},
        // Indented lines split like unindented ones.
        TSplitCase{"   NAME:\tmacro  %X" + kTag, {"NAME", "macro", "%X"}},
        TSplitCase{"\t  ENDMACRO" + kTag, {"", "ENDMACRO"}},
        TSplitCase{"  LD A,B", {"", "LD", "A", "B"}},
        // Empty statement, comment only, label only: one empty field.
        TSplitCase{"", {"", ""}}, TSplitCase{kTag, {"", ""}}, TSplitCase{"L:" + kTag, {"L", ""}},
        // Quotes hide delimiters, colons and semicolons.
        TSplitCase{"FOO 'a b,c', ';' ;x", {"", "FOO", "'a b,c'", "';'"}},
        TSplitCase{"FOO 'it:s' X", {"", "FOO", "'it:s'", "X"}},
        TSplitCase{"FOO 'open ;" + kTag, {"", "FOO", "'open ;" + kTag}},
        // Only the first colon ends the label.
        TSplitCase{"X: Y: Z", {"X", "Y:", "Z"}},
        // Delimiter runs: a comma right after a cut is dropped once.
        TSplitCase{"A, ,B", {"", "A", "B"}}, TSplitCase{"A , B", {"", "A", "B"}},
        TSplitCase{"A,\t,B", {"", "A", "B"}}, TSplitCase{"A,,B", {"", "A", "B"}},
        TSplitCase{"A,,,B", {"", "A", "", "B"}}, TSplitCase{"FOO 1,", {"", "FOO", "1", ""}},
        // Only a comma behind a cut is dropped, not one that opens the statement.
        TSplitCase{",X", {"", "", "X"}},
        // Double-byte characters stay whole (表示 = 95 5C 8E A6, 文字, ソ, 全角空白).
        TSplitCase{"\x95\x5C\x8E\xA6: MACRO %\x95\xB6\x8E\x9A",
                   {"\x95\x5C\x8E\xA6", "MACRO", "%\x95\xB6\x8E\x9A"}},
        TSplitCase{"MSG \x83\x5C\x81\x40X,Y", {"", "MSG", "\x83\x5C\x81\x40X", "Y"}},
        // A lead byte in front of a byte that cannot follow it stands alone.
        TSplitCase{"A \x83 B", {"", "A", "\x83", "B"}}));

struct TReplaceCase {
  std::string Text;
  std::string Pattern;
  std::string Replacement;
  std::string Result;
};

void PrintTo(const TReplaceCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.Text) << " / " << testing::PrintToString(c.Pattern);
}

class ReplaceIgnoringCase : public testing::TestWithParam<TReplaceCase> {};

TEST_P(ReplaceIgnoringCase, Replaces) {
  const TReplaceCase& c = GetParam();
  EXPECT_EQ(ReplaceTextIgnoreCase(c.Text, c.Pattern, c.Replacement), c.Result);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReplaceIgnoringCase,
    testing::Values(TReplaceCase{"LD A,%a ; %A", "%A", "5", "LD A,5 ; 5"},
                    TReplaceCase{"JP %AB", "%A", "X", "JP XB"},
                    // Left to right, no overlaps, inserted text not searched again.
                    TReplaceCase{"aaa", "AA", "b", "ba"},
                    TReplaceCase{"%A.%a", "%A", "%A%a", "%A%a.%A%a"},
                    TReplaceCase{"abc", "", "x", "abc"}, TReplaceCase{"", "%A", "x", ""},
                    // ア (83 41) and ヂ (83 61): a trail byte is no letter.
                    TReplaceCase{"\x83\x41\x83\x61", "a", "!", "\x83\x41\x83\x61"},
                    TReplaceCase{"%\x83\x41 %\x83\x61", "%\x83\x61", "X", "%\x83\x41 X"},
                    // ギ (83 4D) followed by ACRO holds no "MACRO".
                    TReplaceCase{"\x83\x4D"
                                 "ACRO macro",
                                 "MACRO", "M1",
                                 "\x83\x4D"
                                 "ACRO M1"},
                    // ソ (83 5C): its trail byte is no backslash.
                    TReplaceCase{"\x83\x5C\\", "\\", "/", "\x83\x5C/"},
                    // A match may not end inside a double-byte character.
                    TReplaceCase{"%A\x83\x41", "%A\x83", "X", "%A\x83\x41"},
                    TReplaceCase{"\x83%a", "%A", "5",
                                 "\x83"
                                 "5"}));

TEST(CountIgnoringCase, CountsWhatReplaceReplaces) {
  struct TCase {
    std::string Text;
    std::string Pattern;
    size_t Count;
  } cases[] = {
      {"LD A,%a ; %A", "%A", 2},
      {"aaa", "AA", 1},
      {"%A%a%A", "%a", 3},
      {"abc", "", 0},
      {"", "%A", 0},
      {"\x83\x41\x83\x61", "a", 0},
      {"%\x83\x41 %\x83\x61", "%\x83\x61", 1},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(CountTextIgnoreCase(c.Text, c.Pattern), c.Count) << c.Text << " / " << c.Pattern;
}

}  // namespace
