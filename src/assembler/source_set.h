// Reading a program's source files into one line list: the main source with
// every file it includes expanded in place, each line tagged with the file
// and line it came from. The functions work on any line list and file set
// given, so a caller can read into scratch ones and keep them only when the
// read succeeds, and on any file source (the disk unless told otherwise).
//
// The session turns these results into its load results
// (session/load_result.h).
#pragma once

#include <string>

#include "persistence/file_source.h"

class TCustomStringList;
class TFileNames;

enum class TSourceReadResult {
  Complete,       // read completely
  Empty,          // the main source (or, for LoadLines, the file) is empty, 0 bytes
  IncludedTwice,  // a file is included a second time; its path is the file set's last entry
  ReadError,      // a file could not be opened or read (missing include, no permission, a
                  // folder); error holds a CP932 message naming the file and the system's reason
};

// Reads the file into list, replacing its lines. A file that begins with
// the string-list stream header is read in that form (the text after the
// header), any other as plain text split at CR LF, CR or LF. Text that is
// valid UTF-8 with bytes of 0x80 and above is converted to CP932 first (a
// leading UTF-8 byte-order mark is dropped); ASCII and Shift-JIS are kept byte
// for byte. Returns Complete, Empty (list unchanged) or ReadError (list
// unchanged, error set). What a file holds never makes it throw. The file
// comes from source.
TSourceReadResult LoadLines(const std::string& path, TCustomStringList& list, std::string& error,
                            const TFileSource& source = DiskFiles());

// The source tag of a line: ";/", ESC, the file index, ESC, the line number.
std::string SourceTag(int fileIndex, int lineNumber);

// Appends the source tag to every line from firstLine on; the line at
// firstLine is line 1. The list must not be sorted.
void TagLines(TCustomStringList& list, int fileIndex, int firstLine = 0);

// Reads the main source, file set entry 1, with its includes into lines
// (replacing them), adding every included file to the file set with its
// current stamp, in the order of first inclusion. Every include line is
// replaced by the start marker, followed by the file's lines and the end
// marker, tagged with the file's index; the end marker's line number is one
// past the file's last line. The file set must hold entries 0 and 1.
//
// Returns Complete, Empty (lines unchanged), IncludedTwice (the lines
// expanded so far stay; the duplicate is added as the last entry) or
// ReadError (the file that failed is the last entry; its include line stays
// as it was). A file counts as included twice when its path equals an
// entry's without regard to letter case, or when it is the same file on disk
// as an entry's (another spelling of the path, a link). What the files
// hold never makes it throw: a file that cannot be read is a result. The
// files, their stamps and their identities come from source.
TSourceReadResult ReadSourceSet(TFileNames& files, TCustomStringList& lines, std::string& error,
                                const TFileSource& source = DiskFiles());
