// The machine-state file: everything needed to bring the workbench back to
// where it was, in one byte stream (little-endian):
//
//   16 bytes   header: 0x0B, "QRXBIN V110", four zero bytes
//   262,144    the machine block (memory, then the address-to-line map)
//   49,514     the monitor block
//   list       breakpoints (string-list stream of decimal line indices)
//   list+int   file set (paths as a string-list stream, then one signed
//              32-bit time stamp per path)
//   list       keys of the selected labels
//   list       names of the visible units
//   list       the assembler's expanded source lines
//
// Reading never changes anything by itself: ReadStateSections checks the
// whole file and parses it into a TStateSections, and only a caller that got
// Clean applies the sections. So a file cut short anywhere, or damaged in any
// section, leaves the workbench exactly as it was.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "persistence/bool_list.h"
#include "persistence/custom_string_list.h"
#include "persistence/file_set.h"
#include "session/load_result.h"

class TMemoryStream;
class TMonitorModel;
class TQRXEmulater;

// The format version this program reads and writes.
inline constexpr int kStateFileVersion = 110;
inline constexpr size_t kStateHeaderSize = 16;

// The 16 header bytes this program writes.
std::string StateHeader();

// Whether the first bytes of a file (up to 16; fewer when the file is
// shorter) make it a state file. They are read as a length-prefixed text:
// it must begin with "QRXBIN" (exact case) and its characters 9 to 11
// (counting from 1) must read as an integer greater than 0, which is then
// the version. Anything else, including characters that are no number, is
// not a state file (the caller reads the file as a source).
bool IsStateHeader(std::string_view firstBytes, int& version);

// What a state file is written from. All references must stay valid for the
// call.
struct TStateSource {
  const TQRXEmulater& machine;
  const TMonitorModel& monitor;
  const TCustomStringList& breakpoints;
  const TFileNames& files;
  const TCustomStringList& selectedLabels;
  const TCustomStringList& visibleUnits;
  const TCustomStringList& lines;
};

// The bytes of the state file for the given parts.
std::string StateFileBytes(const TStateSource& source);
// Writes the five list sections that follow the two blocks (breakpoints to
// source lines) at the stream's position.
void WriteStateLists(TMemoryStream& stream, const TStateSource& source);

// Writes the state file through a temporary file in the same folder that is
// renamed over path, so a failed save leaves an earlier file as it was.
// Returns false with a CP932 error text on failure.
bool WriteStateFile(const std::string& path, const TStateSource& source, std::string& error);

// The sections of a state file, checked and parsed, not yet applied.
struct TStateSections {
  int version = 0;
  // Exactly the bytes of the machine block and of the monitor block.
  std::string machineBlock;
  std::string monitorBlock;
  TBoolList breakpoints;
  TFileNames files;
  TCustomStringList selectedLabels;
  TCustomStringList visibleUnits;
  // The source-line section as it lies in the file: one complete
  // string-list stream (header and text), ready for the assembler's
  // RestoreLines.
  std::string lineBlock;
};

// Checks and parses a whole state file. Returns Clean when every section is
// complete; OtherStateVersion when the header is not this program's version
// (or no state header at all); DamagedStateFile when the header is ours but
// the header field or any section is cut short, a list section lacks its
// string-list header or its text runs past the end of the file, or the file
// set holds fewer than its two fixed entries. Bytes after the source lines
// are ignored. On failure `out` may hold part of the file and is to be
// thrown away; nothing else is touched.
TLoadResult ReadStateSections(std::string_view fileBytes, TStateSections& out);
// Checks and parses the five list sections from the stream's position into
// out (the version and the blocks are left alone): Clean, or
// DamagedStateFile as ReadStateSections says for them. The stream is left
// behind the breakpoints to visible units it read; the source lines are
// copied, not read past.
TLoadResult ReadStateLists(TMemoryStream& stream, TStateSections& out);
