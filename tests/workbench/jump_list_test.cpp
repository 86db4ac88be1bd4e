// The jump history: Init, and PopNum keeping its bottom entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workbench/jump_list.h"

namespace {

std::vector<std::string> Lines(const TCustomStringList& list) {
  return list.ToVector();
}

}  // namespace

TEST(JumpList, StartsHoldingRowZero) {
  TJumpList history;
  EXPECT_EQ(Lines(history), std::vector<std::string>{"0"});
  EXPECT_EQ(history.TopNumber(), 0);
}

TEST(JumpList, InitReplacesTheHistory) {
  struct Case {
    int32_t n;
    std::vector<std::string> expected;
  };
  const Case cases[] = {{0, {"0"}}, {17, {"17"}}, {-1, {}}, {-5, {}}};
  for (const Case& c : cases) {
    TJumpList history;
    history.PushNumber(3);
    history.PushNumber(9);
    history.Init(c.n);
    EXPECT_EQ(Lines(history), c.expected) << "Init(" << c.n << ")";
  }
}

TEST(JumpList, PopNumWalksBackAndKeepsTheBottomEntry) {
  TJumpList history;
  history.Init(4);
  history.PushNumber(10);
  history.PushNumber(25);
  EXPECT_EQ(history.PopNum(), 25);
  EXPECT_EQ(history.PopNum(), 10);
  // The bottom entry is returned again and again and never removed.
  EXPECT_EQ(history.PopNum(), 4);
  EXPECT_EQ(history.PopNum(), 4);
  EXPECT_EQ(Lines(history), std::vector<std::string>{"4"});
}

TEST(JumpList, PopNumOnAnEmptyHistoryGivesRowZero) {
  TJumpList history;
  history.Init(-1);
  ASSERT_TRUE(history.Empty());
  // The plain string list would give -1 here.
  EXPECT_EQ(history.PopNum(), 0);
  EXPECT_TRUE(history.Empty());
}

TEST(JumpList, PopNumThroughTheBaseClassUsesTheOverride) {
  TJumpList history;
  TCustomStringList& plain = history;
  EXPECT_EQ(plain.PopNum(), 0);
  EXPECT_EQ(history.Count(), 1);
}
