#include "session/key_names.h"

#include <array>
#include <string>

namespace {

struct TNamedKey {
  std::string_view Name;
  uint8_t Code;
};

constexpr std::array<TNamedKey, 23> kNamedKeys = {{
    {"SPACE", 0x20}, {"ENTER", 0x0D},     {"RETURN", 0x0D},   {"ESC", 0x1B},     {"ESCAPE", 0x1B},
    {"TAB", 0x09},   {"BACKSPACE", 0x08}, {"SHIFT", 0x10},    {"CONTROL", 0x11}, {"CTRL", 0x11},
    {"ALT", 0x12},   {"PAUSE", 0x13},     {"CAPSLOCK", 0x14}, {"PAGEUP", 0x21},  {"PAGEDOWN", 0x22},
    {"END", 0x23},   {"HOME", 0x24},      {"LEFT", 0x25},     {"UP", 0x26},      {"RIGHT", 0x27},
    {"DOWN", 0x28},  {"INSERT", 0x2D},    {"DELETE", 0x2E},
}};

constexpr uint8_t kF1 = 0x70;

}  // namespace

std::optional<uint8_t> VirtualKeyOf(std::string_view name) {
  std::string upper(name);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (upper.size() == 1 &&
      ((upper[0] >= 'A' && upper[0] <= 'Z') || (upper[0] >= '0' && upper[0] <= '9')))
    return static_cast<uint8_t>(upper[0]);
  if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F') {
    int number = 0;
    for (size_t i = 1; i < upper.size(); ++i) {
      if (upper[i] < '0' || upper[i] > '9') return std::nullopt;
      number = number * 10 + (upper[i] - '0');
    }
    if (number >= 1 && number <= 12 && upper[1] != '0')
      return static_cast<uint8_t>(kF1 + number - 1);
    return std::nullopt;
  }
  for (const TNamedKey& key : kNamedKeys)
    if (key.Name == upper) return key.Code;
  return std::nullopt;
}
