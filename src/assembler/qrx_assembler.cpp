#include "assembler/qrx_assembler.h"

#include <memory>
#include <utility>

#include "assembler/auto_label.h"
#include "assembler/label_key.h"
#include "assembler/source_set.h"
#include "persistence/list_stream_header.h"
#include "persistence/memory_stream.h"

TQRXAssembler::TQRXAssembler() {
  labels_.SetUnits(&units_);
  units_.SetEntryMark(units_.Add(std::string(kRootUnitEntry)), 1);
  auto first = std::make_unique<TAsmLine>();
  first->Comment.assign(1, ';');
  lines_.AddWithRecord(";", std::move(first));
}

TQRXAssembler::~TQRXAssembler() = default;

void TQRXAssembler::ForgetRecords() {
  listing_.Clear();
  lines_.ClearRecords();
}

void TQRXAssembler::SetLines(const TCustomStringList& lines) {
  ForgetRecords();
  lines_.AssignStrings(lines);
}

bool TQRXAssembler::RestoreLines(TMemoryStream& stream) {
  if (!CompleteListFollows(stream)) return false;
  listing_.Clear();
  // The header and the whole text are there, so the load cannot stop short;
  // replacing the entries drops their records.
  lines_.LoadFromStream(stream);
  return true;
}

TSourceReadResult TQRXAssembler::ReadSourceSet(TFileNames& files, std::string& error) {
  TCustomStringList lines;
  const TSourceReadResult result = ::ReadSourceSet(files, lines, error);
  if (result == TSourceReadResult::Complete) SetLines(lines);
  return result;
}

TAsmLine& TQRXAssembler::LineAt(int i) {
  if (TAsmLine* line = lines_.Record(i)) return *line;
  TAsmLine& line = lines_.EnsureRecord(i);
  line.LineIndex = i;
  return line;
}

const TAsmLine& TQRXAssembler::LineAt(int i) const {
  const TAsmLine* line = lines_.Record(i);
  return line != nullptr ? *line : emptyLine_;
}

int TQRXAssembler::ErrorLineCount() const {
  int count = 0;
  for (int i = 0; i < lines_.Count(); ++i) {
    const TAsmLine* line = lines_.Record(i);
    if (line != nullptr && line->HasError()) ++count;
  }
  return count;
}

std::string TQRXAssembler::NewAutoLabel() {
  return FormatAutoLabel(autoLabelCounter_++);
}

int TQRXAssembler::UnitIndexOfName(std::string_view name) const {
  // The entries that begin with "NAME=" stand together in the sorted table,
  // the first of them where "NAME=" itself would go.
  const int at = units_.LowerBoundBy(
      [&](const std::string& entry) { return CompareKeyParts(entry, name, "=") < 0; });
  if (at >= units_.Count()) return -1;
  const std::string_view entry = units_.Strings(at);
  if (entry.size() <= name.size()) return -1;
  return CompareKeyParts(entry.substr(0, name.size() + 1), name, "=") == 0 ? at : -1;
}
