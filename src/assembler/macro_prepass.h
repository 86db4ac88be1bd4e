// The macro pre-pass over the assembler's line list: collects the macro
// definitions, turns their lines into comments, flags malformed definitions
// in the text of their lines and, when all were well formed, replaces every
// call line by the lines of its expansion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "assembler/macro_list.h"
#include "persistence/custom_string_list.h"

// Put in front of every line of a macro definition; the line becomes a
// comment.
inline constexpr std::string_view kMacroDefinitionMarker = ";M\x08";
// Put in front of the message of a flagged line (the driver turns it into
// ";" and gives the line an error code).
inline constexpr std::string_view kMacroErrorMarker = "E\x08";

// Whether a line's text begins with the macro-definition marker (without
// regard to letter case).
bool IsMacroDefinitionLine(std::string_view text);

// Whether the pre-pass flagged the line: every line it flags begins with the
// macro-definition marker directly followed by the error marker. An "E" and
// a backspace anywhere else are the line's own text (a comment or a string
// may hold them) and flag nothing.
bool IsFlaggedLine(std::string_view text);

// Whether a macro expansion wrote the line: its source tag (";/", ESC, file,
// ESC, line) goes on with the call's ESC, file, ESC, line. Lines read from
// source files never look like this (the reader appends their tag last).
bool IsExpandedLine(std::string_view text);

// The most bytes the lines of all expansions of one pre-pass hold together.
// A program that would expand to more (a few lines can ask for any amount:
// a call of each of n macros in every one of n macro bodies, or formals that
// turn up again in the text put in for an earlier one) gets no expansion at
// all, and the call that went past the bound is flagged as an error.
inline constexpr size_t kMaxExpansionBytes = size_t{4} << 20;
// ExpandMacroCalls's result when the expansions went past kMaxExpansionBytes.
inline constexpr int kExpansionTooLarge = -1;

// The name that a line an earlier expansion wrote defines in its label
// field (an immediate constant's "#" dropped); empty for any other line.
std::string ExpandedLineLabel(std::string_view text);

// `counter`, moved past every automatic name (CounterPastAutoLabel) that
// ExpandedLineLabel finds in the lines. Operands and comments are text and
// move nothing.
TAutoLabelCounter CounterPastExpandedLabels(const TCustomStringList& lines,
                                            TAutoLabelCounter counter);

// Empties `macros`, then pass 1, then moves the counter past the names that
// lines of an earlier expansion define (CounterPastExpandedLabels: a
// restored state file brings such lines back, and so does assembling the
// same lines again), so that neither pass 2 nor an unnamed block draws one
// of them again; lines that pass 1 has just made part of a definition
// define nothing. Then, when pass 1 counted no error, pass 2. Lines read
// from sources never look expanded, so on a fresh source the counter is
// left as it was. Returns the number of errors counted (one for expansions
// past the bound). `lines` must be an unsorted list; when calls are
// expanded it is rebuilt and its entries lose any per-entry data. The
// assembler always uses kMaxExpansionBytes; a smaller `expansionBound` lets
// a test reach the bound with little work.
int ExpandPrePass(TCustomStringList& lines, TMacroList& macros, TAutoLabelCounter& autoLabelCounter,
                  size_t expansionBound = kMaxExpansionBytes);

// Pass 1, first line to last: stores every definition in `macros` (which it
// does not empty), marks the definition lines and flags the malformed ones.
// Returns the number of errors.
int CollectMacroDefinitions(TCustomStringList& lines, TMacroList& macros);

// Pass 2: every line whose field 1 names a macro is replaced by its
// expansion, with the call's tag (the text from its first ESC). The calls are
// numbered from the last line to the first, so the last call takes the
// lowest automatic labels; expansion lines are never searched for calls.
// Runs in time linear in the lines and the expansion. Returns the number of
// calls expanded, or kExpansionTooLarge: then no call is expanded, the call
// at which the expansions went past `expansionBound` bytes is flagged
// (marker, error marker, "マクロの展開が大きすぎます → " and its former text)
// and the counter is as it was.
int ExpandMacroCalls(TCustomStringList& lines, TMacroList& macros,
                     TAutoLabelCounter& autoLabelCounter,
                     size_t expansionBound = kMaxExpansionBytes);
