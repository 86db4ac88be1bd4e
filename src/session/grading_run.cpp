#include "session/grading_run.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "persistence/encoding.h"
#include "session/case_runner.h"

namespace {

TCaseResult RunJob(const TGradingJob& job) {
  try {
    return RunCase(*job.Case, job.Source, job.SourceFromCase);
  } catch (const std::exception& failure) {
    TCaseResult result;
    result.Name = job.Case->Name;
    result.Source = job.Source;
    result.MaxSteps = job.Case->MaxSteps;
    result.Problem = Sjis("検査中にエラーが起きました: ") + failure.what();
    return result;
  }
}

// The results as the workers finish them, handed on in job order.
class TResultBoard {
 public:
  explicit TResultBoard(size_t count) : results_(count), done_(count, false) {}

  void Put(size_t index, TCaseResult result) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      results_[index] = std::move(result);
      done_[index] = true;
    }
    ready_.notify_one();
  }

  // Waits for the next result in order and returns how many in a row are
  // done from `from` on (at least one). Those results are not written again.
  size_t WaitFrom(size_t from) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [&] { return done_[from]; });
    size_t end = from;
    while (end < done_.size() && done_[end])
      ++end;
    return end - from;
  }

  const TCaseResult& At(size_t index) const { return results_[index]; }
  std::vector<TCaseResult> Take() { return std::move(results_); }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::vector<TCaseResult> results_;
  std::vector<bool> done_;
};

}  // namespace

std::vector<TGradingJob> GradingJobs(const TCaseFile& file,
                                     const std::vector<std::string>& sources) {
  std::vector<TGradingJob> jobs;
  if (sources.empty()) {
    for (const TTestCase& testCase : file.Cases)
      jobs.push_back({&testCase, testCase.Source, true});
    return jobs;
  }
  for (const std::string& source : sources)
    for (const TTestCase& testCase : file.Cases)
      jobs.push_back({&testCase, source, false});
  return jobs;
}

unsigned DefaultJobCount() {
  return std::max(1u, std::thread::hardware_concurrency());
}

std::vector<TCaseResult> RunGrading(const std::vector<TGradingJob>& jobs, unsigned threads,
                                    const TResultListener& listener) {
  const size_t count = jobs.size();
  if (threads <= 1 || count <= 1) {
    std::vector<TCaseResult> results;
    for (size_t i = 0; i < count; ++i) {
      results.push_back(RunJob(jobs[i]));
      if (listener) listener(i, results.back());
    }
    return results;
  }

  TResultBoard board(count);
  std::atomic<size_t> next{0};
  std::vector<std::thread> workers;
  const size_t workerCount = std::min<size_t>(threads, count);
  for (size_t w = 0; w < workerCount; ++w) {
    workers.emplace_back([&] {
      for (size_t i = next++; i < count; i = next++)
        board.Put(i, RunJob(jobs[i]));
    });
  }
  for (size_t reported = 0; reported < count;) {
    const size_t ready = board.WaitFrom(reported);
    for (size_t i = reported; i < reported + ready; ++i)
      if (listener) listener(i, board.At(i));
    reported += ready;
  }
  for (std::thread& worker : workers)
    worker.join();
  return board.Take();
}
