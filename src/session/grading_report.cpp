#include "session/grading_report.h"

#include <nlohmann/json.hpp>

#include "persistence/encoding.h"
#include "persistence/path_text.h"

namespace {

using TJson = nlohmann::ordered_json;

const char* StatusName(TCaseStatus status) {
  switch (status) {
    case TCaseStatus::Passed:
      return "passed";
    case TCaseStatus::Failed:
      return "failed";
    case TCaseStatus::Broken:
      return "broken";
  }
  return "";
}

const char* CheckName(TCheckKind kind) {
  switch (kind) {
    case TCheckKind::Halted:
      return "halted";
    case TCheckKind::Steps:
      return "steps";
    case TCheckKind::Register:
      return "register";
    case TCheckKind::Memory:
      return "memory";
    case TCheckKind::ScreenText:
      return "screen";
    case TCheckKind::Foreground:
      return "foreground";
    case TCheckKind::Background:
      return "background";
    case TCheckKind::AssemblyErrors:
      return "assembly_errors";
  }
  return "";
}

std::string Utf8(const std::string& cp932) {
  return Cp932ToUtf8(cp932);
}

TJson PlaceJson(const TJsonPosition& where, const std::string& message) {
  return TJson{{"line", where.Line}, {"column", where.Column}, {"message", Utf8(message)}};
}

TJson ResultJson(const TCaseResult& result) {
  TJson json = {{"name", Utf8(result.Name)},
                {"source", result.Source},
                {"status", StatusName(result.Status)}};
  if (!result.Problem.empty()) {
    json["problem"] = result.ProblemPosition ? PlaceJson(*result.ProblemPosition, result.Problem)
                                             : TJson{{"message", Utf8(result.Problem)}};
  }
  if (result.Ran) {
    json["halted"] = result.Halted;
    json["steps"] = result.Steps;
    json["max_steps"] = result.MaxSteps;
    json["step_limit_reached"] = result.StepLimitReached();
  }
  TJson checks = TJson::array();
  for (const TCheckResult& check : result.Checks) {
    TJson item = {{"kind", CheckName(check.Kind)},
                  {"what", Utf8(check.What)},
                  {"passed", check.Passed},
                  {"expected", Utf8(check.Expected)},
                  {"actual", Utf8(check.Actual)}};
    if (!check.Note.empty()) item["note"] = Utf8(check.Note);
    checks.push_back(std::move(item));
  }
  json["expectations"] = std::move(checks);
  return json;
}

}  // namespace

TGradingCount CountResults(const std::vector<TCaseResult>& results) {
  TGradingCount count;
  for (const TCaseResult& result : results) {
    if (result.Status == TCaseStatus::Passed) {
      ++count.Passed;
    } else {
      ++count.Failed;
      if (result.Status == TCaseStatus::Broken) ++count.Broken;
    }
  }
  return count;
}

std::string ProblemLine(const std::string& caseFilePath, const TJsonPosition& where,
                        const std::string& message) {
  return PathToCp932(caseFilePath) + ":" + std::to_string(where.Line) + ":" +
         std::to_string(where.Column) + ": " + message;
}

std::string ResultLine(const TCaseResult& result, const std::string& caseFilePath,
                       bool showSource) {
  std::string line = result.Status == TCaseStatus::Passed ? "PASS " : "FAIL ";
  line += result.Name;
  if (showSource) line += " (" + PathToCp932(result.Source) + ")";
  if (result.Status == TCaseStatus::Passed) return line;
  line += ": ";
  if (result.Status == TCaseStatus::Broken && result.ProblemPosition)
    return line + ProblemLine(caseFilePath, *result.ProblemPosition, result.Problem);
  return line + FirstDifference(result);
}

std::string ClosingLine(const TGradingCount& count) {
  return std::to_string(count.Passed) + " passed, " + std::to_string(count.Failed) + " failed";
}

std::string GradingReportJson(const TCaseFile& file, const std::vector<TCaseResult>& results) {
  const TGradingCount count = CountResults(results);
  TJson problems = TJson::array();
  for (const TCaseFileProblem& problem : file.Problems)
    problems.push_back(PlaceJson(problem.Position, problem.Message));
  TJson list = TJson::array();
  for (const TCaseResult& result : results)
    list.push_back(ResultJson(result));
  const TJson report = {{"case_file", file.Path},          {"passed", count.Passed},
                        {"failed", count.Failed},          {"broken", count.Broken},
                        {"problems", std::move(problems)}, {"results", std::move(list)}};
  // Paths are bytes as the system gave them: any that are not UTF-8 are
  // written with replacement characters rather than refused.
  return report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
