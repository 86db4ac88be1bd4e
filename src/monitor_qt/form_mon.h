// The machine monitor window "QRXマシンモニタ": a fixed-size top-level
// window whose one child, PaintBox1, shows the monitor screen and feeds the
// mouse to the monitor model. The window keeps the last snapshot and the
// off-screen image it was rendered into; rendering may run on the screen
// thread, while the image reaches the window only on the GUI thread.
#pragma once

#include <QImage>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "monitor/monitor_model.h"
#include "monitor/screen_model.h"
#include "monitor_qt/monitor_renderer.h"

class TFormMon;

// The drawing area: paints the monitor's off-screen image and reports every
// mouse move, press and release over it to the monitor model.
class TMonitorPaintBox : public QWidget {
  Q_OBJECT

 public:
  explicit TMonitorPaintBox(TFormMon& form);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void Track(QMouseEvent* event);

  TFormMon& form_;
};

class TFormMon : public QWidget {
  Q_OBJECT

 public:
  // Resets the model's screen, as a newly created monitor shows a blank one.
  // The model must outlive the window.
  explicit TFormMon(TMonitorModel& model, QWidget* parent = nullptr);
  ~TFormMon() override;

  TMonitorModel& Model() { return model_; }
  TMonitorPaintBox* PaintBox1() const { return paintBox_; }

  // Any thread. Copies the model's cells into the window's snapshot.
  void TakeSnapshot();
  // Any thread. Draws the window's snapshot (or the given one, which then
  // becomes the window's) into the off-screen image and asks the GUI thread
  // to copy it to the drawing area.
  void Render();
  void Render(const TScreenSnapshot& snapshot);
  // As Render, with a chosen reading of the millisecond clock for the
  // cursor blink.
  void RenderAt(int64_t clockMs);
  // GUI thread. TakeSnapshot, Render, and the drawing area repainted before
  // returning.
  void Refresh();

  // A copy of the off-screen image as last rendered (null before the first).
  QImage Image() const;

  // Any thread: whether the window was visible after its last show or hide.
  bool VisibleNow() const { return visibleNow_.load(); }

 signals:
  // The close box was used. The window stays as it is; whoever shows and
  // hides it decides.
  void CloseRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  friend class TMonitorPaintBox;

  void RenderLocked(int64_t clockMs);
  void RequestCopy();
  // In paintEvent: the image to copy, rendered first unless a render has
  // happened since the last copy.
  void PaintImage(QWidget& target);

  TMonitorModel& model_;
  TMonitorPaintBox* paintBox_ = nullptr;

  // Guards the snapshot, the image and the renderer.
  mutable std::mutex frameLock_;
  std::unique_ptr<TScreenSnapshot> snapshot_;
  TMonitorRenderer renderer_;
  QImage image_;
  // Set by a render, cleared by the copy that shows it.
  std::atomic<bool> fresh_{false};
  // A copy request from another thread is on its way to the GUI thread;
  // further renders until it arrives need no request of their own.
  std::atomic<bool> copyQueued_{false};
  std::atomic<bool> visibleNow_{false};
};
