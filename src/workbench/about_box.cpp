#include "workbench/about_box.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

QString VersionLine() {
  return QStringLiteral("Version ") + QStringLiteral(QRX_VERSION_STRING);
}

QImage AboutPicture() {
  QImage image(TAboutBox::kPictureWidth, TAboutBox::kPictureHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);

  // A calm background in the views' cream, darkening to the right.
  QLinearGradient background(0, 0, image.width(), 0);
  background.setColorAt(0.0, QColor(255, 250, 221));
  background.setColorAt(1.0, QColor(214, 205, 160));
  painter.fillRect(image.rect(), background);

  // The monitor: a grey bezel around a 64 × 48 screen (the machine's 64 × 48
  // character cells, one pixel each), on a small stand.
  const QRect screen(10, 5, 64, 48);
  painter.fillRect(screen.adjusted(-4, -3, 4, 3), QColor(96, 96, 104));
  painter.fillRect(screen, QColor(8, 24, 16));
  painter.fillRect(QRect(34, 56, 16, 3), QColor(96, 96, 104));
  painter.setPen(QColor(16, 56, 32));
  for (int y = screen.top() + 6; y < screen.bottom(); y += 6)
    painter.drawLine(screen.left(), y, screen.right(), y);

  QFont screenFont(QStringLiteral("IPAGothic"));
  screenFont.setPixelSize(18);
  screenFont.setBold(true);
  painter.setFont(screenFont);
  painter.setPen(QColor(64, 255, 128));
  painter.drawText(screen, Qt::AlignCenter, QStringLiteral("QRX"));
  // The cursor.
  painter.fillRect(QRect(screen.left() + 50, screen.top() + 38, 6, 2), QColor(64, 255, 128));

  QFont titleFont(QStringLiteral("IPAGothic"));
  titleFont.setPixelSize(17);
  titleFont.setBold(true);
  painter.setFont(titleFont);
  painter.setPen(QColor(48, 40, 16));
  painter.drawText(QRect(88, 8, 118, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QRX"));
  QFont subFont(QStringLiteral("IPAGothic"));
  subFont.setPixelSize(12);
  painter.setFont(subFont);
  painter.drawText(QRect(88, 32, 118, 20), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Emulator"));
  painter.end();
  return image;
}

TAboutBox::TAboutBox(const QFont& font, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("バージョン情報"));
  setModal(true);
  setFont(font);
  setFixedSize(kClientWidth, kClientHeight);

  picture_ = new QLabel(this);
  picture_->setGeometry(16, 12, kPictureWidth, kPictureHeight);
  picture_->setPixmap(QPixmap::fromImage(AboutPicture()));

  version_ = new QLabel(VersionLine(), this);
  version_->setGeometry(16, 84, kPictureWidth, 18);
  comments_ = new QLabel(QStringLiteral("16ビット教育用マシンの学習環境"), this);
  comments_->setGeometry(16, 106, kPictureWidth, 18);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setGeometry((kClientWidth - 75) / 2, 134, 75, 25);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}
