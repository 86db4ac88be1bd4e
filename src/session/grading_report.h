// Reporting a grading run: one line per result, the closing count, and the
// JSON report with every expectation's result.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "session/case_file.h"
#include "session/case_result.h"

struct TGradingCount {
  size_t Passed = 0;
  // Broken cases count as failed too.
  size_t Failed = 0;
  size_t Broken = 0;
};

TGradingCount CountResults(const std::vector<TCaseResult>& results);

// "FILE:LINE:COLUMN: message" (CP932) for a problem of the case file at path.
std::string ProblemLine(const std::string& caseFilePath, const TJsonPosition& where,
                        const std::string& message);

// "PASS name" or "FAIL name: first difference" (CP932); with showSource the
// source follows the name in parentheses. A broken case's problem has its
// place in the case file in front.
std::string ResultLine(const TCaseResult& result, const std::string& caseFilePath, bool showSource);

// "N passed, M failed".
std::string ClosingLine(const TGradingCount& count);

// The report as UTF-8 JSON: the case file, the counts, the problems outside
// the cases, and per result its status, run and every expectation with the
// expected and actual texts.
std::string GradingReportJson(const TCaseFile& file, const std::vector<TCaseResult>& results);
