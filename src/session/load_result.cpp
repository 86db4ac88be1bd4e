#include "session/load_result.h"

TLoadResult LoadResultOf(const TAssemblyResult& assembly) {
  return assembly.Clean() ? TLoadResult::Clean : TLoadResult::AssemblyErrors;
}

TLoadResult LoadResultOf(TSourceReadResult read) {
  switch (read) {
    case TSourceReadResult::Complete:
      return TLoadResult::Clean;
    case TSourceReadResult::Empty:
      return TLoadResult::EmptyFile;
    case TSourceReadResult::IncludedTwice:
      return TLoadResult::IncludedTwice;
    case TSourceReadResult::ReadError:
      return TLoadResult::ReadError;
  }
  return TLoadResult::ReadError;
}
