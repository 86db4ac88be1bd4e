// Unit visibility and the rows of the listing.
#include <string>
#include <string_view>

#include "assembler/qrx_assembler.h"
#include "persistence/compare_text.h"

namespace {

// Whether text ends with "." + name + ".*", without regard to case.
bool EndsWithUnitScope(std::string_view text, std::string_view name) {
  if (text.size() < name.size() + 3) return false;
  const std::string_view tail = text.substr(text.size() - name.size() - 3);
  return tail.front() == '.' && tail.substr(name.size() + 1) == ".*" &&
         SameText(tail.substr(1, name.size()), name);
}

// The name part of a unit table entry ("MATH=.MATH.*" gives "MATH").
std::string_view UnitName(std::string_view entry) {
  return entry.substr(0, entry.find('='));
}

}  // namespace

bool TQRXAssembler::IsUnitVisible(std::string_view text) const {
  for (int u = 0; u < units_.Count(); ++u) {
    const std::string_view name = UnitName(units_.Strings(u));
    if (name == kRootUnitName) continue;
    if (EndsWithUnitScope(text, name)) return units_.EntryMark(u) == 1;
  }
  return true;
}

void TQRXAssembler::BuildListing() {
  listing_.Clear();
  // Neighbouring lines mostly share their scope: remember the last answer.
  const std::string* lastScope = nullptr;
  bool lastVisible = true;
  const TAsmLine* previous = nullptr;
  for (int i = 0; i < lines_.Count(); ++i) {
    TAsmLine* line = lines_.Record(i);
    if (line == nullptr) {
      previous = nullptr;
      continue;
    }
    // ENDUNIT carries the scope it returns to; it belongs to the unit it closes.
    const std::string& scope =
        (line->Mnemonic == "ENDUNIT" && previous != nullptr) ? previous->Scope : line->Scope;
    if (lastScope == nullptr || *lastScope != scope) {
      lastVisible = IsUnitVisible(scope);
      lastScope = &scope;
    }
    line->Visible = lastVisible;
    if (lastVisible) listing_.AddWithRef(lines_.Strings(i), line);
    previous = line;
  }
}

int TQRXAssembler::ListingRowOf(int lineIndex) const {
  if (lineIndex < 0 || lineIndex >= lines_.Count() || listing_.Empty()) return -1;
  int low = 0;
  int high = listing_.Count() - 1;
  while (low <= high) {
    const int middle = low + (high - low) / 2;
    const int index = listing_.Ref(middle)->LineIndex;
    if (index == lineIndex) return middle;
    if (index < lineIndex)
      low = middle + 1;
    else
      high = middle - 1;
  }
  return -1;
}

void TQRXAssembler::SetVisibleUnits(const TCustomStringList& names) {
  for (int u = 0; u < units_.Count(); ++u) {
    const std::string_view name = UnitName(units_.Strings(u));
    bool shown = false;
    for (int n = 0; n < names.Count() && !shown; ++n)
      shown = SameText(names[n], name);
    units_.SetEntryMark(u, shown ? 1 : 0);
  }
}

std::string TQRXAssembler::UnitNameAt(int index) const {
  if (index < 0 || index >= units_.Count()) return {};
  return std::string(UnitName(units_.Strings(index)));
}

bool TQRXAssembler::SetUnitVisible(int index, bool visible) {
  if (index < 0 || index >= units_.Count()) return false;
  units_.SetEntryMark(index, visible ? 1 : 0);
  return true;
}

void TQRXAssembler::CollectVisibleUnits(TCustomStringList& names) const {
  names.Clear();
  for (int u = 0; u < units_.Count(); ++u) {
    if (units_.EntryMark(u) == 1) names.Add(std::string(UnitName(units_.Strings(u))));
  }
}
