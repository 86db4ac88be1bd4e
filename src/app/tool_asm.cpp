#include "app/tool_asm.h"

#include <memory>

#include "app/tool_common.h"
#include "app/tool_diagnostics.h"
#include "assembler/listing_text.h"
#include "assembler/machine_code_file.h"
#include "assembler/qrx_assembler.h"
#include "monitor/monitor_model.h"
#include "session/program_session.h"

namespace {

// A field of the listing output: UTF-8, with TAB and line breaks turned
// into blanks so that the six fields and the rows stay apart.
std::string Field(std::string_view cp932) {
  std::string text = OutputText(cp932);
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

std::string ListingRowOutput(const TAsmLine& line, const TQRXAssembler& assembler,
                             const TFileNames& files) {
  std::string row;
  if (IsCodeRow(line)) row += Hex4(line.Address);
  row += '\t';
  row += Field(ListingLabelText(line, assembler.Labels()));
  row += '\t';
  row += Field(line.Mnemonic);
  row += '\t';
  if (IsOperandListRow(line)) {
    row += Field(OperandListText(line));
    row += '\t';
  } else {
    row += Field(ListingFieldText(line, 1));
    row += '\t';
    row += Field(ListingFieldText(line, 2));
  }
  row += '\t';
  row += Field(line.HasError() ? ListingErrorText(line, files) : ListingCommentText(line));
  row += '\n';
  return row;
}

}  // namespace

std::string ListingOutput(const TQRXAssembler& assembler, const TFileNames& files) {
  std::string out;
  const TListingRows& rows = assembler.Listing();
  for (int r = 0; r < rows.Count(); ++r) {
    const TAsmLine* line = rows.Ref(r);
    if (line != nullptr) out += ListingRowOutput(*line, assembler, files);
  }
  return out;
}

std::string LabelsOutput(const TQRXAssembler& assembler) {
  std::string out;
  const TKwList& labels = assembler.Labels();
  for (int i = 0; i < labels.Count(); ++i) {
    const TKwValues& record = labels.RecordAt(i);
    out += OutputText(labels[i]);
    out += '\t';
    out += Hex4(static_cast<uint16_t>(record.Value));
    out += record.ValueOnly ? "\t1\t" : "\t0\t";
    out += std::to_string(record.DefLine);
    out += '\n';
  }
  return out;
}

int RunAsmCommand(const TToolOptions& options) {
  auto monitor = std::make_unique<TMonitorModel>();
  auto session = std::make_unique<TProgramSession>(*monitor);
  // Where the errors are, then the hints, on stderr before the count line.
  const TLoadResult result =
      LoadProgram(*session, options.File, [&](const TProgramSession& loaded) {
        WriteDiagnostics(ErrorLinesOutput(loaded.Assembler(), loaded.Files()));
        if (options.Hints)
          WriteDiagnostics(HintLinesOutput(CollectHints(loaded.Assembler()), loaded.Files()));
      });
  if (!IsLoaded(result)) return kExitLoadFailure;
  if (options.Listing) WriteOut(ListingOutput(session->Assembler(), session->Files()));
  if (options.Labels) WriteOut(LabelsOutput(session->Assembler()));
  if (options.MachineCodePath) {
    std::string error;
    if (!WriteMachineCode(session->Assembler(), *options.MachineCodePath, error)) {
      WriteErrorLine(error);
      return kExitLoadFailure;
    }
  }
  return result == TLoadResult::Clean ? 0 : 1;
}
