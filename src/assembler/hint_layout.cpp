#include "assembler/hint_layout.h"

#include <algorithm>
#include <string_view>

#include "assembler/hint_program.h"
#include "assembler/include_line.h"

namespace {

// The words that open and close blocks.
enum class TBlockWord { None, Open, Close };

TBlockWord BlockWordOf(const std::string& mnemonic) {
  switch (mnemonic.size()) {
    case 4:
      return mnemonic == "PROC" || mnemonic == "UNIT" ? TBlockWord::Open : TBlockWord::None;
    case 7:
      return mnemonic == "ENDPROC" || mnemonic == "ENDUNIT" ? TBlockWord::Close : TBlockWord::None;
    default:
      return TBlockWord::None;
  }
}

// The file-set index of the main source.
constexpr int kMainSourceIndex = 1;

// A marker as the source reader writes it, cut around its file name.
struct TMarkerShape {
  std::string head;
  std::string tail;
};

TMarkerShape ShapeOf(const std::string& markerWithoutName) {
  const size_t cut = markerWithoutName.find("[]") + 1;
  return {markerWithoutName.substr(0, cut), markerWithoutName.substr(cut)};
}

const TMarkerShape& StartShape() {
  static const TMarkerShape shape = ShapeOf(IncludeStartMarker(""));
  return shape;
}

const TMarkerShape& EndShape() {
  static const TMarkerShape shape = ShapeOf(IncludeEndMarker(""));
  return shape;
}

}  // namespace

bool IsIncludeStartMarker(const std::string& text, std::string& name) {
  const TMarkerShape& shape = StartShape();
  // The start marker carries no source tag, so it is the whole line.
  if (text.size() < shape.head.size() + shape.tail.size() || !text.starts_with(shape.head) ||
      !text.ends_with(shape.tail))
    return false;
  name = text.substr(shape.head.size(), text.size() - shape.head.size() - shape.tail.size());
  return true;
}

bool IsIncludeEndMarker(const std::string& text) {
  return text.starts_with(EndShape().head);
}

THintLayout::THintLayout(const THintProgram& program) : program_(program) {
  procAroundLine_.reserve(static_cast<size_t>(program.LineCount()));
  insideInclude_.reserve(static_cast<size_t>(program.LineCount()));
}

void THintLayout::AddLine(int i) {
  static const std::string kRootScope = ".*";
  const TAsmLine& line = program_.Line(i);
  if (line.HasError()) ++errorLines_;
  const std::string& previousScope = previousScope_ != nullptr ? *previousScope_ : kRootScope;
  previousScope_ = &line.Scope;
  bool endMarker = false;
  if (line.FieldCount == 0 && line.LabelName.empty()) {
    // A comment line; the include markers are such lines.
    const std::string& text = program_.LineText(i);
    if (IsIncludeStartMarker(text, name_)) {
      openIncludes_.emplace_back(static_cast<int>(includes_.size()), openBlocks_.size());
      includes_.push_back({i, program_.LineCount(), name_});
    } else if (IsIncludeEndMarker(text)) {
      endMarker = true;
      CloseInclude(i);
    }
  } else if (const TBlockWord word = BlockWordOf(line.Mnemonic);
             word != TBlockWord::None && line.Scope != previousScope) {
    if (word == TBlockWord::Open) {
      blocks_.push_back({i, program_.LineCount(), line.Mnemonic == "PROC"});
      openBlocks_.push_back(static_cast<int>(blocks_.size()) - 1);
    } else if (!openBlocks_.empty()) {
      blocks_[static_cast<size_t>(openBlocks_.back())].Close = i;
      openBlocks_.pop_back();
    }
    procAround_ = -1;
    for (auto it = openBlocks_.rbegin(); it != openBlocks_.rend(); ++it) {
      if (blocks_[static_cast<size_t>(*it)].IsProc) {
        procAround_ = blocks_[static_cast<size_t>(*it)].Open;
        break;
      }
    }
  }
  insideInclude_.push_back(endMarker || !openIncludes_.empty() ? 1 : 0);
  procAroundLine_.push_back(procAround_);
}

void THintLayout::Finish() {
  for (const int block : openBlocks_)
    MarkUnclosed(blocks_[static_cast<size_t>(block)].Open);
  std::sort(unclosed_.begin(), unclosed_.end());
}

void THintLayout::MarkUnclosed(int openLine) {
  if (std::find(unclosed_.begin(), unclosed_.end(), openLine) == unclosed_.end())
    unclosed_.push_back(openLine);
}

// The blocks opened inside the file that ends here and still open are left
// open at the end of their file. They stay open for the lines that follow,
// as they do for the assembler.
void THintLayout::CloseInclude(int endLine) {
  if (openIncludes_.empty()) return;
  const auto [span, blocksBefore] = openIncludes_.back();
  openIncludes_.pop_back();
  includes_[static_cast<size_t>(span)].End = endLine;
  for (size_t k = blocksBefore; k < openBlocks_.size(); ++k)
    MarkUnclosed(blocks_[static_cast<size_t>(openBlocks_[k])].Open);
}

int THintLayout::ProcEntered(int after, int line) const {
  auto it = std::upper_bound(blocks_.begin(), blocks_.end(), after,
                             [](int value, const TBlockSpan& block) { return value < block.Open; });
  for (; it != blocks_.end() && it->Open < line; ++it)
    if (it->IsProc && it->Close > line) return it->Open;
  return -1;
}

const TIncludeSpan* THintLayout::IncludeEntered(int after, int line) const {
  auto it =
      std::upper_bound(includes_.begin(), includes_.end(), after,
                       [](int value, const TIncludeSpan& span) { return value < span.Start; });
  for (; it != includes_.end() && it->Start < line; ++it)
    if (it->End > line) return &*it;
  return nullptr;
}

bool THintLayout::IsProcLine(int line) const {
  const auto it =
      std::lower_bound(blocks_.begin(), blocks_.end(), line,
                       [](const TBlockSpan& block, int value) { return block.Open < value; });
  return it != blocks_.end() && it->Open == line && it->IsProc;
}

// Every line of the including file before the INCLUDE line is one tagged
// line of the expanded source, or an INCLUDE line of its own (a whole
// included file, from its start to its end marker). So going back from the
// start marker: each included file met is one line, and the first tagged
// line of the including file, or the start of that file (its start marker,
// or the first line for the main source), says where the count begins.
TSourcePlace THintLayout::IncludePlace(const TIncludeSpan& span) const {
  int skipped = 0;
  for (int j = span.Start - 1; j >= 0; --j) {
    const auto ended = std::find_if(includes_.begin(), includes_.end(),
                                    [j](const TIncludeSpan& s) { return s.End == j; });
    if (ended != includes_.end()) {
      j = ended->Start;
      ++skipped;
      continue;
    }
    const auto started = std::find_if(includes_.begin(), includes_.end(),
                                      [j](const TIncludeSpan& s) { return s.Start == j; });
    if (started != includes_.end()) {
      const int fileIndex =
          started->End < program_.LineCount() ? program_.Line(started->End).TagFileIndex() : -1;
      return {fileIndex, 1 + skipped};
    }
    const TAsmLine& line = program_.Line(j);
    if (line.TagFileIndex() >= 0) return {line.TagFileIndex(), line.TagLineNumber() + 1 + skipped};
  }
  return {kMainSourceIndex, 1 + skipped};
}
