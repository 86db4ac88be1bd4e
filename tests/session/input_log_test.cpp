#include "session/input_log.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(InputLog, KeepsAnEventOnlyWhenThePortsValueChanges) {
  TInputLog log;
  EXPECT_FALSE(log.RecordInput(0, 768, 0));  // a port without events reads 0
  EXPECT_TRUE(log.RecordInput(1, 768, 4));
  EXPECT_FALSE(log.RecordInput(2, 768, 4));
  EXPECT_TRUE(log.RecordInput(3, 260, 4));  // each port has its own last value
  EXPECT_TRUE(log.RecordInput(4, 768, 0));
  EXPECT_FALSE(log.RecordInput(5, 17, 9));  // not an input port
  const std::vector<TInputEvent> expected = {{1, 768, 4}, {3, 260, 4}, {4, 768, 0}};
  EXPECT_EQ(log.Inputs(), expected);
}

TEST(InputLog, TruncationDropsTheFutureAndKeepsTheEditsOfTheNewPosition) {
  TInputLog log;
  log.RecordInput(2, 768, 5);
  log.RecordInput(6, 768, 7);
  log.RecordInput(9, 768, 8);
  log.RecordEdit(5, 0x100, 1);
  log.RecordEdit(6, 0x101, 2);
  log.RecordEdit(7, 0x102, 3);
  log.TruncateAt(6);
  const std::vector<TInputEvent> inputs = {{2, 768, 5}};
  const std::vector<TUserEdit> edits = {{5, 0x100, 1}, {6, 0x101, 2}};
  EXPECT_EQ(log.Inputs(), inputs);
  EXPECT_EQ(log.Edits(), edits);
  // The change rule starts again from what is left: 7 was dropped, so it is
  // a change again, and 5 is not.
  EXPECT_FALSE(log.RecordInput(6, 768, 5));
  EXPECT_TRUE(log.RecordInput(7, 768, 7));
}

TEST(InputLog, ACursorReadsTheLastEventAtOrBeforeTheStep) {
  TInputLog log;
  log.AppendInput({3, 768, 10});
  log.AppendInput({3, 512, 1});
  log.AppendInput({8, 768, 11});
  log.AppendInput({8, 768, 12});  // the later of two events at one step wins
  const int timer = InputPortSlot(768), mouse = InputPortSlot(512);
  struct TCase {
    uint64_t step;
    int slot;
    uint16_t value;
  };
  TInputCursor cursor;
  for (const TCase& c :
       {TCase{0, timer, 0}, TCase{2, mouse, 0}, TCase{3, timer, 10}, TCase{3, mouse, 1},
        TCase{7, timer, 10}, TCase{8, timer, 12}, TCase{100, mouse, 1}}) {
    EXPECT_EQ(cursor.Read(log, c.step, c.slot), c.value) << "step " << c.step;
  }
  cursor.Rewind();
  EXPECT_EQ(cursor.Read(log, 1, timer), 0);
}

}  // namespace
