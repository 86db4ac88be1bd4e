// Literals of the assembly language: numbers in their radixes, character
// literals with backslash escapes, and quoted strings, which are rewritten
// into one character token per character before a line is cut into fields.
//
// Every failure raises EConvertError, except a binary literal with more
// digits than allowed, which raises EInvaridCharsetError (with the
// conversion message).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The number of digits a binary literal may have in source.
inline constexpr int kBinaryDigitLimit = 16;

// The value of a literal: an optional "#" or "@", an optional "[...]", then
// a radix suffix tested first ("$" or "\" character, "B" binary, "D" decimal,
// "H" hexadecimal) or, without one, the integer rule. An empty text is 0.
// The caller keeps the low 16 bits.
int32_t EvalNumber(std::string_view text);

// The integer rule: leading blanks, then either an optional sign and decimal
// digits, or one of the prefixes $, x, X, 0x, 0X and hexadecimal digits with
// no sign; nothing may follow. Decimal values must lie within int32;
// hexadecimal values may use all 32 bits (up to $FFFFFFFF, which is -1).
int32_t IntegerValue(std::string_view text);

// One or two bytes as a big-endian number, or a backslash escape
// (\c \n \q \r \s \t; a backslash before any other byte gives that byte).
int32_t CharLiteralValue(std::string_view text);

// A string of "0" and "1" of at most `limit` digits; empty is 0.
int32_t BinaryValue(std::string_view text, int limit);

// Replaces every quoted string by its character tokens (TAB, the escaped
// character, a backslash), from the left, until no pair of apostrophes with
// something between them is left. A lead byte of a double-byte character
// that no trail byte follows (written bare or behind a backslash) is a
// character of its own: its token is TAB, the byte and "$", which reads as
// the byte's code (a backslash behind it would read as its trail byte).
// A control byte without an escape letter, "#", "@" and "[" are written
// behind a backslash, so that the field neither loses them to trimming nor
// reads them as an operand's mark.
std::string ExpandStrings(std::string_view text);

// Whether the byte marks an operand when it begins it: immediate ("#",
// "@") and indirect ("[").
bool IsOperandMark(char c);

// Whether a field reads as one character of a string: it ends in a
// backslash that is not the second byte of a double-byte character, or it
// is a lone lead byte followed by "$". Without its last byte it is the
// character as written between the quotes.
bool IsStringCharField(std::string_view field);

// The escape form of a character whose first byte is TAB, line feed,
// carriage return, blank, apostrophe or comma; any other text unchanged.
std::string EscapeChar(std::string_view text);
