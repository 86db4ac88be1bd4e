#include "session/screen_match.h"

#include <array>

#include "monitor/character_set.h"
#include "persistence/encoding.h"

namespace {

constexpr std::string_view kBlank = "\x81\x40";  // the full-width blank

// Entry b: the full-width text the screen shows for the single byte b, or
// empty where b is not folded.
const std::array<std::string, 256>& FoldTable() {
  static const std::array<std::string, 256> table = [] {
    std::array<std::string, 256> folded;
    for (int b = 0; b < 256; ++b)
      if ((b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF))
        folded[static_cast<size_t>(b)] = DisplayText(static_cast<uint16_t>(b));
    return folded;
  }();
  return table;
}

// The folded characters a cell shows; an empty cell shows the blank.
std::vector<std::string> CellCharacters(const TScreenCell& cell) {
  std::vector<std::string> characters;
  for (std::string_view c : SplitCp932(cell.DisplayBytes()))
    characters.push_back(FoldCharacter(c));
  if (characters.empty()) characters.emplace_back(kBlank);
  return characters;
}

bool IsBlank(const TScreenCell& cell) {
  const std::vector<std::string> characters = CellCharacters(cell);
  return characters.size() == 1 && characters[0] == kBlank;
}

// Lays the expected characters from `next` over one cell: a wildcard takes
// the cell, any other character one of the cell's characters. Returns
// whether they agree; next moves past what the cell took.
bool CellAgrees(const TScreenCell& cell, const std::vector<TExpectedChar>& text, size_t& next) {
  if (!text[next]) {
    ++next;
    return true;
  }
  const std::vector<std::string> shown = CellCharacters(cell);
  bool same = true;
  for (const std::string& character : shown) {
    if (next >= text.size()) return false;  // the text ends inside the cell
    if (text[next] && *text[next] != character) same = false;
    ++next;
  }
  return same;
}

}  // namespace

std::vector<std::string_view> SplitCp932(std::string_view text) {
  std::vector<std::string_view> characters;
  for (size_t i = 0; i < text.size();) {
    const size_t length = IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

std::string FoldCharacter(std::string_view character) {
  if (character.size() == 1) {
    const std::string& folded = FoldTable()[static_cast<uint8_t>(character[0])];
    if (!folded.empty()) return folded;
  }
  return std::string(character);
}

std::vector<TExpectedChar> ExpectedCharacters(std::string_view text, std::string_view wildcard) {
  std::vector<TExpectedChar> expected;
  for (std::string_view c : SplitCp932(text)) {
    if (c == wildcard)
      expected.emplace_back(std::nullopt);
    else
      expected.emplace_back(FoldCharacter(c));
  }
  return expected;
}

std::string CellShows(const TScreenCell& cell) {
  const std::string_view shown = cell.DisplayBytes();
  return shown.empty() ? std::string(kBlank) : std::string(shown);
}

TScreenTextMatch MatchScreenText(const TScreenCells& cells, const TScreenExpectation& want) {
  TScreenTextMatch match;
  const auto cellAt = [&](int column) -> const TScreenCell& {
    return cells[static_cast<size_t>(want.Row * kScreenColumns + column)];
  };
  std::vector<std::string> shown;
  size_t next = 0;
  int column = want.Column;
  for (; next < want.Text.size() && column < kScreenColumns; ++column) {
    if (!CellAgrees(cellAt(column), want.Text, next) && match.FirstDifference < 0)
      match.FirstDifference = column;
    shown.push_back(CellShows(cellAt(column)));
  }
  match.CellCount = column - want.Column;
  // The row ended before the text did.
  if (next < want.Text.size() && match.FirstDifference < 0) match.FirstDifference = column;
  if (want.WholeRow) {
    for (; column < kScreenColumns; ++column) {
      if (!IsBlank(cellAt(column)) && match.FirstDifference < 0) match.FirstDifference = column;
      shown.push_back(CellShows(cellAt(column)));
    }
    while (!shown.empty() && shown.back() == kBlank)
      shown.pop_back();
  }
  for (const std::string& text : shown)
    match.Actual += text;
  match.Matched = match.FirstDifference < 0;
  return match;
}
