// Arbitrary bytes as a state file the user opens, damaged or altered: it
// goes through the shared load function. A file that loads must save bytes
// that load back to the very same state, so the second save must equal the
// first. (A hand-made line list may hold macro definitions and calls that
// the first load expands; names it draws for "?" parameters are text to the
// second load, which may then name unnamed blocks differently.)
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/listing_report.h"
#include "assembler/qrx_assembler.h"
#include "fuzz_support.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "persistence/memory_stream.h"
#include "session/load_message.h"
#include "session/program_session.h"
#include "session/state_file.h"

namespace {

const TScratchFolder& Folder() {
  static const TScratchFolder folder("state");
  return folder;
}

// A monitor block read from any bytes saves a block that reads back the same.
void CheckMonitorBlock(std::string_view input, const TFuzzClock& clock) {
  std::string block(input.substr(0, kMonitorBlockSize));
  block.resize(kMonitorBlockSize, '\0');
  TMemoryStream in(std::move(block));
  TMonitorModel monitor(clock);
  FuzzCheck(monitor.LoadFromStream(in) == 0, "a whole monitor block loads");
  TMemoryStream saved;
  monitor.SaveToStream(saved);
  TMonitorModel again(clock);
  saved.Seek(0);
  FuzzCheck(again.LoadFromStream(saved) == 0, "a saved monitor block loads");
  TMemoryStream savedAgain;
  again.SaveToStream(savedAgain);
  FuzzCheck(saved.Bytes() == savedAgain.Bytes(), "a monitor block keeps its bytes");
  // A write after the load must land on the screen.
  again.PortOut(17, 0x41);
  FuzzCheck(again.Screen().Registers().WritePosition < kScreenCellCount, "write position");
}

std::string Listing(TProgramSession& session) {
  ShowAllUnits(session.Assembler());
  return ListingOutput(session.Assembler(), session.Files()) + LabelsOutput(session.Assembler());
}

// Whether loading the file expanded macro calls: its lines then are not
// the saved lines, each at most marked in front by the macro pre-pass.
bool LoadExpandedCalls(std::string_view fileBytes, const TQRXAssembler& assembler) {
  TStateSections sections;
  if (ReadStateSections(fileBytes, sections) != TLoadResult::Clean) return true;
  TMemoryStream stream(std::move(sections.lineBlock));
  TCustomStringList saved;
  saved.LoadFromStream(stream);
  if (saved.Count() != assembler.LineCount()) return true;
  for (int i = 0; i < saved.Count(); ++i)
    if (!assembler.LineText(i).ends_with(saved[i])) return true;
  return false;
}

// The listing and labels with every automatic name written as "*?".
std::string MaskedListing(TProgramSession& session) {
  ShowAllUnits(session.Assembler());
  return WithoutAutoNames(ListingOutput(session.Assembler(), session.Files()), false) +
         WithoutAutoNames(LabelsOutput(session.Assembler()), true);
}

// Loads bytes as a state file; when they load, saves the state again and
// checks that the saved bytes load back to the very same state.
void CheckStateFile(std::string_view bytes, const TFuzzClock& clock) {
  const TScratchFolder& folder = Folder();
  const std::string path = folder.Path("state.qsav");
  folder.Write("state.qsav", bytes);
  TMonitorModel monitor(clock);
  auto session = std::make_unique<TProgramSession>(monitor);
  TLoadOutcome outcome;
  const TLoadResult result = session->LoadFile(path, outcome);
  (void)LoadResultMessage(result, outcome);
  FuzzCheck(outcome.Committed == IsLoaded(result), "a load commits exactly when it succeeds");
  if (!IsLoaded(result) || outcome.Branch != TLoadBranch::State) return;

  ExerciseViews(session->Assembler(), *session);
  const std::string listing = Listing(*session);
  const std::string maskedListing = MaskedListing(*session);
  const std::string saved = session->StateBytes();
  // Restoring the saved lines gives the same program when it names the
  // unnamed blocks alike (see the end).
  const bool namesElsewhere = AutoNamesOutsideExpandedLabels(session->Assembler());
  const std::vector<std::string> blocks = BlockNames(session->Assembler());
  folder.Write("state.qsav", saved);

  TMonitorModel monitor2(clock);
  TProgramSession restored(monitor2);
  const TLoadResult result2 = restored.LoadFile(path, outcome);
  FuzzCheck(outcome.Branch == TLoadBranch::State, "a saved state reads as a state file");
  FuzzCheck(restored.Machine().Memory == session->Machine().Memory, "the same memory");
  FuzzCheck(restored.Machine().LineMap == session->Machine().LineMap, "the same line map");
  if (BlockNames(restored.Assembler()) != blocks) {
    // Names drawn on the first restore for "?" parameters are text now and
    // may not be skipped again; only the names of blocks may differ.
    FuzzCheck(LoadExpandedCalls(bytes, session->Assembler()),
              "a restore that expands nothing names the blocks alike");
    if (namesElsewhere) return;
    FuzzCheck(result2 == result, "a saved state loads with the same tally");
    FuzzCheck(MaskedListing(restored) == maskedListing, "the same listing and labels but names");
    return;
  }
  FuzzCheck(result2 == result, "a saved state loads with the same tally");
  FuzzCheck(Listing(restored) == listing, "the same listing and labels");
  FuzzCheck(restored.StateBytes() == saved, "a restored state saves the same bytes");
}

// The header and the two fixed blocks of a state file (zero memory, a fresh
// monitor), for inputs that stand for the sections behind them.
const std::string& FixedPart() {
  static const std::string fixed = [] {
    TMemoryStream stream;
    stream.Write(StateHeader());
    TQRXEmulater machine;
    machine.SaveToStream(stream);
    TMonitorModel monitor;
    monitor.SaveToStream(stream);
    return stream.TakeBytes();
  }();
  return fixed;
}

}  // namespace

// An input that begins with a state header is the whole file. Any other
// input is read as a monitor block on its own, and as the list sections
// of a state file (breakpoints, file set with stamps, selected labels,
// visible units, source lines) behind a fixed header and fixed blocks, so
// that small inputs reach the sections that follow a third of a megabyte
// of fixed blocks.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  TFuzzClock clock;
  int version = 0;
  if (IsStateHeader(input.substr(0, kStateHeaderSize), version)) {
    CheckStateFile(input, clock);
    return 0;
  }
  CheckMonitorBlock(input, clock);
  CheckStateFile(FixedPart() + std::string(input), clock);
  return 0;
}
