// A stand-in for the main window as the listing and label views see it: a
// program session loaded from a small source in a temporary folder, the
// number format and the font.
#pragma once

#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <string>

#include "assembler/qrx_assembler.h"
#include "monitor/monitor_model.h"
#include "session/program_session.h"
#include "workbench/view_host.h"

class TFakeHost : public TViewHost {
 public:
  TFakeHost() { font_.setPixelSize(12); }
  TProgramSession& Session() override { return session_; }
  TNumberFormat NumberFormat() const override { return format_; }
  QFont MainFont() const override { return font_; }

  void SetNumberFormat(TNumberFormat format) { format_ = format; }
  TProgramSession& Program() { return session_; }

 private:
  TMonitorModel monitor_;
  TProgramSession session_{monitor_};
  TNumberFormat format_ = TNumberFormat::Hexadecimal;
  QFont font_;
};

// Temporary APPDATA and USERPROFILE folders, so nothing touches the real
// home folder, and a folder for the sources.
class TTestFolders {
 public:
  TTestFolders() {
    qputenv("APPDATA", appData_.path().toUtf8());
    qputenv("USERPROFILE", profile_.path().toUtf8());
  }
  // Writes text (UTF-8 source, lines joined with CR LF) as name and returns
  // its path.
  std::string WriteSource(const QString& name, const QStringList& lines) {
    const QString path = sources_.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    file.write(lines.join(QStringLiteral("\r\n")).toUtf8());
    file.write("\r\n");
    return path.toStdString();
  }

 private:
  QTemporaryDir appData_, profile_, sources_;
};

// Whether some pixel inside area of image is close to colour (anti-aliased
// text is lighter at its edges, so the test is on the strongest pixels).
inline bool HasPixelNear(const QImage& image, const QRect& area, const QColor& colour,
                         int tolerance = 40) {
  const QRect box = area.intersected(image.rect());
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (std::abs(pixel.red() - colour.red()) <= tolerance &&
          std::abs(pixel.green() - colour.green()) <= tolerance &&
          std::abs(pixel.blue() - colour.blue()) <= tolerance)
        return true;
    }
  }
  return false;
}
