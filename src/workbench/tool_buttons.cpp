#include "workbench/tool_buttons.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOptionFrame>
#include <QToolButton>

#include "workbench/message_line.h"

namespace {

const char* const kHints[TToolBarPanel::kButtonCount] = {"実行", "トレース実行", "ステップ実行",
                                                         "停止", "リセット"};
const char* const kBackHints[TToolBarPanel::kBackButtonCount] = {"1命令戻る", "逆実行"};

void DrawTriangle(QPainter& p, qreal left, qreal top, qreal width, qreal height,
                  const QColor& fill) {
  QPainterPath path;
  path.moveTo(left, top);
  path.lineTo(left + width, top + height / 2);
  path.lineTo(left, top + height);
  path.closeSubpath();
  p.setPen(QPen(fill.darker(160), 1));
  p.setBrush(fill);
  p.drawPath(path);
}

}  // namespace

QPixmap ToolButtonPicture(int button) {
  QPixmap pixmap(20, 20);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor green(40, 170, 60);
  switch (button) {
    case TToolBarPanel::Run:
      DrawTriangle(p, 5, 3, 12, 14, green);
      break;
    case TToolBarPanel::Trace:
      // A play sign over three listing lines: runs and shows every line.
      p.setPen(QPen(QColor(60, 60, 60), 1.5));
      for (int y : {4, 10, 16})
        p.drawLine(QPointF(2, y), QPointF(7, y));
      DrawTriangle(p, 9, 4, 9, 12, green);
      break;
    case TToolBarPanel::Step:
      // One step: a play sign against a bar.
      DrawTriangle(p, 4, 4, 9, 12, QColor(40, 120, 210));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 80, 160));
      p.drawRect(QRectF(14, 4, 3, 12));
      break;
    case TToolBarPanel::Stop:
      p.setPen(QPen(QColor(140, 20, 20), 1));
      p.setBrush(QColor(220, 40, 40));
      p.drawRect(QRectF(4.5, 4.5, 11, 11));
      break;
    case TToolBarPanel::Reset: {
      // A circular arrow.
      p.setPen(QPen(QColor(70, 70, 160), 2.2, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(4, 4, 12, 12), 100 * 16, 290 * 16);
      QPainterPath head;
      head.moveTo(8.0, 1.5);
      head.lineTo(13.0, 4.2);
      head.lineTo(8.0, 7.5);
      head.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(70, 70, 160));
      p.drawPath(head);
      break;
    }
    default:
      break;
  }
  return pixmap;
}

QPixmap BackButtonPicture(int button) {
  // Step back mirrors the step picture; run back mirrors two play signs.
  QPixmap forward(20, 20);
  forward.fill(Qt::transparent);
  if (button == TToolBarPanel::StepBack) {
    forward = ToolButtonPicture(TToolBarPanel::Step);
  } else if (button == TToolBarPanel::RunBack) {
    QPainter p(&forward);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor green(40, 170, 60);
    DrawTriangle(p, 2, 4, 8, 12, green);
    DrawTriangle(p, 10, 4, 8, 12, green);
  }
  return QPixmap::fromImage(forward.toImage().mirrored(true, false));
}

TToolBarPanel::TToolBarPanel(QWidget* parent) : QWidget(parent) {
  setFixedHeight(kHeight);
  messageLine_ = new TMessageLine(this);
  strip_ = new QWidget(this);
  strip_->setFixedSize(kStripWidth, kHeight);
  for (int i = 0; i < kButtonCount; ++i) {
    QToolButton* button = MakeButton(i, ToolButtonPicture(i), kHints[i]);
    connect(button, &QToolButton::clicked, this, [this, i] { emit ButtonClicked(i, TagOf(i)); });
    buttons_[static_cast<size_t>(i)] = button;
  }
  for (int i = 0; i < kBackButtonCount; ++i) {
    QToolButton* button = MakeButton(kButtonCount + i, BackButtonPicture(i), kBackHints[i]);
    connect(button, &QToolButton::clicked, this, [this, i] { emit BackButtonClicked(i); });
    backButtons_[static_cast<size_t>(i)] = button;
  }
}

QToolButton* TToolBarPanel::MakeButton(int slot, const QPixmap& picture, const char* hint) {
  auto* button = new QToolButton(strip_);
  button->setAutoRaise(true);
  button->setIconSize(QSize(20, 20));
  button->setIcon(QIcon(picture));
  button->setToolTip(QString::fromUtf8(hint));
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(slot * kButtonWidth, 0, kButtonWidth, kButtonHeight);
  button->setEnabled(false);
  return button;
}

void TToolBarPanel::SetButtonsEnabled(bool enabled) {
  for (QToolButton* button : buttons_)
    button->setEnabled(enabled);
}

void TToolBarPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  qDrawShadePanel(&p, rect(), palette(), true, 1);
}

void TToolBarPanel::resizeEvent(QResizeEvent*) {
  const int stripLeft = std::max(0, width() - kStripWidth);
  strip_->move(stripLeft, 0);
  messageLine_->setGeometry(2, 1, std::max(0, stripLeft - 4), kHeight - 2);
}
