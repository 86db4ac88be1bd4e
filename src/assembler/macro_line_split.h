// Cutting a line the way the macro processor reads it: label, keyword and
// parameters, with the comment and the source tag left out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a line into [label, field 1, field 2, ...]:
// - the line is cut at its first ";" outside apostrophe quotes;
// - a ":" outside quotes ends the label (trimmed); without one the label is
//   empty;
// - the rest is trimmed and cut into fields at every ",", blank or TAB
//   outside quotes; both pieces of a cut are trimmed and a piece that then
//   begins with "," loses that comma once (and is trimmed again), so ", "
//   counts as one separator.
// There is always at least one field (possibly empty). A double-byte
// character is stepped over whole, never taken for a delimiter or a quote.
std::vector<std::string> SplitMacroLine(std::string_view text);

// Field 1 of SplitMacroLine(text), without building the whole list; it looks
// into `text`.
std::string_view MacroLineKeyword(std::string_view text);
