// What the fuzz targets share: a private scratch folder, the split of one
// input into several source files, a clock and a keyboard that behave the
// same on every run, a run-control host that ends every loop after a bounded
// number of event deliveries, and the check that turns a broken invariant
// into a crash libFuzzer records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/keyboard_source.h"
#include "monitor/performance_counter.h"
#include "session/run_host.h"

class TQRXAssembler;
class TProgramSession;
class TRunControl;

// Prints what broke and aborts, so libFuzzer keeps the input as a crash.
void FuzzCheck(bool condition, const char* what);

// A fresh folder under $TMPDIR (or /tmp) for one fuzz process, removed with
// everything in it when the process ends normally.
class TScratchFolder {
 public:
  explicit TScratchFolder(const char* tag);
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  std::string Path(std::string_view name) const;
  // Writes bytes as the file name in the folder (replacing it); aborts when
  // the file cannot be written, since every later result would be wrong.
  void Write(std::string_view name, std::string_view bytes) const;
  void Remove(std::string_view name) const;

 private:
  std::string path_;
};

// A line that separates the files of one input: main source, then the
// first and the second include file.
inline constexpr std::string_view kFileMarker{"\n\0\0FILE\0\0\n", 10};

// The input cut at every kFileMarker.
std::vector<std::string_view> SplitFiles(std::string_view input);

// A clock of 10,000 ticks a second that moves on one millisecond at every
// reading, so timers and paced delivery advance the same way on every run.
class TFuzzClock : public TClock {
 public:
  int64_t NowTicks() const override { return now_ += 10; }
  int64_t Frequency() const override { return 10'000; }

 private:
  mutable int64_t now_ = 0;
};

// A keyboard whose state is fixed when it is made.
class TFuzzKeyboard : public TKeyboardSource {
 public:
  explicit TFuzzKeyboard(const TKeyboardState& state) : state_(state) {}
  TKeyboardState KeyboardState() const override { return state_; }

 private:
  TKeyboardState state_;
};

// A host without windows for run control. Every delivery counts; after
// `budget` deliveries it stops the running loop, so no loop can go on for
// ever. Control is reported down when controlDown is set.
class TFuzzHost : public TQuietRunHost {
 public:
  TFuzzHost(TProgramSession& session, int budget) : session_(session), budget_(budget) {}
  void Attach(TRunControl& control) { control_ = &control; }

  void DeliverPendingEvents() override;
  bool IsControlDown() const override { return controlDown; }
  // Each event that shows the execution position checks its row.
  void ExecutionStateChanged() override { CheckExecutionRow(); }
  void RunFinished(const TRunOutcome& outcome) override;
  void MachineReset() override { CheckExecutionRow(); }

  // Gives the next command its own budget of deliveries.
  void Refill(int budget) { budget_ = budget; }

  bool controlDown = false;
  std::string lastMessage;

 private:
  // The view would select the row of the current line; it must be a line
  // the listing knows or none.
  void CheckExecutionRow() const;

  TProgramSession& session_;
  TRunControl* control_ = nullptr;
  int budget_;
};

// Reads every listing row and label-view row the way the views and the tool
// do, for the label filters and sort orders the label view offers, and
// checks that each visible line finds its own row.
void ExerciseViews(TQRXAssembler& assembler, const TProgramSession& session);

// The number of hexadecimal digits of an automatic name ("*" and four to
// eight hexadecimal digits) that starts at text[i], or 0.
size_t AutoNameDigitsAt(std::string_view text, size_t i);

// Text with every automatic name written as "*?" (and, when sortLines is
// set, its lines sorted, for the label table, whose order follows the
// names).
std::string WithoutAutoNames(const std::string& text, bool sortLines);

// Whether the program refers to or defines an automatic name anywhere but
// in the label field of a line an expansion wrote: in an operand, or as a
// learner's own label. Assembling the lines again (as restoring a state
// file does) moves the counter past the names in those label fields only,
// so it may give an unnamed block a name that a first assembly had drawn
// for a "?" parameter, and a reference to it then rightly resolves
// differently. Comments and macro-definition lines are text and count
// for nothing.
bool AutoNamesOutsideExpandedLabels(const TQRXAssembler& assembler);

// The names of the PROC lines in line order; an unnamed block carries the
// automatic name it drew. Two assemblies of the same lines that give the
// same names give the same program.
std::vector<std::string> BlockNames(const TQRXAssembler& assembler);
