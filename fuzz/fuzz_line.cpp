// Arbitrary bytes as one line of source (up to its first line break),
// assembled alone as a whole program in memory. The listing row must tell
// the truth about the encoding: the line written back from what the row
// shows (label, instruction, parameters) assembles to the same row, the same
// words and the same labels. And the tool's listing text keeps its six
// fields on one line.
//
// Rows whose listing shows less than the line holds are left out of the
// comparison: ordinary rows with more than two parameters (the listing
// shows two), and operand lists with a string-character field that holds
// more than one character (a run shows them as separate characters).
// Nor are lines whose first field the macro pre-pass reads otherwise than
// the row shows it (a leading comma before MACRO or ENDMACRO).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/listing_report.h"
#include "assembler/asm_line.h"
#include "assembler/line_parser.h"
#include "assembler/listing_text.h"
#include "assembler/literals.h"
#include "assembler/macro_line_split.h"
#include "assembler/macro_prepass.h"
#include "assembler/qrx_assembler.h"
#include "assembler/sjis_scan.h"
#include "assembler/source_set.h"
#include "fuzz_support.h"
#include "persistence/compare_text.h"
#include "persistence/custom_string_list.h"
#include "persistence/file_set.h"
#include "persistence/memory_stream.h"

namespace {

struct TAssembled {
  std::unique_ptr<TQRXAssembler> assembler = std::make_unique<TQRXAssembler>();
  int tally = 0;
};

TAssembled AssembleLine(const std::string& text) {
  TAssembled out;
  TCustomStringList lines;
  lines.Add(text);
  TMemoryStream stream;
  lines.SaveToStream(stream);
  stream.Seek(0);
  FuzzCheck(out.assembler->RestoreLines(stream), "a line restores");
  out.tally = out.assembler->Assemble().Tally;
  ShowAllUnits(*out.assembler);
  return out;
}

// Whether a string-character field stands for exactly one character: one
// byte, an escape, a double-byte character, or a lone lead byte.
bool IsSingleCharacter(const std::string& field) {
  const std::string_view body(field.data(), field.size() - 1);
  if (body.size() == 1) return true;
  if (body.size() == 2 && body[0] == '\\') return true;
  return body.size() == 2 && CharLengthAt(body, 0) == 2;
}

// A lone lead byte of a string ("X$"), which a run shows bare, so that it
// pairs with the character after it when the run is read again.
bool IsLoneLeadField(const std::string& field) {
  return field.size() == 2 && IsLeadByte(field[0]) && field[1] == '$';
}

// "name EQU value": no label mark, so a ":" in the value would make one.
bool IsNameEquValue(const TAsmLine& line) {
  return line.Mnemonic == "EQU" && line.FieldCount == 0;
}

// Whether a field written back as it stands would begin a comment.
bool HoldsComment(const std::string& field) {
  return FindOutsideQuotes(field, ";") != std::string_view::npos;
}

// The pre-pass splits a line's statement at its first delimiter, so a
// statement that begins with a comma has an empty first field there
// (",ENDMACRO" is no keyword to it), while the line parser drops that comma
// and shows the instruction ENDMACRO. The row cannot show the comma, and the
// line written back from it is a macro keyword line to the pre-pass.
bool PrePassReadsAnotherKeyword(std::string_view input, const TAsmLine& line) {
  const bool keyword = SameText(line.Mnemonic, "MACRO") || SameText(line.Mnemonic, "ENDMACRO");
  return keyword && !SameText(MacroLineKeyword(input), line.Mnemonic);
}

// Operand lists join their fields with single commas, so they cannot show
// an empty field, nor a lone lead byte inside a run; ordinary rows show two
// parameters, as they stand, so a field that holds a ";" of its own (a
// string character ";" is its token ";\") would begin a comment when
// written back. The name and value of "name EQU value" are fields too and
// stand where a ":" would make a label when written back. Blanks and control
// bytes at a label's edge are trimmed when it is read again (a label that
// fails keeps a "#" in front of them, which the listing does not show).
bool ListingShowsAll(const TAsmLine& line) {
  if (std::any_of(line.LabelName.begin(), line.LabelName.end(),
                  [](char c) { return c == ':' || c == ';' || static_cast<uint8_t>(c) <= ' '; }))
    return false;
  if (IsNameEquValue(line))
    return FindOutsideQuotes(ListingFieldText(line, 1), ":;") == std::string_view::npos;
  if (IsOperandListRow(line)) {
    for (size_t k = 1; k < line.FieldCount; ++k) {
      const std::string& field = line.Fields[k];
      if (field.empty() || (ShowsInQuotedRun(field) && !IsSingleCharacter(field))) return false;
      if (!ShowsInQuotedRun(field) && HoldsComment(field)) return false;
      // A field shown as written that holds apostrophes (an empty string
      // "''" ends the reading of strings on its line) changes how the
      // quotes of the runs shown after it read.
      if (!ShowsInQuotedRun(field) && field.find('\'') != std::string::npos) return false;
      if (IsLoneLeadField(field) && k + 1 < line.FieldCount && ShowsInQuotedRun(line.Fields[k + 1]))
        return false;
      // A backslash a string ended on ("\\") shows as the escape "\\"
      // where the run goes on: the same character, read as another token.
      if (field == "\\\\" && k + 1 < line.FieldCount && ShowsInQuotedRun(line.Fields[k + 1]))
        return false;
    }
    return true;
  }
  if (line.FieldCount > 3 || line.Mnemonic.empty()) return false;
  for (int k = 0; k < line.FieldCount; ++k)
    if (HoldsComment(line.Fields[k])) return false;
  return true;
}

// The parameters written so that they split again into the same fields:
// a blank after the instruction and a comma between parameters, and one
// comma more in front of an empty parameter (a field is empty only where a
// comma follows a separating comma).
std::string JoinParameters(const TAsmLine& line) {
  std::string text;
  for (int k = 1; k < line.FieldCount; ++k) {
    const std::string field = ListingFieldText(line, k);
    text += k == 1 ? " " : ",";
    if (field.empty()) text += ',';
    text += field;
  }
  return text;
}

// The line written from what the listing row shows. The label is written
// behind two commas, which the splits at the comment and at the label (or
// the first field) drop, so that a label that begins with a comma keeps it.
std::string LineFromListing(const TAsmLine& line, const TKwList& labels) {
  std::string text = ",," + ListingLabelText(line, labels);
  if (IsNameEquValue(line)) return text + " " + line.Fields[0] + " " + ListingFieldText(line, 1);
  text += ": ";
  text += line.Mnemonic;
  if (!IsOperandListRow(line) || line.FieldCount < 2) return text + JoinParameters(line);
  text += ' ';
  text += OperandListText(line);
  if (ShowsInQuotedRun(line.Fields[line.FieldCount - 1])) text += '\'';
  return text;
}

// Every row of the tool's listing: six fields, one line.
void CheckListingOutput(const TQRXAssembler& assembler, const TFileNames& files) {
  const std::string out = ListingOutput(assembler, files);
  FuzzCheck(std::count(out.begin(), out.end(), '\n') == assembler.Listing().Count(),
            "one output line per listing row");
  size_t start = 0;
  while (start < out.size()) {
    const size_t end = out.find('\n', start);
    FuzzCheck(std::count(out.begin() + static_cast<std::ptrdiff_t>(start),
                         out.begin() + static_cast<std::ptrdiff_t>(end), '\t') == 5,
              "a listing output row has six fields");
    start = end + 1;
  }
}

// The label tables hold the same keys with the same records.
bool SameLabels(const TKwList& a, const TKwList& b) {
  if (a.Count() != b.Count()) return false;
  for (int i = 0; i < a.Count(); ++i) {
    const TKwValues& x = a.RecordAt(i);
    const TKwValues& y = b.RecordAt(i);
    if (a[i] != b[i] || x.Value != y.Value || x.ValueOnly != y.ValueOnly || x.DefLine != y.DefLine)
      return false;
  }
  return true;
}

const TFileNames& Files() {
  static const TFileNames* const files = [] {
    auto* names = new TFileNames();
    names->AddWithStamp("/src/line.qasm", -1);
    names->AddWithStamp("/src/line.qasm", -1);
    return names;
  }();
  return *files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  input = input.substr(0, input.find_first_of("\r\n"));
  // A line that begins with the pre-pass's own definition marker is read as
  // part of a macro definition; its row shows the definition, not the line.
  if (IsMacroDefinitionLine(input)) return 0;
  const TAssembled first = AssembleLine(std::string(input) + SourceTag(1, 1));
  CheckListingOutput(*first.assembler, Files());
  if (first.assembler->Listing().Count() != 1) return 0;
  const TAsmLine& line = *first.assembler->Listing().Ref(0);
  if (!ListingShowsAll(line) || PrePassReadsAnotherKeyword(input, line)) return 0;
  // A MACRO header is made part of a definition (the pre-pass marks it):
  // its row shows the text parsed as code, while the pre-pass reads its
  // formals with a split of its own (no strings, other trimming), so the
  // row cannot tell the formals the pre-pass saw.
  if (IsMacroDefinitionLine(first.assembler->LineText(0))) return 0;

  // The source tag stays on when the line kept it in its comment (an open
  // quote swallows it into the last field, where the listing shows it).
  std::string again = LineFromListing(line, first.assembler->Labels());
  if (line.TagCount() > 0) again += SourceTag(1, 1);
  const TAssembled second = AssembleLine(again);
  FuzzCheck(second.assembler->Listing().Count() == 1, "the written line is one row");
  const TAsmLine& other = *second.assembler->Listing().Ref(0);

  FuzzCheck(second.tally == first.tally, "the written line has the same errors");
  FuzzCheck(other.ErrorCode == line.ErrorCode, "the written line has the same error");
  FuzzCheck(other.InstructionWord == line.InstructionWord, "the same instruction word");
  FuzzCheck(other.Address == line.Address, "the written line has the same address");
  FuzzCheck(other.Mnemonic == line.Mnemonic, "the written line has the same instruction");
  FuzzCheck(other.UndefinedName == line.UndefinedName, "the same undefined name");
  if (line.Mnemonic != "EQU" && line.FieldCount > 0) {
    FuzzCheck(other.FieldCount == line.FieldCount, "the written line has the same fields");
    // The instruction is written as the listing shows it, in upper case.
    FuzzCheck(std::equal(line.Fields.begin() + 1, line.Fields.begin() + line.FieldCount,
                         other.Fields.begin() + 1),
              "the written line has the same parameter texts");
    FuzzCheck(
        std::equal(line.Words.begin(), line.Words.begin() + line.FieldCount, other.Words.begin()),
        "the written line has the same words");
  }
  FuzzCheck(SameLabels(second.assembler->Labels(), first.assembler->Labels()),
            "the written line defines the same labels");
  return 0;
}
