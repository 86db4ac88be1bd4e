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

void ReadMemorySpec(TCaseValueReader& reader, const TJsonValue& item, bool anyAllowed,
                    std::vector<TMemorySpec>& out) {
  if (!reader.Object(item, {"address", "value", "values"})) return;
  TMemorySpec spec;
  spec.Position = item.Position;
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
  if (address != nullptr) reader.Address(*address, spec.Address);
  if (value != nullptr) {
    reader.Word(*value, anyAllowed, true, spec.Values.emplace_back());
  } else if (reader.Array(*values)) {
    spec.Run = true;
    for (const TJsonValue& word : values->Items)
      reader.Word(word, anyAllowed, true, spec.Values.emplace_back());
    if (values->Items.empty()) reader.Problem(values->Position, Sjis("値がひとつもありません"));
  }
  if (reader.ProblemCount() != before || address == nullptr) return;
  if (spec.Address.Number && *spec.Address.Number + spec.Values.size() > TQRXEmulater::kWords) {
    reader.Problem(address->Position, Sjis("メモリの外です: ") +
                                          std::to_string(spec.Values.size()) +
                                          Sjis(" 語が FFFFh 番地を越えます"));
    return;
  }
  out.push_back(std::move(spec));
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

void ReadScreenSpec(TCaseValueReader& reader, const TJsonValue& item, const std::string& wildcard,
                    std::vector<TScreenSpec>& out) {
  if (!reader.Object(item, {"row", "column", "text", "foreground", "background"})) return;
  TScreenSpec spec;
  spec.Position = item.Position;
  const size_t before = reader.ProblemCount();
  if (const TJsonValue* row = reader.Required(item, "row"))
    ReadScreenPlace(reader, *row, kScreenRows, "行は", spec.Row);
  const TJsonValue* column = TCaseValueReader::Member(item, "column");
  if (column != nullptr) ReadScreenPlace(reader, *column, kScreenColumns, "桁は", spec.Column);
  const TJsonValue* text = TCaseValueReader::Member(item, "text");
  const bool blankRow = text != nullptr && column == nullptr &&
                        text->Kind == TJsonValue::TKind::String && text->Text.empty();
  if (blankRow || (text != nullptr && reader.Text(*text, spec.TextAsWritten))) {
    spec.HasText = true;
    spec.Text = ExpectedCharacters(spec.TextAsWritten, wildcard);
    spec.WholeRow = column == nullptr;
    if (static_cast<int>(spec.Text.size()) > kScreenColumns - spec.Column)
      reader.Problem(text->Position, Sjis("画面の外です: ") + std::to_string(spec.Column) +
                                         Sjis(" 桁から ") + std::to_string(spec.Text.size()) +
                                         Sjis(" 文字は 63 桁を越えます"));
  }
  const TJsonValue* foreground = TCaseValueReader::Member(item, "foreground");
  const TJsonValue* background = TCaseValueReader::Member(item, "background");
  uint32_t colour = 0;
  if (foreground != nullptr && reader.Colour(*foreground, colour)) spec.Foreground = colour;
  if (background != nullptr && reader.Colour(*background, colour)) spec.Background = colour;
  if (text == nullptr && foreground == nullptr && background == nullptr)
    reader.Problem(item.Position,
                   Sjis("\"text\", \"foreground\", \"background\" のどれかを書きます"));
  if (reader.ProblemCount() == before) out.push_back(std::move(spec));
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

void ReadMemorySpecs(TCaseValueReader& reader, const TJsonValue& list, bool anyAllowed,
                     std::vector<TMemorySpec>& out) {
  if (!reader.Array(list)) return;
  for (const TJsonValue& item : list.Items)
    ReadMemorySpec(reader, item, anyAllowed, out);
}

void ReadRegisterSpecs(TCaseValueReader& reader, const TJsonValue& object, bool anyAllowed,
                       std::vector<TRegisterSpec>& out) {
  if (!reader.Object(object, {"PC", "SP", "VF", "SF", "ZF", "CF"})) return;
  for (const TJsonMember& member : object.Members) {
    const auto known = std::find_if(kRegisters.begin(), kRegisters.end(),
                                    [&](const TRegisterName& r) { return r.Name == member.Key; });
    if (known == kRegisters.end()) continue;  // reported as an unknown key
    TRegisterSpec spec;
    spec.Name = member.Key;
    spec.Address = known->Address;
    if (reader.Word(member.Value, anyAllowed, true, spec.Value)) out.push_back(std::move(spec));
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
    ReadRegisterSpecs(reader, *v, true, out.Registers);
  if (const TJsonValue* v = TCaseValueReader::Member(object, "memory"))
    ReadMemorySpecs(reader, *v, true, out.Memory);
  if (const TJsonValue* v = TCaseValueReader::Member(object, "screen")) {
    if (reader.Array(*v))
      for (const TJsonValue& item : v->Items)
        ReadScreenSpec(reader, item, wildcard, out.Screen);
  }
  if (const TJsonValue* v = TCaseValueReader::Member(object, "assembly_errors"))
    ReadAssemblyErrors(reader, *v, out.AssemblyErrors);
}
