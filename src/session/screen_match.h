// Comparing screen rows with the text a case file expects.
//
// Characters are compared in CP932 after folding: a single-byte character
// that the monitor shows in full width (0x20..0x7E, 0xA1..0xDF) counts as
// the full-width character the screen shows for it, so "Hello, QRX!" in a
// case file matches "Ｈｅｌｌｏ，　ＱＲＸ！" on the screen, which is what a
// program writing those codes shows. An empty cell reads as the full-width
// blank "　".
//
// The text is laid over the cells from the given column: each cell takes as
// many characters as it shows (one as a rule; a control code shows two, as
// "^M"), and a wildcard character takes one whole cell, whatever it shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "monitor/screen_model.h"
#include "session/case_file.h"

// The characters of CP932 text (a lead byte takes the byte after it).
std::vector<std::string_view> SplitCp932(std::string_view text);

// One character as it is compared (see the top).
std::string FoldCharacter(std::string_view character);

// A case file's text as expected characters: each folded, the wildcard
// character (CP932) as nullopt.
std::vector<TExpectedChar> ExpectedCharacters(std::string_view text, std::string_view wildcard);

struct TScreenTextMatch {
  bool Matched = false;
  // The column of the first cell that differs, or -1.
  int FirstDifference = -1;
  // The cells compared as they show (CP932): those the text covers, or for
  // a whole row the row without its trailing blanks.
  std::string Actual;
  // The cells the text covers, from the expected column.
  int CellCount = 0;
};

TScreenTextMatch MatchScreenText(const TScreenCells& cells, const TScreenExpectation& want);

// What a cell shows (CP932), an empty cell as "　".
std::string CellShows(const TScreenCell& cell);
