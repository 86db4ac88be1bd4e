#include "session/run_report.h"

#include "persistence/encoding.h"

std::string GroupDigits(uint64_t n) {
  const std::string digits = std::to_string(n);
  std::string out;
  out.reserve(digits.size() + digits.size() / 3);
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

namespace {

// "<steps>steps(Total:<total>steps)", both grouped.
std::string StepsAndTotal(uint64_t steps, uint64_t total) {
  return GroupDigits(steps) + "steps(Total:" + GroupDigits(total) + "steps)";
}

}  // namespace

std::string RunOutcomeText(bool halted, uint64_t steps, uint64_t total) {
  static const std::string kHalted = Sjis(" 実行終了: ");
  static const std::string kStopped = Sjis(" 実行停止: ");
  return (halted ? kHalted : kStopped) + StepsAndTotal(steps, total);
}

std::string WentBackText(uint64_t steps, uint64_t total) {
  static const std::string kBack = Sjis(" 戻りました: ");
  return kBack + StepsAndTotal(steps, total);
}

const std::string& RunningText() {
  static const std::string kText = Sjis(" 実行中");
  return kText;
}

const std::string& ResetDoneText() {
  static const std::string kText = Sjis(" 初期化完了");
  return kText;
}
