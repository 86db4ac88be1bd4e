// Cutting a source line into comment, label and fields.
#pragma once

#include <cstddef>
#include <string_view>

#include "assembler/asm_line.h"

// The result of SplitAt. Before and After look into the text that was split.
struct TSplitResult {
  bool Found = false;
  std::string_view Before;
  std::string_view After;
};

// The index of the first byte of `delimiters` outside apostrophe quotes, or
// npos. An apostrophe opens or closes a quote; a double-byte character is
// stepped over whole, so its second byte is never taken for a delimiter or
// an apostrophe.
size_t FindOutsideQuotes(std::string_view text, std::string_view delimiters);

// The text with bytes of code 32 or below removed at both ends.
std::string_view TrimControls(std::string_view text);

// Trims the text, drops one leading comma (and trims again), then looks for
// the first byte of `delimiters` outside apostrophe quotes. Found: the
// trimmed text in front of it and behind it. Not found: the whole trimmed
// text and an empty rest. A double-byte character is stepped over whole.
TSplitResult SplitAt(std::string_view delimiters, std::string_view text);

// The 1-based position of the first byte c outside apostrophe quotes, or 0.
size_t PosOutsideQuotes(char c, std::string_view text);

// The text with ASCII letters in upper case; double-byte characters stay.
std::string UpperAscii(std::string_view text);

// Fills Comment, LabelName (only when the line has a label), Fields,
// FieldCount and Mnemonic of `line` from `text`; recognises "name EQU value".
// Fields beyond FieldCount are left empty. Never fails.
void ParseLine(std::string_view text, TAsmLine& line);
