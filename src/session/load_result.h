// The result of loading a file into the program session: one value for each
// way a load ends. The assembler's own results map onto it here and nowhere
// else.
#pragma once

#include "assembler/assembly_result.h"
#include "assembler/source_set.h"

enum class TLoadResult {
  Clean,              // loaded; no line has an assembly error
  AssemblyErrors,     // loaded all the same; some lines have assembly errors
  NoSuchFile,         // the file does not exist
  EmptyFile,          // the file, or the main source it names, has 0 bytes
  OtherStateVersion,  // a state file of another version
  DamagedStateFile,   // a state file of this version, cut short or malformed
  IncludedTwice,      // a source includes a file a second time
  ReadError,          // a file could not be opened or read
};

// Whether the session took the new program (Clean or AssemblyErrors).
constexpr bool IsLoaded(TLoadResult result) {
  return result == TLoadResult::Clean || result == TLoadResult::AssemblyErrors;
}

// The load result of an assembly: Clean when it found no error.
TLoadResult LoadResultOf(const TAssemblyResult& assembly);

// The load result of reading a source set: Empty -> EmptyFile,
// IncludedTwice -> IncludedTwice, ReadError -> ReadError. A Complete read
// stops nothing and gives Clean; the assembly that follows decides.
TLoadResult LoadResultOf(TSourceReadResult read);
