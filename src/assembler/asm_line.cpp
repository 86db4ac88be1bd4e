#include "assembler/asm_line.h"

#include <algorithm>
#include <charconv>

TAsmLine::TAsmLine() : Words(kFieldRoomInitial, 0), Fields(kFieldRoomInitial) {}

void TAsmLine::FillSourceTag() const {
  if (sourceTagFilled_) return;
  sourceTagFilled_ = true;
  SourceTag.clear();
  std::string_view rest(Comment);
  const size_t first = rest.find(kTagSeparator);
  if (first == std::string_view::npos) return;
  rest.remove_prefix(first);
  while (!rest.empty() && rest.front() == kTagSeparator)
    rest.remove_prefix(1);
  for (;;) {
    const size_t next = rest.find(kTagSeparator);
    SourceTag.emplace_back(rest.substr(0, next));
    if (next == std::string_view::npos) break;
    rest.remove_prefix(next + 1);
  }
}

void TAsmLine::ForgetSourceTag() {
  sourceTagFilled_ = false;
  SourceTag.clear();
}

int TAsmLine::TagCount() const {
  FillSourceTag();
  return static_cast<int>(SourceTag.size());
}

int32_t TAsmLine::TagItem(int i) const {
  FillSourceTag();
  if (i < 0 || i >= static_cast<int>(SourceTag.size())) return 0;
  const std::string& item = SourceTag[static_cast<size_t>(i)];
  int32_t value = 0;
  const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), value);
  if (error != std::errc() || end != item.data() + item.size()) return 0;
  return value;
}

int32_t TAsmLine::TagFileIndex() const {
  const int count = TagCount();
  if (count < 2) return -1;
  return TagItem(count - 2);
}

int32_t TAsmLine::TagLineNumber() const {
  return TagItem(TagCount() - 1);
}

void TAsmLine::GrowFields() {
  Fields.resize(Fields.size() + kFieldRoomStep);
  Words.resize(Words.size() + kFieldRoomStep, 0);
}

int ScopeDepth(const TAsmLine& line) {
  return static_cast<int>(std::count(line.Scope.begin(), line.Scope.end(), '.'));
}

std::string JoinOperands(const TAsmLine& line) {
  std::string joined;
  const size_t end = std::min<size_t>(line.FieldCount, line.Fields.size());
  for (size_t k = 1; k < end; ++k) {
    if (k > 1) joined += ',';
    joined += line.Fields[k];
  }
  return joined;
}

std::string CommentText(const TAsmLine& line) {
  std::string_view text(line.Comment);
  const size_t esc = text.find(kTagSeparator);
  if (esc != std::string_view::npos) {
    // The tag opens with ";/"; when the line has no comment of its own the
    // ";" was taken as the comment mark and only "/" is left.
    size_t cut = esc;
    if (cut >= 1 && text[cut - 1] == '/') --cut;
    if (cut >= 1 && text[cut - 1] == ';') --cut;
    text = text.substr(0, cut);
  }
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
    text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
    text.remove_suffix(1);
  return std::string(text);
}
