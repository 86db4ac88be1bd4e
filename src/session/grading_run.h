// Checking many programs against a case file on several threads. Each job is
// one case on one source and runs alone (case_runner.h): the results are
// those of a run one job after the other, in the same order.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "session/case_file.h"
#include "session/case_result.h"

// One case on one source. The case belongs to a TCaseFile that must outlive
// the run.
struct TGradingJob {
  const TTestCase* Case = nullptr;
  std::string Source;
  bool SourceFromCase = false;
};

// Every case on every source, source by source in the order given; with no
// sources, every case on its own source.
std::vector<TGradingJob> GradingJobs(const TCaseFile& file,
                                     const std::vector<std::string>& sources);

// The number of cores (at least 1).
unsigned DefaultJobCount();

// Hears each result with its job's index.
using TResultListener = std::function<void(size_t index, const TCaseResult& result)>;

// Runs the jobs on up to `threads` worker threads (1 or fewer: on the
// calling thread). Returns the results in job order; the listener, when
// given, hears them on the calling thread in that order, each as soon as it
// and every one before it are done. A job that throws fails with the
// exception's text.
std::vector<TCaseResult> RunGrading(const std::vector<TGradingJob>& jobs, unsigned threads,
                                    const TResultListener& listener = {});
