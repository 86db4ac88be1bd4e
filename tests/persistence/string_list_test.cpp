// Entry management, sorted lists and their duplicate policies, searching,
// sorting, name=value entries and the stack operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "persistence/compare_text.h"
#include "persistence/convert_error.h"
#include "persistence/custom_string_list.h"
#include "persistence/encoding.h"
#include "persistence/string_list_error.h"

namespace {

std::vector<std::string> Lines(const TCustomStringList& list) {
  return list.ToVector();
}

void Fill(TCustomStringList& list, std::initializer_list<const char*> items) {
  for (const char* s : items)
    list.Add(s);
}

// ---------------------------------------------------------------- sorted adds

TEST(SortedList, AddsAtTheSortedPlaceIgnoringCase) {
  TCustomStringList list(true, TDuplicates::Accept);
  EXPECT_EQ(list.Add("delta"), 0);
  EXPECT_EQ(list.Add("Bravo"), 0);
  EXPECT_EQ(list.Add("charlie"), 1);
  EXPECT_EQ(list.Add("ALPHA"), 0);
  EXPECT_EQ(list.Add("echo"), 4);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"ALPHA", "Bravo", "charlie", "delta", "echo"}));
}

struct TDuplicateCase {
  TDuplicates policy;
  bool throws;
  int expectedIndex;  // of the second Add
  int expectedCount;
};

TEST(SortedList, DuplicatePolicies) {
  const TDuplicateCase cases[] = {
      {TDuplicates::Accept, false, 2, 4},
      {TDuplicates::Ignore, false, 1, 3},
      {TDuplicates::Error, true, -1, 3},
  };
  for (const auto& c : cases) {
    TCustomStringList list(true, c.policy);
    Fill(list, {"a", "Loop", "z"});
    if (c.throws) {
      try {
        list.Add("LOOP");
        FAIL() << "no error";
      } catch (const EStringListError& e) {
        EXPECT_EQ(std::string(e.what()), Sjis("文字列が重複しています"));
      }
    } else {
      EXPECT_EQ(list.Add("LOOP"), c.expectedIndex);
    }
    EXPECT_EQ(list.Count(), c.expectedCount);
    // The entry already there keeps its place and its spelling.
    EXPECT_EQ(list[1], "Loop");
  }
}

TEST(SortedList, CaseSensitiveListsKeepCaseVariantsApart) {
  TCustomStringList list(true, TDuplicates::Error);
  list.SetCaseSensitive(true);
  list.Add("loop");
  EXPECT_NO_THROW(list.Add("LOOP"));
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"LOOP", "loop"}));
  EXPECT_EQ(list.IndexOf("Loop"), -1);
  // Back to case-insensitive: the list is sorted again; the two entries that
  // are now equal both stay.
  list.Add("Apple");
  list.SetCaseSensitive(false);
  EXPECT_EQ(list[0], "Apple");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.IndexOf("LOOP"), 1);
}

TEST(SortedList, JapaneseKeysDifferingOnlyInATrailByteAreNotDuplicates) {
  TCustomStringList list(true, TDuplicates::Error);
  list.Add(Sjis("ア"));                   // 83 41
  EXPECT_NO_THROW(list.Add(Sjis("ヂ")));  // 83 61
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.IndexOf(Sjis("ヂ")), 1);
}

TEST(SortedList, ManyRandomKeysStaySortedAndFindable) {
  std::mt19937 random(7);
  TCustomStringList list(true, TDuplicates::Ignore);
  std::vector<std::string> keys;
  for (int i = 0; i < 20000; ++i) {
    std::string key = "K" + std::to_string(random() % 15000);
    if (random() % 2) std::transform(key.begin(), key.end(), key.begin(), ::tolower);
    keys.push_back(key);
    list.Add(key);
  }
  for (int i = 1; i < list.Count(); ++i)
    ASSERT_LT(CompareText(list[i - 1], list[i]), 0) << i;
  for (const auto& key : keys) {
    int index = -1;
    ASSERT_TRUE(list.Find(key, index)) << key;
    ASSERT_TRUE(SameText(list[index], key));
  }
  int index = -1;
  EXPECT_FALSE(list.Find("K", index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(list.Find("zzz", index));
  EXPECT_EQ(index, list.Count());
}

TEST(SortedList, FindGivesTheFirstOfEqualEntriesAndTheInsertionPoint) {
  TCustomStringList list(true, TDuplicates::Accept);
  Fill(list, {"b", "B", "b", "d"});
  int index = -1;
  EXPECT_TRUE(list.Find("b", index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(list.Find("c", index));
  EXPECT_EQ(index, 3);
  // Equal entries keep the order in which they came.
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"b", "B", "b", "d"}));
}

TEST(SortedList, OperationsThatWouldBreakTheOrderAreRefused) {
  TCustomStringList list(true, TDuplicates::Accept);
  Fill(list, {"a", "b", "c"});
  TCustomStringList lines;
  lines.Add("x");
  EXPECT_THROW(list.Insert(0, "z"), EStringListError);
  EXPECT_THROW(list.SetStrings(0, "z"), EStringListError);
  EXPECT_THROW(list.Exchange(0, 2), EStringListError);
  EXPECT_THROW(list.Move(0, 2), EStringListError);
  EXPECT_THROW(list.CustomSort([](const std::string&, const std::string&) { return 0; }),
               EStringListError);
  EXPECT_THROW(list.InsertLinesAfter(0, lines), EStringListError);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(SortedList, SwitchingSortingOnSortsTheEntries) {
  TCustomStringList list;
  Fill(list, {"c", "A", "b", "a"});
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"A", "a", "b", "c"}));
  EXPECT_EQ(list.Add("B"), 3);
}

// ---------------------------------------------------------------- unsorted

TEST(UnsortedList, InsertDeleteExchangeMove) {
  TCustomStringList list;
  Fill(list, {"a", "b", "c", "d"});
  list.Insert(4, "e");
  list.Insert(0, "_");
  list.Delete(2);  // "b"
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"_", "a", "c", "d", "e"}));
  list.Exchange(0, 4);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"e", "a", "c", "d", "_"}));
  list.Move(0, 3);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "c", "d", "e", "_"}));
  list.Move(4, 0);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"_", "a", "c", "d", "e"}));
  list.SetStrings(1, "A");
  EXPECT_EQ(list[1], "A");
}

TEST(UnsortedList, IndicesOutsideTheListRaiseAndChangeNothing) {
  TCustomStringList list;
  Fill(list, {"a", "b"});
  EXPECT_THROW(list.Strings(2), EStringListError);
  EXPECT_THROW(list.Strings(-1), EStringListError);
  EXPECT_THROW(list.Delete(2), EStringListError);
  EXPECT_THROW(list.Insert(3, "x"), EStringListError);
  EXPECT_THROW(list.Insert(-1, "x"), EStringListError);
  EXPECT_THROW(list.Exchange(0, 2), EStringListError);
  EXPECT_THROW(list.Move(2, 0), EStringListError);
  EXPECT_THROW(list.Name(5), EStringListError);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b"}));
}

TEST(UnsortedList, IndexOfIsLinearAndIgnoresCase) {
  TCustomStringList list;
  Fill(list, {"zeta", "Alpha", "alpha"});
  EXPECT_EQ(list.IndexOf("ALPHA"), 1);
  EXPECT_EQ(list.IndexOf("beta"), -1);
  int index = -1;
  EXPECT_FALSE(list.Find("beta", index));
  EXPECT_EQ(index, 3);
}

TEST(UnsortedList, SortAndCustomSortAreStable) {
  TCustomStringList list;
  Fill(list, {"b", "A", "a", "C", "B"});
  list.Sort();
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"A", "a", "b", "B", "C"}));
  EXPECT_FALSE(list.Sorted());
  // Sort by length only: entries of equal length keep their order.
  TCustomStringList words;
  Fill(words, {"ccc", "a", "bb", "b", "aa"});
  words.CustomSort([](const std::string& x, const std::string& y) {
    return static_cast<int>(x.size()) - static_cast<int>(y.size());
  });
  EXPECT_EQ(Lines(words), (std::vector<std::string>{"a", "b", "bb", "aa", "ccc"}));
}

TEST(UnsortedList, ACustomSortThatThrowsLeavesTheOrder) {
  TCustomStringList list;
  Fill(list, {"c", "b", "a"});
  int calls = 0;
  EXPECT_THROW(list.CustomSort([&](const std::string& x, const std::string& y) {
    if (++calls == 2) throw std::runtime_error("stop");
    return CompareText(x, y);
  }),
               std::runtime_error);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"c", "b", "a"}));
}

TEST(UnsortedList, AddStringsAndAssignStringsCopyStrings) {
  TCustomStringList a;
  Fill(a, {"x", "y"});
  a.AddStrings(a);
  EXPECT_EQ(Lines(a), (std::vector<std::string>{"x", "y", "x", "y"}));
  TCustomStringList sorted(true, TDuplicates::Ignore);
  sorted.AssignStrings(a);
  EXPECT_EQ(Lines(sorted), (std::vector<std::string>{"x", "y"}));
  sorted.AddStrings(a);
  EXPECT_EQ(sorted.Count(), 2);
}

// ---------------------------------------------------------------- names

TEST(NameValue, NamePartsValuesAndLookup) {
  TCustomStringList units;
  Fill(units, {"*=.*", "MATH=.MATH.*", "plain", "Io=.IO.*=x", "=empty"});
  EXPECT_EQ(units.Name(1), "MATH");
  EXPECT_EQ(units.ValueOf(1), ".MATH.*");
  EXPECT_EQ(units.Name(2), "");
  EXPECT_EQ(units.ValueOf(2), "");
  EXPECT_EQ(units.ValueOf(3), ".IO.*=x");  // only the first "=" splits
  EXPECT_EQ(units.IndexOfName("math"), 1);
  EXPECT_EQ(units.IndexOfName("*"), 0);
  EXPECT_EQ(units.IndexOfName("IO"), 3);
  EXPECT_EQ(units.IndexOfName("plain"), -1);  // no "=": no name part
  EXPECT_EQ(units.IndexOfName(""), 4);
  EXPECT_EQ(units.IndexOfName("MAT"), -1);
  EXPECT_EQ(units.ValueOfName("Math"), ".MATH.*");
  EXPECT_EQ(units.ValueOfName("none"), "");
}

// ---------------------------------------------------------------- stack

TEST(Stack, PushPopTopBottom) {
  TCustomStringList stack;
  EXPECT_EQ(stack.Push("*"), 1);
  EXPECT_EQ(stack.Push("MATH"), 2);
  EXPECT_EQ(stack.PushNumber(-12), 3);
  EXPECT_EQ(stack.Top(), "-12");
  EXPECT_EQ(stack.Bottom(), "*");
  EXPECT_EQ(stack.TopNumber(), -12);
  EXPECT_EQ(stack.PopNum(), -12);
  EXPECT_EQ(stack.Pop(), "MATH");
  EXPECT_EQ(stack.Pop(), "*");
  EXPECT_EQ(stack.Pop(), "");
  EXPECT_EQ(stack.Count(), 0);
}

TEST(Stack, EmptyListsAndEmptyEntriesGiveMinusOne) {
  TCustomStringList stack;
  EXPECT_EQ(stack.PopNum(), -1);
  EXPECT_EQ(stack.Count(), 0);
  EXPECT_EQ(stack.TopNumber(), -1);
  EXPECT_EQ(stack.BottomNumber(), -1);
  EXPECT_EQ(stack.Top(), "");
  EXPECT_EQ(stack.Bottom(), "");
  stack.Push("5");
  stack.Push("");
  EXPECT_EQ(stack.TopNumber(), -1);
  EXPECT_EQ(stack.BottomNumber(), 5);
  EXPECT_EQ(stack.PopNum(), -1);  // the empty entry is removed
  EXPECT_EQ(stack.Count(), 1);
  EXPECT_EQ(stack.PopNum(), 5);
}

TEST(Stack, NonNumericEntriesRaiseAndStay) {
  TCustomStringList stack;
  stack.Push("7");
  stack.Push("abc");
  EXPECT_THROW(stack.TopNumber(), EConvertError);
  EXPECT_THROW(stack.PopNum(), EConvertError);
  EXPECT_EQ(stack.Count(), 2);
  EXPECT_EQ(stack.Top(), "abc");
  stack.Insert(0, "x");
  EXPECT_THROW(stack.BottomNumber(), EConvertError);
}

class TNeverEmptyStack : public TCustomStringList {
 public:
  int32_t PopNum() override {
    return Count() <= 1 ? (Empty() ? 0 : TopNumber()) : TCustomStringList::PopNum();
  }
};

TEST(Stack, PopNumCanBeOverridden) {
  TNeverEmptyStack history;
  TCustomStringList& asBase = history;
  EXPECT_EQ(asBase.PopNum(), 0);
  history.PushNumber(0);
  history.PushNumber(9);
  EXPECT_EQ(asBase.PopNum(), 9);
  EXPECT_EQ(asBase.PopNum(), 0);
  EXPECT_EQ(history.Count(), 1);
}

// ---------------------------------------------------------------- InsertLinesAfter

struct TInsertCase {
  int after;
  std::vector<std::string> expected;
};

TEST(InsertLinesAfter, InsertsInOrderAfterTheGivenLine) {
  const TInsertCase cases[] = {
      {2, {"a", "b", "c", "x", "y", "z"}},  // last line: appended
      {0, {"a", "x", "y", "z", "b", "c"}},
      {1, {"a", "b", "x", "y", "z", "c"}},
      {-1, {"x", "y", "z", "a", "b", "c"}},
  };
  for (const auto& c : cases) {
    TCustomStringList list;
    Fill(list, {"a", "b", "c"});
    TCustomStringList lines;
    Fill(lines, {"x", "y", "z"});
    list.InsertLinesAfter(c.after, lines);
    EXPECT_EQ(Lines(list), c.expected) << c.after;
    EXPECT_EQ(lines.Count(), 3);
  }
}

TEST(InsertLinesAfter, EdgeCases) {
  TCustomStringList list;
  TCustomStringList lines;
  Fill(lines, {"x"});
  list.InsertLinesAfter(-1, lines);  // into an empty list
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"x"}));
  EXPECT_THROW(list.InsertLinesAfter(1, lines), EStringListError);
  EXPECT_THROW(list.InsertLinesAfter(-2, lines), EStringListError);
  list.InsertLinesAfter(0, list);  // a list into itself
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"x", "x"}));
  TCustomStringList none;
  list.InsertLinesAfter(1, none);
  EXPECT_EQ(list.Count(), 2);
}

TEST(InsertLinesAfter, LargeInsertionsIntoALongListKeepEveryLineInPlace) {
  TCustomStringList list;
  for (int i = 0; i < 5000; ++i)
    list.Add("L" + std::to_string(i));
  TCustomStringList block;
  for (int i = 0; i < 3000; ++i)
    block.Add("M" + std::to_string(i));
  list.InsertLinesAfter(2499, block);
  ASSERT_EQ(list.Count(), 8000);
  EXPECT_EQ(list[2499], "L2499");
  EXPECT_EQ(list[2500], "M0");
  EXPECT_EQ(list[5499], "M2999");
  EXPECT_EQ(list[5500], "L2500");
  EXPECT_EQ(list[7999], "L4999");
}

}  // namespace
