#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "monitor/monitor_model.h"
#include "monitor_fakes.h"

namespace {

std::string SavedBlock(const TMonitorModel& monitor) {
  TMemoryStream stream;
  monitor.SaveToStream(stream);
  return stream.Bytes();
}

TEST(MonitorPorts, ResetScreenReadsAsHomeBlackOnWhite) {
  TFakeClock clock;
  TMonitorModel monitor(clock);
  const std::vector<std::pair<uint16_t, uint16_t>> reads = {
      {17, 0}, {18, 0},  {19, 1},   {21, 0},   {32, 0},   {33, 0},  {34, 0},  {35, 0},
      {36, 0}, {37, 0},  {38, 255}, {39, 255}, {40, 255}, {41, 0},  {48, 0},  {49, 0},
      {50, 0}, {512, 0}, {513, 0},  {514, 0},  {515, 0},  {768, 0}, {272, 0}, {256, 0}};
  for (auto [port, want] : reads)
    EXPECT_EQ(monitor.PortIn(port), want) << "port " << port;
}

TEST(MonitorPorts, CellPortsReadEveryCellAfterReset) {
  TFakeClock clock;
  TMonitorModel monitor(clock);
  for (uint16_t p = 0; p < kScreenCellCount; p += 7) {
    monitor.PortOut(32, p);
    ASSERT_EQ(monitor.PortIn(35) | monitor.PortIn(36) | monitor.PortIn(37), 0) << p;
    ASSERT_EQ(monitor.PortIn(38) & monitor.PortIn(39) & monitor.PortIn(40), 255) << p;
  }
}

using TPortWrites = std::vector<std::pair<uint16_t, uint16_t>>;

struct TPortCase {
  const char* what;
  TPortWrites writes;  // OUT port, value, in order
  TPortWrites reads;   // IN port, expected value
};

class PortMap : public ::testing::TestWithParam<TPortCase> {};

TEST_P(PortMap, WritesShowInTheReads) {
  const TPortCase& c = GetParam();
  TFakeClock clock;
  TMonitorModel monitor(clock);
  for (auto [port, value] : c.writes)
    monitor.PortOut(port, value);
  for (auto [port, want] : c.reads)
    EXPECT_EQ(monitor.PortIn(port), want) << c.what << ", IN " << port;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PortMap,
    ::testing::Values(
        TPortCase{"write position and its parts", {{32, 100}}, {{32, 100}, {33, 1}, {34, 36}}},
        TPortCase{"write position 3072 ignored", {{32, 100}, {32, 3072}}, {{32, 100}}},
        TPortCase{"write row", {{32, 100}, {33, 47}}, {{32, 47 * 64 + 36}, {33, 47}, {34, 36}}},
        TPortCase{"write row 48 ignored", {{32, 100}, {33, 48}}, {{32, 100}}},
        TPortCase{"write column", {{32, 100}, {34, 63}}, {{32, 127}, {34, 63}}},
        TPortCase{"write column 64 ignored", {{32, 100}, {34, 64}}, {{32, 100}}},
        TPortCase{"setting the write position leaves the cursor", {{32, 100}}, {{48, 0}}},
        TPortCase{"cursor 3072 clamps", {{19, 0}, {48, 3072}}, {{48, 3071}, {49, 47}, {50, 63}}},
        TPortCase{"cursor -1 clamps to 0", {{19, 0}, {48, 100}, {48, 0xFFFF}}, {{48, 0}}},
        TPortCase{
            "cursor row -1 is row 0", {{19, 0}, {48, 100}, {49, 0xFFFF}}, {{48, 36}, {49, 0}}},
        TPortCase{"cursor column -1 is column 0", {{19, 0}, {48, 100}, {50, 0xFFFF}}, {{48, 64}}},
        TPortCase{"cursor row 48 clamps", {{19, 0}, {48, 100}, {49, 48}}, {{48, 47 * 64 + 36}}},
        TPortCase{"cursor column 70 clamps", {{19, 0}, {48, 100}, {50, 70}}, {{48, 127}}},
        TPortCase{"setting the cursor leaves the write position", {{48, 100}}, {{32, 0}}},
        TPortCase{"cursor shown keeps its value", {{18, 0x1234}}, {{18, 0x1234}}},
        TPortCase{"cursor mode keeps any value", {{19, 7}}, {{19, 7}}},
        TPortCase{"mode 1 moves the cursor to the write position",
                  {{19, 0}, {32, 300}, {19, 1}},
                  {{48, 300}}},
        TPortCase{"mode 2 moves the write position to the cursor",
                  {{19, 0}, {48, 300}, {19, 2}},
                  {{32, 300}}},
        TPortCase{"direction is value AND 3", {{41, 6}, {17, 0x41}, {32, 0}}, {{41, 2}}},
        TPortCase{"colour ports take the low byte",
                  {{35, 0x1211},
                   {36, 0x22},
                   {37, 0x33},
                   {38, 0x144},
                   {39, 0x55},
                   {40, 0x66},
                   {17, 0x41},
                   {32, 0}},
                  {{35, 0x11}, {36, 0x22}, {37, 0x33}, {38, 0x44}, {39, 0x55}, {40, 0x66}}},
        TPortCase{"a double-byte code reads back whole", {{17, 0x82A0}, {32, 0}}, {{17, 0x82A0}}},
        TPortCase{"put char advances", {{17, 0x41}, {17, 0x42}}, {{32, 2}, {48, 2}}},
        TPortCase{"clear writes every cell", {{16, 0x2A}, {32, 3071}}, {{17, 0x2A}}},
        TPortCase{"clear keeps the positions", {{32, 50}, {16, 1}}, {{32, 50}, {48, 0}}},
        TPortCase{"scroll -1 moves text down",
                  {{17, 0x41}, {20, 0xFFFF}, {32, 64}},
                  {{17, 0x41}, {49, 1}}},
        TPortCase{"scroll 1 moves text up",
                  {{32, 64}, {17, 0x41}, {20, 1}, {32, 0}},
                  {{17, 0x41}, {49, 0}, {50, 1}}},
        TPortCase{"write-only ports read 0", {{16, 0x41}, {20, 1}}, {{16, 0}, {20, 0}}},
        TPortCase{"key select below 256", {{272, 0x41}}, {{272, 0}}},
        TPortCase{"timer before start", {}, {{768, 0}}}));

TEST(MonitorPorts, ColourPortsDoNotRecolourWrittenCells) {
  TFakeClock clock;
  TMonitorModel monitor(clock);
  monitor.PortOut(17, 0x41);
  monitor.PortOut(35, 0xAA);
  monitor.PortOut(38, 0x00);
  monitor.PortOut(41, 3);
  monitor.PortOut(32, 0);
  // The cell at the write position still has the colours it was written in.
  EXPECT_EQ(monitor.PortIn(35), 0);
  EXPECT_EQ(monitor.PortIn(38), 255);
  EXPECT_EQ(monitor.PortIn(41), 0);
  // An unwritten cell reads its own colours too, not the current ones.
  monitor.PortOut(32, 5);
  EXPECT_EQ(monitor.PortIn(35), 0);
}

TEST(MonitorPorts, UnlistedPortsReadZeroAndIgnoreWrites) {
  TFakeClock clock;
  TFakeKeyboard keyboard;
  keyboard.Press(0x41);
  TMonitorModel monitor(clock);
  monitor.SetKeyboardSource(&keyboard);
  monitor.PortOut(32, 100);
  monitor.PortOut(17, 0x41);
  monitor.PortIn(256);  // take the keyboard once so the block is settled
  const std::string before = SavedBlock(monitor);

  for (uint16_t port : {0, 1, 15, 22, 31, 42, 47, 51, 255, 273, 300, 511, 516, 767, 769, 0xFFFF}) {
    EXPECT_EQ(monitor.PortIn(port), 0) << "port " << port;
    monitor.PortOut(port, 0x0101);
    monitor.PortOut(port, 0xFFFF);
  }
  EXPECT_EQ(SavedBlock(monitor), before);
  EXPECT_EQ(monitor.PortIn(768), 0) << "no write started the timer";
}

TEST(MonitorPorts, FramePortReadsAndResetsTheCounter) {
  TFakeClock clock;
  TMonitorModel monitor(clock);
  for (int i = 0; i < 5; ++i)
    monitor.AdvanceFrame();
  EXPECT_EQ(monitor.PortIn(21), 5);
  monitor.PortOut(21, 1234);
  EXPECT_EQ(monitor.PortIn(21), 0);
}

TEST(MonitorPorts, ResetScreenKeepsFramesInputAndTimer) {
  TFakeClock clock;
  TMonitorModel monitor(clock);
  monitor.AdvanceFrame();
  monitor.TrackMouse(100, 50, kMouseLeft);
  monitor.PortOut(272, 0x41);
  monitor.PortOut(768, 10);
  clock.AdvanceMs(30);
  monitor.ResetScreen();
  EXPECT_EQ(monitor.PortIn(21), 1);
  EXPECT_EQ(monitor.PortIn(513), 264);
  EXPECT_EQ(monitor.Input().State().SelectedKey, 0x41);
  EXPECT_EQ(monitor.PortIn(768), 3);
}

class KeyboardPorts : public ::testing::Test {
 protected:
  KeyboardPorts() : monitor(clock) { monitor.SetKeyboardSource(&keyboard); }
  TFakeClock clock;
  TFakeKeyboard keyboard;
  TMonitorModel monitor;
};

TEST_F(KeyboardPorts, RowsShowTheKeysHeldAtTheRead) {
  keyboard.Press(0x41);  // A: row 4, bit 1
  EXPECT_EQ(monitor.PortIn(260), 0x0002);
  keyboard.Press(0x4F);  // O: row 4, bit 15
  keyboard.Press(0x0D);  // enter: row 0, bit 13
  EXPECT_EQ(monitor.PortIn(260), 0x8002);
  EXPECT_EQ(monitor.PortIn(256), 1 << 13);
  keyboard.Release(0x41);
  EXPECT_EQ(monitor.PortIn(260), 0x8000);
  EXPECT_EQ(monitor.PortIn(271), 0);
}

TEST_F(KeyboardPorts, EveryKeyboardPortReadTakesAFreshCopy) {
  keyboard.Press(0x20);
  EXPECT_EQ(monitor.PortIn(511), 0);  // reads 0 but refreshes
  EXPECT_EQ(monitor.Input().State().Keyboard[0x20], 0x80);
  EXPECT_EQ(monitor.Input().State().KeyRows[2], 1);
  keyboard.Release(0x20);
  monitor.PortIn(512);  // a mouse port does not refresh
  EXPECT_EQ(monitor.Input().State().KeyRows[2], 1);
}

TEST_F(KeyboardPorts, SelectedKeyPort) {
  keyboard.Press(0x41);
  EXPECT_EQ(monitor.PortIn(272), 0) << "selected key 0 is not down";
  monitor.PortOut(272, 0x0141);
  EXPECT_EQ(monitor.PortIn(272), 0) << "0x141 is not taken";
  monitor.PortOut(272, 0x41);
  EXPECT_EQ(monitor.PortIn(272), 1);
  monitor.PortOut(272, 0x0141);  // still A
  EXPECT_EQ(monitor.PortIn(272), 1);
  keyboard.Release(0x41);
  EXPECT_EQ(monitor.PortIn(272), 0);
}

TEST_F(KeyboardPorts, NoSourceMeansNoKeysDown) {
  keyboard.Press(0x41);
  monitor.PortIn(260);
  monitor.SetKeyboardSource(nullptr);
  EXPECT_EQ(monitor.PortIn(260), 0);
  EXPECT_EQ(monitor.Input().State().Keyboard[0x41], 0);
}

TEST(MousePorts, PressReleaseAndDragOutside) {
  TFakeClock clock;
  TMonitorModel monitor(clock);
  monitor.TrackMouse(100, 50, kMouseLeft);
  EXPECT_EQ(monitor.PortIn(512), 1);
  EXPECT_EQ(monitor.PortIn(513), 264);
  EXPECT_EQ(monitor.PortIn(514), 4);
  EXPECT_EQ(monitor.PortIn(515), 8);

  monitor.TrackMouse(100, 50, 0);  // release
  EXPECT_EQ(monitor.PortIn(512), 0);
  EXPECT_EQ(monitor.PortIn(513), 264);

  monitor.TrackMouse(100, 50, kMouseRight | kMouseMiddle);
  monitor.TrackMouse(900, 50, kMouseRight | kMouseMiddle);  // dragged outside
  EXPECT_EQ(monitor.PortIn(513), 0xFFFF);
  EXPECT_EQ(monitor.PortIn(514), 0xFFFF);
  EXPECT_EQ(monitor.PortIn(515), 0xFFFF);
  EXPECT_EQ(monitor.PortIn(512), 6);
  monitor.TrackMouse(-1, -1, 0);  // released outside: the buttons stay
  EXPECT_EQ(monitor.PortIn(512), 6);
}

TEST(TimerPort, CountsUnitsSinceTheStart) {
  TFakeClock clock;
  TMonitorModel monitor(clock);
  monitor.PortOut(768, 10);
  EXPECT_EQ(monitor.PortIn(768), 0);
  clock.AdvanceMs(25);
  EXPECT_EQ(monitor.PortIn(768), 2);
  monitor.PortOut(768, 10);  // restart
  EXPECT_EQ(monitor.PortIn(768), 0);
  clock.AdvanceMs(10);
  EXPECT_EQ(monitor.PortIn(768), 1);
  monitor.PortOut(768, 0);  // stop
  clock.AdvanceMs(100);
  EXPECT_EQ(monitor.PortIn(768), 0);
}

}  // namespace
