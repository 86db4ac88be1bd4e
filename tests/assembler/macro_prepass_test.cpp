#include "assembler/macro_prepass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macro_test_support.h"
#include "persistence/encoding.h"

namespace {

using macro_test::CallTag;
using macro_test::Tag;
using macro_test::Tagged;

const std::string kDef = ";M\x08";
const std::string kErr = "E\x08";

class MacroPrePass : public testing::Test {
 protected:
  // Tags the code as lines 1.. of file 1 and runs the pre-pass on it.
  int Run(const std::vector<std::string>& code, size_t bound = kMaxExpansionBytes) {
    source_ = Tagged(code);
    macro_test::Fill(lines_, source_);
    return ExpandPrePass(lines_, macros_, counter_, bound);
  }
  std::vector<std::string> Result() const { return lines_.ToVector(); }
  // Source line n (from 1) with the definition marker in front.
  std::string Marked(int n) const { return kDef + source_[n - 1]; }

  TCustomStringList lines_;
  TMacroList macros_;
  TAutoLabelCounter counter_ = 0;
  std::vector<std::string> source_;
};

TEST(MacroMarkers, BytesAndMessagesAreExact) {
  EXPECT_EQ(std::string(kMacroDefinitionMarker), std::string("\x3B\x4D\x08"));
  EXPECT_EQ(std::string(kMacroErrorMarker), std::string("\x45\x08"));
  // The arrow is 81 A8 in CP932.
  EXPECT_EQ(Sjis("あ → "), std::string("\x82\xA0\x20\x81\xA8\x20"));
}

TEST_F(MacroPrePass, DefinitionBecomesCommentsAndCallIsExpandedWithBothTags) {
  ASSERT_EQ(
      Run({"INC2: MACRO %R", "  ADD %R,#2 ; bump %r", "  ENDMACRO", "START: inc2 X", "  HALT"}), 0);
  EXPECT_EQ(Result(), (std::vector<std::string>{Marked(1), Marked(2), Marked(3),
                                                "  ADD X,#2 ; bump X" + Tag(1, 2) + CallTag(1, 4),
                                                source_[4]}));
  ASSERT_EQ(macros_.Count(), 1);
  const TCustomStringList& definition = macros_.Definition(0);
  EXPECT_EQ(definition.ToVector(), (std::vector<std::string>{"INC2,MACRO,%R", source_[1]}));
}

TEST_F(MacroPrePass, DefinitionWithoutEndSwallowsTheRestOfTheSource) {
  EXPECT_EQ(Run({"  NOP", "M: MACRO", "  LD A,B", "  M", "  HALT"}), 0);
  EXPECT_EQ(Result(),
            (std::vector<std::string>{source_[0], Marked(2), Marked(3), Marked(4), Marked(5)}));
  EXPECT_EQ(macros_.Definition(0).Count(), 4);
}

TEST_F(MacroPrePass, LaterCallsTakeTheLowerAutomaticLabels) {
  ASSERT_EQ(Run({"WAIT: MACRO ?L", "?L: JP ?L", "ENDMACRO", "  WAIT", "  WAIT"}), 0);
  EXPECT_EQ(Result(), (std::vector<std::string>{Marked(1), Marked(2), Marked(3),
                                                "*0001: JP *0001" + Tag(1, 2) + CallTag(1, 4),
                                                "*0000: JP *0000" + Tag(1, 2) + CallTag(1, 5)}));
  EXPECT_EQ(counter_, 2u);
}

TEST_F(MacroPrePass, NamesAndKeywordsIgnoreCase) {
  ASSERT_EQ(Run({"Twice: macro %v", "DW %V,%v", "endMacro", "TWICE 1", "twice 2"}), 0);
  EXPECT_EQ(Result(), (std::vector<std::string>{Marked(1), Marked(2), Marked(3),
                                                "DW 1,1" + Tag(1, 2) + CallTag(1, 4),
                                                "DW 2,2" + Tag(1, 2) + CallTag(1, 5)}));
}

TEST_F(MacroPrePass, MacroNamedLikeAnInstructionReplacesItsUses) {
  ASSERT_EQ(Run({"HALT: MACRO", "  JP 0", "ENDMACRO", "X: HALT ; stop", "  halt"}), 0);
  EXPECT_EQ(Result(), (std::vector<std::string>{Marked(1), Marked(2), Marked(3),
                                                "  JP 0" + Tag(1, 2) + CallTag(1, 4),
                                                "  JP 0" + Tag(1, 2) + CallTag(1, 5)}));
}

TEST_F(MacroPrePass, CallInsideABodyIsNotExpanded) {
  ASSERT_EQ(Run({"IN1: MACRO", "NOP", "ENDMACRO", "OUT1: MACRO", "IN1", "ENDMACRO", "OUT1"}), 0);
  EXPECT_EQ(Result().back(), "IN1" + Tag(1, 5) + CallTag(1, 7));
  EXPECT_EQ(Result().size(), 7u);
}

TEST_F(MacroPrePass, TableIsEmptiedAtEveryRun) {
  ASSERT_EQ(Run({"OLD: MACRO", "NOP", "ENDMACRO"}), 0);
  ASSERT_EQ(Run({"  OLD"}), 0);
  EXPECT_EQ(Result(), source_);
  EXPECT_EQ(macros_.Count(), 0);
}

// Malformed definitions: the flagged line, the error count, and every call
// left as written.
struct TErrorCase {
  std::string Name;
  std::vector<std::string> Code;
  int Line;              // the flagged line (from 1)
  std::string Messages;  // UTF-8: error markers and messages in front of the line
  int Errors;
};

void PrintTo(const TErrorCase& c, std::ostream* os) {
  *os << c.Name;
}

class MacroDefinitionErrors : public MacroPrePass,
                              public testing::WithParamInterface<TErrorCase> {};

TEST_P(MacroDefinitionErrors, FlagsTheLineAndExpandsNoCall) {
  const TErrorCase& c = GetParam();
  std::vector<std::string> code = c.Code;
  code.push_back("  GOOD 1");
  ASSERT_EQ(Run(code), c.Errors);
  const std::vector<std::string> result = Result();
  ASSERT_EQ(result.size(), source_.size());
  std::string messages = Sjis(c.Messages);
  for (size_t at = messages.find('|'); at != std::string::npos; at = messages.find('|'))
    messages.replace(at, 1, kErr);
  EXPECT_EQ(result[c.Line - 1], kDef + messages + source_[c.Line - 1]);
  EXPECT_EQ(result.back(), source_.back());
}

const std::vector<std::string> kGood = {"GOOD: MACRO %A", "DW %A", "ENDMACRO"};

std::vector<std::string> WithGood(std::vector<std::string> code) {
  code.insert(code.begin(), kGood.begin(), kGood.end());
  return code;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MacroDefinitionErrors,
    testing::Values(TErrorCase{"StrayEnd", WithGood({"  ENDMACRO ; x"}), 4,
                               "|変なところにENDMACROがあります → ", 1},
                    TErrorCase{"MissingLabel", WithGood({"  MACRO %A", "ENDMACRO"}), 4,
                               "|マクロのラベルがありません → ", 1},
                    TErrorCase{"Duplicate", WithGood({"good: MACRO", "ENDMACRO"}), 4,
                               "|マクロ名goodが重複しています → ", 1},
                    TErrorCase{"BadFormal", WithGood({"B: MACRO %A, X, Y", "ENDMACRO"}), 4,
                               "|マクロパラメータは%か?で始まります → ", 1},
                    TErrorCase{"EmptyFormal", WithGood({"B: MACRO %A,", "ENDMACRO"}), 4,
                               "|マクロパラメータは%か?で始まります → ", 1},
                    TErrorCase{"Nested", WithGood({"O: MACRO", "I: MACRO", "ENDMACRO"}), 5,
                               "|マクロ定義中にマクロ定義はできません → ", 1},
                    // Later messages go in front of earlier ones.
                    TErrorCase{"NoLabelTwiceAndBadFormal",
                               WithGood({"MACRO", "ENDMACRO", " MACRO Z", "ENDMACRO"}), 6,
                               "|マクロパラメータは%か?で始まります → |マクロ名が重複しています → "
                               "|マクロのラベルがありません → ",
                               4}),
    [](const testing::TestParamInfo<TErrorCase>& info) { return info.param.Name; });

TEST_F(MacroPrePass, NestedHeaderLeavesTheOuterDefinitionGoing) {
  EXPECT_EQ(Run({"O: MACRO", "A1", "I: MACRO", "A2", "ENDMACRO", "A3"}), 1);
  EXPECT_EQ(macros_.Count(), 1);
  EXPECT_EQ(macros_.Definition(0).ToVector(),
            (std::vector<std::string>{"O,MACRO", source_[1], source_[3]}));
  // The first ENDMACRO closed the outer definition.
  EXPECT_EQ(Result().back(), source_.back());
}

TEST_F(MacroPrePass, DuplicateBodyIsMarkedButNotStored) {
  EXPECT_EQ(Run({"D: MACRO", "ONE", "ENDMACRO", "d: MACRO", "TWO", "ENDMACRO"}), 1);
  EXPECT_EQ(macros_.Definition(0).ToVector(), (std::vector<std::string>{"D,MACRO", source_[1]}));
  EXPECT_EQ(Result()[4], Marked(5));
}

// A definition line whose own text begins with "E" and a backspace (the
// error marker's bytes) is marked with a blank in between, so it is not
// taken for a line the pre-pass flagged.
TEST_F(MacroPrePass, ALineThatBeginsLikeTheErrorMarkerIsNotFlagged) {
  ASSERT_EQ(Run({kErr + "M: MACRO %A", kErr + " DW %A", kErr + ": ENDMACRO", " " + kErr + "M 1"}),
            0);
  EXPECT_EQ(Result(), (std::vector<std::string>{kDef + " " + source_[0], kDef + " " + source_[1],
                                                kDef + " " + source_[2],
                                                kErr + " DW 1" + Tag(1, 2) + CallTag(1, 4)}));
  for (const std::string& line : Result())
    EXPECT_FALSE(IsFlaggedLine(line)) << line;
}

// A few lines can ask for any amount of text: here each of 40 formals "%"
// doubles the line, which would reach 2^40 bytes.
TEST_F(MacroPrePass, AnExpansionPastTheBoundExpandsNothingAndFlagsTheCall) {
  std::string formals = "?L";
  std::string arguments;
  for (int k = 0; k < 40; ++k) {
    formals += ",%";
    arguments += k == 0 ? "%%" : ",%%";
  }
  EXPECT_EQ(Run({"M: MACRO " + formals, "  DW %", "ENDMACRO", "  M ?," + arguments, "  HALT"}), 1);
  EXPECT_EQ(Result(),
            (std::vector<std::string>{
                Marked(1), Marked(2), Marked(3),
                kDef + kErr + Sjis("マクロの展開が大きすぎます → ") + source_[3], source_[4]}));
  EXPECT_EQ(counter_, 0u);  // no name drawn for the "?L" of the call
}

// The bound counts every call's lines together: three calls of a megabyte
// each fit, a fourth goes past; counted from the last call, the first one
// is the call that does not fit.
TEST_F(MacroPrePass, TheBoundHoldsForAllCallsTogether) {
  const std::string megabyte(size_t{1} << 20, 'x');
  const std::vector<std::string> calls = {"  BIG " + megabyte, "  BIG " + megabyte,
                                          "  BIG " + megabyte};
  std::vector<std::string> code = {"BIG: MACRO %T", "; %T", "ENDMACRO"};
  code.insert(code.end(), calls.begin(), calls.end());
  EXPECT_EQ(Run(code), 0);
  EXPECT_EQ(Result().size(), 6u);

  code.insert(code.begin() + 3, "  BIG " + megabyte);
  EXPECT_EQ(Run(code), 1);
  EXPECT_TRUE(IsFlaggedLine(Result()[3]));
  EXPECT_EQ(Result().size(), code.size());
  for (size_t i = 4; i < code.size(); ++i)
    EXPECT_EQ(Result()[i], source_[i]) << i;
}

// A smaller bound is met the same way: the calls' lines may fill it to the
// byte, one byte less flags the first call and expands nothing.
TEST_F(MacroPrePass, ASmallerBoundHoldsToTheByte) {
  const std::vector<std::string> code = {"TWO: MACRO %T, ?L", "?L: DW %T",  "  LD A,%T",
                                         "ENDMACRO",          "  TWO 1234", "  TWO 56"};
  ASSERT_EQ(Run(code), 0);
  size_t expansion = 0;
  for (size_t i = 4; i < Result().size(); ++i)
    expansion += Result()[i].size();

  counter_ = 0;
  EXPECT_EQ(Run(code, expansion), 0);
  EXPECT_EQ(Result().size(), 8u);
  EXPECT_EQ(counter_, 2u);

  counter_ = 0;
  EXPECT_EQ(Run(code, expansion - 1), 1);
  EXPECT_EQ(Result().size(), code.size());
  EXPECT_TRUE(IsFlaggedLine(Result()[4]));
  EXPECT_EQ(Result()[5], source_[5]);
  EXPECT_EQ(counter_, 0u);
}

}  // namespace
