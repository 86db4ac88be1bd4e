// Lists with per-entry data: owned records, non-owning references, child
// lists, and the integer set.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "persistence/bool_list.h"
#include "persistence/compare_text.h"
#include "persistence/memory_stream.h"
#include "persistence/record_string_list.h"
#include "persistence/ref_string_list.h"
#include "persistence/string_list_error.h"
#include "persistence/sub_string_list.h"

namespace {

using TLines = std::vector<std::string>;

// A record that counts how many of its kind are alive.
struct TCounted {
  TCounted() = default;
  TCounted(int v, int* alive) : value(v), alive_(alive) { ++*alive_; }
  ~TCounted() {
    if (alive_) --*alive_;
  }
  int value = 0;
  int* alive_ = nullptr;
};

using TCountedList = TRecordStringList<TCounted>;

// Each entry's record must carry the number that is its string.
void ExpectRecordsMatchStrings(const TCountedList& list) {
  for (int i = 0; i < list.Count(); ++i) {
    const TCounted* r = list.Record(i);
    ASSERT_NE(r, nullptr) << i;
    EXPECT_EQ(std::to_string(r->value), list[i]) << i;
  }
}

TEST(RecordList, RecordsFollowTheirStringsThroughEveryReordering) {
  int alive = 0;
  {
    TCountedList list;
    for (int v : {5, 3, 9, 1, 7})
      list.AddWithRecord(std::to_string(v), std::make_unique<TCounted>(v, &alive));
    EXPECT_EQ(alive, 5);
    list.Sort();
    EXPECT_EQ(list.ToVector(), (TLines{"1", "3", "5", "7", "9"}));
    ExpectRecordsMatchStrings(list);
    list.Exchange(0, 4);
    ExpectRecordsMatchStrings(list);
    list.Move(1, 3);
    ExpectRecordsMatchStrings(list);
    list.InsertWithRecord(2, "4", std::make_unique<TCounted>(4, &alive));
    ExpectRecordsMatchStrings(list);
    list.Delete(0);
    EXPECT_EQ(alive, 5);  // the deleted entry's record is freed
    ExpectRecordsMatchStrings(list);
    list.SortBy([](const std::string&, const TCounted* a, const std::string&, const TCounted* b) {
      return b->value - a->value;  // descending by record
    });
    EXPECT_EQ(list.ToVector(), (TLines{"7", "5", "4", "3", "1"}));
    ExpectRecordsMatchStrings(list);
    TCustomStringList lines;
    lines.Add("8");
    list.InsertLinesAfter(0, lines);
    EXPECT_EQ(list.Record(1), nullptr);  // records are never copied
    EXPECT_EQ(list.Record(2)->value, 5);
    list.Delete(1);
    list.SetSorted(true);
    EXPECT_EQ(list.ToVector(), (TLines{"1", "3", "4", "5", "7"}));
    ExpectRecordsMatchStrings(list);
    list.Clear();
    EXPECT_EQ(alive, 0);
    list.AddWithRecord("2", std::make_unique<TCounted>(2, &alive));
  }
  EXPECT_EQ(alive, 0);  // freed with the list
}

TEST(RecordList, RecordsFollowSortedInsertsAtRandomPlaces) {
  int alive = 0;
  TCountedList list(true, TDuplicates::Error);
  for (int i = 0; i < 3000; ++i) {
    const int v = (i * 7919) % 3001;
    list.AddWithRecord(std::to_string(v), std::make_unique<TCounted>(v, &alive));
  }
  ExpectRecordsMatchStrings(list);
  for (int i = 1; i < list.Count(); ++i)
    ASSERT_LT(CompareText(list[i - 1], list[i]), 0);
  for (int i = list.Count() - 1; i >= 0; i -= 2)
    list.Delete(i);
  ExpectRecordsMatchStrings(list);
  EXPECT_EQ(alive, list.Count());
}

TEST(RecordList, AFailedOrIgnoredAddChangesNothing) {
  int alive = 0;
  TCountedList refuse(true, TDuplicates::Error);
  refuse.AddWithRecord("LOOP.*", std::make_unique<TCounted>(1, &alive));
  EXPECT_THROW(refuse.AddWithRecord("loop.*", std::make_unique<TCounted>(2, &alive)),
               EStringListError);
  EXPECT_EQ(refuse.Count(), 1);
  EXPECT_EQ(refuse.Record(0)->value, 1);
  EXPECT_EQ(alive, 1);  // the refused record was freed, not leaked

  TCountedList ignore(true, TDuplicates::Ignore);
  ignore.AddWithRecord("a", std::make_unique<TCounted>(1, &alive));
  EXPECT_EQ(ignore.AddWithRecord("A", std::make_unique<TCounted>(2, &alive)), 0);
  EXPECT_EQ(ignore.Record(0)->value, 1);
  EXPECT_EQ(alive, 2);
}

TEST(RecordList, EnsureSetTakeAndClearRecords) {
  int alive = 0;
  TCountedList list;
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(list.Record(0), nullptr);
  TCounted& made = list.EnsureRecord(0);
  EXPECT_EQ(made.value, 0);
  made.value = 42;
  EXPECT_EQ(&list.EnsureRecord(0), &made);  // made once
  list.SetRecord(1, std::make_unique<TCounted>(7, &alive));
  list.SetRecord(1, std::make_unique<TCounted>(8, &alive));
  EXPECT_EQ(alive, 1);  // the replaced record was freed
  std::unique_ptr<TCounted> taken = list.TakeRecord(1);
  EXPECT_EQ(taken->value, 8);
  EXPECT_EQ(list.Record(1), nullptr);
  list.SetRecord(1, std::move(taken));
  list.ClearRecords();
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(list.ToVector(), (TLines{"a", "b"}));
  EXPECT_THROW(list.Record(2), EStringListError);
  EXPECT_THROW(list.EnsureRecord(-1), EStringListError);
}

TEST(RecordList, LoadingAStreamReplacesEntriesAndFreesTheirRecords) {
  int alive = 0;
  TCountedList list;
  list.AddWithRecord("1", std::make_unique<TCounted>(1, &alive));
  TMemoryStream stream(std::string("x\r\ny\r\n"));
  list.LoadFromStream(stream);
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(list.ToVector(), (TLines{"x", "y"}));
  EXPECT_EQ(list.Record(0), nullptr);
}

TEST(RefList, CarriesPointersItDoesNotOwn) {
  const std::vector<int> values = {30, 10, 20};
  TRefStringList<const int> rows;
  for (const int& v : values)
    rows.AddWithRef(std::to_string(v), &v);
  rows.InsertWithRef(0, "none", nullptr);
  EXPECT_EQ(rows.Ref(0), nullptr);
  rows.Delete(0);
  rows.SortBy(
      [](const std::string&, const int* a, const std::string&, const int* b) { return *a - *b; });
  EXPECT_EQ(rows.ToVector(), (TLines{"10", "20", "30"}));
  EXPECT_EQ(rows.Ref(0), &values[1]);
  EXPECT_EQ(rows.Ref(2), &values[0]);
  rows.Move(2, 0);
  EXPECT_EQ(rows.Ref(0), &values[0]);
  rows.SetRef(1, nullptr);
  EXPECT_EQ(rows.Ref(1), nullptr);
  rows.Clear();
  EXPECT_EQ(values[0], 30);  // nothing freed
}

TEST(SubList, ChildrenAreMadeOnFirstAccessAndFollowTheirEntries) {
  TSubStringList units(true, TDuplicates::Ignore);
  units.Add("*=.*");
  units.Add("MATH=.MATH.*");
  const int math = units.IndexOfName("MATH");
  EXPECT_EQ(units.ChildIfAny(math), nullptr);
  EXPECT_EQ(units.EntryMark(math), 0);
  EXPECT_EQ(units.ChildIfAny(math), nullptr);  // reading the mark makes no child
  units.Child(math).Add("IO");
  units.SetEntryMark(math, 1);
  EXPECT_EQ(units.Child(math).Mark(), 1);
  units.Add("ALPHA=.ALPHA.*");  // sorts in front of MATH
  const int moved = units.IndexOfName("math");
  EXPECT_NE(moved, math);
  EXPECT_EQ(units.EntryMark(moved), 1);
  ASSERT_NE(units.ChildIfAny(moved), nullptr);
  EXPECT_EQ(units.ChildIfAny(moved)->ToVector(), (TLines{"IO"}));
  // Children are string lists with children of their own.
  units.Child(moved).Child(0).Add("deep");
  EXPECT_EQ(units.Child(moved).Child(0)[0], "deep");
  units.Delete(moved);
  EXPECT_EQ(units.IndexOfName("MATH"), -1);
  EXPECT_THROW(units.Child(5), EStringListError);
}

TEST(SubList, ANewEntryUnderAnOldNameStartsWithoutChild) {
  TSubStringList units;
  units.Add("U=.U.*");
  units.SetEntryMark(0, 1);
  units.Delete(0);
  units.Add("U=.U.*");
  EXPECT_EQ(units.EntryMark(0), 0);
}

TEST(BoolList, MembersAreDecimalTextInTextOrder) {
  TBoolList set;
  for (int n : {9, 10, -1, 100, 0, 9})
    set.SetMember(n, true);
  EXPECT_EQ(set.ToVector(), (TLines{"-1", "0", "10", "100", "9"}));
  for (int n : {9, 10, -1, 100, 0})
    EXPECT_TRUE(set.Contains(n)) << n;
  for (int n : {1, -10, 91, 1000})
    EXPECT_FALSE(set.Contains(n)) << n;
  set.SetMember(10, false);
  set.SetMember(55, false);  // absent: nothing happens
  EXPECT_EQ(set.ToVector(), (TLines{"-1", "0", "100", "9"}));
  EXPECT_FALSE(set.Contains(10));
}

TEST(BoolList, StreamFormIsAStringListStreamInTextOrder) {
  TBoolList set;
  set.SetMember(12, true);
  set.SetMember(3, true);
  TMemoryStream stream;
  set.SaveToStream(stream);
  EXPECT_EQ(stream.Bytes().substr(16), "12\r\n3\r\n");
  stream.Seek(0);
  TBoolList back;
  back.SetMember(99, true);
  back.LoadFromStream(stream);
  EXPECT_TRUE(back.Contains(12));
  EXPECT_TRUE(back.Contains(3));
  EXPECT_FALSE(back.Contains(99));
  // A stream written in another order, with a repeat, is sorted and deduplicated.
  TMemoryStream plain(std::string("7\r\n30\r\n7\r\n"));
  back.LoadFromStream(plain);
  EXPECT_EQ(back.ToVector(), (TLines{"30", "7"}));
}

}  // namespace
