#include "session/case_file.h"

#include <algorithm>

#include "persistence/encoding.h"
#include "persistence/file_io.h"
#include "persistence/path_text.h"
#include "session/case_expect_reader.h"
#include "session/case_input_reader.h"
#include "session/case_value_reader.h"
#include "session/screen_match.h"

namespace {

constexpr std::string_view kDefaultWildcard = "?";

struct TFileSettings {
  uint64_t MaxSteps = kDefaultMaxSteps;
  std::string Wildcard = std::string(kDefaultWildcard);  // CP932
  std::string Folder;                                    // ends with "/" unless empty
};

std::string CaseLabel(int number) {
  return Sjis("ケース ") + std::to_string(number);
}

std::string SourcePath(const std::string& folder, const std::string& source) {
  return source.starts_with('/') ? source : folder + source;
}

class TCaseReader {
 public:
  TCaseReader(const TFileSettings& settings, std::vector<std::string>& names)
      : settings_(settings), names_(names) {}

  void Read(const TJsonValue& v, int number, TTestCase& out) {
    out.Number = number;
    out.Position = v.Position;
    out.Name = CaseLabel(number);
    out.MaxSteps = settings_.MaxSteps;
    TCaseValueReader reader(out.Problems);
    if (!reader.Object(v,
                       {"name", "source", "max_steps", "input", "memory", "registers", "expect"}))
      return;
    ReadName(reader, v, out);
    if (const TJsonValue* source = TCaseValueReader::Member(v, "source")) {
      std::string cp932;
      if (reader.Text(*source, cp932)) {
        out.Source = SourcePath(settings_.Folder, source->Text);
        out.SourcePosition = source->Position;
      }
    }
    if (const TJsonValue* limit = TCaseValueReader::Member(v, "max_steps")) {
      int64_t steps = 0;
      if (reader.Integer(*limit, 1, INT64_MAX, steps)) out.MaxSteps = static_cast<uint64_t>(steps);
    }
    if (const TJsonValue* input = TCaseValueReader::Member(v, "input"))
      ReadCaseInput(reader, *input, out);
    if (const TJsonValue* memory = TCaseValueReader::Member(v, "memory"))
      ReadMemoryWords(reader, *memory, false, out.MemorySettings);
    if (const TJsonValue* registers = TCaseValueReader::Member(v, "registers"))
      ReadRegisterWords(reader, *registers, false, out.RegisterSettings);
    if (const TJsonValue* expect = TCaseValueReader::Member(v, "expect"))
      ReadExpectations(reader, *expect, settings_.Wildcard, out.Expect);
  }

 private:
  void ReadName(TCaseValueReader& reader, const TJsonValue& v, TTestCase& out) {
    const TJsonValue* name = reader.Required(v, "name");
    std::string text;
    if (name == nullptr || !reader.Text(*name, text)) return;
    if (std::find(names_.begin(), names_.end(), text) != names_.end()) {
      reader.Problem(name->Position, Sjis("同じ名前のケースが前にあります"));
      return;
    }
    names_.push_back(text);
    out.Name = std::move(text);
  }

  const TFileSettings& settings_;
  std::vector<std::string>& names_;
};

void ReadSettings(TCaseValueReader& reader, const TJsonValue& root, TFileSettings& settings) {
  if (const TJsonValue* limit = TCaseValueReader::Member(root, "max_steps")) {
    int64_t steps = 0;
    if (reader.Integer(*limit, 1, INT64_MAX, steps))
      settings.MaxSteps = static_cast<uint64_t>(steps);
  }
  if (const TJsonValue* wildcard = TCaseValueReader::Member(root, "wildcard")) {
    std::string text;
    if (reader.Text(*wildcard, text)) {
      if (SplitCp932(text).size() == 1)
        settings.Wildcard = text;
      else
        reader.Problem(wildcard->Position, Sjis("wildcard は1文字にします"));
    }
  }
}

}  // namespace

bool ParseCaseFile(std::string_view text, const std::string& folder, TCaseFile& out,
                   TCaseFileProblem& fatal) {
  out.Cases.clear();
  out.Problems.clear();
  TJsonValue root;
  TJsonError error;
  if (!ReadJsonTree(text, root, error)) {
    fatal = {error.Position, error.Message};
    return false;
  }
  if (root.Kind != TJsonValue::TKind::Object) {
    fatal = {root.Position, Sjis("ケースファイルは { で始まるオブジェクトにします")};
    return false;
  }
  const TJsonValue* cases = TCaseValueReader::Member(root, "cases");
  if (cases == nullptr || cases->Kind != TJsonValue::TKind::Array) {
    fatal = {cases == nullptr ? root.Position : cases->Position,
             Sjis("ケースの配列 \"cases\": [...] がありません")};
    return false;
  }
  TCaseValueReader reader(out.Problems);
  reader.Object(root, {"max_steps", "wildcard", "cases"});
  TFileSettings settings;
  settings.Folder = folder;
  if (!settings.Folder.empty() && !settings.Folder.ends_with('/')) settings.Folder += '/';
  ReadSettings(reader, root, settings);
  if (cases->Items.empty()) reader.Problem(cases->Position, Sjis("ケースがひとつもありません"));

  std::vector<std::string> names;
  TCaseReader caseReader(settings, names);
  out.Cases.resize(cases->Items.size());
  for (size_t i = 0; i < cases->Items.size(); ++i)
    caseReader.Read(cases->Items[i], static_cast<int>(i + 1), out.Cases[i]);
  return true;
}

bool ReadCaseFile(const std::string& path, TCaseFile& out, TCaseFileProblem& fatal) {
  out = TCaseFile();
  out.Path = path;
  std::string text;
  std::string error;
  if (!ReadWholeFile(path, text, error)) {
    fatal = {TJsonPosition(), error};
    return false;
  }
  return ParseCaseFile(text, PathFolderPart(path), out, fatal);
}
