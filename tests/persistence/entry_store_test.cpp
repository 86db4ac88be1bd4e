// The block storage is checked against a plain vector under long random
// sequences of every operation, with sizes that force blocks to split and
// merge many times.
#include "persistence/entry_store.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

TEntryPtr Make(const std::string& s) {
  return std::make_unique<TStringEntry>(s);
}

void ExpectSame(const TEntryStore& store, const std::vector<std::string>& model, int step) {
  ASSERT_EQ(store.Size(), static_cast<int>(model.size())) << "step " << step;
  std::vector<std::string> seen;
  store.ForEach([&](const TStringEntry& e) {
    seen.push_back(e.text);
    return true;
  });
  ASSERT_EQ(seen, model) << "step " << step;
  for (int i = 0; i < store.Size(); ++i)
    ASSERT_EQ(store.At(i).text, model[static_cast<size_t>(i)]);
}

TEST(EntryStore, MatchesAVectorUnderRandomEdits) {
  std::mt19937 random(20240611);
  TEntryStore store;
  std::vector<std::string> model;
  int counter = 0;
  for (int step = 0; step < 6000; ++step) {
    int op = static_cast<int>(random() % 100);
    const int size = static_cast<int>(model.size());
    if (size > 12000) {
      op = 99;  // trim
    }
    if (op < 45 || size == 0) {
      const int at = static_cast<int>(random() % static_cast<unsigned>(size + 1));
      const std::string s = std::to_string(counter++);
      store.Insert(at, Make(s));
      model.insert(model.begin() + at, s);
    } else if (op < 75) {
      const int at = static_cast<int>(random() % static_cast<unsigned>(size));
      EXPECT_EQ(store.Take(at)->text, model[static_cast<size_t>(at)]);
      model.erase(model.begin() + at);
    } else if (op < 85) {
      // Ranges small and large (large ones cut a block in two).
      const int at = static_cast<int>(random() % static_cast<unsigned>(size + 1));
      const int n =
          (random() % 4 == 0) ? static_cast<int>(random() % 2500) : static_cast<int>(random() % 8);
      std::vector<TEntryPtr> range;
      std::vector<std::string> texts;
      for (int k = 0; k < n; ++k) {
        texts.push_back("r" + std::to_string(counter++));
        range.push_back(Make(texts.back()));
      }
      store.InsertRange(at, std::move(range));
      model.insert(model.begin() + at, texts.begin(), texts.end());
    } else if (op < 97) {
      const int a = static_cast<int>(random() % static_cast<unsigned>(size));
      const int b = static_cast<int>(random() % static_cast<unsigned>(size));
      store.Swap(a, b);
      std::swap(model[static_cast<size_t>(a)], model[static_cast<size_t>(b)]);
    } else {
      // Remove a long run from the front to shrink many blocks; this also
      // keeps the list around a few thousand entries.
      const int n = std::min(size, static_cast<int>(random() % 3000) + size / 2);
      for (int k = 0; k < n; ++k)
        store.Take(0);
      model.erase(model.begin(), model.begin() + n);
    }
    if (step % 50 == 0) ExpectSame(store, model, step);
  }
  ExpectSame(store, model, -1);
}

TEST(EntryStore, PartitionPointFindsTheBoundaryAcrossBlocks) {
  TEntryStore store;
  std::vector<TEntryPtr> entries;
  for (int i = 0; i < 5000; ++i)
    entries.push_back(Make(std::to_string(100000 + i * 2)));
  store.Assign(std::move(entries));
  for (const int probe : {0, 1, 511, 512, 513, 1023, 1024, 2500, 4999}) {
    const std::string key = std::to_string(100000 + probe * 2);
    EXPECT_EQ(store.PartitionPoint([&](const TStringEntry& e) { return e.text < key; }), probe);
    const std::string between = std::to_string(100000 + probe * 2 + 1);
    EXPECT_EQ(store.PartitionPoint([&](const TStringEntry& e) { return e.text < between; }),
              probe + 1);
  }
  EXPECT_EQ(store.PartitionPoint([](const TStringEntry&) { return true; }), 5000);
  EXPECT_EQ(store.PartitionPoint([](const TStringEntry&) { return false; }), 0);
  TEntryStore empty;
  EXPECT_EQ(empty.PartitionPoint([](const TStringEntry&) { return true; }), 0);
}

TEST(EntryStore, TakeAllEmptiesAndAssignRefills) {
  TEntryStore store;
  for (int i = 0; i < 3000; ++i)
    store.Insert(i, Make(std::to_string(i)));
  auto all = store.TakeAll();
  EXPECT_EQ(store.Size(), 0);
  ASSERT_EQ(all.size(), 3000u);
  EXPECT_EQ(all[2999]->text, "2999");
  store.Assign(std::move(all));
  EXPECT_EQ(store.Size(), 3000);
  EXPECT_EQ(store.At(1234).text, "1234");
  store.Clear();
  EXPECT_EQ(store.Size(), 0);
  store.Insert(0, Make("again"));
  EXPECT_EQ(store.At(0).text, "again");
}

}  // namespace
