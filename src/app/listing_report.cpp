#include "app/listing_report.h"

#include "assembler/listing_text.h"
#include "assembler/qrx_assembler.h"
#include "persistence/encoding.h"
#include "persistence/int_text.h"

namespace {

// A field of the listing output: UTF-8, with TAB and line breaks turned
// into blanks so that the six fields and the rows stay apart.
std::string Field(std::string_view cp932) {
  std::string text = Cp932ToUtf8(cp932);
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

std::string ListingRowOutput(const TAsmLine& line, const TQRXAssembler& assembler,
                             const TFileNames& files) {
  std::string row;
  if (IsCodeRow(line)) row += Hex4(line.Address);
  row += '\t';
  row += Field(ListingLabelText(line, assembler.Labels()));
  row += '\t';
  row += Field(line.Mnemonic);
  row += '\t';
  if (IsOperandListRow(line)) {
    row += Field(OperandListText(line));
    row += '\t';
  } else {
    row += Field(ListingFieldText(line, 1));
    row += '\t';
    row += Field(ListingFieldText(line, 2));
  }
  row += '\t';
  row += Field(line.HasError() ? ListingErrorText(line, files) : ListingCommentText(line));
  row += '\n';
  return row;
}

}  // namespace

std::string ListingOutput(const TQRXAssembler& assembler, const TFileNames& files) {
  std::string out;
  const TListingRows& rows = assembler.Listing();
  for (int r = 0; r < rows.Count(); ++r) {
    const TAsmLine* line = rows.Ref(r);
    if (line != nullptr) out += ListingRowOutput(*line, assembler, files);
  }
  return out;
}

std::string LabelsOutput(const TQRXAssembler& assembler) {
  std::string out;
  const TKwList& labels = assembler.Labels();
  for (int i = 0; i < labels.Count(); ++i) {
    const TKwValues& record = labels.RecordAt(i);
    out += Cp932ToUtf8(labels[i]);
    out += '\t';
    out += Hex4(static_cast<uint16_t>(record.Value));
    out += record.ValueOnly ? "\t1\t" : "\t0\t";
    out += std::to_string(record.DefLine);
    out += '\n';
  }
  return out;
}

void ShowAllUnits(TQRXAssembler& assembler) {
  TCustomStringList names;
  const TSubStringList& units = assembler.Units();
  for (int i = 0; i < units.Count(); ++i)
    names.Add(units.Name(i));
  assembler.SetVisibleUnits(names);
  assembler.BuildListing();
}
