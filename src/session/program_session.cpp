#include "session/program_session.h"

#include <filesystem>
#include <system_error>

#include "assembler/machine_loader.h"
#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "persistence/file_io.h"
#include "persistence/memory_stream.h"
#include "session/state_file.h"

namespace {

void CopyStrings(const TCustomStringList& from, TCustomStringList& to) {
  to.Clear();
  for (int i = 0; i < from.Count(); ++i)
    to.Add(from[i]);
}

void CopyFileSet(const TFileNames& from, TFileNames& to) {
  to.Clear();
  for (int i = 0; i < from.Count(); ++i)
    to.AddWithStamp(from[i], from.TimeStamp(i));
}

}  // namespace

TProgramSession::TProgramSession(TMonitorModel& monitor)
    : monitor_(monitor),
      assembler_(std::make_unique<TQRXAssembler>()),
      machine_(std::make_unique<TQRXEmulater>()) {
  machine_->SetPortDevice(&monitor_);
  files_.Add("");
  files_.Add("");
}

TProgramSession::~TProgramSession() = default;

TLoadResult TProgramSession::LoadFile(const std::string& given, TLoadOutcome& outcome) {
  outcome = TLoadOutcome{};
  // The file set holds full paths: a name relative to the working folder
  // would name another file (or none) once a state file that recorded it is
  // opened elsewhere, and the reload and the time-stamp check would miss it.
  std::error_code failed;
  const std::filesystem::path full = std::filesystem::absolute(given, failed);
  const std::string path = failed || given.empty() ? given : full.string();
  if (!FileExists(path)) return TLoadResult::NoSuchFile;
  if (FileSize(path) == 0) return TLoadResult::EmptyFile;
  std::string bytes;
  if (!ReadWholeFile(path, bytes, outcome.ErrorText)) return TLoadResult::ReadError;
  if (bytes.empty()) return TLoadResult::EmptyFile;
  int version = 0;
  if (IsStateHeader(std::string_view(bytes).substr(0, kStateHeaderSize), version))
    return LoadState(path, bytes, outcome);
  return LoadSource(path, outcome);
}

TLoadResult TProgramSession::LoadSource(const std::string& path, TLoadOutcome& outcome) {
  outcome.Branch = TLoadBranch::Source;
  // The new file set is built aside and the assembler keeps its lines unless
  // the read succeeds, so a failed read changes nothing at all.
  TFileNames files;
  files.AddWithStamp(path);
  files.AddWithStamp(path);
  const TSourceReadResult read = assembler_->ReadSourceSet(files, outcome.ErrorText);
  if (read != TSourceReadResult::Complete) {
    if (read == TSourceReadResult::IncludedTwice)
      outcome.DuplicateName = files.ShortName(files.Count() - 1);
    return LoadResultOf(read);
  }
  const std::string previousMain = MainSource();
  CopyFileSet(files, files_);
  outcome.Assembly = assembler_->Assemble();
  assembler_->MarkSelectedLabels(selectedLabels_);
  LoadFromAssembler(*machine_, *assembler_);
  referenceDepth_ = machine_->CallDepth;
  if (previousMain != path) breakpoints_.Clear();
  outcome.Committed = true;
  return LoadResultOf(outcome.Assembly);
}

TLoadResult TProgramSession::LoadState(const std::string& path, const std::string& bytes,
                                       TLoadOutcome& outcome) {
  outcome.Branch = TLoadBranch::State;
  // Every section is checked before anything is replaced.
  auto sections = std::make_unique<TStateSections>();
  const TLoadResult checked = ReadStateSections(bytes, *sections);
  if (checked != TLoadResult::Clean) return checked;

  TMemoryStream machineBlock(std::move(sections->machineBlock));
  TMemoryStream monitorBlock(std::move(sections->monitorBlock));
  TMemoryStream lineBlock(std::move(sections->lineBlock));
  machine_->LoadFromStream(machineBlock);
  monitor_.LoadFromStream(monitorBlock);
  CopyStrings(sections->breakpoints, breakpoints_);
  CopyFileSet(sections->files, files_);
  CopyStrings(sections->selectedLabels, selectedLabels_);
  CopyStrings(sections->visibleUnits, visibleUnits_);
  assembler_->RestoreLines(lineBlock);

  // The machine keeps the restored memory: it is not loaded from the
  // assembly.
  outcome.Assembly = assembler_->Assemble();
  assembler_->MarkSelectedLabels(selectedLabels_);
  assembler_->SetVisibleUnits(visibleUnits_);
  assembler_->BuildListing();
  files_.SetStrings(0, path);
  referenceDepth_ = machine_->CallDepth;
  outcome.Committed = true;
  return LoadResultOf(outcome.Assembly);
}

// What a state file holds of the session; visibleUnits receives the names
// of the units shown now and must outlive the source.
TStateSource TProgramSession::StateSourceNow(TCustomStringList& visibleUnits) {
  assembler_->CollectVisibleUnits(visibleUnits);
  return TStateSource{
      *machine_,    monitor_,           breakpoints_, files_, assembler_->SelectedLabels(),
      visibleUnits, assembler_->Lines()};
}

std::string TProgramSession::StateBytes() {
  TCustomStringList visibleUnits;
  return StateFileBytes(StateSourceNow(visibleUnits));
}

bool TProgramSession::SaveState(const std::string& path, std::string& error) {
  TCustomStringList visibleUnits;
  return WriteStateFile(path, StateSourceNow(visibleUnits), error);
}

void TProgramSession::Reset() {
  LoadFromAssembler(*machine_, *assembler_);
  referenceDepth_ = machine_->CallDepth;
}
