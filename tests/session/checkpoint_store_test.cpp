#include "session/checkpoint_store.h"

#include <gtest/gtest.h>

namespace {

void AddAt(TCheckpointStore& store, uint64_t position) {
  std::unique_ptr<TCheckpoint> checkpoint = store.Blank();
  checkpoint->Position = position;
  store.Add(std::move(checkpoint));
}

TEST(CheckpointStore, OverTheBudgetTheFarPastThinsOutButKeepsTheStart) {
  TCheckpointStore store(21 * sizeof(TCheckpoint));
  ASSERT_EQ(store.Capacity(), 20u);
  for (uint64_t p = 0; p <= 10'000; p += 10)
    AddAt(store, p);
  EXPECT_EQ(store.Count(), 20u);
  EXPECT_LE(store.BytesUsed(), store.Budget());
  EXPECT_EQ(store.At(0).Position, 0u);
  EXPECT_EQ(store.At(19).Position, 10'000u);
  // The recent past stays dense...
  EXPECT_EQ(store.At(18).Position, 9'990u);
  // ...and the far past is still covered, not cut off as a queue would.
  EXPECT_LT(store.At(1).Position, 5'000u);
  // Gaps grow with age.
  for (size_t i = 1; i + 1 < store.Count(); ++i) {
    const uint64_t older = store.At(i).Position - store.At(i - 1).Position;
    const uint64_t newer = store.At(i + 1).Position - store.At(i).Position;
    EXPECT_GE(older * 3, newer) << "at " << store.At(i).Position;
  }
}

TEST(CheckpointStore, FindsTheLastCheckpointAtOrBeforeAPositionAndDropsTheFuture) {
  TCheckpointStore store;
  for (uint64_t p : {0, 100, 200, 300})
    AddAt(store, p);
  EXPECT_EQ(store.AtOrBefore(0)->Position, 0u);
  EXPECT_EQ(store.AtOrBefore(199)->Position, 100u);
  EXPECT_EQ(store.AtOrBefore(200)->Position, 200u);
  EXPECT_EQ(store.AtOrBefore(5000)->Position, 300u);
  store.DropAfter(150);
  EXPECT_EQ(store.Count(), 2u);
  // A checkpoint at or before the newest replaces those from its position on.
  AddAt(store, 100);
  EXPECT_EQ(store.Count(), 2u);
  EXPECT_EQ(store.AtOrBefore(5000)->Position, 100u);
}

TEST(CheckpointStore, ATinyBudgetStillKeepsTheStartAndTheNewest) {
  TCheckpointStore store(1);
  for (uint64_t p = 0; p < 50; p += 5)
    AddAt(store, p);
  ASSERT_EQ(store.Count(), 2u);
  EXPECT_EQ(store.At(0).Position, 0u);
  EXPECT_EQ(store.At(1).Position, 45u);
}

}  // namespace
