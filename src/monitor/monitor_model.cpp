#include "monitor/monitor_model.h"

#include <memory>
#include <string>

namespace {

// Port numbers of the map.
enum : uint16_t {
  kPortClear = 16,
  kPortChar = 17,
  kPortCursorShown = 18,
  kPortCursorMode = 19,
  kPortScroll = 20,
  kPortFrame = 21,
  kPortWritePosition = 32,
  kPortWriteRow = 33,
  kPortWriteColumn = 34,
  kPortForeRed = 35,  // 35..37 red, green, blue
  kPortBackRed = 38,  // 38..40 red, green, blue
  kPortDirection = 41,
  kPortCursorPosition = 48,
  kPortCursorRow = 49,
  kPortCursorColumn = 50,
  kPortKeyRow0 = 256,  // 256..271 key rows
  kPortSelectedKey = 272,
  kPortKeyboardLast = 511,
  kPortMouseButtons = 512,
  kPortMouseCell = 513,
  kPortMouseRow = 514,
  kPortMouseColumn = 515,
  kPortTimer = 768,
};

uint16_t ColourComponent(uint32_t colour, int component) {
  return static_cast<uint16_t>((colour >> (8 * component)) & 0xFF);
}

}  // namespace

uint16_t TMonitorModel::PortIn(uint16_t port) {
  const TScreenRegisters& regs = screen_.Registers();
  const TInputState& input = input_.State();

  if (port >= kPortKeyRow0 && port <= kPortKeyboardLast) {
    input_.ReadKeyboard();
    if (port < kPortSelectedKey) return input_.KeyRow(port - kPortKeyRow0);
    if (port == kPortSelectedKey) return input_.SelectedKeyDown() ? 1 : 0;
    return 0;
  }

  switch (port) {
    case kPortChar:
      return screen_.Cell(regs.WritePosition).Code;
    case kPortCursorShown:
      return regs.CursorShown;
    case kPortCursorMode:
      return regs.CursorMode;
    case kPortFrame:
      return screen_.FrameCounter();
    case kPortWritePosition:
      return regs.WritePosition;
    case kPortWriteRow:
      return regs.WriteRow;
    case kPortWriteColumn:
      return regs.WriteColumn;
    case kPortForeRed:
    case kPortForeRed + 1:
    case kPortForeRed + 2:
      return ColourComponent(screen_.Cell(regs.WritePosition).Foreground, port - kPortForeRed);
    case kPortBackRed:
    case kPortBackRed + 1:
    case kPortBackRed + 2:
      return ColourComponent(screen_.Cell(regs.WritePosition).Background, port - kPortBackRed);
    case kPortDirection:
      return screen_.Cell(regs.WritePosition).Direction;
    case kPortCursorPosition:
      return regs.CursorPosition;
    case kPortCursorRow:
      return regs.CursorRow;
    case kPortCursorColumn:
      return regs.CursorColumn;
    case kPortMouseButtons:
      return input.MouseButtons;
    case kPortMouseCell:
      return input_.MouseCell();
    case kPortMouseRow:
      return static_cast<uint16_t>(input.MouseRow);
    case kPortMouseColumn:
      return static_cast<uint16_t>(input.MouseColumn);
    case kPortTimer:
      return input_.TimerValue();
    default:
      return 0;
  }
}

void TMonitorModel::PortOut(uint16_t port, uint16_t value) {
  // Ports 48..50 take the value as signed before clamping: -1 is 0.
  const int signedValue = static_cast<int16_t>(value);
  const uint8_t lowByte = static_cast<uint8_t>(value & 0xFF);

  switch (port) {
    case kPortClear:
      screen_.ClearScreen(value);
      break;
    case kPortChar:
      screen_.PutChar(value);
      break;
    case kPortCursorShown:
      screen_.SetCursorShown(value);
      break;
    case kPortCursorMode:
      screen_.SetCursorMode(value);
      break;
    case kPortScroll:
      screen_.Scroll(static_cast<int16_t>(value));
      break;
    case kPortFrame:
      screen_.ResetFrameCounter();
      break;
    case kPortWritePosition:
      screen_.SetWritePosition(value);
      break;
    case kPortWriteRow:
      screen_.SetWriteRow(value);
      break;
    case kPortWriteColumn:
      screen_.SetWriteColumn(value);
      break;
    case kPortForeRed:
    case kPortForeRed + 1:
    case kPortForeRed + 2:
      screen_.SetForegroundComponent(port - kPortForeRed, lowByte);
      break;
    case kPortBackRed:
    case kPortBackRed + 1:
    case kPortBackRed + 2:
      screen_.SetBackgroundComponent(port - kPortBackRed, lowByte);
      break;
    case kPortDirection:
      screen_.SetDirection(value);
      break;
    case kPortCursorPosition:
      screen_.SetCursorPosition(signedValue);
      break;
    case kPortCursorRow:
      screen_.SetCursorRow(signedValue);
      break;
    case kPortCursorColumn:
      screen_.SetCursorColumn(signedValue);
      break;
    case kPortSelectedKey:
      input_.SelectKey(value);
      break;
    case kPortTimer:
      input_.StartTimer(value);
      break;
    default:
      break;
  }
}

void TMonitorModel::SaveToStream(TMemoryStream& stream) const {
  stream.Write(EncodeMonitorBlock(screen_.Cells(), screen_.Registers(), input_.State()));
}

int TMonitorModel::LoadFromStream(TMemoryStream& stream) {
  if (stream.Remaining() < kMonitorBlockSize) return -1;
  std::string block(kMonitorBlockSize, '\0');
  stream.Read(block.data(), block.size());

  auto cells = std::make_unique<TScreenCells>();
  TScreenRegisters screen;
  TInputState input;
  DecodeMonitorBlock(reinterpret_cast<const uint8_t*>(block.data()), *cells, screen, input);
  screen_.Restore(*cells, screen);
  input_.Restore(input);
  return 0;
}
