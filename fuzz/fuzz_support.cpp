#include "fuzz_support.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/listing_report.h"
#include "assembler/line_parser.h"
#include "assembler/listing_text.h"
#include "assembler/macro_prepass.h"
#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "session/program_session.h"
#include "session/run_control.h"
#include "session/run_report.h"
#include "workbench/label_view_model.h"

void FuzzCheck(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

TScratchFolder::TScratchFolder(const char* tag) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/qrx-" + tag + "-XXXXXX";
  FuzzCheck(mkdtemp(pattern.data()) != nullptr, "a scratch folder can be made");
  path_ = pattern;
}

TScratchFolder::~TScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TScratchFolder::Path(std::string_view name) const {
  return path_ + "/" + std::string(name);
}

void TScratchFolder::Write(std::string_view name, std::string_view bytes) const {
  std::ofstream out(Path(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  FuzzCheck(static_cast<bool>(out), "a scratch file can be written");
}

void TScratchFolder::Remove(std::string_view name) const {
  std::remove(Path(name).c_str());
}

std::vector<std::string_view> SplitFiles(std::string_view input) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t at = input.find(kFileMarker);
    if (at == std::string_view::npos) break;
    parts.push_back(input.substr(0, at));
    input.remove_prefix(at + kFileMarker.size());
  }
  parts.push_back(input);
  return parts;
}

void TFuzzHost::DeliverPendingEvents() {
  if (control_ != nullptr && --budget_ <= 0) control_->Stop();
}

void TFuzzHost::RunFinished(const TRunOutcome& outcome) {
  CheckExecutionRow();
  lastMessage = RunOutcomeText(outcome.Halted, outcome.Steps, outcome.Total);
}

void TFuzzHost::CheckExecutionRow() const {
  const TQRXEmulater& machine = session_.Machine();
  const int line = machine.LineOf(machine.ReadWord(TQRXEmulater::PC));
  const int row = session_.Assembler().ListingRowOf(line);
  FuzzCheck(row >= -1 && row < session_.Assembler().Listing().Count(), "row of the current line");
}

namespace {

void ReadListingRows(const TQRXAssembler& assembler, const TFileNames& files) {
  const TListingRows& rows = assembler.Listing();
  for (int r = 0; r < rows.Count(); ++r) {
    const TAsmLine* line = rows.Ref(r);
    FuzzCheck(line != nullptr, "every listing row has its line");
    FuzzCheck(assembler.ListingRowOf(line->LineIndex) == r, "a visible line finds its own row");
    size_t length = ListingLabelText(*line, assembler.Labels()).size();
    length += ListingFieldText(*line, 0).size() + ListingFieldText(*line, 1).size() +
              ListingFieldText(*line, 2).size() + ListingFieldText(*line, -1).size() +
              ListingFieldText(*line, line->FieldCount).size();
    if (IsOperandListRow(*line)) length += OperandListText(*line).size();
    const std::string comment = ListingCommentText(*line);
    length += IsImportantComment(comment) ? 1 : 0;
    length += IsCodeRow(*line) ? 1 : 0;
    const std::string error = ListingErrorText(*line, files);
    FuzzCheck(error.empty() == !line->HasError(), "an error text exactly on error rows");
    length += line->TagFileIndex() + line->TagLineNumber() + ScopeDepth(*line);
    (void)length;
  }
}

void ReadLabelRows(const TQRXAssembler& assembler, const TLabelViewModel& labelRows) {
  const TLabelViewRows& rows = labelRows.Rows();
  for (int r = 0; r < rows.Count(); ++r) {
    const TKwValues* record = rows.Ref(r);
    FuzzCheck(record != nullptr, "every label-view row has its label");
    FuzzCheck(assembler.Labels().IndexOf(rows[r]) >= 0, "every label-view row is a label");
  }
}

}  // namespace

void ExerciseViews(TQRXAssembler& assembler, const TProgramSession& session) {
  // Every filter bit on its own (0x020 is carried without effect, 0x080
  // stands for the selected labels), none, all, and the menu's usual sets.
  std::vector<uint16_t> masks = {0x000, 0x1FF, 0x1F7, kLabelViewKindMask | 0x080, 0x0FF};
  for (int bit = 0; bit < 9; ++bit)
    masks.push_back(static_cast<uint16_t>(1u << bit));
  assembler.BuildListing();
  ReadListingRows(assembler, session.Files());
  TLabelViewModel labelRows(assembler);
  for (const bool sorted : {false, true, false}) {
    labelRows.SetSorted(sorted);
    for (const uint16_t mask : masks) {
      labelRows.Build(mask);
      ReadLabelRows(assembler, labelRows);
    }
  }
  labelRows.Sort();
  ReadLabelRows(assembler, labelRows);
  (void)ListingOutput(assembler, session.Files());
  (void)LabelsOutput(assembler);
}

size_t AutoNameDigitsAt(std::string_view text, size_t i) {
  size_t digits = 0;
  while (text[i] == '*' && i + 1 + digits < text.size() &&
         std::isxdigit(static_cast<unsigned char>(text[i + 1 + digits])))
    ++digits;
  return digits >= 4 && digits <= 8 ? digits : 0;
}

std::string WithoutAutoNames(const std::string& text, bool sortLines) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const size_t digits = AutoNameDigitsAt(text, i);
    if (digits > 0) {
      out += "*?";
      i += 1 + digits;
    } else {
      out += text[i++];
    }
  }
  if (!sortLines) return out;
  std::vector<std::string> lines;
  for (size_t start = 0; start < out.size();) {
    const size_t end = out.find('\n', start);
    lines.push_back(out.substr(start, end - start));
    start = end == std::string::npos ? out.size() : end + 1;
  }
  std::sort(lines.begin(), lines.end());
  std::string sorted;
  for (const std::string& line : lines)
    sorted += line + "\n";
  return sorted;
}

namespace {

bool HoldsAutoName(std::string_view text) {
  for (size_t k = 0; k < text.size(); ++k)
    if (AutoNameDigitsAt(text, k) > 0) return true;
  return false;
}

}  // namespace

bool AutoNamesOutsideExpandedLabels(const TQRXAssembler& assembler) {
  for (int i = 0; i < assembler.LineCount(); ++i) {
    const std::string& text = assembler.LineText(i);
    if (IsMacroDefinitionLine(text)) continue;
    TAsmLine parsed;
    ParseLine(text, parsed);
    for (int k = 1; k < parsed.FieldCount; ++k)
      if (HoldsAutoName(parsed.Fields[static_cast<size_t>(k)])) return true;
    if (HoldsAutoName(parsed.LabelName) && ExpandedLineLabel(text).empty()) return true;
  }
  return false;
}

std::vector<std::string> BlockNames(const TQRXAssembler& assembler) {
  std::vector<std::string> names;
  for (int i = 0; i < assembler.LineCount(); ++i) {
    const TAsmLine& line = assembler.LineAt(i);
    if (line.Mnemonic == "PROC") names.push_back(line.LabelName);
  }
  return names;
}
