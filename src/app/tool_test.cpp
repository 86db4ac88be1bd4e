#include "app/tool_test.h"

#include <cstdio>

#include "app/tool_common.h"
#include "persistence/file_io.h"
#include "session/case_file.h"
#include "session/grading_report.h"
#include "session/grading_run.h"

namespace {

void WriteOutLine(const std::string& cp932) {
  WriteOut(OutputText(cp932) + "\n");
  std::fflush(stdout);
}

// Every problem of the case file on stderr, those of broken cases with the
// case's name, before anything runs.
void ReportProblems(const TCaseFile& file) {
  for (const TCaseFileProblem& problem : file.Problems)
    WriteErrorLine(ProblemLine(file.Path, problem.Position, problem.Message));
  for (const TTestCase& testCase : file.Cases)
    for (const TCaseFileProblem& problem : testCase.Problems)
      WriteErrorLine(
          ProblemLine(file.Path, problem.Position, testCase.Name + ": " + problem.Message));
}

}  // namespace

int RunTestCommand(const TToolOptions& options) {
  TCaseFile file;
  TCaseFileProblem fatal;
  if (!ReadCaseFile(options.CaseFile, file, fatal)) {
    WriteErrorLine(ProblemLine(options.CaseFile, fatal.Position, fatal.Message));
    return kExitBrokenCaseFile;
  }
  ReportProblems(file);

  const std::vector<TGradingJob> jobs = GradingJobs(file, options.Sources);
  const bool showSource = options.Sources.size() > 1;
  const std::vector<TCaseResult> results = RunGrading(
      jobs, options.Jobs.value_or(DefaultJobCount()), [&](size_t, const TCaseResult& result) {
        WriteOutLine(ResultLine(result, file.Path, showSource));
      });
  const TGradingCount count = CountResults(results);
  WriteOutLine(ClosingLine(count));

  if (options.JsonReportPath) {
    std::string error;
    if (!WriteFileAtomically(*options.JsonReportPath, GradingReportJson(file, results), error)) {
      WriteErrorLine(error);
      return kExitBrokenCaseFile;
    }
  }
  if (count.Broken > 0 || !file.Problems.empty()) return kExitBrokenCaseFile;
  return count.Failed > 0 ? 1 : 0;
}
