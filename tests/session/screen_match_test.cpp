// Matching screen rows with expected text: the folding of the characters a
// program shows in full width, the wildcard, cells that show two
// characters, and whole rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/screen_model.h"
#include "persistence/encoding.h"
#include "session/screen_match.h"

namespace {

// Writes the codes from (row, column) on a fresh screen.
class TScreen {
 public:
  void Put(int row, int column, const std::vector<uint16_t>& codes) {
    screen_.SetWriteRow(static_cast<uint16_t>(row));
    screen_.SetWriteColumn(static_cast<uint16_t>(column));
    for (uint16_t code : codes)
      screen_.PutChar(code);
  }
  const TScreenCells& Cells() const { return screen_.Cells(); }

 private:
  TScreenModel screen_;
};

TScreenExpectation Wanted(int row, int column, const std::string& utf8, bool wholeRow = false,
                          const std::string& wildcard = "?") {
  TScreenExpectation want;
  want.Row = row;
  want.Column = column;
  want.WholeRow = wholeRow;
  want.HasText = true;
  want.TextAsWritten = Sjis(utf8);
  want.Text = ExpectedCharacters(want.TextAsWritten, Sjis(wildcard));
  return want;
}

std::vector<uint16_t> Ascii(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(ScreenMatch, TextIsComparedAsTheScreenShowsIt) {
  TScreen screen;
  // "Hi? " in ASCII codes (shown full width), あ (a double-byte code), ｱ
  // (half-width katakana, shown full width), ^M (code 0Dh, two characters in
  // one cell), then an empty cell and X.
  std::vector<uint16_t> codes = Ascii("Hi? ");
  codes.insert(codes.end(), {0x82A0, 0xB1, 0x0D, 0x00, 'X'});
  screen.Put(3, 5, codes);
  struct TRow {
    std::string Text;
    std::string Wildcard;
    bool Matched;
    int FirstDifference;
  };
  const std::vector<TRow> rows = {
      {"Hi? あｱ^M　X", "*", true, -1},        // ASCII and half-width forms fold
      {"Ｈｉ？　あア^M　Ｘ", "*", true, -1},  // the full-width forms themselves
      {"H???????X", "?", true, -1},           // one wildcard per cell, whatever it shows
      {"Hi？", "?", true, -1},                // the full-width ？ is no wildcard
      {"H??あ", "*", false, 6},               // ? is literal when * is the wildcard
      {"Hi? あｱ^", "*", false, 11},           // the text ends inside the ^M cell
      {"Hi? あｱ^M X", "*", true, -1},         // the empty cell reads as a blank
      {"Hi! ", "*", false, 7},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Text);
    const TScreenTextMatch match =
        MatchScreenText(screen.Cells(), Wanted(3, 5, row.Text, false, row.Wildcard));
    EXPECT_EQ(match.Matched, row.Matched);
    EXPECT_EQ(match.FirstDifference, row.FirstDifference);
  }
}

TEST(ScreenMatch, TheActualTextShowsTheCoveredCells) {
  TScreen screen;
  screen.Put(0, 0, Ascii("ABCDEF"));
  const TScreenTextMatch match = MatchScreenText(screen.Cells(), Wanted(0, 1, "BXD"));
  EXPECT_FALSE(match.Matched);
  EXPECT_EQ(match.FirstDifference, 2);
  EXPECT_EQ(Cp932ToUtf8(match.Actual), "ＢＣＤ");
  EXPECT_EQ(match.CellCount, 3);
}

TEST(ScreenMatch, AWholeRowWantsEveryOtherCellBlank) {
  TScreen screen;
  screen.Put(7, 0, Ascii("OK"));
  EXPECT_TRUE(MatchScreenText(screen.Cells(), Wanted(7, 0, "OK", true)).Matched);
  EXPECT_TRUE(MatchScreenText(screen.Cells(), Wanted(7, 0, "OK  ", true)).Matched);
  EXPECT_FALSE(MatchScreenText(screen.Cells(), Wanted(7, 0, "O", true)).Matched);
  EXPECT_TRUE(MatchScreenText(screen.Cells(), Wanted(8, 0, "", true)).Matched) << "a blank row";

  screen.Put(7, 40, Ascii("!"));
  const TScreenTextMatch match = MatchScreenText(screen.Cells(), Wanted(7, 0, "OK", true));
  EXPECT_FALSE(match.Matched);
  EXPECT_EQ(match.FirstDifference, 40);
  // The whole row without its trailing blanks.
  EXPECT_EQ(
      Cp932ToUtf8(match.Actual), "ＯＫ" + [] {
        std::string blanks;
        for (int i = 2; i < 40; ++i)
          blanks += "　";
        return blanks;
      }() + "！");
  // Only the cells the text covers count when a column is given.
  EXPECT_TRUE(MatchScreenText(screen.Cells(), Wanted(7, 0, "OK")).Matched);
}

TEST(ScreenMatch, TextRunningPastTheRowEndFails) {
  TScreen screen;
  screen.Put(1, 62, Ascii("AB"));
  const TScreenTextMatch match = MatchScreenText(screen.Cells(), Wanted(1, 62, "ABC"));
  EXPECT_FALSE(match.Matched);
  EXPECT_EQ(match.FirstDifference, 64);
  EXPECT_EQ(match.CellCount, 2);
}

}  // namespace
