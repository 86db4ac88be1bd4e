#include "monitor/monitor_state_block.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "monitor/monitor_model.h"
#include "monitor_fakes.h"

namespace {

namespace mb = monitor_block;

uint32_t LittleEndian(const std::string& bytes, size_t offset, size_t size) {
  uint32_t v = 0;
  for (size_t i = size; i-- > 0;)
    v = (v << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return v;
}

std::string Saved(const TMonitorModel& monitor) {
  TMemoryStream stream;
  monitor.SaveToStream(stream);
  return stream.Bytes();
}

// A monitor with a known, non-default value in every field of the block.
class StateBlock : public ::testing::Test {
 protected:
  StateBlock() : monitor(clock) {
    monitor.SetKeyboardSource(&keyboard);
    // A cell at position 130 (column 2, row 2): code 0x82A0 in direction 3,
    // foreground 0x332211 on 0x665544.
    const std::pair<uint16_t, uint16_t> writes[] = {{35, 0x11}, {36, 0x22}, {37, 0x33},
                                                    {38, 0x44}, {39, 0x55}, {40, 0x66},
                                                    {41, 3},    {32, 130},  {17, 0x82A0}};
    for (auto [port, value] : writes)
      monitor.PortOut(port, value);
    monitor.PortOut(19, 0);     // cursor mode 0, so the cursor stays where it is put
    monitor.PortOut(32, 100);   // write column 36, row 1
    monitor.PortOut(48, 2000);  // cursor column 16, row 31
    monitor.PortOut(18, 0x1234);
    monitor.PortOut(272, 0x41);
    monitor.TrackMouse(100, 50, kMouseLeft | kMouseMiddle);
    keyboard.Press(0x41);
    keyboard.SetRaw(0x14, 0x01);  // a toggle bit, not "down"
    monitor.PortIn(256);
  }

  TFakeClock clock;
  TFakeKeyboard keyboard;
  TMonitorModel monitor;
};

TEST_F(StateBlock, FieldsLieAtTheirOffsets) {
  const std::string block = Saved(monitor);
  ASSERT_EQ(block.size(), kMonitorBlockSize);

  struct TField {
    const char* name;
    size_t offset;
    size_t size;
    uint32_t value;
  };
  const TField fields[] = {
      {"write column", mb::kWriteColumn, 2, 36},
      {"write row", mb::kWriteRow, 2, 1},
      {"write position", mb::kWritePosition, 2, 100},
      {"direction", mb::kDirection, 2, 3},
      {"foreground", mb::kForeground, 4, 0x332211},
      {"background", mb::kBackground, 4, 0x665544},
      {"cursor shown", mb::kCursorShown, 2, 0x1234},
      {"cursor column", mb::kCursorColumn, 2, 16},
      {"cursor row", mb::kCursorRow, 2, 31},
      {"cursor position", mb::kCursorPosition, 2, 2000},
      {"cursor mode", mb::kCursorMode, 2, 0},
      {"mouse column", mb::kMouseColumn, 4, 8},
      {"mouse row", mb::kMouseRow, 4, 4},
      {"mouse buttons", mb::kMouseButtons, 2, 5},
      {"selected key", mb::kSelectedKey, 2, 0x41},
      {"reserved", mb::kReservedA, 4, 0},
      {"key A", mb::kKeyboard + 0x41, 1, 0x80},
      {"caps lock toggle", mb::kKeyboard + 0x14, 1, 0x01},
      {"key row 4", mb::kKeyRows + 2 * 4, 2, 0x0002},
      {"key row 1", mb::kKeyRows + 2 * 1, 2, 0},
  };
  for (const TField& f : fields)
    EXPECT_EQ(LittleEndian(block, f.offset, f.size), f.value) << f.name;
  EXPECT_EQ(block.substr(mb::kReservedB), std::string(32, '\0'));

  // The cell at position 130: code, foreground, background, text, direction.
  const size_t cell = 16 * 130;
  EXPECT_EQ(LittleEndian(block, cell + 0, 2), 0x82A0u);
  EXPECT_EQ(LittleEndian(block, cell + 2, 4), 0x332211u);
  EXPECT_EQ(LittleEndian(block, cell + 6, 4), 0x665544u);
  EXPECT_EQ(block[cell + 10], 2);
  EXPECT_EQ(block.substr(cell + 11, 2), "\x82\xA0");
  EXPECT_EQ(block[cell + 15], 3);
  // A reset cell: code 0, black on white, empty text, direction 0.
  const size_t blank = 16 * 131;
  EXPECT_EQ(LittleEndian(block, blank + 2, 4), 0u);
  EXPECT_EQ(LittleEndian(block, blank + 6, 4), 0xFFFFFFu);
  EXPECT_EQ(block[blank + 10], 0);
}

TEST_F(StateBlock, LoadsBackIntoAFreshMonitor) {
  TMemoryStream stream;
  stream.Write("HEAD");
  monitor.SaveToStream(stream);
  stream.Write("TAIL");
  ASSERT_EQ(stream.Size(), 4 + kMonitorBlockSize + 4);

  TFakeClock otherClock;
  TMonitorModel copy(otherClock);
  stream.Seek(4);
  ASSERT_EQ(copy.LoadFromStream(stream), 0);
  EXPECT_EQ(stream.Position(), 4 + kMonitorBlockSize) << "nothing past the block is read";

  EXPECT_EQ(copy.Screen().Registers(), monitor.Screen().Registers());
  EXPECT_EQ(copy.Screen().Cells(), monitor.Screen().Cells());
  EXPECT_EQ(copy.Input().State(), monitor.Input().State());
  EXPECT_EQ(Saved(copy), Saved(monitor));
  // The restored monitor goes on from where the saved one was.
  copy.PortOut(17, 0x42);
  EXPECT_EQ(copy.Screen().Cell(100).Code, 0x42);
  EXPECT_EQ(copy.PortIn(513), 264);
  EXPECT_EQ(copy.PortIn(48), 2000) << "mode 0 was restored";
}

TEST_F(StateBlock, LoadKeepsFrameCounterAndTimer) {
  const std::string block = Saved(monitor);
  TFakeClock otherClock;
  TMonitorModel other(otherClock);
  other.AdvanceFrame();
  other.AdvanceFrame();
  other.PortOut(768, 5);
  otherClock.AdvanceMs(50);
  TMemoryStream stream(block);
  ASSERT_EQ(other.LoadFromStream(stream), 0);
  EXPECT_EQ(other.PortIn(21), 2);
  EXPECT_EQ(other.PortIn(768), 10);
}

TEST_F(StateBlock, ShortReadChangesNothing) {
  const std::string block = Saved(monitor);
  TFakeClock otherClock;
  TMonitorModel other(otherClock);
  other.PortOut(17, 0x5A);
  const std::string before = Saved(other);

  for (size_t have : {size_t{0}, size_t{1}, size_t{16 * 3072}, kMonitorBlockSize - 1}) {
    TMemoryStream stream("XY" + block.substr(0, have));
    stream.Seek(2);
    EXPECT_EQ(other.LoadFromStream(stream), -1) << have << " bytes";
    EXPECT_EQ(stream.Position(), 2u) << have << " bytes";
    EXPECT_EQ(Saved(other), before) << have << " bytes";
  }
}

TEST(StateBlockDamaged, DamagedFieldsCannotReachOutsideTheModel) {
  TFakeClock clock;
  TMonitorModel source(clock);
  std::string block = Saved(source);
  auto put16 = [&](size_t offset, uint16_t v) {
    block[offset] = static_cast<char>(v & 0xFF);
    block[offset + 1] = static_cast<char>(v >> 8);
  };
  put16(mb::kWriteColumn, 500);
  put16(mb::kWriteRow, 700);
  put16(mb::kWritePosition, 65000);
  put16(mb::kCursorColumn, 64);
  put16(mb::kCursorRow, 48);
  put16(mb::kCursorPosition, 3072);
  put16(mb::kSelectedKey, 0x141);
  block[10] = static_cast<char>(200);  // cell 0: text length 200
  block[15] = static_cast<char>(6);    // cell 0: direction 6

  TMonitorModel monitor(clock);
  TMemoryStream stream(block);
  ASSERT_EQ(monitor.LoadFromStream(stream), 0);
  EXPECT_EQ(monitor.PortIn(32), 3071);
  EXPECT_EQ(monitor.PortIn(48), 3071);
  EXPECT_EQ(monitor.PortIn(272), 0) << "no key has code 0x141";
  const TScreenCell cell = monitor.Screen().Cell(0);
  EXPECT_EQ(cell.TextLength, 200) << "the byte itself is kept";
  EXPECT_EQ(cell.DisplayBytes().size(), 4u);
  EXPECT_EQ(cell.DrawDirection(), 2);
  monitor.PortOut(19, 0);
  monitor.PortOut(17, 0x41);  // lands on the last cell
  EXPECT_EQ(monitor.Screen().Cell(3071).Code, 0x41);
}

}  // namespace
