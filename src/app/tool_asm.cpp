#include "app/tool_asm.h"

#include <memory>

#include "app/listing_report.h"
#include "app/tool_common.h"
#include "app/tool_diagnostics.h"
#include "assembler/machine_code_file.h"
#include "assembler/qrx_assembler.h"
#include "monitor/monitor_model.h"
#include "session/program_session.h"

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
