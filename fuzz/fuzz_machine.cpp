// Arbitrary bytes as a memory image and a script of input events, run in
// memory: Step for at most kSteps instructions with the monitor attached,
// the events (keys down and up, mouse moves and buttons, frames, time
// passing) applied before the steps they name. After every OUT the screen
// must hold its invariants (positions on the screen, each position equal to
// its row and column) and agree with a plain model of the port map kept
// here: write position, cursor, colours, direction, mode, and the code of
// every cell. Every IN of a screen port must answer from that model too.
//
// Input: byte 0 is the number of events (at most kMaxEvents); then four
// bytes per event (step low, step high, kind, argument); the rest is the
// memory image from address 0, little-endian words.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "assembler/machine_loader.h"
#include "fuzz_support.h"
#include "machine/machine.h"
#include "machine/port_device.h"
#include "monitor/monitor_model.h"

namespace {

// Enough to reach every port and screen state (positions are set through
// ports, not only by writing cell after cell); a loop that clears or
// scrolls the whole screen at every step costs a full screen each time.
constexpr int kSteps = 1024;
constexpr size_t kMaxEvents = 32;

// The screen as the port map describes it, codes only.
class TScreenReference {
 public:
  TScreenReference() { Reset(); }

  void Reset() {
    writePosition_ = 0;
    cursorPosition_ = 0;
    foreground_ = 0x000000;
    background_ = 0xFFFFFF;
    direction_ = 0;
    cursorShown_ = 0;
    SetMode(1);
    codes_.fill(0);
    changed_ = kAllCells;
  }

  void Out(uint16_t port, uint16_t value) {
    const int signedValue = static_cast<int16_t>(value);
    switch (port) {
      case 16:
        codes_.fill(value);
        changed_ = kAllCells;
        break;
      case 17:
        codes_[writePosition_] = value;
        changed_ = writePosition_;
        if (writePosition_ + 1 < kScreenCellCount) ++writePosition_;
        SetMode(mode_);
        break;
      case 18:
        cursorShown_ = value;
        break;
      case 19:
        SetMode(value);
        break;
      case 20:
        Scroll(signedValue);
        break;
      case 32:
        if (value < kScreenCellCount) writePosition_ = value;
        break;
      case 33:
        if (value < kScreenRows)
          writePosition_ = value * kScreenColumns + writePosition_ % kScreenColumns;
        break;
      case 34:
        if (value < kScreenColumns)
          writePosition_ = writePosition_ / kScreenColumns * kScreenColumns + value;
        break;
      case 35:
      case 36:
      case 37:
        foreground_ = WithByte(foreground_, port - 35, value);
        break;
      case 38:
      case 39:
      case 40:
        background_ = WithByte(background_, port - 38, value);
        break;
      case 41:
        direction_ = value & 3;
        break;
      case 48:
        cursorPosition_ = std::clamp(signedValue, 0, kScreenCellCount - 1);
        break;
      case 49:
        cursorPosition_ = std::clamp(signedValue, 0, kScreenRows - 1) * kScreenColumns +
                          cursorPosition_ % kScreenColumns;
        break;
      case 50:
        cursorPosition_ = cursorPosition_ / kScreenColumns * kScreenColumns +
                          std::clamp(signedValue, 0, kScreenColumns - 1);
        break;
      default:
        break;
    }
  }

  // What IN answers for the screen's ports; false for the other ports.
  bool In(uint16_t port, const TMonitorModel& monitor, uint16_t& value) const {
    const TScreenCell cell = monitor.Screen().Cell(writePosition_);
    switch (port) {
      case 17:
        value = codes_[writePosition_];
        return true;
      case 18:
        value = cursorShown_;
        return true;
      case 19:
        value = mode_;
        return true;
      case 32:
        value = static_cast<uint16_t>(writePosition_);
        return true;
      case 33:
        value = static_cast<uint16_t>(writePosition_ / kScreenColumns);
        return true;
      case 34:
        value = static_cast<uint16_t>(writePosition_ % kScreenColumns);
        return true;
      case 35:
      case 36:
      case 37:
        value = (cell.Foreground >> (8 * (port - 35))) & 0xFF;
        return true;
      case 38:
      case 39:
      case 40:
        value = (cell.Background >> (8 * (port - 38))) & 0xFF;
        return true;
      case 41:
        value = cell.Direction;
        return true;
      case 48:
        value = static_cast<uint16_t>(cursorPosition_);
        return true;
      case 49:
        value = static_cast<uint16_t>(cursorPosition_ / kScreenColumns);
        return true;
      case 50:
        value = static_cast<uint16_t>(cursorPosition_ % kScreenColumns);
        return true;
      default:
        return false;
    }
  }

  // Runs after every OUT, and compares the whole screen after each clear or
  // scroll: left without coverage hooks, which would cost more than the
  // machine's own work and guide the fuzzer nowhere (the model's code keeps
  // its own).
  __attribute__((no_sanitize("coverage"))) void Check(const TMonitorModel& monitor) {
    const TScreenRegisters& r = monitor.Screen().Registers();
    FuzzCheck(r.WritePosition < kScreenCellCount && r.WriteRow < kScreenRows &&
                  r.WriteColumn < kScreenColumns &&
                  r.WritePosition == r.WriteRow * kScreenColumns + r.WriteColumn,
              "the write position is on the screen and agrees with its row and column");
    FuzzCheck(r.CursorPosition < kScreenCellCount && r.CursorRow < kScreenRows &&
                  r.CursorColumn < kScreenColumns &&
                  r.CursorPosition == r.CursorRow * kScreenColumns + r.CursorColumn,
              "the cursor is on the screen and agrees with its row and column");
    FuzzCheck(r.WritePosition == writePosition_, "the write position the port map gives");
    FuzzCheck(r.CursorPosition == cursorPosition_, "the cursor the port map gives");
    FuzzCheck(r.CursorMode == mode_ && r.CursorShown == cursorShown_, "the cursor mode and flag");
    FuzzCheck(
        r.Foreground == foreground_ && r.Background == background_ && r.Direction == direction_,
        "the current colours and direction");
    // The cells an operation changed: all of them after a clear, a scroll
    // or a reset, one after a character.
    const TScreenCells& cells = monitor.Screen().Cells();
    if (changed_ == kAllCells) {
      FuzzCheck(
          std::equal(cells.begin(), cells.end(), codes_.begin(),
                     [](const TScreenCell& cell, uint16_t code) { return cell.Code == code; }),
          "every cell holds the code the port map gives");
    } else if (changed_ >= 0) {
      FuzzCheck(cells[changed_].Code == codes_[changed_],
                "a character lands where the port map says");
    }
    changed_ = kNoCell;
  }

 private:
  static uint32_t WithByte(uint32_t colour, int component, uint16_t value) {
    const int shift = 8 * component;
    return (colour & ~(0xFFu << shift)) | (static_cast<uint32_t>(value & 0xFF) << shift);
  }

  void SetMode(uint16_t mode) {
    mode_ = mode;
    if (mode == 1) cursorPosition_ = writePosition_;
    if (mode == 2) writePosition_ = cursorPosition_;
  }

  void Scroll(int rows) {
    if (rows == 0 || rows < -(kScreenRows - 1) || rows > kScreenRows - 1) return;
    const int shift = rows * kScreenColumns;
    std::array<uint16_t, kScreenCellCount> moved{};
    for (int p = 0; p < kScreenCellCount; ++p)
      moved[p] = p + shift >= 0 && p + shift < kScreenCellCount ? codes_[p + shift] : 0;
    codes_ = moved;
    changed_ = kAllCells;
    const int row = std::clamp(cursorPosition_ / kScreenColumns - rows, 0, kScreenRows - 1);
    cursorPosition_ = row * kScreenColumns + cursorPosition_ % kScreenColumns;
  }

  static constexpr int kNoCell = -1;
  static constexpr int kAllCells = -2;

  std::array<uint16_t, kScreenCellCount> codes_{};
  int changed_ = kNoCell;
  int writePosition_ = 0;
  int cursorPosition_ = 0;
  uint32_t foreground_ = 0;
  uint32_t background_ = 0;
  uint16_t direction_ = 0;
  uint16_t cursorShown_ = 0;
  uint16_t mode_ = 1;
};

// The monitor as the machine's port device, checked at every port.
class TCheckedMonitor : public TPortDevice {
 public:
  explicit TCheckedMonitor(TMonitorModel& monitor) : monitor_(monitor) {}

  uint16_t PortIn(uint16_t port) override {
    const uint16_t value = monitor_.PortIn(port);
    uint16_t expected = 0;
    if (reference_.In(port, monitor_, expected))
      FuzzCheck(value == expected, "IN answers what the port map gives");
    return value;
  }
  void PortOut(uint16_t port, uint16_t value) override {
    monitor_.PortOut(port, value);
    reference_.Out(port, value);
    reference_.Check(monitor_);
  }
  void ResetScreen() override {
    monitor_.ResetScreen();
    reference_.Reset();
    reference_.Check(monitor_);
  }

 private:
  TMonitorModel& monitor_;
  TScreenReference reference_;
};

// A keyboard the events change.
class TScriptedKeyboard : public TKeyboardSource {
 public:
  TKeyboardState KeyboardState() const override { return keys; }
  TKeyboardState keys{};
};

// A clock the events move on; every reading moves it a little too.
class TScriptedClock : public TClock {
 public:
  int64_t NowTicks() const override { return now += 3; }
  int64_t Frequency() const override { return 1000; }
  mutable int64_t now = 0;
};

struct TEvent {
  int step;
  uint8_t kind;
  uint8_t argument;
};

void Apply(const TEvent& event, TMonitorModel& monitor, TScriptedKeyboard& keyboard,
           TScriptedClock& clock, unsigned& buttons) {
  const uint8_t a = event.argument;
  switch (event.kind % 5) {
    case 0:
      keyboard.keys[a] ^= 0x80;
      break;
    case 1:
      // Over the screen and a little beyond its edges.
      monitor.TrackMouse((a % 16) * 52 - 20, (a / 16) * 40 - 20, buttons);
      break;
    case 2:
      buttons = a & 7;
      monitor.TrackMouse(a * 3, a * 2, buttons);
      break;
    case 3:
      monitor.AdvanceFrame();
      break;
    default:
      clock.now += a * 97;
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> input(data, size);
  const size_t eventCount = input.empty() ? 0 : std::min<size_t>(input[0], kMaxEvents);
  input = input.subspan(input.empty() ? 0 : 1);
  std::vector<TEvent> events;
  for (size_t e = 0; e < eventCount && input.size() >= 4; ++e) {
    events.push_back({(input[0] | input[1] << 8) % kSteps, input[2], input[3]});
    input = input.subspan(4);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const TEvent& a, const TEvent& b) { return a.step < b.step; });

  std::vector<uint16_t> words((input.size() + 1) / 2, 0);
  for (size_t i = 0; i < input.size(); ++i)
    words[i / 2] |= static_cast<uint16_t>(input[i] << (8 * (i % 2)));
  if (words.size() > TQRXEmulater::kWords) words.resize(TQRXEmulater::kWords);

  TScriptedClock clock;
  TScriptedKeyboard keyboard;
  auto monitor = std::make_unique<TMonitorModel>(clock);
  monitor->SetKeyboardSource(&keyboard);
  TCheckedMonitor device(*monitor);
  // One machine for every input: memory and line map cleared, the image
  // written from address 0, then the reset (which resets the screen too).
  static TQRXEmulater* const machine = new TQRXEmulater();
  machine->SetPortDevice(&device);
  std::memset(machine->Memory.data(), 0, sizeof machine->Memory);
  std::memset(machine->LineMap.data(), 0, sizeof machine->LineMap);
  std::copy(words.begin(), words.end(), machine->Memory.begin());
  machine->ResetMachine();

  unsigned buttons = 0;
  auto next = events.begin();
  for (int n = 0; n < kSteps; ++n) {
    for (; next != events.end() && next->step == n; ++next)
      Apply(*next, *monitor, keyboard, clock, buttons);
    if (machine->Step() < 0) break;
  }
  machine->SetPortDevice(nullptr);
  return 0;
}
