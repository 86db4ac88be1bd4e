// Names of keys as case files write them, mapped to the virtual-key codes
// that the keyboard ports report.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// "A".."Z", "0".."9", "F1".."F12", "Space", "Enter" (or "Return"), "Esc"
// (or "Escape"), "Tab", "Backspace", "Shift", "Control" (or "Ctrl"), "Alt",
// "Pause", "CapsLock", "PageUp", "PageDown", "End", "Home", "Left", "Up",
// "Right", "Down", "Insert", "Delete"; letter case does not count.
std::optional<uint8_t> VirtualKeyOf(std::string_view name);
