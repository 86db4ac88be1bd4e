#include "session/case_runner.h"

#include <algorithm>
#include <memory>

#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "persistence/encoding.h"
#include "persistence/path_text.h"
#include "session/case_checks.h"
#include "session/execution_history.h"
#include "session/load_message.h"
#include "session/program_session.h"
#include "session/scripted_key_device.h"

namespace {

void MarkBroken(TCaseResult& result, const TJsonPosition& where, std::string problem) {
  result.Status = TCaseStatus::Broken;
  result.ProblemPosition = where;
  result.Problem = std::move(problem);
}

std::string LoadProblem(TLoadResult loaded, const TLoadOutcome& outcome,
                        const std::string& source) {
  std::string message = LoadResultMessage(loaded, outcome);
  if (message.starts_with(' ')) message.erase(0, 1);
  message += ": " + PathToCp932(source);
  if (!outcome.ErrorText.empty()) message += " (" + outcome.ErrorText + ")";
  return message;
}

// Writes the memory and register settings; false with the reason when a
// label is missing or a run would leave memory.
bool ApplySettings(const TTestCase& testCase, TProgramSession& session, std::string& problem) {
  TQRXEmulater& machine = session.Machine();
  const TQRXAssembler& assembler = session.Assembler();
  const auto resolve = [&](const TCaseWord& word, uint16_t& value) {
    const std::optional<uint16_t> resolved = ResolveWord(word, assembler);
    if (!resolved)
      problem = Sjis("設定のラベル ") + word.Label + Sjis(" がプログラムにありません");
    else
      value = *resolved;
    return resolved.has_value();
  };
  for (const TMemoryWords& want : testCase.MemorySettings) {
    uint16_t base = 0;
    if (!resolve(want.Address, base)) return false;
    if (base + want.Values.size() > TQRXEmulater::kWords) {
      problem = Sjis("設定がメモリの外にはみ出します: ") + want.Address.Label;
      return false;
    }
    for (size_t i = 0; i < want.Values.size(); ++i) {
      uint16_t value = 0;
      if (!resolve(want.Values[i], value)) return false;
      machine.WriteWord(static_cast<uint16_t>(base + i), value);
    }
  }
  for (const TRegisterWord& want : testCase.RegisterSettings) {
    uint16_t value = 0;
    if (!resolve(want.Value, value)) return false;
    machine.WriteWord(want.Address, value);
  }
  return true;
}

// Replays the case's input on the loaded program until HALT or the limit.
TReplayRun RunProgram(const TTestCase& testCase, TProgramSession& session) {
  TQRXEmulater& machine = session.Machine();
  TExecutionHistory history(machine, session.Monitor());
  // A check never goes back: the history keeps only the checkpoints it
  // cannot drop, and reuses one object for the ones it takes on the way.
  history.SetBudget(0);
  std::string error;
  // An open log (no end, no memory hash): replaying cannot be refused and
  // never hands over to the live devices.
  history.StartReplay(TInputLogFile{testCase.Input, std::nullopt, std::nullopt}, error);
  TPortDevice* historyDevice = machine.PortDevice();
  TScriptedKeyDevice keys(machine, history, session.Monitor(), *historyDevice);
  if (testCase.SelectedKeyFromRows) machine.SetPortDevice(&keys);
  const TReplayRun run = history.RunReplay(testCase.MaxSteps);
  machine.SetPortDevice(historyDevice);
  return run;
}

}  // namespace

TCaseResult RunCase(const TTestCase& testCase, const std::string& source, bool sourceFromCase) {
  TCaseResult result;
  result.Name = testCase.Name;
  result.Source = source;
  result.MaxSteps = testCase.MaxSteps;
  if (testCase.Broken()) {
    MarkBroken(result, testCase.Problems.front().Position, testCase.Problems.front().Message);
    return result;
  }
  if (source.empty()) {
    MarkBroken(result, testCase.Position,
               Sjis("ケースに \"source\" がなく、コマンド行にもソースがありません"));
    return result;
  }

  auto monitor = std::make_unique<TMonitorModel>();
  auto session = std::make_unique<TProgramSession>(*monitor);
  TLoadOutcome outcome;
  const TLoadResult loaded = session->LoadFile(source, outcome);
  if (!IsLoaded(loaded)) {
    const std::string problem = LoadProblem(loaded, outcome, source);
    if (sourceFromCase)
      MarkBroken(result, testCase.SourcePosition, problem);
    else
      result.Problem = problem;
    return result;
  }
  if (!ApplySettings(testCase, *session, result.Problem)) return result;

  const TReplayRun run = RunProgram(testCase, *session);
  result.Ran = true;
  result.Halted = run.Halted;
  result.Steps = run.Steps;
  result.Checks =
      CheckExpectations(testCase.Expect, {run.Halted, run.Steps, testCase.MaxSteps}, *session);
  const bool passed = std::all_of(result.Checks.begin(), result.Checks.end(),
                                  [](const TCheckResult& check) { return check.Passed; });
  result.Status = passed ? TCaseStatus::Passed : TCaseStatus::Failed;
  return result;
}
