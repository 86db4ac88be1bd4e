#include "session/case_expect_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

#include "machine/machine.h"
#include "monitor/screen_cell.h"
#include "persistence/encoding.h"
#include "session/screen_match.h"

namespace {

struct TRegisterName {
  std::string_view Name;
  uint16_t Address;
};

constexpr std::array<TRegisterName, 6> kRegisters = {{
    {"PC", TQRXEmulater::PC},
    {"SP", TQRXEmulater::SP},
    {"VF", TQRXEmulater::VF},
    {"SF", TQRXEmulater::SF},
    {"ZF", TQRXEmulater::ZF},
    {"CF", TQRXEmulater::CF},
}};

void ReadMemoryItem(TCaseValueReader& reader, const TJsonValue& item, bool anyAllowed,
                    std::vector<TMemoryWords>& out) {
  if (!reader.Object(item, {"address", "value", "values"})) return;
  TMemoryWords want;
  want.Position = item.Position;
  const TJsonValue* address = reader.Required(item, "address");
  const TJsonValue* value = TCaseValueReader::Member(item, "value");
  const TJsonValue* values = TCaseValueReader::Member(item, "values");
  if (value == nullptr && values == nullptr) {
    reader.Problem(item.Position, Sjis("キー \"value\" か \"values\" を書きます"));
    return;
  }
  if (value != nullptr && values != nullptr) {
    reader.Problem(item.Position, Sjis("\"value\" と \"values\" は一緒に書けません"));
    return;
  }
  const size_t before = reader.ProblemCount();
  if (address != nullptr) reader.Address(*address, want.Address);
  if (value != nullptr) {
    reader.Word(*value, anyAllowed, true, want.Values.emplace_back());
  } else if (reader.Array(*values)) {
    want.Run = true;
    for (const TJsonValue& word : values->Items)
      reader.Word(word, anyAllowed, true, want.Values.emplace_back());
    if (values->Items.empty()) reader.Problem(values->Position, Sjis("値がひとつもありません"));
  }
  if (reader.ProblemCount() != before || address == nullptr) return;
  if (want.Address.Number && *want.Address.Number + want.Values.size() > TQRXEmulater::kWords) {
    reader.Problem(address->Position, Sjis("メモリの外です: ") +
                                          std::to_string(want.Values.size()) +
                                          Sjis(" 語が FFFFh 番地を越えます"));
    return;
  }
  out.push_back(std::move(want));
}

bool ReadScreenPlace(TCaseValueReader& reader, const TJsonValue& v, int limit, const char* what,
                     int& out) {
  int64_t number = 0;
  if (v.Kind == TJsonValue::TKind::Number && v.IsInteger && (v.Integer < 0 || v.Integer >= limit)) {
    reader.Problem(v.Position, Sjis("画面の外です (") + Sjis(what) + " 0" + Sjis("～") +
                                   std::to_string(limit - 1) + ")");
    return false;
  }
  if (!reader.Integer(v, 0, limit - 1, number)) return false;
  out = static_cast<int>(number);
  return true;
}

void ReadScreenExpectation(TCaseValueReader& reader, const TJsonValue& item,
                           const std::string& wildcard, std::vector<TScreenExpectation>& out) {
  if (!reader.Object(item, {"row", "column", "text", "foreground", "background"})) return;
  TScreenExpectation want;
  want.Position = item.Position;
  const size_t before = reader.ProblemCount();
  if (const TJsonValue* row = reader.Required(item, "row"))
    ReadScreenPlace(reader, *row, kScreenRows, "行は", want.Row);
  const TJsonValue* column = TCaseValueReader::Member(item, "column");
  if (column != nullptr) ReadScreenPlace(reader, *column, kScreenColumns, "桁は", want.Column);
  const TJsonValue* text = TCaseValueReader::Member(item, "text");
  const bool blankRow = text != nullptr && column == nullptr &&
                        text->Kind == TJsonValue::TKind::String && text->Text.empty();
  if (blankRow || (text != nullptr && reader.Text(*text, want.TextAsWritten))) {
    want.HasText = true;
    want.Text = ExpectedCharacters(want.TextAsWritten, wildcard);
    want.WholeRow = column == nullptr;
    if (static_cast<int>(want.Text.size()) > kScreenColumns - want.Column)
      reader.Problem(text->Position, Sjis("画面の外です: ") + std::to_string(want.Column) +
                                         Sjis(" 桁から ") + std::to_string(want.Text.size()) +
                                         Sjis(" 文字は 63 桁を越えます"));
  }
  const TJsonValue* foreground = TCaseValueReader::Member(item, "foreground");
  const TJsonValue* background = TCaseValueReader::Member(item, "background");
  uint32_t colour = 0;
  if (foreground != nullptr && reader.Colour(*foreground, colour)) want.Foreground = colour;
  if (background != nullptr && reader.Colour(*background, colour)) want.Background = colour;
  if (text == nullptr && foreground == nullptr && background == nullptr)
    reader.Problem(item.Position,
                   Sjis("\"text\", \"foreground\", \"background\" のどれかを書きます"));
  if (reader.ProblemCount() == before) out.push_back(std::move(want));
}

// A line number, or "NAME:LINE" for a line of an included file.
bool ReadErrorLine(TCaseValueReader& reader, const TJsonValue& v, TErrorLine& out) {
  if (v.Kind == TJsonValue::TKind::Number) {
    int64_t line = 0;
    if (!reader.Integer(v, 1, std::numeric_limits<int>::max(), line)) return false;
    out.Line = static_cast<int>(line);
    return true;
  }
  std::string text;
  if (v.Kind == TJsonValue::TKind::String && reader.Text(v, text)) {
    const size_t colon = text.rfind(':');
    int line = 0;
    if (colon != std::string::npos && colon > 0) {
      const char* first = text.data() + colon + 1;
      const char* last = text.data() + text.size();
      const auto [end, failure] = std::from_chars(first, last, line);
      if (failure == std::errc() && end == last && first != last && line >= 1) {
        out.File = text.substr(0, colon);
        out.Line = line;
        return true;
      }
    }
  }
  reader.Problem(v.Position, Sjis("行番号か \"ファイル名:行番号\" を書きます"));
  return false;
}

void ReadAssemblyErrors(TCaseValueReader& reader, const TJsonValue& list,
                        std::optional<std::vector<TErrorLine>>& out) {
  if (!reader.Array(list)) return;
  std::vector<TErrorLine> lines;
  for (const TJsonValue& item : list.Items) {
    TErrorLine line;
    if (ReadErrorLine(reader, item, line)) lines.push_back(line);
  }
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  out = std::move(lines);
}

void ReadHalted(TCaseValueReader& reader, const TJsonValue& v, THaltExpectation& out) {
  if (v.Kind == TJsonValue::TKind::Boolean) {
    out = v.Boolean ? THaltExpectation::Halted : THaltExpectation::Running;
  } else if (v.Kind == TJsonValue::TKind::String && v.Text == "any") {
    out = THaltExpectation::Either;
  } else {
    reader.Problem(v.Position, Sjis("true, false か \"any\" を書きます"));
  }
}

void ReadStepRange(TCaseValueReader& reader, const TJsonValue& v, std::optional<TStepRange>& out) {
  TStepRange range{0, std::numeric_limits<uint64_t>::max()};
  if (v.Kind == TJsonValue::TKind::Number) {
    if (reader.Steps(v, range.Min)) out = TStepRange{range.Min, range.Min};
    return;
  }
  if (!reader.Object(v, {"min", "max"})) return;
  const TJsonValue* min = TCaseValueReader::Member(v, "min");
  const TJsonValue* max = TCaseValueReader::Member(v, "max");
  if ((min != nullptr && !reader.Steps(*min, range.Min)) ||
      (max != nullptr && !reader.Steps(*max, range.Max)))
    return;
  if (range.Min > range.Max) {
    reader.Problem(v.Position, Sjis("min が max より大きくなっています"));
    return;
  }
  out = range;
}

}  // namespace

void ReadMemoryWords(TCaseValueReader& reader, const TJsonValue& list, bool anyAllowed,
                     std::vector<TMemoryWords>& out) {
  if (!reader.Array(list)) return;
  for (const TJsonValue& item : list.Items)
    ReadMemoryItem(reader, item, anyAllowed, out);
}

void ReadRegisterWords(TCaseValueReader& reader, const TJsonValue& object, bool anyAllowed,
                       std::vector<TRegisterWord>& out) {
  if (!reader.Object(object, {"PC", "SP", "VF", "SF", "ZF", "CF"})) return;
  for (const TJsonMember& member : object.Members) {
    const auto known = std::find_if(kRegisters.begin(), kRegisters.end(),
                                    [&](const TRegisterName& r) { return r.Name == member.Key; });
    if (known == kRegisters.end()) continue;  // reported as an unknown key
    TRegisterWord want;
    want.Name = member.Key;
    want.Address = known->Address;
    if (reader.Word(member.Value, anyAllowed, true, want.Value)) out.push_back(std::move(want));
  }
}

void ReadExpectations(TCaseValueReader& reader, const TJsonValue& object,
                      const std::string& wildcard, TExpectations& out) {
  if (!reader.Object(object,
                     {"halted", "steps", "registers", "memory", "screen", "assembly_errors"}))
    return;
  if (const TJsonValue* v = TCaseValueReader::Member(object, "halted"))
    ReadHalted(reader, *v, out.Halt);
  if (const TJsonValue* v = TCaseValueReader::Member(object, "steps"))
    ReadStepRange(reader, *v, out.Steps);
  if (const TJsonValue* v = TCaseValueReader::Member(object, "registers"))
    ReadRegisterWords(reader, *v, true, out.Registers);
  if (const TJsonValue* v = TCaseValueReader::Member(object, "memory"))
    ReadMemoryWords(reader, *v, true, out.Memory);
  if (const TJsonValue* v = TCaseValueReader::Member(object, "screen")) {
    if (reader.Array(*v))
      for (const TJsonValue& item : v->Items)
        ReadScreenExpectation(reader, item, wildcard, out.Screen);
  }
  if (const TJsonValue* v = TCaseValueReader::Member(object, "assembly_errors"))
    ReadAssemblyErrors(reader, *v, out.AssemblyErrors);
}
