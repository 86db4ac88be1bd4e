// Include lines of a source and the marker lines that replace them.
//
// A line is an include line when its code part, the text before its first
// ";", contains the letters INCLUDE in any letter case, anywhere, even inside
// a longer word ("INCLUDED:" as a label counts). Every ";" ends the code part,
// also one inside quotes: the source tag and any comment can then never be
// read as part of a file name, at the price that a name holding ";" cannot
// be included. The letters are matched at character boundaries only, so the
// second byte of a double-byte character never starts a match.
//
// The file name is the code part after the seven letters, trimmed of blanks
// and control characters. When it begins with a double quote, the text up to
// the closing double quote (or the end) is the name, with a doubled double
// quote standing for one and anything after the closing quote ignored; a
// quoted name that comes out empty ("") leaves the trimmed text as it was.
#pragma once

#include <string>
#include <string_view>

class TCustomStringList;

// The include file name of one line, or false when it is no include line.
bool ParseIncludeLine(std::string_view line, std::string& name);

// The index of the first include line at or after startIndex, with its file
// name in name; -1 (name untouched) when there is none.
int FindIncludeLine(const TCustomStringList& lines, int startIndex, std::string& name);

// The path of an included file. name is CP932 text from a source; "\" in it
// separates folders like "/" (a second byte of a double-byte character is
// never taken for one). A name that contains ":" or begins with "/" is used
// as it stands; any other name is appended to the folder of mainPath, the
// main source's path, so includes are relative to the main source also
// inside included files. The result is a path for the operating system.
std::string ResolveIncludeName(const std::string& mainPath, std::string_view name);

// The marker that replaces an include line, and the one that follows the
// included file's last line; fileName is the CP932 name without folder.
std::string IncludeStartMarker(std::string_view fileName);
std::string IncludeEndMarker(std::string_view fileName);
