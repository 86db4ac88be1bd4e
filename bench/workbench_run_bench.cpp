// The workbench's run and trace commands on a real main window (offscreen),
// against a plain Step loop over the same assembled program.
//
//   BM_HeadlessStepLoop  Step in a loop, no window, no events: the ceiling.
//   BM_WorkbenchRun      the run button's command on a shown main window with
//                        its monitor, stopped by a timer after kRunMs; items
//                        are instructions. Target: at least half the headless
//                        rate.
//   BM_WorkbenchRunViewsStill  the same without the views refreshed while
//                        the program runs. Target: BM_WorkbenchRun at least
//                        0.9 of it.
//   BM_WorkbenchTrace    trace with wait 0 on a loop whose every line is
//                        visible at depth 0, so every instruction is a
//                        displayed line; items are displayed lines. Target:
//                        at least 2,000 per second.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <ctime>
#include <memory>

#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "monitor_qt/monitor_font.h"
#include "monitor_qt/screen_thread.h"
#include "session/program_session.h"
#include "workbench/file_commands.h"
#include "workbench/live_view_refresh.h"
#include "workbench/main_window.h"
#include "workbench/run_commands.h"

namespace {

constexpr int kRunMs = 2000;
constexpr uint64_t kHeadlessBatch = 50'000'000;

const char* const kLoopSource =
    "; a tight loop that never ends\r\n"
    "LOOP:   ADD  N, #0FFFFh\r\n"
    "        CMP  N, #0\r\n"
    "        JPF  LOOP, ZF\r\n"
    "        JP   LOOP\r\n"
    "N:      DW   0\r\n";

// CPU seconds the calling thread (the GUI thread) has used.
double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void EnsureApplication() {
  if (QApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "qrx_gui_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: an application torn down among the exit-time
  // destructors crashes in Qt's own clean-up.
  new QApplication(argc, argv);
  RegisterFontSubstitutions();
}

// A main window with its settings and source folders in a temporary folder,
// shown, its monitor created, the loop program loaded.
class TBenchWindow {
 public:
  TBenchWindow() {
    QDir root(dir_.path());
    root.mkpath(QStringLiteral("appdata"));
    root.mkpath(QStringLiteral("profile"));
    root.mkpath(QStringLiteral("samples"));
    qputenv("APPDATA", dir_.filePath(QStringLiteral("appdata")).toUtf8());
    qputenv("USERPROFILE", dir_.filePath(QStringLiteral("profile")).toUtf8());
    path_ = dir_.filePath(QStringLiteral("loop.qasm"));
    QFile file(path_);
    if (file.open(QIODevice::WriteOnly)) file.write(kLoopSource);
    file.close();

    TStartOptions options;
    options.ProgramFolder = dir_.path();
    options.SampleFolder = dir_.filePath(QStringLiteral("samples"));
    form_ = std::make_unique<TMainWindow>(options);
    form_->show();
    QElapsedTimer wait;
    wait.start();
    while (form_->Screen().Monitor() == nullptr && wait.elapsed() < 5000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    loaded_ = form_->FileCommands().OpenFile(path_) == TLoadResult::Clean &&
              form_->Screen().Monitor() != nullptr;
  }

  bool Ready() const { return loaded_; }
  TMainWindow& Form() { return *form_; }
  const QString& Path() const { return path_; }

  // One command (tag 1 run, other tags trace), stopped after ms; returns
  // the instructions it ran and adds the GUI thread's CPU time to cpu.
  uint64_t RunFor(int tag, int ms, double& cpu) {
    const uint64_t before = form_->Session().Machine().StepCount;
    TRunCommands& run = form_->RunCommands();
    QTimer::singleShot(ms, &run, &TRunCommands::StopClick);
    const double start = ThreadCpuSeconds();
    run.RunOrTraceClick(tag);
    cpu += ThreadCpuSeconds() - start;
    return form_->Session().Machine().StepCount - before;
  }

 private:
  QTemporaryDir dir_;
  QString path_;
  std::unique_ptr<TMainWindow> form_;
  bool loaded_ = false;
};

void BM_HeadlessStepLoop(benchmark::State& state) {
  EnsureApplication();
  TBenchWindow window;  // for its source file
  TMonitorModel monitor;
  TProgramSession session(monitor);
  TLoadOutcome outcome;
  if (session.LoadFile(window.Path().toStdString(), outcome) != TLoadResult::Clean) {
    state.SkipWithError("the loop program did not load");
    return;
  }
  TQRXEmulater& machine = session.Machine();
  double cpu = 0;
  for (auto _ : state) {
    const double start = ThreadCpuSeconds();
    for (uint64_t i = 0; i < kHeadlessBatch; ++i)
      benchmark::DoNotOptimize(machine.Step());
    cpu += ThreadCpuSeconds() - start;
  }
  state.SetItemsProcessed(static_cast<int64_t>(machine.StepCount));
  state.counters["per_gui_cpu_s"] = static_cast<double>(machine.StepCount) / cpu;
}
BENCHMARK(BM_HeadlessStepLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

// The run command with or without the views refreshed during the run.
void MeasureRun(benchmark::State& state, bool liveViews) {
  EnsureApplication();
  TBenchWindow window;
  if (!window.Ready()) {
    state.SkipWithError("the window or the program is not ready");
    return;
  }
  window.Form().LiveRefresh().SetEnabled(liveViews);
  uint64_t steps = 0;
  double cpu = 0;
  for (auto _ : state)
    steps += window.RunFor(1, kRunMs, cpu);
  state.SetItemsProcessed(static_cast<int64_t>(steps));
  // The rate per second of the GUI thread's own CPU time: what the run
  // reaches when the machine is not shared with other work.
  state.counters["per_gui_cpu_s"] = static_cast<double>(steps) / cpu;
}

// The label view, memory panel and stack view repainted every 100 ms.
void BM_WorkbenchRun(benchmark::State& state) {
  MeasureRun(state, true);
}
BENCHMARK(BM_WorkbenchRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The same run with the views left as they were until it ends: the cost of
// keeping them live is the difference.
void BM_WorkbenchRunViewsStill(benchmark::State& state) {
  MeasureRun(state, false);
}
BENCHMARK(BM_WorkbenchRunViewsStill)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_WorkbenchTrace(benchmark::State& state) {
  EnsureApplication();
  TBenchWindow window;
  if (!window.Ready()) {
    state.SkipWithError("the window or the program is not ready");
    return;
  }
  window.Form().Document().SetTraceWait(0);
  uint64_t lines = 0;
  double cpu = 0;
  for (auto _ : state)
    lines += window.RunFor(2, kRunMs, cpu);
  state.SetItemsProcessed(static_cast<int64_t>(lines));
  state.counters["per_gui_cpu_s"] = static_cast<double>(lines) / cpu;
}
BENCHMARK(BM_WorkbenchTrace)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
