#include "monitor/screen_cell.h"

#include <string>

#include "monitor/character_set.h"

namespace {

void PutU16(uint8_t* out, uint16_t v) {
  out[0] = static_cast<uint8_t>(v);
  out[1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(uint8_t* out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t GetU16(const uint8_t* in) {
  return static_cast<uint16_t>(in[0] | (in[1] << 8));
}

uint32_t GetU32(const uint8_t* in) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = (v << 8) | in[i];
  return v;
}

}  // namespace

TScreenCell MakeCell(uint16_t code, uint32_t foreground, uint32_t background, uint16_t direction) {
  TScreenCell cell;
  cell.Code = code;
  cell.Foreground = foreground;
  cell.Background = background;
  cell.Direction = static_cast<uint8_t>(direction & 0xFF);
  const std::string text = DisplayText(code);
  cell.TextLength = static_cast<uint8_t>(std::min(text.size(), cell.Text.size()));
  std::copy_n(text.data(), cell.TextLength, cell.Text.data());
  return cell;
}

void EncodeCell(const TScreenCell& cell, uint8_t* out) {
  PutU16(out + 0, cell.Code);
  PutU32(out + 2, cell.Foreground);
  PutU32(out + 6, cell.Background);
  out[10] = cell.TextLength;
  std::copy_n(cell.Text.data(), cell.Text.size(), reinterpret_cast<char*>(out + 11));
  out[15] = cell.Direction;
}

TScreenCell DecodeCell(const uint8_t* in) {
  TScreenCell cell;
  cell.Code = GetU16(in + 0);
  cell.Foreground = GetU32(in + 2);
  cell.Background = GetU32(in + 6);
  cell.TextLength = in[10];
  std::copy_n(reinterpret_cast<const char*>(in + 11), cell.Text.size(), cell.Text.data());
  cell.Direction = in[15];
  return cell;
}
