// Drawing a screen snapshot into an image: colours, text placement in the
// four directions, clipping to the cell, the cursor blink and damaged cells.
#include <QImage>
#include <QRect>
#include <QtTest>
#include <memory>

#include "monitor/character_set.h"
#include "monitor/screen_cell.h"
#include "monitor/screen_model.h"
#include "monitor_qt/monitor_renderer.h"
#include "persistence/encoding.h"

namespace {

QRect CellRect(int column, int row) {
  return QRect(column * kCellSize, row * kCellSize, kCellSize, kCellSize);
}

// Pixels of the rectangle whose colour is not the given one.
int CountOther(const QImage& image, const QRect& rect, QRgb colour) {
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF)) ++count;
    }
  }
  return count;
}

bool AllPixels(const QImage& image, const QRect& rect, QRgb colour) {
  return CountOther(image, rect, colour) == 0;
}

void Put(TScreenSnapshot& snapshot, int column, int row, const TScreenCell& cell) {
  snapshot.Cells[row * kScreenColumns + column] = cell;
}

}  // namespace

class TMonitorRendererTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    snapshot_ = std::make_unique<TScreenSnapshot>();
    image_ = QImage();
  }

  void ImageHasScreenSizeAndDefaultCellsAreWhite() {
    renderer_.Render(*snapshot_, image_, 0);
    QCOMPARE(image_.size(), QSize(768, 576));
    QVERIFY(AllPixels(image_, image_.rect(), qRgb(255, 255, 255)));
  }

  void BackgroundFillsTheWholeCell_data() {
    QTest::addColumn<uint>("colour");
    QTest::addColumn<QRgb>("rgb");
    QTest::newRow("red") << 0x0000FFu << qRgb(255, 0, 0);
    QTest::newRow("green") << 0x00FF00u << qRgb(0, 255, 0);
    QTest::newRow("blue") << 0xFF0000u << qRgb(0, 0, 255);
    QTest::newRow("mixed") << 0x332211u << qRgb(0x11, 0x22, 0x33);
  }
  void BackgroundFillsTheWholeCell() {
    QFETCH(uint, colour);
    QFETCH(QRgb, rgb);
    Put(*snapshot_, 3, 2, MakeCell(0, kBlack, colour, 0));
    renderer_.Render(*snapshot_, image_, 0);
    QVERIFY(AllPixels(image_, CellRect(3, 2), rgb));
    QVERIFY(AllPixels(image_, CellRect(2, 2), qRgb(255, 255, 255)));
    QVERIFY(AllPixels(image_, CellRect(4, 2), qRgb(255, 255, 255)));
    QVERIFY(AllPixels(image_, CellRect(3, 1), qRgb(255, 255, 255)));
    QVERIFY(AllPixels(image_, CellRect(3, 3), qRgb(255, 255, 255)));
  }

  void TextIsDrawnInTheForegroundOverTheBackground() {
    // A full-width block in red on yellow: solid red inside, and every
    // edge pixel a blend of the two (red channel 255, blue 0).
    Put(*snapshot_, 10, 5, MakeCell(0x81A1, 0x0000FF, 0x00FFFF, 0));  // "■"
    renderer_.Render(*snapshot_, image_, 0);
    const QRect cell = CellRect(10, 5);
    int red = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
      for (int x = cell.left(); x <= cell.right(); ++x) {
        const QRgb p = image_.pixel(x, y);
        QCOMPARE(qRed(p), 255);
        QCOMPARE(qBlue(p), 0);
        if (qGreen(p) == 0) ++red;
      }
    }
    QVERIFY2(red >= 36, qPrintable(QString::number(red)));
    QVERIFY(CountOther(image_, cell, qRgb(255, 255, 0)) > 0);
    QVERIFY(AllPixels(image_, CellRect(11, 5), qRgb(255, 255, 255)));
  }

  void EachDirectionTurnsTheTextAboutItsOrigin_data() {
    // The corner of a full-width "Ｌ" (its bottom-left, upright) lands in a
    // different corner of the cell for each direction; the opposite corner
    // stays empty.
    QTest::addColumn<int>("direction");
    QTest::addColumn<QPoint>("inkCorner");  // quadrant as (0|1, 0|1)
    QTest::newRow("0 left to right") << 0 << QPoint(0, 1);
    QTest::newRow("1 top to bottom") << 1 << QPoint(0, 0);
    QTest::newRow("2 upside down") << 2 << QPoint(1, 0);
    QTest::newRow("3 bottom to top") << 3 << QPoint(1, 1);
  }
  void EachDirectionTurnsTheTextAboutItsOrigin() {
    QFETCH(int, direction);
    QFETCH(QPoint, inkCorner);
    Put(*snapshot_, 20, 20, MakeCell(0x4C, kBlack, kWhite, static_cast<uint16_t>(direction)));
    renderer_.Render(*snapshot_, image_, 0);
    const QRect cell = CellRect(20, 20);
    const int h = kCellSize / 2;
    int ink[2][2];
    QString detail;
    for (int qx = 0; qx < 2; ++qx) {
      for (int qy = 0; qy < 2; ++qy) {
        ink[qx][qy] = CountOther(image_, QRect(cell.left() + qx * h, cell.top() + qy * h, h, h),
                                 qRgb(255, 255, 255));
        detail += QStringLiteral("(%1,%2)=%3 ").arg(qx).arg(qy).arg(ink[qx][qy]);
      }
    }
    // Only the quadrant opposite the corner is empty.
    for (int qx = 0; qx < 2; ++qx) {
      for (int qy = 0; qy < 2; ++qy) {
        const bool opposite = qx != inkCorner.x() && qy != inkCorner.y();
        QVERIFY2((ink[qx][qy] == 0) == opposite, qPrintable(detail));
      }
    }
  }

  void GlyphsBelowTheEmBoxStayInTheCell_data() {
    QTest::addColumn<int>("direction");
    QTest::addColumn<QRect>("edge");  // in cell pixels: the line along the text's base
    QTest::newRow("0") << 0 << QRect(0, kCellSize - 2, kCellSize, 2);
    QTest::newRow("1") << 1 << QRect(0, 0, 2, kCellSize);
    QTest::newRow("2") << 2 << QRect(0, 0, kCellSize, 2);
    QTest::newRow("3") << 3 << QRect(kCellSize - 2, 0, 2, kCellSize);
  }
  void GlyphsBelowTheEmBoxStayInTheCell() {
    // The full-width low line of the font lies below the em box; it is
    // still drawn as a visible line along the base of the cell.
    QFETCH(int, direction);
    QFETCH(QRect, edge);
    Put(*snapshot_, 20, 20, MakeCell(0x5F, kBlack, kWhite, static_cast<uint16_t>(direction)));
    renderer_.Render(*snapshot_, image_, 0);
    int dark = 0;
    for (int y = edge.top(); y <= edge.bottom(); ++y) {
      for (int x = edge.left(); x <= edge.right(); ++x) {
        if (qGray(image_.pixel(20 * kCellSize + x, 20 * kCellSize + y)) < 200) ++dark;
      }
    }
    QVERIFY2(dark >= kCellSize - 2, qPrintable(QString::number(dark)));
  }

  void TextLongerThanTheCellIsClippedToIt_data() {
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("nextColumn");
    QTest::addColumn<int>("nextRow");
    // The neighbour in the direction the text runs.
    QTest::newRow("0") << 0 << 31 << 30;
    QTest::newRow("1") << 1 << 30 << 31;
    QTest::newRow("2") << 2 << 29 << 30;
    QTest::newRow("3") << 3 << 30 << 29;
  }
  void TextLongerThanTheCellIsClippedToIt() {
    QFETCH(int, direction);
    QFETCH(int, nextColumn);
    QFETCH(int, nextRow);
    // Two full-width letters, twice the width of a cell.
    TScreenCell cell = MakeCell(0, kBlack, kWhite, static_cast<uint16_t>(direction));
    const std::string text = Sjis("ＭＷ");
    QCOMPARE(text.size(), size_t{4});
    std::copy(text.begin(), text.end(), cell.Text.begin());
    cell.TextLength = 4;
    Put(*snapshot_, 30, 30, cell);
    renderer_.Render(*snapshot_, image_, 0);
    QVERIFY(CountOther(image_, CellRect(30, 30), qRgb(255, 255, 255)) > 0);
    QVERIFY(AllPixels(image_, CellRect(nextColumn, nextRow), qRgb(255, 255, 255)));
  }

  void DamagedCellDrawsLikeItsUsableBits() {
    // A loaded block may hold any byte: direction 7 draws as 3, a length
    // of 9 as the 4 bytes stored, bytes that are no text as replacement
    // characters.
    TScreenCell damaged = MakeCell(0, 0x0000FF, kWhite, 0);
    damaged.Text = {'\x82', '\xA0', '\xFF', '\x81'};
    damaged.TextLength = 9;
    damaged.Direction = 7;
    TScreenCell sound = damaged;
    sound.TextLength = 4;
    sound.Direction = 3;

    Put(*snapshot_, 5, 5, damaged);
    renderer_.Render(*snapshot_, image_, 0);
    const QImage drawnDamaged = image_.copy(CellRect(5, 5));
    Put(*snapshot_, 5, 5, sound);
    renderer_.Render(*snapshot_, image_, 0);
    QCOMPARE(drawnDamaged, image_.copy(CellRect(5, 5)));
    QVERIFY(CountOther(image_, CellRect(5, 5), qRgb(255, 255, 255)) > 0);
  }

  void CursorBlinksWithTheClock_data() {
    QTest::addColumn<bool>("shown");
    QTest::addColumn<qint64>("clock");
    QTest::addColumn<bool>("inverted");
    QTest::newRow("clock 0") << true << qint64(0) << true;
    QTest::newRow("clock 699") << true << qint64(699) << true;
    QTest::newRow("clock 700") << true << qint64(700) << false;
    QTest::newRow("clock 800") << true << qint64(800) << false;
    QTest::newRow("clock 999") << true << qint64(999) << false;
    QTest::newRow("clock 1000") << true << qint64(1000) << true;
    QTest::newRow("clock 123456") << true << qint64(123456) << true;
    QTest::newRow("hidden at clock 0") << false << qint64(0) << false;
  }
  void CursorBlinksWithTheClock() {
    QFETCH(bool, shown);
    QFETCH(qint64, clock);
    QFETCH(bool, inverted);
    snapshot_->CursorShown = shown;
    snapshot_->CursorColumn = 7;
    snapshot_->CursorRow = 9;
    renderer_.Render(*snapshot_, image_, clock);
    QCOMPARE(AllPixels(image_, CellRect(7, 9), qRgb(0, 0, 0)), inverted);
    QCOMPARE(AllPixels(image_, CellRect(7, 9), qRgb(255, 255, 255)), !inverted);
    QVERIFY(AllPixels(image_, CellRect(8, 9), qRgb(255, 255, 255)));
  }

  void CursorCombinesWithTheLastCellsBackground() {
    // The block is the fill colour left by the pass (the background of the
    // bottom-right cell), combined by exclusive-or with what is drawn.
    Put(*snapshot_, kScreenColumns - 1, kScreenRows - 1, MakeCell(0, kBlack, 0x0000FF, 0));
    Put(*snapshot_, 2, 1, MakeCell(0, kBlack, 0x00FF00, 0));
    snapshot_->CursorShown = true;
    snapshot_->CursorColumn = 2;
    snapshot_->CursorRow = 1;
    renderer_.Render(*snapshot_, image_, 100);
    // green ^ red = yellow
    QVERIFY(AllPixels(image_, CellRect(2, 1), qRgb(255, 255, 0)));
  }

  void CursorOutsideTheScreenIsKeptOnIt() {
    snapshot_->CursorShown = true;
    snapshot_->CursorColumn = 500;
    snapshot_->CursorRow = -3;
    renderer_.Render(*snapshot_, image_, 0);
    QVERIFY(AllPixels(image_, CellRect(kScreenColumns - 1, 0), qRgb(0, 0, 0)));
  }

  void SameTextInOtherColoursSharesOneMask() {
    TMonitorRenderer renderer;
    for (int p = 0; p < kScreenCellCount; ++p) {
      snapshot_->Cells[p] =
          MakeCell(0x41, static_cast<uint32_t>(p * 977), static_cast<uint32_t>(p * 31), 0);
    }
    renderer.Render(*snapshot_, image_, 0);
    QCOMPARE(renderer.CachedMaskCount(), size_t{1});
    // The same letter turned is another mask.
    snapshot_->Cells[0].Direction = 2;
    renderer.Render(*snapshot_, image_, 0);
    QCOMPARE(renderer.CachedMaskCount(), size_t{2});
    // Both cells of the same colours and text draw the same pixels.
    Put(*snapshot_, 1, 1, MakeCell(0x41, 0x0000FF, kWhite, 0));
    Put(*snapshot_, 40, 40, MakeCell(0x41, 0x0000FF, kWhite, 0));
    renderer.Render(*snapshot_, image_, 0);
    QCOMPARE(image_.copy(CellRect(1, 1)), image_.copy(CellRect(40, 40)));
  }

 private:
  TMonitorRenderer renderer_;
  std::unique_ptr<TScreenSnapshot> snapshot_;
  QImage image_;
};

QTEST_MAIN(TMonitorRendererTest)
#include "monitor_renderer_test.moc"
