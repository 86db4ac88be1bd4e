// The texts of one row of the assembled listing, as the listing view draws
// them and the command-line tool prints them. All texts are CP932.
#pragma once

#include <string>
#include <string_view>

#include "assembler/asm_line.h"

class TKwList;
class TFileNames;

// A row that holds code or data: a DW row, or a row that is no directive and
// has fields. Comments, blank lines, labels alone, EQU lines and the other
// directives are not.
bool IsCodeRow(const TAsmLine& line);

// The label column: LabelName, with "#" in front on an EQU row whose label
// (LabelName + Scope) is a value-only constant in labels.
std::string ListingLabelText(const TAsmLine& line, const TKwList& labels);

// Whether the row's operands are shown as one list across both parameter
// columns (DW and USES rows).
bool IsOperandListRow(const TAsmLine& line);

// Whether an operand-list field shows as a character of a quoted run: a
// string character (IsStringCharField) that does not begin with a "#", "@"
// or "[", which marks its operand and would read as a plain character
// inside quotes.
bool ShowsInQuotedRun(std::string_view field);

// The operand list of a DW or USES row, from fields 1 to FieldCount - 1.
// Fields that show in a quoted run (ShowsInQuotedRun) are shown together as
// one, so the fields 1, A\, B\ read "1,'AB". A run that reaches the end of
// the list gets no closing quote. A "#", "@" or "[" that a string keeps
// behind a backslash shows without it. Empty below 2 fields.
std::string OperandListText(const TAsmLine& line);

// Entry n of Fields (parameter 1 or 2 on ordinary rows); "" when absent.
std::string ListingFieldText(const TAsmLine& line, int n);

// The comment column's text: the comment without its source tag, trimmed.
std::string ListingCommentText(const TAsmLine& line);

// An important comment begins with "*" and is drawn bold.
bool IsImportantComment(const std::string& commentText);

// The error text of a row that has an error:
// "[" + file name + "(" + line number + ")]" + message, the file name being
// the name part of file-set entry TagFileIndex. A row without a source tag
// (an include start marker, a line cut from its tag) has no position, so its
// text is the message alone. "" when the row has none.
std::string ListingErrorText(const TAsmLine& line, const TFileNames& files);
