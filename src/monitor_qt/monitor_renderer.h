// Draws a snapshot of the monitor screen into an off-screen image: every
// cell filled with its background and its text drawn in its foreground
// colour and direction, clipped to the cell, then the blinking cursor.
//
// Text is drawn once per distinct (text, direction) into a coverage mask of
// one cell and then blended into the image with the cell's colours, so a
// frame costs a hash lookup and a 12 x 12 blend per cell however many times
// the same character appears. The renderer does not lock anything: its owner
// serialises calls (one renderer, one image, one thread at a time).
#pragma once

#include <QFont>
#include <QImage>
#include <QRgb>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "monitor/screen_cell.h"
#include "monitor/screen_model.h"

// 0x00BBGGRR as the image's 0xFFRRGGBB.
QRgb MonitorColourToRgb(uint32_t colour);

// Whether a frame rendered at this reading of the millisecond clock shows
// the cursor block: the first 700 ms of every second.
bool CursorPhaseVisible(int64_t clockMs);

// The millisecond clock whose phase decides the cursor blink.
int64_t MonitorClockMs();

class TMonitorRenderer {
 public:
  // Uses MonitorFont(); registers the font substitutions first.
  TMonitorRenderer();
  TMonitorRenderer(const TMonitorRenderer&) = delete;
  TMonitorRenderer& operator=(const TMonitorRenderer&) = delete;

  // Draws the snapshot into image, which is (re)created as a 768 x 576
  // RGB32 image when it has another size or format. clockMs decides whether
  // the cursor block is drawn (see CursorPhaseVisible).
  void Render(const TScreenSnapshot& snapshot, QImage& image, int64_t clockMs);

  // Number of distinct (text, direction) masks held.
  size_t CachedMaskCount() const { return masks_.size(); }
  void ClearCache() { masks_.clear(); }

  // Above this many masks the cache starts afresh; a screen has at most
  // 3072 distinct cells, so a frame refills it at most once.
  static constexpr size_t kMaxCachedMasks = 16384;

 private:
  using TMask = std::array<uint8_t, kCellSize * kCellSize>;

  const TMask& MaskFor(const TScreenCell& cell);
  TMask DrawMask(std::string_view cp932, int direction) const;
  // How far to move the text down (negative: up) so that its ink stays
  // inside the cell.
  double VerticalFit(const QString& text) const;

  QFont font_;
  double ascent_ = 0;
  std::unordered_map<uint64_t, TMask> masks_;
};
