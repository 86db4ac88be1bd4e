#include "monitor_qt/monitor_renderer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <algorithm>
#include <chrono>
#include <string>

#include "monitor_qt/monitor_font.h"
#include "persistence/encoding.h"

namespace {

// Where each direction's text starts within its cell, and its rotation.
struct TDirectionPlacement {
  int originX;
  int originY;
  double degrees;  // clockwise on the screen
};

constexpr std::array<TDirectionPlacement, 4> kPlacements = {{
    {0, 0, 0},                    // left to right from the top-left corner
    {kCellSize, 0, 90},           // top to bottom from the top-right corner
    {kCellSize, kCellSize, 180},  // upside down from the bottom-right corner
    {0, kCellSize, 270},          // bottom to top from the bottom-left corner
}};

// The text bytes, their count and the direction packed into one key; bytes
// past the length are left out, so what they held does not matter.
uint64_t MaskKey(const TScreenCell& cell) {
  const std::string_view text = cell.DisplayBytes();
  uint64_t key = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    key |= static_cast<uint64_t>(static_cast<uint8_t>(text[i])) << (8 * i);
  }
  key |= static_cast<uint64_t>(text.size()) << 32;
  key |= static_cast<uint64_t>(cell.DrawDirection()) << 36;
  return key;
}

void FillCell(QRgb* origin, qsizetype stride, QRgb colour) {
  for (int y = 0; y < kCellSize; ++y) {
    std::fill_n(origin + y * stride, kCellSize, colour);
  }
}

inline int Mix(int background, int foreground, int coverage) {
  return background +
         ((foreground - background) * coverage + (foreground >= background ? 127 : -127)) / 255;
}

}  // namespace

QRgb MonitorColourToRgb(uint32_t colour) {
  return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
              static_cast<int>((colour >> 16) & 0xFF));
}

bool CursorPhaseVisible(int64_t clockMs) {
  int64_t phase = clockMs % 1000;
  if (phase < 0) phase += 1000;
  return phase < 700;
}

int64_t MonitorClockMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TMonitorRenderer::TMonitorRenderer() {
  RegisterFontSubstitutions();
  font_ = MonitorFont();
  ascent_ = QFontMetricsF(font_).ascent();
}

TMonitorRenderer::TMask TMonitorRenderer::DrawMask(std::string_view cp932, int direction) const {
  // The text is drawn in opaque white on a transparent cell; the alpha of
  // each pixel is how much of it the glyphs cover. The cell-sized image is
  // the clip.
  QImage tile(kCellSize, kCellSize, QImage::Format_ARGB32_Premultiplied);
  tile.fill(Qt::transparent);
  {
    const std::string utf8 = Cp932ToUtf8(cp932);
    const TDirectionPlacement& place = kPlacements[direction & 3];
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QPainter painter(&tile);
    painter.setFont(font_);
    painter.setPen(Qt::white);
    painter.translate(place.originX, place.originY);
    painter.rotate(place.degrees);
    painter.drawText(QPointF(0, ascent_ + VerticalFit(text)), text);
  }
  TMask mask{};
  for (int y = 0; y < kCellSize; ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(tile.constScanLine(y));
    for (int x = 0; x < kCellSize; ++x)
      mask[y * kCellSize + x] = static_cast<uint8_t>(qAlpha(line[x]));
  }
  return mask;
}

double TMonitorRenderer::VerticalFit(const QString& text) const {
  // The text's top sits at the top of the cell. A few glyphs of the font
  // (the full-width low line and overline) reach past the em box and would
  // be cut away by the cell; when the ink is no taller than a cell it is
  // moved just inside it.
  const QRectF ink = QFontMetricsF(font_).tightBoundingRect(text);
  if (ink.isEmpty() || ink.height() > kCellSize) return 0;
  const double top = ascent_ + ink.top();
  const double bottom = ascent_ + ink.bottom();
  if (bottom > kCellSize) return kCellSize - bottom;
  if (top < 0) return -top;
  return 0;
}

const TMonitorRenderer::TMask& TMonitorRenderer::MaskFor(const TScreenCell& cell) {
  const uint64_t key = MaskKey(cell);
  auto found = masks_.find(key);
  if (found != masks_.end()) return found->second;
  if (masks_.size() >= kMaxCachedMasks) masks_.clear();
  return masks_.emplace(key, DrawMask(cell.DisplayBytes(), cell.DrawDirection())).first->second;
}

void TMonitorRenderer::Render(const TScreenSnapshot& snapshot, QImage& image, int64_t clockMs) {
  if (image.width() != kScreenWidth || image.height() != kScreenHeight ||
      image.format() != QImage::Format_RGB32) {
    image = QImage(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
  }
  QRgb* const bits = reinterpret_cast<QRgb*>(image.bits());
  const qsizetype stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));

  for (int row = 0; row < kScreenRows; ++row) {
    for (int column = 0; column < kScreenColumns; ++column) {
      const TScreenCell& cell = snapshot.Cells[row * kScreenColumns + column];
      QRgb* const origin = bits + row * kCellSize * stride + column * kCellSize;
      const QRgb background = MonitorColourToRgb(cell.Background);
      if (cell.DisplayBytes().empty()) {
        FillCell(origin, stride, background);
        continue;
      }
      const QRgb foreground = MonitorColourToRgb(cell.Foreground);
      const TMask& mask = MaskFor(cell);
      const int br = qRed(background), bg = qGreen(background), bb = qBlue(background);
      const int fr = qRed(foreground), fg = qGreen(foreground), fb = qBlue(foreground);
      for (int y = 0; y < kCellSize; ++y) {
        QRgb* line = origin + y * stride;
        const uint8_t* coverage = mask.data() + y * kCellSize;
        for (int x = 0; x < kCellSize; ++x) {
          const int a = coverage[x];
          if (a == 0) {
            line[x] = background;
          } else if (a == 255) {
            line[x] = foreground;
          } else {
            line[x] = qRgb(Mix(br, fr, a), Mix(bg, fg, a), Mix(bb, fb, a));
          }
        }
      }
    }
  }

  // The cursor block is combined by exclusive-or with the fill colour left
  // in use by the pass, which is the background of the last cell drawn; on
  // a white screen that inverts the cell.
  if (snapshot.CursorShown && CursorPhaseVisible(clockMs)) {
    const int column = std::clamp(snapshot.CursorColumn, 0, kScreenColumns - 1);
    const int row = std::clamp(snapshot.CursorRow, 0, kScreenRows - 1);
    const QRgb pattern =
        MonitorColourToRgb(snapshot.Cells[kScreenCellCount - 1].Background) & 0x00FFFFFF;
    QRgb* const origin = bits + row * kCellSize * stride + column * kCellSize;
    for (int y = 0; y < kCellSize; ++y) {
      QRgb* line = origin + y * stride;
      for (int x = 0; x < kCellSize; ++x)
        line[x] ^= pattern;
    }
  }
}
