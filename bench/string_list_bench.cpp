// String lists: a sorted table filled with keys in random order (the label
// table of a large program), binary-search lookups in it, and an expansion
// of eight lines inserted into and removed again from the middle of a line
// list of 100,000 lines (one item = one insertion and its removal).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "persistence/custom_string_list.h"
#include "persistence/record_string_list.h"

namespace {

struct TBenchRecord {
  int value = 0;
};

std::vector<std::string> RandomKeys(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::string> keys;
  keys.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    std::string key = "L";  // built by appending (GCC 12 warns wrongly on "L" + string)
    key += std::to_string(random() % 100000000);
    key += ".P";
    key += std::to_string(i % 97);
    key += ".*";
    keys.push_back(std::move(key));
  }
  return keys;
}

void BM_SortedAddRandomKeys(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::vector<std::string> keys = RandomKeys(count, 1);
  for (auto _ : state) {
    TRecordStringList<TBenchRecord> table(true, TDuplicates::Ignore);
    for (const std::string& key : keys)
      table.AddWithRecord(key, std::make_unique<TBenchRecord>());
    benchmark::DoNotOptimize(table.Count());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_SortedAddRandomKeys)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_SortedLookup(benchmark::State& state) {
  const std::vector<std::string> keys = RandomKeys(50000, 2);
  TCustomStringList table(true, TDuplicates::Ignore);
  for (const std::string& key : keys)
    table.Add(key);
  std::vector<std::string> probes = RandomKeys(50000, 3);  // mostly absent
  probes.insert(probes.end(), keys.begin(), keys.end());   // present
  std::shuffle(probes.begin(), probes.end(), std::mt19937(4));
  for (auto _ : state) {
    int found = 0;
    for (const std::string& probe : probes)
      found += table.IndexOf(probe) >= 0;
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(probes.size()));
}
BENCHMARK(BM_SortedLookup)->Unit(benchmark::kMillisecond);

void BM_InsertLinesIntoLongList(benchmark::State& state) {
  TCustomStringList lines;
  for (int i = 0; i < 100000; ++i) {
    std::string line = "        LD X,#";
    line += std::to_string(i);
    line +=
        " ;/\x1b"
        "1\x1b";  // the source tag: file 1, line i + 1
    line += std::to_string(i + 1);
    lines.Add(std::move(line));
  }
  TCustomStringList expansion;
  for (int i = 0; i < 8; ++i)
    expansion.Add("        ADD A,B");
  std::mt19937 random(5);
  const int inserts = 1000;
  for (auto _ : state) {
    for (int i = 0; i < inserts; ++i) {
      const int at = static_cast<int>(random() % static_cast<unsigned>(lines.Count()));
      lines.InsertLinesAfter(at, expansion);
      for (int k = 0; k < expansion.Count(); ++k)
        lines.Delete(at + 1);
    }
  }
  state.SetItemsProcessed(state.iterations() * inserts);
}
BENCHMARK(BM_InsertLinesIntoLongList)->Unit(benchmark::kMillisecond);

}  // namespace
