// Line text and comma text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "persistence/custom_string_list.h"
#include "persistence/encoding.h"
#include "persistence/string_list_error.h"

namespace {

using TLines = std::vector<std::string>;

struct TSplitCase {
  std::string text;
  TLines lines;
};

TEST(LineText, SplitsAtCrLfCrOrLfWithoutAFinalEmptyLine) {
  const TSplitCase cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"\r\n", {""}},
      {"\n\n", {"", ""}},
      {"a\n\r", {"a", ""}},  // LF then CR: two breaks
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\r\n\r\n", {"a", ""}},
      {std::string("x\0y\r\n", 5), {std::string("x\0y", 3)}},
  };
  for (const auto& c : cases) {
    TCustomStringList list;
    list.Add("old");
    list.SetText(c.text);
    EXPECT_EQ(list.ToVector(), c.lines) << "text of " << c.text.size() << " bytes";
  }
}

TEST(LineText, TextEndsEveryEntryWithCrLf) {
  TCustomStringList list;
  EXPECT_EQ(list.Text(), "");
  list.Add("");
  EXPECT_EQ(list.Text(), "\r\n");
  list.Add(Sjis("表示"));
  EXPECT_EQ(list.Text(), "\r\n" + Sjis("表示") + "\r\n");
}

TEST(LineText, DoubleByteCharactersWhoseTrailIsABackslashSurvive) {
  // "表" is 95 5C: its trail byte is the code of "\".
  TCustomStringList list;
  list.SetText(Sjis("表\r\n能力") + "\n");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list[0], Sjis("表"));
  EXPECT_EQ(list[1], Sjis("能力"));
}

TEST(LineText, SortedListsSortAndApplyTheirPolicy) {
  TCustomStringList ignore(true, TDuplicates::Ignore);
  ignore.SetText("b\r\nA\r\na\r\nc\r\n");
  EXPECT_EQ(ignore.ToVector(), (TLines{"A", "b", "c"}));  // the first of A / a is kept

  TCustomStringList refuse(true, TDuplicates::Error);
  refuse.SetText("x\r\n");
  EXPECT_THROW(refuse.SetText("b\r\nB\r\n"), EStringListError);
  EXPECT_EQ(refuse.ToVector(), (TLines{"x"}));  // unchanged
}

// ---------------------------------------------------------------- comma text

struct TCommaCase {
  TLines items;
  std::string text;
};

TEST(CommaText, QuotesOnlyWhatNeedsQuotes) {
  const TCommaCase cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"a"}, "a"},
      {{"NAME", "MACRO", "%A", "?L"}, "NAME,MACRO,%A,?L"},
      {{"a b"}, "\"a b\""},
      {{"a,b"}, "\"a,b\""},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {{"", "x", ""}, "\"\",x,\"\""},
      {{"tab\there"}, "\"tab\there\""},
      {{"semi;colon'quote"}, "semi;colon'quote"},
      {{Sjis("表示")}, Sjis("表示")},
  };
  for (const auto& c : cases) {
    TCustomStringList list;
    for (const auto& s : c.items)
      list.Add(s);
    EXPECT_EQ(list.CommaText(), c.text);
    TCustomStringList back;
    back.SetCommaText(c.text);
    EXPECT_EQ(back.ToVector(), c.items) << c.text;
  }
}

TEST(CommaText, ReadsTheClassicForm) {
  const TCommaCase cases[] = {
      {{"a", "b"}, "a b"},  // blanks separate unquoted items
      {{"a", "b"}, "  a ,  b  "},
      {{"a", "", "b"}, "a,,b"},
      {{"a", ""}, "a,"},
      {{"", ""}, ","},
      {{"a", "b"}, "\"a\"b"},            // text right after a closing quote starts a new item
      {{"open ended"}, "\"open ended"},  // an unclosed quote runs to the end
      {{"x\"y"}, "\"x\"\"y\""},
      {{}, "   "},
  };
  for (const auto& c : cases) {
    TCustomStringList list;
    list.SetCommaText(c.text);
    EXPECT_EQ(list.ToVector(), c.items) << c.text;
  }
}

TEST(CommaText, RandomListsSurviveARoundTrip) {
  std::mt19937 random(99);
  const std::string alphabet =
      std::string("ab ,\"\t\r\n=;'") + std::string(1, '\0') + "\x7F\x83\x41\xB1";
  for (int round = 0; round < 500; ++round) {
    TCustomStringList list;
    const int n = static_cast<int>(random() % 6);
    for (int i = 0; i < n; ++i) {
      std::string s;
      const int len = static_cast<int>(random() % 6);
      for (int k = 0; k < len; ++k)
        s += alphabet[random() % alphabet.size()];
      list.Add(s);
    }
    TCustomStringList back;
    back.SetCommaText(list.CommaText());
    ASSERT_EQ(back.ToVector(), list.ToVector()) << list.CommaText();
  }
}

}  // namespace
