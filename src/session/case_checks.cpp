#include "session/case_checks.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "persistence/encoding.h"
#include "persistence/int_text.h"
#include "persistence/path_text.h"
#include "session/program_session.h"
#include "session/run_report.h"
#include "session/screen_match.h"

namespace {

// The file-set entry of the main source; included files follow it.
constexpr int kMainSourceIndex = 1;

std::string Hex(uint16_t word) {
  return Hex4(word) + "h";
}

std::string ColourText(uint32_t colour) {
  // 0x00BBGGRR as #RRGGBB.
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return text;
}

std::string MissingLabel(const std::string& label) {
  return Sjis("ラベル ") + label + Sjis(" がプログラムにありません");
}

TCheckResult Check(TCheckKind kind, std::string what) {
  TCheckResult check;
  check.Kind = kind;
  check.What = std::move(what);
  return check;
}

TCheckResult CheckHalted(THaltExpectation expected, const TRunFacts& run) {
  TCheckResult check = Check(TCheckKind::Halted, Sjis("停止"));
  check.Expected = Sjis(expected == THaltExpectation::Halted ? "HALT で停止する" : "停止しない");
  check.Actual = run.Halted ? Sjis("HALT で停止 (") + GroupDigits(run.Steps) + Sjis(" ステップ)")
                            : Sjis("ステップ上限 ") + GroupDigits(run.MaxSteps) +
                                  Sjis(" で打ち切り (停止せず)");
  check.Passed = run.Halted == (expected == THaltExpectation::Halted);
  return check;
}

TCheckResult CheckSteps(const TStepRange& range, const TRunFacts& run) {
  TCheckResult check = Check(TCheckKind::Steps, Sjis("ステップ数"));
  if (range.Min == range.Max)
    check.Expected = GroupDigits(range.Min);
  else if (range.Max == UINT64_MAX)
    check.Expected = GroupDigits(range.Min) + Sjis(" 以上");
  else
    check.Expected = GroupDigits(range.Min) + Sjis("～") + GroupDigits(range.Max);
  check.Actual = GroupDigits(run.Steps);
  check.Passed = run.Steps >= range.Min && run.Steps <= range.Max;
  return check;
}

// One word against its expectation; the expected text goes into `expected`.
bool WordAgrees(const TCaseWord& want, uint16_t actual, const TQRXAssembler& assembler,
                std::string& expected, std::string& note) {
  if (want.Any) {
    expected = "any";
    return true;
  }
  const std::optional<uint16_t> value = ResolveWord(want, assembler);
  if (!value) {
    expected = want.Label;
    note = MissingLabel(want.Label);
    return false;
  }
  expected = want.Label.empty() ? WordText(*value) : want.Label + " = " + WordText(*value);
  return *value == actual;
}

TCheckResult CheckRegister(const TRegisterWord& want, const TProgramSession& session) {
  TCheckResult check = Check(TCheckKind::Register, want.Name);
  const uint16_t actual = session.Machine().ReadWord(want.Address);
  check.Actual = WordText(actual);
  check.Passed = WordAgrees(want.Value, actual, session.Assembler(), check.Expected, check.Note);
  return check;
}

TCheckResult CheckMemory(const TMemoryWords& want, const TProgramSession& session) {
  const TQRXAssembler& assembler = session.Assembler();
  const std::optional<uint16_t> base = ResolveWord(want.Address, assembler);
  TCheckResult check = Check(TCheckKind::Memory, Sjis("メモリ "));
  if (!base) {
    check.What += want.Address.Label;
    check.Note = MissingLabel(want.Address.Label);
    return check;
  }
  const size_t count = want.Values.size();
  check.What += Hex(*base);
  if (want.Run) check.What += Sjis("～") + Hex(static_cast<uint16_t>(*base + count - 1));
  if (!want.Address.Label.empty()) check.What += " (" + want.Address.Label + ")";
  if (*base + count > TQRXEmulater::kWords) {
    check.Note = Sjis("メモリの外です: FFFFh 番地を越えます");
    return check;
  }
  check.Passed = true;
  for (size_t i = 0; i < count; ++i) {
    const auto address = static_cast<uint16_t>(*base + i);
    const uint16_t actual = session.Machine().ReadWord(address);
    std::string expected;
    std::string note;
    const bool agrees = WordAgrees(want.Values[i], actual, assembler, expected, note);
    if (i > 0) {
      check.Expected += ", ";
      check.Actual += ", ";
    }
    check.Expected += expected;
    check.Actual += WordText(actual);
    if (!agrees && check.Passed) {
      check.Passed = false;
      check.Note = note.empty() ? Hex(address) + Sjis(" 番地が違います") : note;
    }
  }
  return check;
}

std::string ScreenPlace(int row, int column) {
  return Sjis("画面 ") + std::to_string(row) + Sjis(" 行 ") + std::to_string(column) + Sjis(" 桁");
}

void CheckColour(TCheckKind kind, uint32_t expected, const TScreenExpectation& want, int cells,
                 const TScreenCells& screen, std::vector<TCheckResult>& out) {
  const bool foreground = kind == TCheckKind::Foreground;
  const std::string which = Sjis(foreground ? "の文字色" : "の背景色");
  TCheckResult check = Check(kind, ScreenPlace(want.Row, want.Column) + which);
  check.Expected = ColourText(expected);
  check.Passed = true;
  for (int column = want.Column; column < want.Column + std::max(cells, 1); ++column) {
    const TScreenCell& cell = screen[static_cast<size_t>(want.Row * kScreenColumns + column)];
    const uint32_t actual = foreground ? cell.Foreground : cell.Background;
    if (column == want.Column) check.Actual = ColourText(actual);
    if (actual != expected) {
      check.What = ScreenPlace(want.Row, column) + which;
      check.Actual = ColourText(actual);
      check.Passed = false;
      break;
    }
  }
  out.push_back(std::move(check));
}

void CheckScreen(const TScreenExpectation& want, const TScreenCells& screen,
                 std::vector<TCheckResult>& out) {
  int cells = 0;
  if (want.HasText) {
    const TScreenTextMatch match = MatchScreenText(screen, want);
    TCheckResult check =
        Check(TCheckKind::ScreenText, want.WholeRow
                                          ? Sjis("画面 ") + std::to_string(want.Row) + Sjis(" 行")
                                          : ScreenPlace(want.Row, want.Column));
    check.Expected = want.TextAsWritten;
    check.Actual = match.Actual;
    check.Passed = match.Matched;
    if (!match.Matched)
      check.Note = match.FirstDifference < kScreenColumns
                       ? std::to_string(match.FirstDifference) + Sjis(" 桁から違います")
                       : Sjis("行の終わりまでに文字が足りません");
    out.push_back(std::move(check));
    cells = match.CellCount;
  }
  if (want.Foreground)
    CheckColour(TCheckKind::Foreground, *want.Foreground, want, cells, screen, out);
  if (want.Background)
    CheckColour(TCheckKind::Background, *want.Background, want, cells, screen, out);
}

std::string ErrorLinesText(const std::vector<TErrorLine>& lines) {
  if (lines.empty()) return Sjis("なし");
  std::string text;
  for (const TErrorLine& line : lines) {
    if (!text.empty()) text += ", ";
    text +=
        line.File.empty() ? std::to_string(line.Line) : line.File + ":" + std::to_string(line.Line);
  }
  return text;
}

std::vector<TErrorLine> ErrorLines(const TProgramSession& session) {
  const TQRXAssembler& assembler = session.Assembler();
  std::set<TErrorLine> lines;
  for (int i = 0; i < assembler.LineCount(); ++i) {
    const TAsmLine& line = assembler.LineAt(i);
    if (!line.HasError()) continue;
    TErrorLine error;
    error.Line = line.TagLineNumber();
    const int file = line.TagFileIndex();
    if (file != kMainSourceIndex && file >= 0 && file < session.Files().Count())
      error.File = PathToCp932(PathNamePart(session.Files()[file]));
    lines.insert(error);
  }
  return {lines.begin(), lines.end()};
}

TCheckResult CheckAssemblyErrors(const std::vector<TErrorLine>& expected,
                                 const TProgramSession& session) {
  TCheckResult check = Check(TCheckKind::AssemblyErrors, Sjis("アセンブルエラーの行"));
  const std::vector<TErrorLine> actual = ErrorLines(session);
  check.Expected = ErrorLinesText(expected);
  check.Actual = ErrorLinesText(actual);
  check.Passed = actual == expected;
  return check;
}

}  // namespace

std::optional<uint16_t> ResolveWord(const TCaseWord& word, const TQRXAssembler& assembler) {
  if (word.Number) return word.Number;
  const TKwList& labels = assembler.Labels();
  for (const std::string& key : {word.Label + ".*", word.Label}) {
    const TKwValues& record = labels.RecordOf(key);
    if (&record != &labels.EmptyRecord()) return static_cast<uint16_t>(record.Value);
  }
  return std::nullopt;
}

std::string WordText(uint16_t word) {
  return Hex(word) + " (" + std::to_string(word) + ")";
}

std::vector<TCheckResult> CheckExpectations(const TExpectations& expect, const TRunFacts& run,
                                            const TProgramSession& session) {
  std::vector<TCheckResult> checks;
  if (expect.Halt != THaltExpectation::Either) checks.push_back(CheckHalted(expect.Halt, run));
  if (expect.Steps) checks.push_back(CheckSteps(*expect.Steps, run));
  for (const TRegisterWord& want : expect.Registers)
    checks.push_back(CheckRegister(want, session));
  for (const TMemoryWords& want : expect.Memory)
    checks.push_back(CheckMemory(want, session));
  const TScreenCells& screen = session.Monitor().Screen().Cells();
  for (const TScreenExpectation& want : expect.Screen)
    CheckScreen(want, screen, checks);
  if (expect.AssemblyErrors) checks.push_back(CheckAssemblyErrors(*expect.AssemblyErrors, session));
  return checks;
}
