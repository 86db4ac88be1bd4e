// Arbitrary bytes as a program of several source files held in memory: the
// main source and, cut at kFileMarker, the files it may include as "a.inc",
// "b.inc" and "lib\c.inc". The source-set reader reads them through its
// file-source seam, without the disk, and must agree with a reading written
// here the plain way, one file inside the other by recursion: the same
// result, the same file set with the same stamps and, when it succeeds, the
// same lines. A program that was read is then assembled and its listing
// must name only files of the file set.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/listing_report.h"
#include "assembler/include_line.h"
#include "assembler/qrx_assembler.h"
#include "assembler/source_set.h"
#include "fuzz_support.h"
#include "persistence/custom_string_list.h"
#include "persistence/file_set.h"
#include "persistence/file_source.h"
#include "persistence/memory_stream.h"
#include "persistence/path_text.h"

namespace {

constexpr const char* kPaths[] = {"/src/main.qasm", "/src/a.inc", "/src/b.inc", "/src/lib/c.inc"};
// Programs longer than this are read and compared, not assembled.
constexpr int kMaxAssembledLines = 2000;

// The reference: the main source's lines, each file included replaced by
// its start marker, its own lines read the same way and its end marker.
class TReferenceReader {
 public:
  TReferenceReader(const TFileSource& source, TFileNames& files, std::vector<std::string>& lines)
      : source_(source), files_(files), lines_(lines) {}

  TSourceReadResult ReadMain() { return ReadFile(1, true); }

 private:
  TSourceReadResult ReadFile(int fileIndex, bool isMain) {
    TCustomStringList own;
    std::string error;
    const TSourceReadResult loaded = LoadLines(files_[fileIndex], own, error, source_);
    if (loaded != TSourceReadResult::Complete && (isMain || loaded != TSourceReadResult::Empty))
      return loaded;
    for (int n = 0; n < own.Count(); ++n) {
      const std::string line = own[n] + SourceTag(fileIndex, n + 1);
      std::string name;
      if (!ParseIncludeLine(line, name)) {
        lines_.push_back(line);
        continue;
      }
      const std::string path = ResolveIncludeName(files_[1], name);
      const bool known = files_.Contains(path) || IsSameFileAsEntry(path);
      const int included = files_.AddWithStamp(path, source_.TimeStamp(path));
      if (known) return TSourceReadResult::IncludedTwice;
      const std::string shortName = PathToCp932(PathNamePart(path));
      lines_.push_back(IncludeStartMarker(shortName));
      const TSourceReadResult result = ReadFile(included, false);
      if (result != TSourceReadResult::Complete) return result;
      TCustomStringList count;
      LoadLines(path, count, error, source_);
      lines_.push_back(IncludeEndMarker(shortName) + SourceTag(included, count.Count() + 1));
    }
    return TSourceReadResult::Complete;
  }

  bool IsSameFileAsEntry(const std::string& path) const {
    const std::string identity = source_.Identity(path);
    if (identity.empty()) return false;
    for (int i = 0; i < files_.Count(); ++i)
      if (source_.Identity(files_[i]) == identity) return true;
    return false;
  }

  const TFileSource& source_;
  TFileNames& files_;
  std::vector<std::string>& lines_;
};

void StartFileSet(TFileNames& files) {
  files.AddWithStamp(kPaths[0], 1);
  files.AddWithStamp(kPaths[0], 1);
}

bool SameFileSets(const TFileNames& a, const TFileNames& b) {
  if (a.ToVector() != b.ToVector()) return false;
  for (int i = 0; i < a.Count(); ++i)
    if (a.TimeStamp(i) != b.TimeStamp(i)) return false;
  return true;
}

// The listing's error texts name files of the file set: "[name(line)]".
void CheckAssembly(const TCustomStringList& lines, const TFileNames& files) {
  TMemoryStream stream;
  lines.SaveToStream(stream);
  stream.Seek(0);
  TQRXAssembler assembler;
  FuzzCheck(assembler.RestoreLines(stream), "the lines read restore");
  const int tally = assembler.Assemble().Tally;
  FuzzCheck((tally == 0) == (assembler.ErrorLineCount() == 0), "a tally exactly with errors");
  ShowAllUnits(assembler);
  for (int r = 0; r < assembler.Listing().Count(); ++r) {
    const TAsmLine& line = *assembler.Listing().Ref(r);
    const int fileIndex = line.TagFileIndex();
    FuzzCheck(fileIndex < files.Count(), "a line's tag names a file of the set");
  }
  (void)ListingOutput(assembler, files);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string_view> parts =
      SplitFiles({reinterpret_cast<const char*>(data), size});
  TMemoryFiles source;
  for (size_t k = 0; k < parts.size() && k < std::size(kPaths); ++k)
    source.Put(kPaths[k], std::string(parts[k]), 0x00210000 + static_cast<int32_t>(k) * 2);

  TFileNames files;
  StartFileSet(files);
  TCustomStringList lines;
  lines.Add("the lines before");
  std::string error;
  const TSourceReadResult result = ReadSourceSet(files, lines, error, source);

  TFileNames referenceFiles;
  StartFileSet(referenceFiles);
  std::vector<std::string> referenceLines;
  const TSourceReadResult referenceResult =
      TReferenceReader(source, referenceFiles, referenceLines).ReadMain();

  FuzzCheck(result == referenceResult, "the reader gives the reference's result");
  FuzzCheck(SameFileSets(files, referenceFiles), "the reader's file set is the reference's");
  FuzzCheck((result == TSourceReadResult::ReadError) == !error.empty(),
            "an error text exactly on a failure");
  if (result == TSourceReadResult::Empty)
    FuzzCheck(lines.Count() == 1, "an empty main source reads nothing");
  if (result != TSourceReadResult::Complete) return 0;
  FuzzCheck(lines.ToVector() == referenceLines, "the reader's lines are the reference's");
  // Tags name the included files; a single file's assembly is the other
  // targets' business.
  if (files.Count() > 2 && lines.Count() <= kMaxAssembledLines) CheckAssembly(lines, files);
  return 0;
}
