// The texts that report a run.
#include "session/run_report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "persistence/encoding.h"

namespace {

TEST(GroupDigits, PutsACommaBetweenGroupsOfThreeFromTheRight) {
  const std::vector<std::pair<uint64_t, std::string>> cases = {
      {0, "0"},
      {7, "7"},
      {999, "999"},
      {1000, "1,000"},
      {10000, "10,000"},
      {100000, "100,000"},
      {1234567, "1,234,567"},
      {1000000000, "1,000,000,000"},
      {std::numeric_limits<uint64_t>::max(), "18,446,744,073,709,551,615"},
  };
  for (const auto& [n, text] : cases)
    EXPECT_EQ(GroupDigits(n), text) << n;
}

TEST(RunOutcomeText, TellsAHaltFromAStopAndGroupsBothNumbers) {
  EXPECT_EQ(RunOutcomeText(true, 1, 1), Sjis(" 実行終了: 1steps(Total:1steps)"));
  EXPECT_EQ(RunOutcomeText(false, 1234567, 12345678),
            Sjis(" 実行停止: 1,234,567steps(Total:12,345,678steps)"));
  EXPECT_EQ(WentBackText(1234, 5000), Sjis(" 戻りました: 1,234steps(Total:5,000steps)"));
  EXPECT_EQ(RunningText(), Sjis(" 実行中"));
  EXPECT_EQ(ResetDoneText(), Sjis(" 初期化完了"));
}

}  // namespace
