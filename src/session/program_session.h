// TProgramSession: the program the workbench works on, without its views.
// It owns the assembler with the expanded source, the machine, the
// breakpoint list, the file set, the selected-label list, the visible-unit
// list and the step reference depth, and it loads and saves them together.
// The workbench and the command-line tool both load through LoadFile, so a
// file is read the same way everywhere.
//
// Loading is all or nothing: a load that fails (a result that is not
// IsLoaded) leaves every member as it was, so the views may go on showing
// the previous program.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "assembler/assembly_result.h"
#include "persistence/bool_list.h"
#include "persistence/custom_string_list.h"
#include "persistence/file_set.h"
#include "session/load_result.h"

class TMonitorModel;
class TQRXAssembler;
class TQRXEmulater;
struct TStateSource;

// Which branch of LoadFile ran.
enum class TLoadBranch {
  None,    // ended before the file's kind was known (no such file, empty, unreadable)
  Source,  // read as an assembly source
  State,   // read as a state file (also when it was refused as another version or damaged)
};

// What LoadFile tells its caller besides the result.
struct TLoadOutcome {
  TLoadBranch Branch = TLoadBranch::None;
  // True when the session took the new program (IsLoaded): the caller
  // rebuilds its views.
  bool Committed = false;
  // When Committed: what the assembly of the new program found.
  TAssemblyResult Assembly;
  // For IncludedTwice: the duplicate's file name without folder (CP932).
  std::string DuplicateName;
  // For ReadError: the system's message naming the file (CP932).
  std::string ErrorText;
};

class TProgramSession {
 public:
  // The monitor is attached to the machine as its port device and must
  // outlive the session.
  explicit TProgramSession(TMonitorModel& monitor);
  ~TProgramSession();
  TProgramSession(const TProgramSession&) = delete;
  TProgramSession& operator=(const TProgramSession&) = delete;

  // Loads a source (with its includes; assembled and loaded into the
  // machine) or restores a state file, whichever the file's first bytes say.
  // A relative path is taken from the working folder and recorded in full.
  // Returns Clean or AssemblyErrors (loaded all the same) when the session
  // took the program; any other result has changed nothing.
  //
  // Source: the file set becomes path, path (current stamps) and the
  // includes; the machine is loaded and reset; the reference depth becomes
  // the machine's CallDepth; the breakpoints are cleared unless path is the
  // main source loaded before; the selected labels are marked again.
  // State: every section is checked first and then machine, monitor,
  // breakpoints, file set, lists and lines are replaced; the lines are
  // assembled (the memory stays as restored), selected labels marked, unit
  // visibility restored and the listing rebuilt; file-set entry 0 := path.
  TLoadResult LoadFile(const std::string& path, TLoadOutcome& outcome);

  // Writes the state file (see state_file.h) with the selected labels and
  // visible units collected from the assembler now. Through a temporary
  // file, so a failed save leaves an earlier file whole. Returns false with
  // a CP932 error text.
  bool SaveState(const std::string& path, std::string& error);
  // The bytes SaveState would write.
  std::string StateBytes();

  // Reloads the machine from the assembled program (memory, registers,
  // counters, monitor screen) and sets the reference depth to CallDepth.
  void Reset();

  TQRXAssembler& Assembler() { return *assembler_; }
  const TQRXAssembler& Assembler() const { return *assembler_; }
  TQRXEmulater& Machine() { return *machine_; }
  const TQRXEmulater& Machine() const { return *machine_; }
  TMonitorModel& Monitor() { return monitor_; }
  const TMonitorModel& Monitor() const { return monitor_; }
  TBoolList& Breakpoints() { return breakpoints_; }
  const TBoolList& Breakpoints() const { return breakpoints_; }
  // Entry 0 the current file, entry 1 the main source, then the includes.
  // Holds two empty entries before the first load.
  TFileNames& Files() { return files_; }
  const TFileNames& Files() const { return files_; }
  // The label keys to mark selected after each load.
  TCustomStringList& SelectedLabelList() { return selectedLabels_; }
  const TCustomStringList& SelectedLabelList() const { return selectedLabels_; }
  // The unit names restored from the last state file.
  TCustomStringList& VisibleUnitList() { return visibleUnits_; }
  const TCustomStringList& VisibleUnitList() const { return visibleUnits_; }

  // File-set entry 0 / entry 1.
  const std::string& CurrentFile() const { return files_[0]; }
  const std::string& MainSource() const { return files_[1]; }

  // The call depth at which trace and step stop or display.
  int32_t ReferenceDepth() const { return referenceDepth_; }
  void SetReferenceDepth(int32_t depth) { referenceDepth_ = depth; }

 private:
  TLoadResult LoadSource(const std::string& path, TLoadOutcome& outcome);
  TLoadResult LoadState(const std::string& path, const std::string& bytes, TLoadOutcome& outcome);
  // What a state file is written from, with the selected labels and the
  // visible units (collected into visibleUnits) as they stand now.
  TStateSource StateSourceNow(TCustomStringList& visibleUnits);

  TMonitorModel& monitor_;
  std::unique_ptr<TQRXAssembler> assembler_;
  std::unique_ptr<TQRXEmulater> machine_;
  TBoolList breakpoints_;
  TFileNames files_;
  TCustomStringList selectedLabels_;
  TCustomStringList visibleUnits_;
  int32_t referenceDepth_ = 0;
};
