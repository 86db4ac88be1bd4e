#include "assembler/source_set.h"

#include <set>
#include <utility>

#include "assembler/include_line.h"
#include "persistence/compare_text.h"
#include "persistence/custom_string_list.h"
#include "persistence/encoding.h"
#include "persistence/file_set.h"
#include "persistence/file_source.h"
#include "persistence/int_text.h"
#include "persistence/list_stream_header.h"
#include "persistence/memory_stream.h"
#include "persistence/path_text.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The UTF-8 rule for one piece of source text; a byte-order mark in front of
// UTF-8 text would otherwise become a stray character on line 1.
std::string TextToCp932(std::string_view text) {
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark && IsValidUtf8(text))
    text.remove_prefix(kUtf8Mark.size());
  return SourceBytesToCp932(std::string(text));
}

// The file's bytes made ready for the string-list loader: a headed stream
// keeps its header and has its text converted (the header's length updated),
// anything else is converted as a whole.
std::string SourceStream(std::string bytes) {
  uint32_t length = 0;
  if (!ReadListStreamHeader(bytes, 0, length)) return TextToCp932(bytes);
  std::string text = TextToCp932(std::string_view(bytes).substr(kListStreamHeaderSize, length));
  TMemoryStream stream;
  stream.Write(kListStreamTag);
  stream.WriteU32(static_cast<uint32_t>(text.size()));
  stream.WriteU32(0);
  stream.Write(text);
  return stream.TakeBytes();
}

struct TTextLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return CompareText(a, b) < 0;
  }
};

// The files of the file set, by path (compared as the file set compares
// them, without regard to case) and by identity in the file source, so that
// each new include is checked in logarithmic time however many files came
// before.
class TKnownFiles {
 public:
  TKnownFiles(const TFileNames& files, const TFileSource& source) : source_(source) {
    for (int i = 0; i < files.Count(); ++i)
      Add(files[i]);
  }

  // Whether path is one of the files: the same text, or the same file.
  bool Holds(const std::string& path) const {
    if (paths_.count(path) != 0) return true;
    const std::string identity = source_.Identity(path);
    return !identity.empty() && identities_.count(identity) != 0;
  }

  void Add(const std::string& path) {
    paths_.insert(path);
    std::string identity = source_.Identity(path);
    if (!identity.empty()) identities_.insert(std::move(identity));
  }

 private:
  const TFileSource& source_;
  std::set<std::string, TTextLess> paths_;
  std::set<std::string> identities_;
};

TSourceReadResult ExpandIncludes(TFileNames& files, TCustomStringList& lines, std::string& error,
                                 const TFileSource& source) {
  const std::string mainPath = files[1];
  TKnownFiles known(files, source);
  std::string name;
  int from = 0;
  for (;;) {
    const int k = FindIncludeLine(lines, from, name);
    if (k < 0) return TSourceReadResult::Complete;
    const std::string path = ResolveIncludeName(mainPath, name);
    if (known.Holds(path)) {
      files.AddWithStamp(path, source.TimeStamp(path));
      return TSourceReadResult::IncludedTwice;
    }
    // The stamp is taken before the read, so an edit made while reading
    // shows up as a change later.
    const int fileIndex = files.AddWithStamp(path, source.TimeStamp(path));
    known.Add(path);
    TCustomStringList included;
    const TSourceReadResult result = LoadLines(path, included, error, source);
    // An empty include adds its markers and nothing else.
    if (result == TSourceReadResult::ReadError) return result;
    const std::string fileName = PathToCp932(PathNamePart(path));
    included.Add(IncludeEndMarker(fileName));
    TagLines(included, fileIndex);
    lines.SetStrings(k, IncludeStartMarker(fileName));
    lines.InsertLinesAfter(k, included);
    // Lines before the marker hold no include line any more, so the search
    // goes on from the marker: the included file's own includes come next.
    from = k + 1;
  }
}

}  // namespace

TSourceReadResult LoadLines(const std::string& path, TCustomStringList& list, std::string& error,
                            const TFileSource& source) {
  std::string bytes;
  if (!source.ReadFile(path, bytes, error)) return TSourceReadResult::ReadError;
  if (bytes.empty()) return TSourceReadResult::Empty;
  TMemoryStream stream(SourceStream(std::move(bytes)));
  list.LoadFromStream(stream);
  return TSourceReadResult::Complete;
}

std::string SourceTag(int fileIndex, int lineNumber) {
  return ";/\x1B" + IntToStr(fileIndex) + "\x1B" + IntToStr(lineNumber);
}

void TagLines(TCustomStringList& list, int fileIndex, int firstLine) {
  if (firstLine < 0) firstLine = 0;
  for (int i = firstLine; i < list.Count(); ++i)
    list.SetStrings(i, list[i] + SourceTag(fileIndex, i - firstLine + 1));
}

TSourceReadResult ReadSourceSet(TFileNames& files, TCustomStringList& lines, std::string& error,
                                const TFileSource& source) {
  if (files.Count() < 2) {
    error = Sjis("メインソースが指定されていません");
    return TSourceReadResult::ReadError;
  }
  const TSourceReadResult result = LoadLines(files[1], lines, error, source);
  if (result != TSourceReadResult::Complete) return result;
  TagLines(lines, 1);
  return ExpandIncludes(files, lines, error, source);
}
