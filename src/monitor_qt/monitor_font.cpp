#include "monitor_qt/monitor_font.h"

#include <QString>

#include "monitor/screen_cell.h"

namespace {

const char* const kMonitorFamily = "ＭＳ ゴシック";

}  // namespace

void RegisterFontSubstitutions() {
  // insertSubstitution keeps a name only once, so repeated calls add nothing.
  QFont::insertSubstitution(QString::fromUtf8(kMonitorFamily), QStringLiteral("IPAGothic"));
  QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"));
  QFont::insertSubstitution(QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic"));
  QFont::insertSubstitution(QString::fromUtf8("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

QFont MonitorFont() {
  QFont font(QString::fromUtf8(kMonitorFamily));
  font.setPixelSize(kCellSize);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}
