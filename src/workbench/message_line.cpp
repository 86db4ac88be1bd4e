#include "workbench/message_line.h"

#include <QPalette>

#include "persistence/encoding.h"

TMessageLine::TMessageLine(QWidget* parent) : QLabel(parent), baseFont_(font()) {
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setTextFormat(Qt::PlainText);
  ApplyLook();
}

void TMessageLine::ShowMessage(const std::string& cp932, bool alarm) {
  alarm_ = alarm;
  SetMessageText(cp932);
  ApplyLook();
}

void TMessageLine::SetMessageText(const std::string& cp932) {
  setText(QString::fromStdString(Cp932ToUtf8(cp932)));
}

void TMessageLine::SetBaseFont(const QFont& font) {
  baseFont_ = font;
  ApplyLook();
}

void TMessageLine::ApplyLook() {
  QFont look = baseFont_;
  look.setBold(alarm_);
  setFont(look);
  QPalette colours = palette();
  const QColor text = alarm_ ? QColor(255, 0, 0) : QPalette().color(QPalette::WindowText);
  colours.setColor(QPalette::WindowText, text);
  setPalette(colours);
}
