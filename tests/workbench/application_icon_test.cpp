// The prepared application gives both windows our icon, in every size of
// the hicolor theme, and names its desktop entry.
#include <QWindow>

#include "main_window_test_support.h"
#include "monitor_qt/form_mon.h"
#include "workbench/application_setup.h"

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage ThemeIcon(int size) {
  return QImage(QStringLiteral(QRX_ICON_DIR "/%1x%1/apps/qrx-workbench.png").arg(size))
      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The icon holds each size, pixel for pixel the theme's PNG of that size.
void VerifyWorkbenchIcon(const QIcon& icon, const char* window) {
  qInfo("%s", window);
  QVERIFY(!icon.isNull());
  for (const int size : kIconSizes) {
    QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(QString::number(size)));
    const QImage shown = icon.pixmap(QSize(size, size))
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(shown, ThemeIcon(size));
  }
}

}  // namespace

class TApplicationIconTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { rig_ = std::make_unique<TWindowRig>(); }
  void cleanup() { rig_.reset(); }

  void BothWindowsShowTheWorkbenchIcon() {
    PrepareApplication(*qApp);
    TMainWindow& form = rig_->CreateShown();
    TFormMon* monitor = form.Screen().Monitor();
    QVERIFY(monitor != nullptr);
    QVERIFY(!ThemeIcon(48).isNull());
    VerifyWorkbenchIcon(form.windowIcon(), "main window");
    VerifyWorkbenchIcon(monitor->windowIcon(), "monitor window");
    // What the window system is given for the shown main window.
    QVERIFY(form.windowHandle() != nullptr);
    VerifyWorkbenchIcon(form.windowHandle()->icon(), "main window's platform window");
    // The desktop takes the name, and so the icon, from the desktop entry.
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("qrx-workbench"));
  }

 private:
  std::unique_ptr<TWindowRig> rig_;
};

QTEST_MAIN(TApplicationIconTest)
#include "application_icon_test.moc"
