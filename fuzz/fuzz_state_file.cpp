// Arbitrary bytes as the parts of a state file, read from memory streams;
// whatever reads must save to bytes that read back to the same state. Any
// input shorter than the blocks is refused as a whole file, and only as
// another version or as damaged. Then, by its first bytes:
// - an input that begins with this program's header is a whole file: the
//   header, blocks of a fresh workbench, then the rest of the input as the
//   list sections. It must read exactly when the list sections read;
// - one that begins with a string-list header is the five list sections
//   behind the two blocks (breakpoints, file set with stamps, selected
//   labels, visible units, source lines);
// - one that begins with "MON" is, behind those letters, the end of a
//   monitor block (zeros in front of a shorter input).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "monitor/monitor_state_block.h"
#include "persistence/custom_string_list.h"
#include "persistence/list_stream_header.h"
#include "persistence/memory_stream.h"
#include "session/state_file.h"

namespace {

constexpr std::string_view kMonitorMark = "MON";
constexpr size_t kBlocksEnd = kStateHeaderSize + 2 * TQRXEmulater::kBlockBytes + kMonitorBlockSize;

// The machine and monitor of a fresh workbench; the list sections are
// written beside them.
const TQRXEmulater& FreshMachine() {
  static const TQRXEmulater* const machine = new TQRXEmulater();
  return *machine;
}
const TMonitorModel& FreshMonitor() {
  static const TMonitorModel* const monitor = new TMonitorModel();
  return *monitor;
}

// The list sections of a state file as read, with the source lines loaded.
struct TState {
  TStateSections sections;
  TCustomStringList lines;

  TStateSource Source() const {
    return {FreshMachine(), FreshMonitor(),          sections.breakpoints,
            sections.files, sections.selectedLabels, sections.visibleUnits,
            lines};
  }
  void LoadLines() {
    TMemoryStream stream(sections.lineBlock);
    lines.LoadFromStream(stream);
  }
};

bool SameFileSets(const TFileNames& a, const TFileNames& b) {
  if (a.ToVector() != b.ToVector()) return false;
  for (int i = 0; i < a.Count(); ++i)
    if (a.TimeStamp(i) != b.TimeStamp(i)) return false;
  return true;
}

void CheckSameLists(const TState& a, const TState& b) {
  FuzzCheck(a.sections.breakpoints.ToVector() == b.sections.breakpoints.ToVector(),
            "the same breakpoints");
  FuzzCheck(SameFileSets(a.sections.files, b.sections.files), "the same file set and stamps");
  FuzzCheck(a.sections.selectedLabels.ToVector() == b.sections.selectedLabels.ToVector(),
            "the same selected labels");
  FuzzCheck(a.sections.visibleUnits.ToVector() == b.sections.visibleUnits.ToVector(),
            "the same visible units");
  FuzzCheck(a.lines.ToVector() == b.lines.ToVector(), "the same source lines");
}

std::string SavedLists(const TState& state) {
  TMemoryStream stream;
  WriteStateLists(stream, state.Source());
  return stream.TakeBytes();
}

void CheckLists(std::string_view input) {
  TState first;
  TMemoryStream in{std::string(input)};
  if (ReadStateLists(in, first.sections) != TLoadResult::Clean) return;
  first.LoadLines();
  const std::string saved = SavedLists(first);

  TState second;
  TMemoryStream again(saved);
  FuzzCheck(ReadStateLists(again, second.sections) == TLoadResult::Clean,
            "saved list sections read");
  second.LoadLines();
  CheckSameLists(first, second);
  FuzzCheck(SavedLists(second) == saved, "read list sections save the same bytes");
}

// The input lies at the end of the block, over the last cells and every
// register and input field, so that short inputs reach the fields that are
// more than bytes; the cells before it are zeros.
void CheckMonitorBlock(std::string_view input) {
  input = input.substr(0, kMonitorBlockSize);
  std::string block(kMonitorBlockSize - input.size(), '\0');
  block += input;
  if (block.size() > kMonitorBlockSize) block.resize(kMonitorBlockSize);
  TMemoryStream in(std::move(block));
  auto monitor = std::make_unique<TMonitorModel>();
  FuzzCheck(monitor->LoadFromStream(in) == 0, "a whole monitor block loads");
  TMemoryStream saved;
  monitor->SaveToStream(saved);
  saved.Seek(0);
  FuzzCheck(monitor->LoadFromStream(saved) == 0, "a saved monitor block loads");
  TMemoryStream savedAgain;
  monitor->SaveToStream(savedAgain);
  FuzzCheck(savedAgain.Bytes() == saved.Bytes(), "a saved monitor block loads to the same monitor");
}

// The blocks of a fresh workbench: a zero machine and a reset monitor.
const std::string& FreshBlocks() {
  static const std::string blocks = [] {
    TMemoryStream stream;
    FreshMachine().SaveToStream(stream);
    FreshMonitor().SaveToStream(stream);
    return stream.TakeBytes();
  }();
  return blocks;
}

// A whole file reads exactly when its list sections read, takes its blocks
// as they lie, and its lists go round as they do alone. (Saving whole files
// again is the session target's business: it costs the two blocks each
// time.)
void CheckWholeFile(std::string_view input) {
  // The file is put together in one buffer that keeps its room from input
  // to input.
  static std::string file;
  const std::string_view lists = input.substr(kStateHeaderSize);
  file.assign(input.substr(0, kStateHeaderSize));
  file += FreshBlocks();
  file += lists;
  TStateSections sections;
  const TLoadResult result = ReadStateSections(file, sections);
  TStateSections listSections;
  TMemoryStream listStream{std::string(lists)};
  FuzzCheck((result == TLoadResult::Clean) ==
                (ReadStateLists(listStream, listSections) == TLoadResult::Clean),
            "a whole file reads exactly when its list sections read");
  if (result != TLoadResult::Clean) return;
  FuzzCheck(FreshBlocks().compare(0, sections.machineBlock.size(), sections.machineBlock) == 0 &&
                FreshBlocks().compare(sections.machineBlock.size(), std::string::npos,
                                      sections.monitorBlock) == 0,
            "a state file's blocks are taken as they lie");
  CheckLists(lists);
}

}  // namespace

// Each input takes one way, by its first bytes: a state header of this
// version makes it a whole file, a string-list header the list sections,
// kMonitorMark the end of a monitor block. Reading a monitor block costs as
// much as thousands of list readings, so it waits for its mark.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.size() < kBlocksEnd) {
    TStateSections sections;
    const TLoadResult result = ReadStateSections(input, sections);
    FuzzCheck(result == TLoadResult::OtherStateVersion || result == TLoadResult::DamagedStateFile,
              "a file shorter than its blocks is refused");
  }
  int version = 0;
  uint32_t length = 0;
  if (IsStateHeader(input.substr(0, kStateHeaderSize), version) && version == kStateFileVersion &&
      input.size() >= kStateHeaderSize)
    CheckWholeFile(input);
  else if (ReadListStreamHeader(input, 0, length))
    CheckLists(input);
  else if (input.starts_with(kMonitorMark))
    CheckMonitorBlock(input.substr(kMonitorMark.size()));
  return 0;
}
