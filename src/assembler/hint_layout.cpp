#include "assembler/hint_layout.h"

#include <algorithm>
#include <string_view>

#include "assembler/hint_program.h"
#include "assembler/include_line.h"

namespace {

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
  Sweep();
}

void THintLayout::Sweep() {
  const int count = program_.LineCount();
  procAround_.assign(static_cast<size_t>(count), -1);
  insideInclude_.assign(static_cast<size_t>(count), 0);
  std::vector<int> openBlocks;                       // indices into blocks_
  std::vector<std::pair<int, size_t>> openIncludes;  // span index, open blocks then
  const std::string rootScope = ".*";
  const std::string* previousScope = &rootScope;
  std::string name;
  for (int i = 0; i < count; ++i) {
    const std::string& text = program_.LineText(i);
    const TAsmLine& line = program_.Line(i);
    if (IsIncludeStartMarker(text, name)) {
      openIncludes.emplace_back(static_cast<int>(includes_.size()), openBlocks.size());
      includes_.push_back({i, count, name});
    } else if (IsIncludeEndMarker(text)) {
      insideInclude_[static_cast<size_t>(i)] = 1;
      CloseInclude(i, openBlocks, openIncludes);
    } else if (line.Scope != *previousScope) {
      if (line.Mnemonic == "PROC" || line.Mnemonic == "UNIT") {
        blocks_.push_back({i, count, line.Mnemonic == "PROC"});
        openBlocks.push_back(static_cast<int>(blocks_.size()) - 1);
      } else if ((line.Mnemonic == "ENDPROC" || line.Mnemonic == "ENDUNIT") &&
                 !openBlocks.empty()) {
        blocks_[static_cast<size_t>(openBlocks.back())].Close = i;
        openBlocks.pop_back();
      }
    }
    if (!openIncludes.empty()) insideInclude_[static_cast<size_t>(i)] = 1;
    for (auto it = openBlocks.rbegin(); it != openBlocks.rend(); ++it) {
      const TBlockSpan& block = blocks_[static_cast<size_t>(*it)];
      if (block.IsProc) {
        procAround_[static_cast<size_t>(i)] = block.Open;
        break;
      }
    }
    previousScope = &line.Scope;
  }
  for (const int block : openBlocks) {
    const int open = blocks_[static_cast<size_t>(block)].Open;
    if (std::find(unclosed_.begin(), unclosed_.end(), open) == unclosed_.end())
      unclosed_.push_back(open);
  }
  std::sort(unclosed_.begin(), unclosed_.end());
}

// The blocks opened inside the file that ends here and still open are left
// open at the end of their file. They stay open for the lines that follow,
// as they do for the assembler.
void THintLayout::CloseInclude(int endLine, std::vector<int>& openBlocks,
                               std::vector<std::pair<int, size_t>>& openIncludes) {
  if (openIncludes.empty()) return;
  const auto [span, blocksBefore] = openIncludes.back();
  openIncludes.pop_back();
  includes_[static_cast<size_t>(span)].End = endLine;
  for (size_t k = blocksBefore; k < openBlocks.size(); ++k) {
    const int open = blocks_[static_cast<size_t>(openBlocks[k])].Open;
    if (std::find(unclosed_.begin(), unclosed_.end(), open) == unclosed_.end())
      unclosed_.push_back(open);
  }
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
