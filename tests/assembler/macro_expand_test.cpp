#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assembler/macro_list.h"
#include "macro_test_support.h"
#include "persistence/string_list_error.h"

namespace {

using macro_test::CallTag;
using macro_test::Tag;

// A table with one macro made from a header comma text and body lines.
class MacroExpansion : public testing::Test {
 protected:
  int Define(const std::string& name, const std::string& header,
             const std::vector<std::string>& body) {
    const int index = macros_.AddMacro(name);
    macros_.Definition(index).Add(header);
    for (const std::string& line : body)
      macros_.Definition(index).Add(line);
    return index;
  }

  std::vector<std::string> Expand(const std::string& name, const std::vector<std::string>& call) {
    std::vector<std::string> lines = {"left over"};
    macros_.ExpandMacro(macros_.IndexOfMacro(name), call, CallTag(1, 9), counter_, lines);
    return lines;
  }

  TMacroList macros_;
  TAutoLabelCounter counter_ = 0;
};

TEST_F(MacroExpansion, BodyLinesGetTheCallTagAndTheArguments) {
  Define("ADD2", "ADD2,MACRO,%A,%B", {"  LD A,%A ; load %a" + Tag(1, 2), "  ADD A,%B" + Tag(1, 3)});
  EXPECT_EQ(Expand("add2", {"L", "add2", "X", "#2"}),
            (std::vector<std::string>{"  LD A,X ; load X" + Tag(1, 2) + CallTag(1, 9),
                                      "  ADD A,#2" + Tag(1, 3) + CallTag(1, 9)}));
  EXPECT_EQ(counter_, 0u);
}

TEST_F(MacroExpansion, MissingArgumentsBecomeErrorAndSurplusOnesAreIgnored) {
  Define("M", "M,MACRO,%A,%B", {"DW %A,%B"});
  EXPECT_EQ(Expand("M", {"", "M", "1"}),
            (std::vector<std::string>{"DW 1,*ERROR*" + CallTag(1, 9)}));
  EXPECT_EQ(Expand("M", {"", "M", "1", "", "3"}),
            (std::vector<std::string>{"DW 1,*ERROR*" + CallTag(1, 9)}));
  EXPECT_EQ(Expand("M", {"", "M", "1", "2", "3", "4"}),
            (std::vector<std::string>{"DW 1,2" + CallTag(1, 9)}));
}

TEST_F(MacroExpansion, QuestionFormalsTakeFreshLabelsInHeaderOrder) {
  Define("LOOP", "LOOP,MACRO,?TOP,%N,?END", {"?top: JP ?END,%N"});
  counter_ = 0x1F;
  // Whatever the caller wrote for a "?" formal is dropped.
  EXPECT_EQ(Expand("LOOP", {"", "LOOP", "mine", "5"}),
            (std::vector<std::string>{"*001F: JP *0020,5" + CallTag(1, 9)}));
  EXPECT_EQ(counter_, 0x21u);
}

TEST_F(MacroExpansion, KeywordPositionPairsMacroWithTheNameAsCalled) {
  Define("SHOW", "SHOW,Macro,%A", {"; this macro shows %A, MACRO!"});
  EXPECT_EQ(Expand("SHOW", {"", "show", "X"}),
            (std::vector<std::string>{"; this show shows X, show!" + CallTag(1, 9)}));
}

TEST_F(MacroExpansion, FormalsAreReplacedInHeaderOrderAsPlainText) {
  Define("P", "P,MACRO,%A,%AB", {"LD %AB,%A"});
  // %A is replaced inside %AB before %AB gets its turn.
  EXPECT_EQ(Expand("P", {"", "P", "x", "y"}),
            (std::vector<std::string>{"LD xB,x" + CallTag(1, 9)}));
  Define("Q", "Q,MACRO,%A,%B", {"LD %A"});
  // The text inserted for %A is matched by the later formal %B.
  EXPECT_EQ(Expand("Q", {"", "Q", "%b", "7"}), (std::vector<std::string>{"LD 7" + CallTag(1, 9)}));
}

TEST_F(MacroExpansion, ShiftJisBodyLineSurvivesReplacement) {
  // ソ (83 5C), ヂ (83 61), ギ (83 4D) followed by "ACRO", 表 (95 5C); the
  // formal %ア (25 83 41) must not match %ヂ (25 83 61).
  const std::string body =
      "  DW '\x83\x5C\x83\x61' ; \x83\x4D"
      "ACRO \x95\x5C%\x83\x61" +
      Tag(1, 5);
  Define("K", "K,MACRO,%A,%\x83\x41", {body});
  EXPECT_EQ(Expand("K", {"", "KK", "1", "2"}), (std::vector<std::string>{body + CallTag(1, 9)}));
}

TEST_F(MacroExpansion, EmptyDefinitionAndBadIndex) {
  macros_.AddMacro("EMPTY");
  EXPECT_TRUE(Expand("EMPTY", {"", "EMPTY"}).empty());
  std::vector<std::string> lines;
  EXPECT_THROW(macros_.ExpandMacro(5, {"", "X"}, "", counter_, lines), EStringListError);
}

TEST(MacroList, SortedCaseInsensitiveWithoutDuplicates) {
  TMacroList macros;
  EXPECT_EQ(macros.AddMacro("zeta"), 0);
  EXPECT_EQ(macros.AddMacro("Alpha"), 0);
  EXPECT_EQ(macros.AddMacro("ALPHA"), -1);
  EXPECT_EQ(macros.Count(), 2);
  EXPECT_EQ(macros.IndexOfMacro("ZETA"), 1);
  EXPECT_EQ(macros.IndexOfMacro("beta"), -1);
}

}  // namespace
