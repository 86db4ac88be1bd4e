// One monitor frame: copying the screen and drawing its 3072 cells into the
// off-screen image. A frame must stay well inside the screen thread's 33 ms
// period; the per-cell drawText variant is the yardstick for the mask cache.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <memory>

#include "gui_bench_app.h"
#include "monitor/character_set.h"
#include "monitor/monitor_model.h"
#include "monitor_qt/form_mon.h"
#include "monitor_qt/monitor_font.h"
#include "monitor_qt/monitor_renderer.h"
#include "persistence/encoding.h"

namespace {

// A busy screen: every cell written, full-width letters, kana and kanji in
// all four directions and several colour pairs, the cursor shown.
void FillScreen(TMonitorModel& model) {
  static const uint16_t kCodes[] = {0x41,   0x61, 0x30, 0xB1,   0x82A0,
                                    0x88A2, 0x5F, 0x0D, 0x8140, 0x4142};
  static const uint32_t kColours[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
  TScreenModel& screen = model.Screen();
  for (int p = 0; p < kScreenCellCount; ++p) {
    const uint32_t fg = kColours[p % 6];
    const uint32_t bg = kColours[(p / 7 + 1) % 6];
    for (int c = 0; c < 3; ++c) {
      screen.SetForegroundComponent(c, static_cast<uint8_t>(fg >> (8 * c)));
      screen.SetBackgroundComponent(c, static_cast<uint8_t>(bg >> (8 * c)));
    }
    screen.SetDirection(static_cast<uint16_t>(p / 64 % 4));
    screen.PutChar(static_cast<uint16_t>(kCodes[p % 10] + (p % 10 < 4 ? p % 26 : 0)));
  }
  screen.SetCursorShown(1);
}

// One frame (snapshot and render) per iteration; with coldCache every mask
// is drawn anew, as for the first frame of a screen never seen before.
void FrameLoop(benchmark::State& state, bool coldCache) {
  BenchApplication();
  auto model = std::make_unique<TMonitorModel>();
  FillScreen(*model);
  auto snapshot = std::make_unique<TScreenSnapshot>();
  TMonitorRenderer renderer;
  QImage image;
  for (auto _ : state) {
    if (coldCache) renderer.ClearCache();
    model->TakeSnapshot(*snapshot);
    renderer.Render(*snapshot, image, 100);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kScreenCellCount);
}

void BM_FrameWarmCache(benchmark::State& state) {
  FrameLoop(state, false);
}
BENCHMARK(BM_FrameWarmCache)->Unit(benchmark::kMillisecond);

void BM_FrameColdCache(benchmark::State& state) {
  FrameLoop(state, true);
}
BENCHMARK(BM_FrameColdCache)->Unit(benchmark::kMillisecond);

// The frame as the screen thread draws it through the window: snapshot and
// image under the window's lock, copy requested from the GUI thread.
void BM_FrameThroughWindow(benchmark::State& state) {
  BenchApplication();
  auto model = std::make_unique<TMonitorModel>();
  auto form = std::make_unique<TFormMon>(*model);
  FillScreen(*model);
  for (auto _ : state) {
    form->TakeSnapshot();
    form->Render();
  }
  QCoreApplication::processEvents();
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kScreenCellCount);
}
BENCHMARK(BM_FrameThroughWindow)->Unit(benchmark::kMillisecond);

// The yardstick: fill and drawText per cell with a turned, clipped painter.
void BM_FrameDrawTextPerCell(benchmark::State& state) {
  BenchApplication();
  RegisterFontSubstitutions();
  auto model = std::make_unique<TMonitorModel>();
  FillScreen(*model);
  auto snapshot = std::make_unique<TScreenSnapshot>();
  QImage image(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
  const QFont font = MonitorFont();
  const double ascent = QFontMetricsF(font).ascent();
  static const int kOrigin[4][2] = {{0, 0}, {kCellSize, 0}, {kCellSize, kCellSize}, {0, kCellSize}};
  for (auto _ : state) {
    model->TakeSnapshot(*snapshot);
    QPainter painter(&image);
    painter.setFont(font);
    for (int p = 0; p < kScreenCellCount; ++p) {
      const TScreenCell& cell = snapshot->Cells[p];
      const QRect rect((p % kScreenColumns) * kCellSize, (p / kScreenColumns) * kCellSize,
                       kCellSize, kCellSize);
      painter.fillRect(rect, QColor(MonitorColourToRgb(cell.Background)));
      const std::string utf8 = Cp932ToUtf8(cell.DisplayBytes());
      painter.save();
      painter.setClipRect(rect);
      painter.setPen(QColor(MonitorColourToRgb(cell.Foreground)));
      const int d = cell.DrawDirection();
      painter.translate(rect.left() + kOrigin[d][0], rect.top() + kOrigin[d][1]);
      painter.rotate(90.0 * d);
      painter.drawText(QPointF(0, ascent),
                       QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
      painter.restore();
    }
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kScreenCellCount);
}
BENCHMARK(BM_FrameDrawTextPerCell)->Unit(benchmark::kMillisecond);

}  // namespace
