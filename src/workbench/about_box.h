// TAboutBox, the version dialog "バージョン情報": a fixed client area of
// 242 × 167 pixels in the main window's font with a picture of 210 × 62
// pixels, the version line "Version " + the program's version, a line that
// says what the program is, and an "OK" button (default).
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

class QLabel;
class QPushButton;

// "Version " followed by the version compiled into the program.
QString VersionLine();

// The dialog's picture: a small machine monitor showing "QRX" beside the
// program's name.
QImage AboutPicture();

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 242;
  static constexpr int kClientHeight = 167;
  static constexpr int kPictureWidth = 210;
  static constexpr int kPictureHeight = 62;

  explicit TAboutBox(const QFont& font, QWidget* parent = nullptr);

  QLabel* Picture() const { return picture_; }
  QLabel* Version() const { return version_; }
  QLabel* Comments() const { return comments_; }
  QPushButton* OkButton() const { return ok_; }

 private:
  QLabel* picture_ = nullptr;
  QLabel* version_ = nullptr;
  QLabel* comments_ = nullptr;
  QPushButton* ok_ = nullptr;
};
