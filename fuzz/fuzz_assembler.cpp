// Arbitrary bytes as a program's sources: the main file and, cut at
// kFileMarker, two files it may include as "a.inc" and "b.inc". Each input
// is loaded the way the workbench loads a file, assembled a second and a
// third time, shown in every view with every label filter bit, written as
// machine code (checked record by record against the memory image), and run
// under run control with breakpoints, trace and step. A second assembly of
// the lines the first one left is what restoring a state file does, so it
// must give the same program (unless it names an unnamed block differently
// and an automatic name stands where the counter does not look for it:
// AutoNamesOutsideExpandedLabels), and a
// third the same as the second; and the lines must come back whole from the
// stream a state file keeps them in.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/listing_report.h"
#include "assembler/machine_code_file.h"
#include "assembler/macro_prepass.h"
#include "assembler/qrx_assembler.h"
#include "fuzz_support.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "persistence/memory_stream.h"
#include "session/load_message.h"
#include "session/program_session.h"
#include "session/run_control.h"

namespace {

constexpr const char* kIncludeNames[] = {"a.inc", "b.inc"};
// Event deliveries a run-control command may use; with the fuzz clock one
// delivery comes every few hundred instructions.
constexpr int kDeliveryBudget = 8;

const TScratchFolder& Folder() {
  static const TScratchFolder folder("asm");
  return folder;
}

struct TAssembly {
  std::string listing;
  std::string labels;
  std::string machineCode;
};

TAssembly Outputs(TProgramSession& session) {
  ShowAllUnits(session.Assembler());
  return {WithoutAutoNames(ListingOutput(session.Assembler(), session.Files()), false),
          WithoutAutoNames(LabelsOutput(session.Assembler()), true),
          MachineCodeText(session.Assembler())};
}

void RunCommands(TProgramSession& session, const TFuzzClock& clock, uint8_t flags) {
  TFuzzHost host(session, kDeliveryBudget);
  TRunControl control(session, host, clock);
  host.Attach(control);
  control.SetTraceWait(flags & 1);
  control.SetBreakpointsDuringRun((flags & 2) != 0);
  // Breakpoints on a few lines picked by the input.
  const int lines = session.Assembler().LineCount();
  for (int k = 0; k < 3 && lines > 0; ++k)
    session.Breakpoints().Add(std::to_string((flags * (k + 7)) % lines));

  control.RunOrTrace(TRunMode::Run);
  host.Refill(kDeliveryBudget);
  control.StepCommand();
  host.controlDown = (flags & 4) != 0;
  host.Refill(kDeliveryBudget);
  control.StepCommand();
  host.controlDown = false;
  host.Refill(kDeliveryBudget);
  control.RunOrTrace(TRunMode::Trace);
  control.Reset();
  host.Refill(kDeliveryBudget);
  control.StepCommand();
}

// A state file keeps the lines as a string-list stream and assembles them
// again on restore: the stream must give back the very same lines.
void CheckLinesRoundTrip(const TQRXAssembler& assembler) {
  TMemoryStream stream;
  assembler.Lines().SaveToStream(stream);
  stream.Seek(0);
  TQRXAssembler restored;
  FuzzCheck(restored.RestoreLines(stream), "saved lines can be restored");
  FuzzCheck(restored.Lines().ToVector() == assembler.Lines().ToVector(),
            "restored lines are the saved lines");
}

// Every record of the machine-code text is "0AAAAh:DW" and any number of
// ",WWWWh", ended by CR LF, with upper-case hexadecimal digits. The text is
// made in memory (writing it to a file is the file layer's own business).
void CheckMachineCode(const TQRXAssembler& assembler) {
  const std::string text = MachineCodeText(assembler);
  const auto hex4 = [&](size_t at) {
    if (at + 4 > text.size()) return false;
    for (size_t k = at; k < at + 4; ++k)
      if (!std::isdigit(static_cast<unsigned char>(text[k])) && (text[k] < 'A' || text[k] > 'F'))
        return false;
    return true;
  };
  size_t at = 0;
  while (at < text.size()) {
    FuzzCheck(text[at] == '0' && hex4(at + 1) && text.compare(at + 5, 4, "h:DW") == 0,
              "a machine-code record begins with its address");
    at += 9;
    while (at < text.size() && text[at] == ',') {
      FuzzCheck(hex4(at + 1) && at + 5 < text.size() && text[at + 5] == 'h',
                "a machine-code word is four digits and h");
      at += 6;
    }
    FuzzCheck(text.compare(at, 2, "\r\n") == 0, "a machine-code record ends with CR LF");
    at += 2;
  }

  // Every record that holds words is the memory image's entry for its line:
  // the same address and the same words, in the same order.
  std::vector<std::pair<uint16_t, std::vector<uint16_t>>> records;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find("\r\n", start);
    const std::string record = text.substr(start, end - start);
    start = end + 2;
    if (record.size() <= 9) continue;  // a DW without values: no words
    std::vector<uint16_t> words;
    for (size_t k = 9; k + 6 <= record.size(); k += 6)
      words.push_back(static_cast<uint16_t>(std::stoul(record.substr(k + 1, 4), nullptr, 16)));
    records.emplace_back(static_cast<uint16_t>(std::stoul(record.substr(1, 4), nullptr, 16)),
                         std::move(words));
  }
  const std::vector<TImageLine> image = assembler.MemoryImage();
  FuzzCheck(records.size() == image.size(), "one machine-code record per image line");
  for (size_t k = 0; k < image.size() && k < records.size(); ++k) {
    FuzzCheck(records[k].first == image[k].Address, "a record's address is its image line's");
    FuzzCheck(std::equal(records[k].second.begin(), records[k].second.end(), image[k].Words.begin(),
                         image[k].Words.end()),
              "a record's words are its image line's");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TScratchFolder& folder = Folder();
  const std::vector<std::string_view> parts =
      SplitFiles({reinterpret_cast<const char*>(data), size});
  folder.Write("main.qasm", parts[0]);
  for (size_t k = 0; k < 2; ++k) {
    if (k + 1 < parts.size())
      folder.Write(kIncludeNames[k], parts[k + 1]);
    else
      folder.Remove(kIncludeNames[k]);
  }

  TFuzzClock clock;
  TMonitorModel monitor(clock);
  auto session = std::make_unique<TProgramSession>(monitor);
  TLoadOutcome outcome;
  const TLoadResult result = session->LoadFile(folder.Path("main.qasm"), outcome);
  (void)LoadResultMessage(result, outcome);
  FuzzCheck(outcome.Committed == IsLoaded(result), "a load commits exactly when it succeeds");
  if (!IsLoaded(result)) return 0;

  TQRXAssembler& assembler = session->Assembler();
  FuzzCheck(result == TLoadResult::Clean || assembler.ErrorLineCount() > 0,
            "a tally only with error lines");
  FuzzCheck(outcome.Assembly.ErrorLines == assembler.ErrorLineCount(),
            "the assembly counts its error lines");
  const TAssembly first = Outputs(*session);
  const bool namesElsewhere = AutoNamesOutsideExpandedLabels(assembler);
  const std::vector<std::string> firstBlocks = BlockNames(assembler);
  const int secondResult = assembler.Assemble().Tally;
  const TAssembly second = Outputs(*session);
  if (!namesElsewhere || BlockNames(assembler) == firstBlocks) {
    FuzzCheck(secondResult == outcome.Assembly.Tally, "a second assembly gives the same tally");
    FuzzCheck(first.listing == second.listing, "a second assembly gives the same listing");
    FuzzCheck(first.labels == second.labels, "a second assembly gives the same labels");
    FuzzCheck(first.machineCode == second.machineCode, "a second assembly gives the same code");
  }
  // Assembling the same lines once more always gives the same program.
  FuzzCheck(assembler.Assemble().Tally == secondResult, "a third assembly gives the same tally");
  const TAssembly third = Outputs(*session);
  FuzzCheck(third.listing == second.listing && third.labels == second.labels &&
                third.machineCode == second.machineCode,
            "a third assembly gives the same program");

  ExerciseViews(assembler, *session);
  CheckMachineCode(assembler);
  ShowAllUnits(assembler);
  RunCommands(*session, clock, size > 0 ? data[size - 1] : 0);
  CheckLinesRoundTrip(assembler);
  return 0;
}
