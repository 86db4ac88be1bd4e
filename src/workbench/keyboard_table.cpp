#include "workbench/keyboard_table.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace {

// Qt keys whose virtual-key code does not follow from a range.
constexpr std::pair<int, int> kNamedKeys[] = {
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},  // Shift+Tab
    {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0x12},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    // The punctuation keys of a US layout, unshifted and shifted.
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    // Shifted digits give the digit's key.
    {Qt::Key_ParenRight, 0x30},
    {Qt::Key_Exclam, 0x31},
    {Qt::Key_At, 0x32},
    {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34},
    {Qt::Key_Percent, 0x35},
    {Qt::Key_AsciiCircum, 0x36},
    {Qt::Key_Ampersand, 0x37},
    {Qt::Key_Asterisk, 0x38},
    {Qt::Key_ParenLeft, 0x39},
};

// Keys of the numeric keypad that have codes of their own.
constexpr std::pair<int, int> kKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
};

int Lookup(const std::pair<int, int>* begin, const std::pair<int, int>* end, int qtKey) {
  const auto* found = std::find_if(
      begin, end, [qtKey](const std::pair<int, int>& entry) { return entry.first == qtKey; });
  return found != end ? found->second : 0;
}

// A top-level window that can hold the keyboard (tool tips never do).
bool IsKeyboardWindow(const QObject* object) {
  const auto* widget = qobject_cast<const QWidget*>(object);
  return widget != nullptr && widget->isWindow() && widget->windowType() != Qt::ToolTip;
}

}  // namespace

int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    return (keypad ? 0x60 : 0x30) + (qtKey - Qt::Key_0);
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 0x41 + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
  if (keypad) {
    const int code = Lookup(std::begin(kKeypadKeys), std::end(kKeypadKeys), qtKey);
    if (code != 0) return code;
  }
  return Lookup(std::begin(kNamedKeys), std::end(kNamedKeys), qtKey);
}

TKeyboardTable::TKeyboardTable(QObject* parent) : QObject(parent) {}

TKeyboardTable::~TKeyboardTable() {
  if (installed_ && QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeEventFilter(this);
  }
}

void TKeyboardTable::Install() {
  if (installed_ || QCoreApplication::instance() == nullptr) return;
  QCoreApplication::instance()->installEventFilter(this);
  installed_ = true;
}

bool TKeyboardTable::IsDown(int code) const {
  if (code < 0 || code >= static_cast<int>(state_.size())) return false;
  return (state_[code] & 0x80) != 0;
}

void TKeyboardTable::Clear() {
  state_.fill(0);
  pressedByScanCode_.clear();
}

void TKeyboardTable::SetKey(int code, bool down) {
  if (code <= 0 || code >= static_cast<int>(state_.size())) return;
  state_[code] = down ? 0x80 : 0x00;
}

void TKeyboardTable::KeyDown(int code, quint32 scanCode) {
  if (code == 0) return;
  SetKey(code, true);
  if (scanCode != 0) pressedByScanCode_[scanCode] = code;
}

void TKeyboardTable::KeyUp(int code, quint32 scanCode) {
  int pressedCode = 0;
  if (scanCode != 0) {
    auto found = pressedByScanCode_.find(scanCode);
    if (found != pressedByScanCode_.end()) {
      pressedCode = found->second;
      pressedByScanCode_.erase(found);
    }
  }
  // A code stays down while another physical key that gave it is held (the
  // two Shift keys both give 0x10).
  for (int released : {code, pressedCode}) {
    if (released == 0) continue;
    const bool stillHeld =
        std::any_of(pressedByScanCode_.begin(), pressedByScanCode_.end(),
                    [released](const auto& entry) { return entry.second == released; });
    if (!stillHeld) SetKey(released, false);
  }
}

void TKeyboardTable::TrackButtons(Qt::MouseButtons buttons) {
  SetKey(kVkLeftButton, buttons.testFlag(Qt::LeftButton));
  SetKey(kVkRightButton, buttons.testFlag(Qt::RightButton));
  SetKey(kVkMiddleButton, buttons.testFlag(Qt::MiddleButton));
}

bool TKeyboardTable::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: {
      // A key that triggers a shortcut reaches the program only as a
      // shortcut override; it is down all the same.
      auto* key = static_cast<QKeyEvent*>(event);
      KeyDown(VirtualKeyOf(key->key(), key->modifiers()), key->nativeScanCode());
      break;
    }
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      // Held keys repeat as release-press pairs; the key stays down.
      if (!key->isAutoRepeat())
        KeyUp(VirtualKeyOf(key->key(), key->modifiers()), key->nativeScanCode());
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      TrackButtons(static_cast<QMouseEvent*>(event)->buttons());
      break;
    case QEvent::ApplicationStateChange:
      if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
          Qt::ApplicationActive) {
        Clear();
      }
      break;
    case QEvent::ApplicationDeactivate:
      Clear();
      break;
    case QEvent::Hide:
      // A window that goes away while keys are held in it (a dialog closed
      // with Return, a pop-up menu) takes their releases along: the window
      // system sends them to a window that no longer exists.
      if (IsKeyboardWindow(watched)) Clear();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}
