// Opening a generated source of 100,000 lines in a shown main window
// (offscreen): reading, assembling, loading the machine, rebuilding the
// label list and painting the three views and the message line. Target:
// under 1 s per load.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "gui_bench_app.h"
#include "monitor_qt/screen_thread.h"
#include "workbench/file_commands.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"

namespace {

constexpr int kSourceLines = 100000;

// Blocks of ten lines as programs have them: comments (one important),
// a line label, instructions with immediate, direct and indirect operands,
// data with a string run and a constant. About six words a block, so the
// program fits the memory.
std::string GenerateSource(int lines) {
  std::string text = "        JP   START\r\n";
  int written = 1;
  for (int block = 0; written + 10 <= lines - 4; ++block, written += 10) {
    const std::string n = std::to_string(block);
    text += "; block " + n + "\r\n";
    text += ">L" + n + ":  LD   V,#K" + n + "   ; load the block's constant\r\n";
    text += "        ADD  V,[^P]\r\n";
    text += "        CMP  V,#100\r\n";
    text += "        JPF  ZF,>L" + n + "\r\n";
    text += "\r\n";
    text += ";*checkpoint " + n + "\r\n";
    text += "D" + n + ":  DW   1,'AB'\r\n";
    text += "K" + n + "    EQU  " + n + "\r\n";
    text += "        OUT  #17,V\r\n";
  }
  text += "START:  HALT\r\n";
  text += "V:      DW   0\r\n";
  text += "^P:     DW   V\r\n";
  for (written += 3; written < lines; ++written)
    text += "; end\r\n";
  return text;
}

void BM_OpenLargeSource(benchmark::State& state) {
  BenchApplication();
  QTemporaryDir dir;
  QDir root(dir.path());
  root.mkpath(QStringLiteral("appdata"));
  root.mkpath(QStringLiteral("profile"));
  root.mkpath(QStringLiteral("samples"));
  qputenv("APPDATA", dir.filePath(QStringLiteral("appdata")).toUtf8());
  qputenv("USERPROFILE", dir.filePath(QStringLiteral("profile")).toUtf8());
  const QString path = dir.filePath(QStringLiteral("large.qasm"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
      state.SkipWithError("the source could not be written");
      return;
    }
    const std::string source = GenerateSource(static_cast<int>(state.range(0)));
    file.write(source.data(), static_cast<qint64>(source.size()));
  }

  TStartOptions options;
  options.ProgramFolder = dir.path();
  options.SampleFolder = dir.filePath(QStringLiteral("samples"));
  auto form = std::make_unique<TMainWindow>(options);
  form->show();
  QElapsedTimer wait;
  wait.start();
  while (form->Screen().Monitor() == nullptr && wait.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  QCoreApplication::processEvents();

  int rows = 0;
  for (auto _ : state) {
    const TLoadResult result = form->FileCommands().OpenFile(path);
    // The views, the message line and the monitor paint what the load
    // scheduled.
    QCoreApplication::processEvents();
    if (result != TLoadResult::Clean) {
      state.SkipWithError("the generated source did not assemble cleanly");
      break;
    }
    rows = form->ListingView()->RowCount();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
  state.counters["listing_rows"] = rows;
  form.reset();
}
BENCHMARK(BM_OpenLargeSource)
    ->Arg(kSourceLines)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

}  // namespace
