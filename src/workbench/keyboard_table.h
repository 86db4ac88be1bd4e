// The keyboard state of the whole program as the machine monitor reads it:
// 256 bytes indexed by Windows virtual-key codes, bit 7 set while the key or
// mouse button is down. An event filter on the application keeps it up to
// date from every key and mouse-button event in any window, and clears it
// when the program loses the focus or one of its windows is hidden, so no
// key stays down while its release goes elsewhere.
#pragma once

#include <QObject>
#include <Qt>
#include <unordered_map>

#include "monitor/keyboard_source.h"

// Windows virtual-key codes that the table keeps for the mouse buttons.
inline constexpr int kVkLeftButton = 0x01;
inline constexpr int kVkRightButton = 0x02;
inline constexpr int kVkMiddleButton = 0x04;
inline constexpr int kVkControl = 0x11;

// The Windows virtual-key code of a Qt key as a US keyboard produces it; 0
// for keys without one. Shifted characters give the code of their key
// ('!' gives 0x31). With Qt::KeypadModifier the digits and operators give
// the keypad codes.
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

class TKeyboardTable : public QObject, public TKeyboardSource {
  Q_OBJECT

 public:
  explicit TKeyboardTable(QObject* parent = nullptr);
  // Removes itself from the application it was installed on.
  ~TKeyboardTable() override;

  // Starts watching every event of the running application.
  void Install();

  TKeyboardState KeyboardState() const override { return state_; }
  bool IsDown(int code) const;
  // Virtual key 0x11.
  bool IsControlDown() const { return IsDown(kVkControl); }
  void Clear();

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetKey(int code, bool down);
  void KeyDown(int code, quint32 scanCode);
  void KeyUp(int code, quint32 scanCode);
  void TrackButtons(Qt::MouseButtons buttons);

  TKeyboardState state_{};
  // The code each physical key (by scan code) set when pressed: a release
  // clears it even when the layout or the modifiers now give the key
  // another character.
  std::unordered_map<quint32, int> pressedByScanCode_;
  bool installed_ = false;
};
