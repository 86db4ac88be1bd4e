// The text a screen cell shows for a character code. Codes 1 to 255 go
// through a fixed table that shows control codes as a caret pair and every
// other single-byte character in its full-width form, so that each character
// fills one square cell; larger codes are taken as two Shift-JIS bytes.
#pragma once

#include <cstdint>
#include <string>

// CP932 bytes for the code: empty for 0, the table entry for 1..255, and for
// 256..65535 the high byte followed by the low byte.
std::string DisplayText(uint16_t code);
