// The owner-drawn list that the listing and label views are built on: the
// keys that move the current row, scrolling by whole rows, the paint loop
// that draws only what a paint touches, the menu key, the header bar's
// repaint, horizontal scroll and ownership.
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include <vector>

#include "monitor_qt/monitor_font.h"
#include "workbench/owner_drawn_list.h"
#include "workbench/view_host.h"

namespace {

const std::vector<THeaderSection> kSections = {{"A", 40}, {"B", 60}, {"C", 100, false}};

// A list of plain rows that records what the base class asks of it.
class TStubList : public TOwnerDrawnList {
 public:
  explicit TStubList(int rows) : TOwnerDrawnList(kSections), rows_(rows) { UpdateScrollBars(); }

  int RowCount() const override { return rows_; }
  void SetCount(int rows) {
    rows_ = rows;
    RepaintAll();
  }

  int current = -1;
  struct TMove {
    int target, current;
    Qt::KeyboardModifiers modifiers;
  };
  std::vector<TMove> moves;
  struct TDrawn {
    int row;
    bool whole;
  };
  std::vector<TDrawn> drawn;

  // Test access to the protected pieces.
  using TOwnerDrawnList::EnsureVisible;
  using TOwnerDrawnList::RowAt;
  using TOwnerDrawnList::Spans;

 protected:
  int CurrentListRow() const override { return current; }
  void MoveByKey(int target, int from, Qt::KeyboardModifiers modifiers) override {
    moves.push_back({target, from, modifiers});
    current = target;
    EnsureVisible(target);
  }
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(viewport());
    PaintRows(painter, event->region(), [&](int row, const QRect& rect, bool whole) {
      painter.fillRect(rect, Qt::blue);
      drawn.push_back({row, whole});
    });
  }

 private:
  int rows_;
};

}  // namespace

class TOwnerDrawnListTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() {
    list_ = std::make_unique<TStubList>(100);
    list_->SetRowHeight(16);
    // Five whole rows and a part of a sixth.
    list_->resize(300, 16 * 5 + 8 + 2 * list_->frameWidth());
    list_->show();
    QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
    QCOMPARE(list_->VisibleRowCount(), 5);
  }
  void cleanup() { list_.reset(); }

  void KeysAskForTheirTarget_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("target");
    QTest::newRow("down") << 3 << 0 << int(Qt::Key_Down) << 4;
    QTest::newRow("down from the last row stays") << 99 << 95 << int(Qt::Key_Down) << 99;
    QTest::newRow("up without a current row") << -1 << 0 << int(Qt::Key_Up) << 0;
    QTest::newRow("up from the first row stays") << 0 << 0 << int(Qt::Key_Up) << 0;
    // Page keys go to the edge row in sight first, then a page (four rows
    // of five in sight) at a time.
    QTest::newRow("page down to the bottom in sight") << 1 << 0 << int(Qt::Key_PageDown) << 4;
    QTest::newRow("page down a page") << 4 << 0 << int(Qt::Key_PageDown) << 8;
    QTest::newRow("page down at the end") << 98 << 95 << int(Qt::Key_PageDown) << 99;
    QTest::newRow("page up to the top in sight") << 13 << 10 << int(Qt::Key_PageUp) << 10;
    QTest::newRow("page up a page") << 10 << 10 << int(Qt::Key_PageUp) << 6;
    QTest::newRow("page up at the start") << 2 << 2 << int(Qt::Key_PageUp) << 0;
    QTest::newRow("home") << 50 << 48 << int(Qt::Key_Home) << 0;
    QTest::newRow("end") << 5 << 3 << int(Qt::Key_End) << 99;
  }
  void KeysAskForTheirTarget() {
    QFETCH(int, current);
    QFETCH(int, top);
    QFETCH(int, key);
    QFETCH(int, target);
    list_->current = current;
    list_->SetTopRow(top);
    QCOMPARE(list_->TopRow(), top);
    QTest::keyClick(list_.get(), Qt::Key(key), Qt::ShiftModifier);
    QCOMPARE(int(list_->moves.size()), 1);
    QCOMPARE(list_->moves[0].target, target);
    QCOMPARE(list_->moves[0].current, current);
    QVERIFY(list_->moves[0].modifiers & Qt::ShiftModifier);
    // The target is in sight afterwards.
    QVERIFY(list_->TopRow() <= target && target < list_->TopRow() + 5);
  }

  void OtherKeysAndEmptyListsMoveNothing() {
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    QApplication::sendEvent(list_.get(), &letter);
    QVERIFY(!letter.isAccepted());
    list_->SetCount(0);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(list_.get(), &down);
    QVERIFY(down.isAccepted());
    QVERIFY(list_->moves.empty());
  }

  void ScrollingIsByWholeRows() {
    QCOMPARE(list_->verticalScrollBar()->maximum(), 100 - 5);
    QCOMPARE(list_->verticalScrollBar()->pageStep(), 5);
    list_->SetTopRow(-3);
    QCOMPARE(list_->TopRow(), 0);
    list_->SetTopRow(500);
    QCOMPARE(list_->TopRow(), 95);
    // A row below the sight becomes the bottom row; above it, the top row.
    list_->SetTopRow(10);
    list_->EnsureVisible(40);
    QCOMPARE(list_->TopRow(), 36);
    list_->EnsureVisible(38);
    QCOMPARE(list_->TopRow(), 36);
    list_->EnsureVisible(12);
    QCOMPARE(list_->TopRow(), 12);
    QCOMPARE(list_->RowRect(14), QRect(0, 32, list_->viewport()->width(), 16));
    QCOMPARE(list_->RowAt(QPoint(5, 40)), 14);
    QCOMPARE(list_->RowAt(QPoint(5, -1)), -1);
    // Fewer rows: the range shrinks and points below the last row hit none.
    list_->SetCount(3);
    QCOMPARE(list_->verticalScrollBar()->maximum(), 0);
    QCOMPARE(list_->RowAt(QPoint(5, 16 * 3 + 1)), -1);
  }

  void PaintDrawsOnlyTheRowsItTouches() {
    list_->SetTopRow(20);
    const QSize size = list_->viewport()->size();
    QImage image(size, QImage::Format_RGB32);
    list_->drawn.clear();
    // From the middle of row 21 to the middle of row 22.
    list_->viewport()->render(&image, QPoint(), QRegion(0, 24, size.width(), 16));
    QCOMPARE(int(list_->drawn.size()), 2);
    QCOMPARE(list_->drawn[0].row, 21);
    QCOMPARE(list_->drawn[0].whole, false);
    QCOMPARE(list_->drawn[1].row, 22);

    list_->drawn.clear();
    list_->viewport()->render(&image);
    QCOMPARE(int(list_->drawn.size()), 6);  // five whole rows and a part
    QCOMPARE(list_->drawn.front().row, 20);
    QVERIFY(list_->drawn.front().whole);
    QVERIFY(!list_->drawn.back().whole);

    // Below the last row the list's background.
    list_->SetCount(2);
    list_->drawn.clear();
    image.fill(Qt::black);
    list_->viewport()->render(&image);
    QCOMPARE(int(list_->drawn.size()), 2);
    QCOMPARE(image.pixelColor(5, 40), ListBackground(list_->hasFocus()));
    QCOMPARE(image.pixelColor(5, 20), QColor(Qt::blue));
  }

  void MenuKeyOpensTheMenuAtTheCurrentRow() {
    QSignalSpy menu(list_.get(), &TOwnerDrawnList::ContextMenuRequested);
    list_->current = 2;
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
    QApplication::sendEvent(list_.get(), &key);
    QCOMPARE(menu.count(), 1);
    const QPoint at = list_->viewport()->mapFromGlobal(menu.last().at(0).toPoint());
    QCOMPARE(list_->RowAt(at), 2);
    // The mouse's menu belongs to the views' own button handling.
    QContextMenuEvent mouse(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(list_.get(), &mouse);
    QCOMPARE(menu.count(), 1);
  }

  void HeaderBarDrivesColumnsRepaintAndScrolling() {
    QHeaderView* header = list_->HeaderBar();
    std::vector<TSectionSpan> spans = list_->Spans();
    QCOMPARE(int(spans.size()), 3);
    QCOMPARE(spans[1].Left, 40);
    QCOMPARE(spans[2].Width, 100);

    QCoreApplication::processEvents();
    list_->drawn.clear();
    header->resizeSection(0, 200);
    QTRY_VERIFY(!list_->drawn.empty());
    QCOMPARE(list_->Spans()[1].Left, 200);
    // The sections are now wider than the view: the horizontal scroll bar
    // moves the columns and the header bar together.
    QCoreApplication::processEvents();
    const int overflow = header->length() - list_->viewport()->width();
    QVERIFY(overflow > 0);
    QCOMPARE(list_->horizontalScrollBar()->maximum(), overflow);
    list_->horizontalScrollBar()->setValue(overflow);
    QCOMPARE(header->offset(), overflow);
    QCOMPARE(list_->Spans()[1].Left, 200 - overflow);
  }

  void AnUnplacedHeaderBarGoesWithTheList() {
    QPointer<QHeaderView> header = list_->HeaderBar();
    list_.reset();
    QVERIFY(header.isNull());

    // Once placed in a layout its parent owns it.
    auto list = std::make_unique<TStubList>(1);
    QWidget parent;
    header = list->HeaderBar();
    header->setParent(&parent);
    list.reset();
    QVERIFY(!header.isNull());
  }

 private:
  std::unique_ptr<TStubList> list_;
};

QTEST_MAIN(TOwnerDrawnListTest)
#include "owner_drawn_list_test.moc"
