// The message line at the left of the tool bar: one left-justified line of
// text in the main window's font, in the normal look (window-text colour,
// regular weight) or the alarm look (pure red, bold).
#pragma once

#include <QLabel>
#include <string>

class TMessageLine : public QLabel {
  Q_OBJECT

 public:
  explicit TMessageLine(QWidget* parent = nullptr);

  // Shows a CP932 text in the normal or the alarm look.
  void ShowMessage(const std::string& cp932, bool alarm);
  // Changes the text and keeps the look.
  void SetMessageText(const std::string& cp932);
  bool IsAlarm() const { return alarm_; }
  // The main window's font; the alarm look adds bold to it.
  void SetBaseFont(const QFont& font);

 private:
  void ApplyLook();

  QFont baseFont_;
  bool alarm_ = false;
};
