#include "app/tool_run.h"

#include <cinttypes>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/tool_common.h"
#include "app/tool_run_history.h"
#include "app/tool_run_loop.h"
#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "session/program_session.h"
#include "session/run_report.h"

namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // U+3000 in UTF-8
constexpr uint32_t kWordsPerDumpLine = 16;

void TrimRowEnd(std::string& row) {
  for (;;) {
    if (row.ends_with(' ')) {
      row.pop_back();
    } else if (row.ends_with(kIdeographicSpace)) {
      row.resize(row.size() - kIdeographicSpace.size());
    } else {
      return;
    }
  }
}

// The tool saves no selected labels; a state file may have brought some.
void ClearLabelSelection(TQRXAssembler& assembler) {
  TKwList& labels = assembler.Labels();
  for (int i = 0; i < labels.Count(); ++i)
    if (TKwValues* record = labels.Record(i)) record->Selected = false;
}

bool UsesHistory(const TToolOptions& options) {
  return options.RecordPath || options.ReplayPath || options.BackSteps;
}

}  // namespace

std::string RegistersOutput(const TQRXEmulater& m) {
  char text[128];
  std::snprintf(text, sizeof text,
                "PC=%04X SP=%04X VF=%04X SF=%04X ZF=%04X CF=%04X STEPS=%" PRIu64 "\n",
                m.ReadWord(TQRXEmulater::PC), m.ReadWord(TQRXEmulater::SP),
                m.ReadWord(TQRXEmulater::VF), m.ReadWord(TQRXEmulater::SF),
                m.ReadWord(TQRXEmulater::ZF), m.ReadWord(TQRXEmulater::CF), m.StepCount);
  return text;
}

std::string DumpOutput(const TQRXEmulater& machine, uint16_t start, uint32_t count) {
  std::string out;
  for (uint32_t done = 0; done < count;) {
    const auto lineStart = static_cast<uint16_t>(start + done);
    out += Hex4(lineStart);
    out += ':';
    const uint32_t words = std::min(kWordsPerDumpLine, count - done);
    for (uint32_t k = 0; k < words; ++k) {
      out += ' ';
      out += Hex4(machine.ReadWord(static_cast<uint16_t>(lineStart + k)));
    }
    out += '\n';
    done += words;
  }
  return out;
}

std::string ScreenOutput(const TMonitorModel& monitor) {
  const TScreenCells& cells = monitor.Screen().Cells();
  std::string out;
  for (int row = 0; row < kScreenRows; ++row) {
    std::string line;
    for (int column = 0; column < kScreenColumns; ++column) {
      const std::string_view text =
          cells[static_cast<size_t>(row * kScreenColumns + column)].DisplayBytes();
      if (text.empty())
        line += kIdeographicSpace;
      else
        line += OutputText(text);
    }
    TrimRowEnd(line);
    out += line;
    out += '\n';
  }
  return out;
}

int RunRunCommand(const TToolOptions& options) {
  // A log that cannot be read stops the command before the program loads.
  TInputLogFile replayLog;
  if (options.ReplayPath && !ReadReplayLog(*options.ReplayPath, replayLog)) return kExitLoadFailure;
  auto monitor = std::make_unique<TMonitorModel>();
  auto session = std::make_unique<TProgramSession>(*monitor);
  if (!IsLoaded(LoadProgram(*session, options.File))) return kExitLoadFailure;

  TQRXEmulater& machine = session->Machine();
  const uint64_t before = machine.StepCount;
  std::vector<std::string> failures;
  TRunResult run;
  if (UsesHistory(options)) {
    auto history =
        std::make_unique<TToolHistoryRun>(machine, *monitor, options.BackSteps.has_value());
    if (options.ReplayPath && !history->Replay(*options.ReplayPath, std::move(replayLog)))
      return kExitLoadFailure;
    run = history->Run(options.MaxSteps);
    // The log of the whole run, even when the reports come from earlier.
    std::string error;
    if (options.RecordPath && !history->SaveLog(*options.RecordPath, error))
      failures.push_back(error);
    if (options.BackSteps) run = history->GoBack(run, *options.BackSteps);
  } else {
    run = RunMachine(machine, *monitor, options.MaxSteps);
  }

  if (options.Regs) WriteOut(RegistersOutput(machine));
  if (options.Dump) WriteOut(DumpOutput(machine, options.DumpStart, options.DumpCount));
  if (options.Screen) WriteOut(ScreenOutput(*monitor));
  if (options.SaveStatePath) {
    ClearLabelSelection(session->Assembler());
    std::string error;
    if (!session->SaveState(*options.SaveStatePath, error)) failures.push_back(error);
  }
  std::string outcome = RunOutcomeText(run.Halted, machine.StepCount - before, machine.StepCount);
  if (outcome.starts_with(' ')) outcome.erase(0, 1);
  WriteErrorLine(outcome);
  for (const std::string& failure : failures)
    WriteErrorLine(failure);
  if (!failures.empty()) return kExitLoadFailure;
  return run.Halted ? 0 : 1;
}
