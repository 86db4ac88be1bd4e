// The sample programs in qasm/, run through the qrx tool: every one
// assembles cleanly, the ones that halt draw what they promise, and the
// interactive ones draw their first screen and then wait for keys that
// qrx run never presses.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../utf8_chars.h"
#include "tool_runner.h"

namespace {

// A limit that only a sample stuck in a loop reaches: the halting samples
// need at most a few seconds of frames.
const std::string kHaltingLimit = "2000000000";
// Enough for every interactive sample to draw its first screen.
const std::string kInteractiveLimit = "1000000";

const std::vector<std::string> kHalting = {"colors", "directions", "hello",
                                           "macros", "scroll",     "units_main"};
const std::vector<std::string> kInteractive = {"clock", "keyboard", "paint", "snake"};
// Included by other samples; they assemble on their own but are no programs.
const std::vector<std::string> kLibraries = {"lib_math", "lib_screen"};

std::string SamplePath(const std::string& name) {
  return std::string(QRX_SAMPLES_DIR) + "/" + name + ".qasm";
}

// Every .qasm file of the samples folder, by name without the extension.
std::vector<std::string> DiscoveredSamples() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(QRX_SAMPLES_DIR))
    if (entry.is_regular_file() && entry.path().extension() == ".qasm")
      names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The cells of one row of `qrx run --screen`: one UTF-8 character per cell.
// Every sample writes only full-width characters, so this holds for them.
std::vector<std::string> Cells(const std::string& row) {
  return Utf8Chars(row);
}

// The screen of a run, as 48 rows of cells (a trimmed row is padded with
// the blank that an empty cell shows).
class TScreen {
 public:
  explicit TScreen(const std::string& output) {
    for (const std::string& row : Lines(output)) {
      std::vector<std::string> cells = Cells(row);
      cells.resize(64, "　");
      rows_.push_back(cells);
    }
  }
  size_t RowCount() const { return rows_.size(); }
  // `count` cells from (row, column) to the right.
  std::string Across(size_t row, size_t column, size_t count) const {
    std::string text;
    for (size_t c = column; c < column + count && row < rows_.size() && c < 64; ++c)
      text += rows_[row][c];
    return text;
  }
  // `count` cells from (row, column) downwards.
  std::string Down(size_t row, size_t column, size_t count) const {
    std::string text;
    for (size_t r = row; r < row + count && r < rows_.size() && column < 64; ++r)
      text += rows_[r][column];
    return text;
  }
  std::string Row(size_t row) const { return Across(row, 0, 64); }
  // As many cells from (row, column) to the right as `like` has characters.
  std::string At(size_t row, size_t column, const std::string& like) const {
    return Across(row, column, Cells(like).size());
  }

 private:
  std::vector<std::vector<std::string>> rows_;
};

std::string Repeat(const std::string& cell, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i)
    text += cell;
  return text;
}

// A number as the samples print it: full-width digits, right-aligned to
// `width` cells with full-width blanks.
std::string FullWidthNumber(unsigned value, size_t width) {
  static const char* const kDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  std::vector<std::string> digits;
  do {
    digits.insert(digits.begin(), kDigits[value % 10]);
    value /= 10;
  } while (value != 0);
  std::string text = Repeat("　", width > digits.size() ? width - digits.size() : 0);
  for (const std::string& digit : digits)
    text += digit;
  return text;
}

std::string Reversed(const std::vector<std::string>& cells) {
  std::string text;
  for (auto it = cells.rbegin(); it != cells.rend(); ++it)
    text += *it;
  return text;
}

class Samples : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.Ok()); }
  TToolRun Run(const std::vector<std::string>& args) { return RunTool(scratch_, args); }

  // Runs a halting sample and returns its screen; the run must end on HALT
  // with a clean assembly.
  TScreen RunToHalt(const std::string& name) {
    const TToolRun run = Run({"run", SamplePath(name), "--max-steps", kHaltingLimit, "--screen"});
    EXPECT_EQ(run.exit, 0) << name << "\n" << run.err;
    const std::vector<std::string> messages = Lines(run.err);
    EXPECT_EQ(messages.size(), 2u) << run.err;
    if (messages.size() == 2) {
      EXPECT_EQ(messages[0], "ロード＆アセンブル正常終了");
      EXPECT_EQ(messages[1].rfind("実行終了: ", 0), 0u) << messages[1];
    }
    TScreen screen(run.out);
    EXPECT_EQ(screen.RowCount(), 48u);
    return screen;
  }

  TTempFolder scratch_;
};

// Each sample is run by one of the tests below, so a new file must be put
// into one of the lists; a name in a list must still be a file.
TEST_F(Samples, EverySampleFileIsClassifiedAndEveryListedSampleExists) {
  const std::vector<std::string> found = DiscoveredSamples();
  EXPECT_FALSE(found.empty());
  std::multiset<std::string> listed(kHalting.begin(), kHalting.end());
  listed.insert(kInteractive.begin(), kInteractive.end());
  listed.insert(kLibraries.begin(), kLibraries.end());
  for (const std::string& name : found)
    EXPECT_EQ(listed.count(name), 1u) << name << ".qasm is in no list of this test, or in two";
  for (const std::string& name : listed)
    EXPECT_TRUE(std::binary_search(found.begin(), found.end(), name)) << name << ".qasm is missing";
}

// No sample may carry an assembly error, and each begins with its header
// comment, which must come through the reading of the source unharmed.
TEST_F(Samples, EverySampleAssemblesWithoutErrors) {
  for (const std::string& name : DiscoveredSamples()) {
    SCOPED_TRACE(name);
    const TToolRun run = Run({"asm", SamplePath(name), "--listing"});
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(run.err, "ロード＆アセンブル正常終了\n");
    const std::vector<std::string> rows = Lines(run.out);
    ASSERT_FALSE(rows.empty());
    // The comment column is the last of six TAB-separated fields.
    const std::string header = rows[0].substr(rows[0].rfind('\t') + 1);
    EXPECT_EQ(header.rfind(name + ".qasm - ", 0), 0u) << header;
    EXPECT_GT(std::count_if(header.begin(), header.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0x80; }),
              0)
        << "the header comment has no Japanese text: " << header;
  }
}

// The samples are correct programs, so none of them may get a hint; the
// libraries, assembled on their own, neither.
TEST_F(Samples, NoSampleGetsAHint) {
  for (const std::string& name : DiscoveredSamples()) {
    const TToolRun run = Run({"asm", SamplePath(name), "--hints"});
    EXPECT_EQ(run.err, "ロード＆アセンブル正常終了\n") << name;
  }
}

TEST_F(Samples, HelloWritesTheTwoGreetings) {
  const TScreen screen = RunToHalt("hello");
  EXPECT_EQ(screen.At(10, 8, "Ｈｅｌｌｏ，　ＱＲＸ！"), "Ｈｅｌｌｏ，　ＱＲＸ！");
  EXPECT_EQ(screen.At(12, 8, "こんにちは、ＱＲＸマシン"), "こんにちは、ＱＲＸマシン");
}

// The word goes round a square clockwise: along the top, down the right
// side, backwards along the bottom and up the left side; the legend shows
// the direction read back from the first cell of each side.
TEST_F(Samples, DirectionsWritesTheWordAlongEverySideOfTheSquare) {
  const TScreen screen = RunToHalt("directions");
  const std::vector<std::string> word = Cells("ＱＲＸ　マシンモニタ");
  std::string forwards;
  for (const std::string& cell : word)
    forwards += cell;
  EXPECT_EQ(screen.Across(10, 21, 10), forwards);
  EXPECT_EQ(screen.Down(11, 31, 10), forwards);
  EXPECT_EQ(screen.Across(21, 21, 10), Reversed(word));
  EXPECT_EQ(screen.Down(11, 20, 10), Reversed(word));
  const std::string corners = screen.Across(10, 20, 1) + screen.Across(10, 31, 1) +
                              screen.Across(21, 31, 1) + screen.Across(21, 20, 1);
  EXPECT_EQ(corners, "■■■■");
  EXPECT_EQ(screen.At(26, 12, "上の辺　向き＝０"), "上の辺　向き＝０");
  EXPECT_EQ(screen.At(27, 12, "右の辺　向き＝１"), "右の辺　向き＝１");
  EXPECT_EQ(screen.At(28, 12, "下の辺　向き＝２"), "下の辺　向き＝２");
  EXPECT_EQ(screen.At(29, 12, "左の辺　向き＝３"), "左の辺　向き＝３");
}

// Twenty lines added at the bottom while scrolling up, then ten at the top
// while scrolling down, which pushes the last ten bottom lines off.
TEST_F(Samples, ScrollAddsLinesAtTheBottomGoingUpAndAtTheTopGoingDown) {
  const TScreen screen = RunToHalt("scroll");
  for (unsigned n = 1; n <= 10; ++n) {
    // Two digits with a leading zero.
    const std::string number = (n < 10 ? "０" : "") + FullWidthNumber(n, 1);
    const std::string down = "↓　下へスクロールして書いた行　" + number;
    const std::string up = "↑　上へスクロールして書いた行　" + number;
    EXPECT_EQ(screen.At(10 - n, 2, down), down) << n;
    EXPECT_EQ(screen.At(37 + n, 2, up), up) << n;
  }
  for (size_t row = 10; row < 38; ++row) {
    if (row == 14 || row == 26) continue;
    EXPECT_EQ(screen.Row(row), Repeat("　", 64)) << row;
  }
  EXPECT_EQ(screen.At(14, 20, "スクロールの"), "スクロールの");
  EXPECT_EQ(screen.At(26, 24, "おしまい"), "おしまい");
}

// FILL expands twice on one row each for the top and bottom edges and a
// third time for the dotted line; each expansion needs its own loop label.
TEST_F(Samples, MacrosDrawTheFrameAndTheTextInside) {
  const TScreen screen = RunToHalt("macros");
  EXPECT_EQ(screen.Across(8, 10, 30), Repeat("■", 30));
  EXPECT_EQ(screen.Across(14, 10, 30), Repeat("■", 30));
  EXPECT_EQ(screen.Down(9, 10, 5), Repeat("■", 5));
  EXPECT_EQ(screen.Down(9, 39, 5), Repeat("■", 5));
  EXPECT_EQ(screen.At(10, 13, "マクロで書きました"), "マクロで書きました");
  EXPECT_EQ(screen.Across(16, 10, 31), Repeat("・", 30) + "　");
}

// The table needs the MUL of one unit and the PUTNUM of the other, each
// reached through USES and a qualified name.
TEST_F(Samples, UnitsMainPrintsTheWholeMultiplicationTable) {
  const TScreen screen = RunToHalt("units_main");
  std::string head = "　×";
  for (unsigned j = 1; j <= 9; ++j)
    head += FullWidthNumber(j, 3) + "　";
  EXPECT_EQ(screen.Across(8, 12, 38), head);
  for (unsigned i = 1; i <= 9; ++i) {
    std::string row = FullWidthNumber(i, 3) + "　";
    for (unsigned j = 1; j <= 9; ++j)
      row += FullWidthNumber(i * j, 3) + "　";
    EXPECT_EQ(screen.Across(8 + i, 12, 40), row) << i;
  }
}

// The bottom-right cell of the gradient has red 31 × 8, green 15 × 16 and
// blue 128, read back through ports 38 to 40.
TEST_F(Samples, ColorsReadsBackTheColourOfTheLastGradientCell) {
  const TScreen screen = RunToHalt("colors");
  EXPECT_EQ(screen.At(29, 8, "赤　２４８　緑　２４０　青　１２８"),
            "赤　２４８　緑　２４０　青　１２８");
  EXPECT_EQ(screen.At(25, 16, "いろいろな色の文字です"), "いろいろな色の文字です");
}

// Without keys the interactive samples never end: each draws its screen and
// keeps polling until the step limit stops it.
TEST_F(Samples, InteractiveSamplesDrawTheirScreenAndWaitForKeys) {
  struct TCase {
    std::string name;
    size_t row;
    size_t column;
    std::string text;
  };
  const std::vector<TCase> cases = {
      {"keyboard", 0, 1, "キーボードビューア"},
      {"paint", 0, 1, "お絵かき"},
      {"clock", 3, 14, "タイマーの時計"},
      {"snake", 14, 24, "ヘビのゲーム"},
  };
  ASSERT_EQ(cases.size(), kInteractive.size());
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TToolRun run =
        Run({"run", SamplePath(c.name), "--max-steps", kInteractiveLimit, "--screen"});
    EXPECT_EQ(run.exit, 1) << run.err;
    EXPECT_EQ(run.err,
              "ロード＆アセンブル正常終了\n実行停止: 1,000,000steps(Total:1,000,000steps)\n");
    const TScreen screen(run.out);
    EXPECT_EQ(screen.At(c.row, c.column, c.text), c.text);
  }
}

// The help page lies beside the samples in the source tree and ships with
// them: it describes every sample, its table of contents leads somewhere,
// and it needs no other file.
TEST(HelpPage, NamesEverySampleAndStandsAlone) {
  const std::string path = std::string(QRX_SAMPLES_DIR) + "/../HELP/index.html";
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in.good()) << path;
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string page = buffer.str();
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);

  for (const std::string& name : DiscoveredSamples())
    EXPECT_NE(page.find(name + ".qasm"), std::string::npos) << name << ".qasm is not described";

  std::set<std::string> ids;
  const std::regex id(R"re(\sid="([^"]+)")re");
  for (auto it = std::sregex_iterator(page.begin(), page.end(), id); it != std::sregex_iterator();
       ++it)
    ids.insert((*it)[1]);
  int links = 0;
  const std::regex reference(R"re(\s(href|src)="([^"]*)")re");
  for (auto it = std::sregex_iterator(page.begin(), page.end(), reference);
       it != std::sregex_iterator(); ++it) {
    const std::string target = (*it)[2];
    ASSERT_FALSE(target.empty());
    EXPECT_EQ(target[0], '#') << "the page refers to another file: " << target;
    if (target[0] == '#') {
      ++links;
      EXPECT_EQ(ids.count(target.substr(1)), 1u) << "no anchor for " << target;
    }
  }
  EXPECT_GT(links, 10) << "no table of contents";
}

}  // namespace
