#include "monitor_qt/form_mon.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QShowEvent>
#include <QString>
#include <QThread>
#include <cmath>

#include "monitor/input_model.h"
#include "monitor_qt/monitor_font.h"

namespace {

unsigned ButtonBits(Qt::MouseButtons buttons) {
  unsigned bits = 0;
  if (buttons & Qt::LeftButton) bits |= kMouseLeft;
  if (buttons & Qt::RightButton) bits |= kMouseRight;
  if (buttons & Qt::MiddleButton) bits |= kMouseMiddle;
  return bits;
}

bool OnGuiThread(const QObject& object) {
  return QThread::currentThread() == object.thread();
}

}  // namespace

// ---------------------------------------------------------------- PaintBox1

TMonitorPaintBox::TMonitorPaintBox(TFormMon& form) : QWidget(&form), form_(form) {
  setObjectName(QStringLiteral("PaintBox1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  setGeometry(0, 0, kScreenWidth, kScreenHeight);
}

void TMonitorPaintBox::paintEvent(QPaintEvent*) {
  form_.PaintImage(*this);
}

void TMonitorPaintBox::Track(QMouseEvent* event) {
  // Floor, not truncation: a pointer half a pixel left of the area is
  // outside it.
  const QPointF at = event->position();
  form_.Model().TrackMouse(static_cast<int>(std::floor(at.x())),
                           static_cast<int>(std::floor(at.y())), ButtonBits(event->buttons()));
  event->accept();
}

void TMonitorPaintBox::mouseMoveEvent(QMouseEvent* event) {
  Track(event);
}

void TMonitorPaintBox::mousePressEvent(QMouseEvent* event) {
  Track(event);
}

void TMonitorPaintBox::mouseReleaseEvent(QMouseEvent* event) {
  Track(event);
}

void TMonitorPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
  Track(event);
}

// ---------------------------------------------------------------- TFormMon

TFormMon::TFormMon(TMonitorModel& model, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      model_(model),
      snapshot_(std::make_unique<TScreenSnapshot>()) {
  setObjectName(QStringLiteral("FormMon"));
  setWindowTitle(QString::fromUtf8("QRXマシンモニタ"));
  setFont(MonitorFont());
  setBackgroundRole(QPalette::Window);
  setAutoFillBackground(true);
  // The monitor never keeps the program alive once the main window is gone.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFocusPolicy(Qt::StrongFocus);
  setFixedSize(kScreenWidth, kScreenHeight);
  paintBox_ = new TMonitorPaintBox(*this);
  model_.ResetScreen();
}

TFormMon::~TFormMon() = default;

void TFormMon::TakeSnapshot() {
  std::lock_guard<std::mutex> guard(frameLock_);
  model_.TakeSnapshot(*snapshot_);
}

void TFormMon::RenderLocked(int64_t clockMs) {
  renderer_.Render(*snapshot_, image_, clockMs);
  fresh_.store(true);
}

void TFormMon::RenderAt(int64_t clockMs) {
  {
    std::lock_guard<std::mutex> guard(frameLock_);
    RenderLocked(clockMs);
  }
  RequestCopy();
}

void TFormMon::Render() {
  RenderAt(MonitorClockMs());
}

void TFormMon::Render(const TScreenSnapshot& snapshot) {
  {
    std::lock_guard<std::mutex> guard(frameLock_);
    *snapshot_ = snapshot;
    RenderLocked(MonitorClockMs());
  }
  RequestCopy();
}

void TFormMon::RequestCopy() {
  if (OnGuiThread(*paintBox_)) {
    paintBox_->update();
    return;
  }
  // Qt widgets paint only on the GUI thread. The call is dropped if the
  // drawing area is gone by the time the GUI thread gets to it.
  if (copyQueued_.exchange(true)) return;
  QMetaObject::invokeMethod(
      paintBox_,
      [this] {
        copyQueued_.store(false);
        paintBox_->update();
      },
      Qt::QueuedConnection);
}

void TFormMon::Refresh() {
  TakeSnapshot();
  {
    std::lock_guard<std::mutex> guard(frameLock_);
    RenderLocked(MonitorClockMs());
  }
  paintBox_->repaint();
}

QImage TFormMon::Image() const {
  std::lock_guard<std::mutex> guard(frameLock_);
  return image_.copy();
}

void TFormMon::PaintImage(QWidget& target) {
  std::lock_guard<std::mutex> guard(frameLock_);
  // A paint the window system asks for (exposure, first show) draws the
  // snapshot afresh; one that follows a render only copies its image.
  if (!fresh_.exchange(false) || image_.isNull()) RenderLocked(MonitorClockMs());
  fresh_.store(false);
  QPainter painter(&target);
  painter.drawImage(0, 0, image_);
}

void TFormMon::closeEvent(QCloseEvent* event) {
  // The close box only asks for the monitor to be hidden; the owner of the
  // shown flag hides it.
  event->ignore();
  emit CloseRequested();
}

void TFormMon::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  visibleNow_.store(isVisible());
}

void TFormMon::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  visibleNow_.store(isVisible());
}

void TFormMon::keyPressEvent(QKeyEvent* event) {
  // Programs read keys through the keyboard state, never through the
  // window's key messages.
  event->accept();
}

void TFormMon::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
}
