// TQRXAssembler: the expanded source of one program and everything the
// assembler made of it.
//
// The assembler owns the lines: line i is the text of line i of the
// expanded source (includes expanded, every line ending in its source tag)
// and its record is the TAsmLine of that line. Beside the lines it owns the
// label table, the macro table, the unit table and the rows of the listing.
//
// Life of the records: SetLines, ReadSourceSet and RestoreLines replace the
// lines and drop every record (and the listing rows, which point at
// records); Assemble makes a fresh record for every line. A record
// therefore stays valid from the Assemble that made it until the next
// Assemble or load. Listing rows point at line records without owning them
// and are rebuilt whenever the records are replaced; whoever keeps pointers
// to label records (the workbench's label view) tells by AssemblyCount that
// they lapsed.
//
// Units. A unit is a block opened by "NAME: UNIT" at the top level. The unit
// table holds one entry per unit ever met, "NAME=.NAME.*", plus the top
// level's entry "*=.*"; an entry's child list is the unit's USES list and
// its mark the unit's visible flag (1 shown, 0 hidden). Entries are never
// removed, so a unit keeps its visibility across reassemblies; a unit met
// for the first time is hidden. The top level's flag starts at 1, and the
// top level never hides anything whatever its flag says.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "assembler/asm_line.h"
#include "assembler/assembly_result.h"
#include "assembler/auto_label.h"
#include "assembler/label_table.h"
#include "assembler/macro_list.h"
#include "assembler/memory_image.h"
#include "assembler/source_set.h"
#include "persistence/custom_string_list.h"
#include "persistence/record_string_list.h"
#include "persistence/ref_string_list.h"
#include "persistence/sub_string_list.h"

class TFileNames;
class TMemoryStream;

// The unit table's entry for the top level, and its name.
inline constexpr std::string_view kRootUnitEntry = "*=.*";
inline constexpr std::string_view kRootUnitName = "*";

// Rows of the listing: line text + the line's record (not owned).
using TListingRows = TRefStringList<TAsmLine>;

class TQRXAssembler {
 public:
  // One line ";" whose record has the comment ";"; the label table holds the
  // six registers; the unit table holds the top level's entry.
  TQRXAssembler();
  ~TQRXAssembler();
  TQRXAssembler(const TQRXAssembler&) = delete;
  TQRXAssembler& operator=(const TQRXAssembler&) = delete;

  // ---- lines
  int LineCount() const { return lines_.Count(); }
  // The text of line i; an index outside the lines raises EStringListError.
  const std::string& LineText(int i) const { return lines_.Strings(i); }
  // The line texts, for reading them as a whole (a state file saves them).
  const TCustomStringList& Lines() const { return lines_; }
  // Replaces the lines by the strings of lines and drops every line record
  // and listing row; Assemble must follow.
  void SetLines(const TCustomStringList& lines);
  // Whether line i has a record (it was assembled since the lines were last
  // replaced). An index outside the lines raises EStringListError.
  bool HasRecord(int i) const { return lines_.Record(i) != nullptr; }

  // ---- members
  // The label table; it knows the unit table.
  TKwList& Labels() { return labels_; }
  const TKwList& Labels() const { return labels_; }
  // The macro table of the last assembly.
  TMacroList& Macros() { return macros_; }
  const TMacroList& Macros() const { return macros_; }
  // The unit table: sorted, compared without regard to case, duplicates
  // ignored; see the comment at the top of this file. Change the visible
  // flags through SetVisibleUnits.
  const TSubStringList& Units() const { return units_; }
  // The names of the units open during pass 3 of Assemble.
  const TCustomStringList& UnitStack() const { return unitStack_; }
  // The visible lines, in source order (their LineIndex values ascend).
  const TListingRows& Listing() const { return listing_; }
  // The keys collected by the last SelectedLabels.
  const TCustomStringList& SelectedLabelNames() const { return selectedLabelNames_; }
  // The counter of automatic labels; Assemble sets it to 0 first.
  TAutoLabelCounter AutoLabelCounter() const { return autoLabelCounter_; }
  void SetAutoLabelCounter(TAutoLabelCounter counter) { autoLabelCounter_ = counter; }

  // ---- assembling
  // Assembles the lines: macro pre-pass, then the four passes, then the
  // listing rows. Returns the error tally and the number of error lines.
  // Never throws for anything in the source.
  TAssemblyResult Assemble();
  // How many times Assemble has run. Whoever keeps pointers into the label
  // table compares it to tell that they lapsed.
  uint64_t AssemblyCount() const { return assemblyCount_; }

  // Replaces the lines by the lines of a string-list stream read from the
  // stream's position (the line block of a state file) and drops every line
  // record and listing row; Assemble must follow. Returns true. A stream
  // that does not hold a complete string-list stream at its position (no
  // header, or it ends inside the text) returns false and leaves the lines,
  // the records, the listing and the stream position as they were.
  bool RestoreLines(TMemoryStream& stream);

  // Reads file set entry 1 with its includes (see source_set.h) and, when
  // that succeeds (Complete), replaces the lines by what was read, dropping
  // every record and listing row. Any other result (Empty, IncludedTwice,
  // ReadError; error set for the last) leaves the lines, records and listing
  // as they were, so the views may go on showing the program assembled
  // before. The file set is changed as ReadSourceSet does in either case.
  TSourceReadResult ReadSourceSet(TFileNames& files, std::string& error);

  // The record of line i. An index outside the list raises
  // EStringListError. A line that has no record yet (loaded, not assembled)
  // gets a fresh one with LineIndex i (non-const) or reads as an empty
  // record (const).
  TAsmLine& LineAt(int i);
  const TAsmLine& LineAt(int i) const;
  // The number of lines that have an error.
  int ErrorLineCount() const;
  // "*" and AutoLabelCounter as at least four upper-case hexadecimal digits;
  // the counter then grows by one.
  std::string NewAutoLabel();

  // ---- unit visibility, listing rows, selected labels
  // False only when text (a scope path or a label key) ends with
  // "." + NAME + ".*" for a unit NAME (not the top level) whose visible flag
  // is not 1; the first unit in table order whose suffix matches decides.
  bool IsUnitVisible(std::string_view text) const;
  // Rebuilds Listing from the lines with records and sets every record's
  // Visible. An ENDUNIT line is judged by the scope of the line before it
  // (the first line by its own scope).
  void BuildListing();
  // The Listing row of line lineIndex, or -1 (index outside the lines, line
  // hidden, listing empty). Binary search.
  int ListingRowOf(int lineIndex) const;
  // Sets every unit's visible flag, the top level's included: 1 when names
  // holds the unit's name (without regard to case), else 0. BuildListing
  // must follow for the listing to change.
  void SetVisibleUnits(const TCustomStringList& names);
  // Replaces names (cleared first) by the names of the units whose visible
  // flag is 1, the top level ("*") included, in table order.
  void CollectVisibleUnits(TCustomStringList& names) const;
  // The name of unit-table entry index (the text before "="); "" for an
  // index outside the table.
  std::string UnitNameAt(int index) const;
  // Sets the visible flag of unit-table entry index (1 shown, 0 hidden).
  // Returns false and changes nothing for an index outside the table.
  // BuildListing must follow for the listing to change.
  bool SetUnitVisible(int index, bool visible);
  // Refills SelectedLabelNames with the keys of the selected labels, in table
  // order, and returns it.
  const TCustomStringList& SelectedLabels();
  // Selects every label whose key is in names; names that are no key are
  // skipped and other labels are left as they are.
  void MarkSelectedLabels(const TCustomStringList& names);

  // ---- memory image
  // How many words line i puts into memory: none (-1) for a macro-definition
  // line; a DW line its FieldCount - 1 values (0 for a DW without values);
  // any other line not marked IsDirective its FieldCount when that is above
  // 0; -1 for every other line. The memory image and the machine-code file
  // both follow this one rule.
  int ImageWordCount(int i) const;
  // The lines that put at least one word into memory (ImageWordCount), in
  // source order. The spans look into the line records, so the result is
  // valid only until the records change (the next Assemble or load).
  std::vector<TImageLine> MemoryImage() const;

 private:
  // The passes of Assemble; each returns the errors it counted (the operand
  // pass counts each line once, as it ends: its count is ErrorLineCount).
  int ParseAndScopePass();
  int AddressAndLabelPass();
  int OperandPass();
  void MacroDefinitionPass();
  void DefineLineLabel(TAsmLine& line);
  // The unit table's entry for a unit name (exact "NAME=" prefix, without
  // regard to case), or -1.
  int UnitIndexOfName(std::string_view name) const;
  // Drops the records and the listing rows (the lines are being replaced).
  void ForgetRecords();

  TRecordStringList<TAsmLine> lines_;
  uint64_t assemblyCount_ = 0;
  TKwList labels_;
  TMacroList macros_;
  TSubStringList units_{true, TDuplicates::Ignore};
  TCustomStringList unitStack_;
  TListingRows listing_;
  TCustomStringList selectedLabelNames_;
  TAutoLabelCounter autoLabelCounter_ = 0;
  // Read by the const LineAt for lines that have no record yet.
  const TAsmLine emptyLine_;
};
