#include "assembler/label_table.h"

#include <memory>
#include <utility>

#include "assembler/assembler_errors.h"
#include "assembler/label_key.h"
#include "persistence/compare_text.h"

TKwList::TKwList() : TRecordStringList<TKwValues>(true, TDuplicates::Error) {
  ResetLabels();
}

void TKwList::ResetLabels() {
  Clear();
  static constexpr const char* kRegisters[] = {"PC", "SP", "VF", "SF", "ZF", "CF"};
  int32_t value = -1;
  for (const char* name : kRegisters)
    DefineLabel(name, value--);
}

TKwValues& TKwList::DefineLabel(std::string key, int32_t value) {
  if (!IsLegalLabelKey(key)) throw EInvaridCharsetError();
  auto record = std::make_unique<TKwValues>();
  record->Value = static_cast<int16_t>(static_cast<uint16_t>(value));
  // A duplicate raises EStringListError before anything is inserted.
  const int index = AddWithRecord(std::move(key), std::move(record));
  return *Record(index);
}

namespace {

// The keys of one name: the run of entries whose keys begin with the name,
// and whether the byte after the name is the second of a double-byte
// character (for comparing what follows the name).
struct TNameRun {
  int first;
  int end;
  bool trail;
};

// Compared on their first name.size() bytes, the keys that begin with the
// name compare equal to it, so they stand together in the sorted table. One
// binary search finds the run's start; the run is short as a rule, so its
// end is found by galloping from there.
TNameRun KeysOfName(const TKwList& table, std::string_view name) {
  const auto head = [&](std::string_view key) {
    return CompareTextFrom(key.substr(0, name.size()), name, false);
  };
  const int first = table.LowerBoundBy([&](const std::string& key) { return head(key) < 0; });
  int inside = first - 1;  // the last index known to lie in the run
  int beyond = first;      // an index that may lie past the run
  int step = 1;
  while (beyond < table.Count() && head(table.Strings(beyond)) == 0) {
    inside = beyond;
    beyond = first + step;
    step *= 2;
  }
  int lo = inside + 1;
  int hi = beyond < table.Count() ? beyond : table.Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (head(table.Strings(mid)) == 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return {first, lo, EndsInLeadByte(name)};
}

// The index of the key name + scope within the name's run, or -1. Only the
// text after the name is compared: the run's keys all begin with it.
int FindInRun(const TKwList& table, const TNameRun& run, size_t nameSize, std::string_view scope) {
  const auto rest = [&](int index) {
    return CompareTextFrom(std::string_view(table.Strings(index)).substr(nameSize), scope,
                           run.trail);
  };
  int lo = run.first;
  int hi = run.end;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (rest(mid) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo < run.end && rest(lo) == 0 ? lo : -1;
}

}  // namespace

int TKwList::FindLabel(std::string_view name) const {
  const TNameRun run = KeysOfName(*this, name);
  if (run.first == run.end) return -1;
  for (std::string_view scope = currentScope_; !scope.empty(); scope = OuterScope(scope)) {
    const int index = FindInRun(*this, run, name.size(), scope);
    if (index >= 0) return index;
  }
  if (currentUses_ != nullptr) {
    for (int i = 0; i < currentUses_->Count(); ++i) {
      const std::string_view scope = UnitScope(currentUses_->Strings(i));
      if (scope.empty()) continue;  // a unit the table does not know
      const int index = FindInRun(*this, run, name.size(), scope);
      if (index >= 0) return index;
    }
  }
  // The bare name is the shortest key of its run and so comes first in it.
  return Strings(run.first).size() == name.size() ? run.first : -1;
}

std::string_view TKwList::UnitScope(std::string_view unitName) const {
  if (units_ == nullptr || unitName.find('=') != std::string_view::npos) return {};
  const TCustomStringList& units = *units_;
  int found = -1;
  if (units.Sorted() && !units.CaseSensitive()) {
    // In a sorted list the entries that begin with "NAME=" stand together,
    // the first of them where "NAME=" itself would be inserted.
    const int at = units.LowerBoundBy(
        [&](const std::string& entry) { return CompareKeyParts(entry, unitName, "=") < 0; });
    if (at < units.Count()) {
      const std::string_view entry = units.Strings(at);
      if (entry.size() > unitName.size() &&
          CompareKeyParts(entry.substr(0, unitName.size() + 1), unitName, "=") == 0)
        found = at;
    }
  } else {
    for (int i = 0; i < units.Count() && found < 0; ++i) {
      const std::string_view entry = units.Strings(i);
      const size_t equals = entry.find('=');
      if (equals != std::string_view::npos && SameText(entry.substr(0, equals), unitName))
        found = i;
    }
  }
  if (found < 0) return {};
  const std::string_view entry = units.Strings(found);
  return entry.substr(entry.find('=') + 1);
}

const TKwValues& TKwList::RecordAt(int index) const {
  if (index < 0 || index >= Count()) return empty_;
  const TKwValues* record = Record(index);
  return record != nullptr ? *record : empty_;
}

const TKwValues& TKwList::RecordOf(std::string_view key) const {
  return RecordAt(IndexOf(key));
}

TKwValues* TKwList::FindRecord(std::string_view key) {
  const int index = IndexOf(key);
  return index >= 0 ? &EnsureRecord(index) : nullptr;
}
