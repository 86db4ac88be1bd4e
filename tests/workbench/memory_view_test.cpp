// The memory panel: header and cell texts in each number format, the status
// bar's readings, typing numbers into cells, the arrow-key wrap, jumping to an
// address, clicks and the focus colours.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "session/program_session.h"
#include "workbench/memory_view.h"
#include "workbench/view_host.h"

Q_DECLARE_METATYPE(TNumberFormat)

namespace {

class TFakeHost : public TViewHost {
 public:
  TFakeHost() : session_(monitor_) {}
  TProgramSession& Session() override { return session_; }
  TNumberFormat NumberFormat() const override { return format; }
  QFont MainFont() const override {
    QFont font("MS Gothic");
    font.setPixelSize(12);
    return font;
  }
  TQRXEmulater& Machine() { return session_.Machine(); }

  TNumberFormat format = TNumberFormat::Hexadecimal;

 private:
  TMonitorModel monitor_;
  TProgramSession session_;
};

// Grid coordinates of an address: column (a mod 16) + 1, row (a div 16) + 1.
int ColumnOf(int address) {
  return address % 16 + 1;
}
int RowOf(int address) {
  return address / 16 + 1;
}

QList<int> Words(std::initializer_list<int> words) {
  return QList<int>(words);
}

}  // namespace

class TMemoryViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    host_ = std::make_unique<TFakeHost>();
    window_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window_.get());
    other_ = new QLineEdit(window_.get());
    view_ = new TMemoryView(*host_, window_.get());
    layout->addWidget(other_);
    layout->addWidget(view_);
    window_->resize(17 * 44 + 40, 320);
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    grid_ = view_->Grid();
  }
  void cleanup() {
    window_.reset();
    host_.reset();
  }

  // ------------------------------------------------------------ texts

  void HeaderAndCellTextsFollowTheNumberFormat_data() {
    QTest::addColumn<TNumberFormat>("format");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QStringList>("rows");  // rows 1, 2, 17, 4096
    QTest::addColumn<QString>("minusOne");  // a data cell holding 0xFFFF
    QStringList hexColumns, decimalColumns;
    for (int c = 0; c < 16; ++c) {
      hexColumns << QString("0123456789ABCDEF").mid(c, 1);
      decimalColumns << QString::number(c);
    }
    QTest::newRow("hexadecimal") << TNumberFormat::Hexadecimal << hexColumns
                                 << QStringList{"0000", "0010", "0100", "FFF0"} << "FFFF";
    QTest::newRow("unsigned") << TNumberFormat::UnsignedDecimal << decimalColumns
                              << QStringList{"0", "16", "256", "65520"} << "65535";
    // Row headers are addresses: never negative, even in signed mode.
    QTest::newRow("signed") << TNumberFormat::SignedDecimal << decimalColumns
                            << QStringList{"0", "16", "256", "65520"} << "-1";
  }
  void HeaderAndCellTextsFollowTheNumberFormat() {
    QFETCH(TNumberFormat, format);
    QFETCH(QStringList, columns);
    QFETCH(QStringList, rows);
    QFETCH(QString, minusOne);
    host_->format = format;
    view_->RefreshMemoryView();
    QCOMPARE(view_->CellText(0, 0), QString());
    QCOMPARE(view_->CellText(17, 1), QString());
    // Data cells are read from memory when asked.
    host_->Machine().WriteWord(0x0123, 0xFFFF);
    QCOMPARE(view_->CellText(ColumnOf(0x0123), RowOf(0x0123)), minusOne);
    QCOMPARE(view_->CellText(ColumnOf(0x0124), RowOf(0x0124)),
             QString::fromStdString(FormatNumber(0, false, format)));
    for (int c = 1; c <= 16; ++c)
      QCOMPARE(view_->CellText(c, 0), columns[c - 1]);
    const int rowNumbers[] = {1, 2, 17, 4096};
    for (int i = 0; i < 4; ++i)
      QCOMPARE(view_->CellText(0, rowNumbers[i]), rows[i]);
    // The grid's headers show the same texts and are centred.
    QAbstractItemModel* model = grid_->model();
    QCOMPARE(model->headerData(15, Qt::Horizontal).toString(), columns[15]);
    QCOMPARE(model->headerData(4095, Qt::Vertical).toString(), rows[3]);
    QCOMPARE(model->headerData(0, Qt::Vertical, Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::Alignment(Qt::AlignCenter));
  }

  // ------------------------------------------------------------ status bar

  void StatusBarPanelsAreLaidOut() {
    QCOMPARE(view_->StatusBar()->height(), 20);
    const QList<QLabel*> panels =
        view_->StatusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(panels.size(), 13);
    const int widths[] = {40, 50, 48, 48, 48, 48, 32, 48, 32, 120, 36, 32, 50};
    const Qt::Alignment R = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment C = Qt::AlignHCenter | Qt::AlignVCenter;
    const Qt::Alignment L = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment aligns[] = {R, R, R, R, C, R, R, R, R, R, R, C, L};
    const char* captions[] = {"アドレス", nullptr, "10進(S)", nullptr, "10進(U)", nullptr, "16進",
                              nullptr,    "2進",   nullptr,   "文字",  nullptr,   ""};
    for (int i = 0; i < 13; ++i) {
      // At least the laid-out width; wider only where the font needs it.
      QVERIFY(panels[i]->width() >= widths[i]);
      QCOMPARE(panels[i]->alignment(), aligns[i]);
      QCOMPARE(panels[i]->text(), view_->PanelText(i));
      if (captions[i]) {
        QCOMPARE(view_->PanelText(i), QString::fromUtf8(captions[i]));
        QCOMPARE(panels[i]->frameShape(), QFrame::NoFrame);
      } else {
        QVERIFY(panels[i]->frameShape() != QFrame::NoFrame);
      }
    }
    // The widest readings are shown whole in whatever font is at hand.
    host_->Machine().WriteWord(0x8888, 0x8000);
    view_->ShowMemoryAt(0x8888);
    host_->format = TNumberFormat::SignedDecimal;
    view_->RefreshMemoryView();
    const auto allFit = [&panels] {
      for (QLabel* panel : panels)
        if (panel->fontMetrics().horizontalAdvance(panel->text()) > panel->contentsRect().width())
          return false;
      return true;
    };
    QCOMPARE(panels[9]->font().pixelSize(), 12);
    QVERIFY(allFit());
    // Also after the main window gives the status bar a larger font.
    QFont larger = view_->StatusBar()->font();
    larger.setPixelSize(16);
    view_->StatusBar()->setFont(larger);
    QCOMPARE(panels[9]->font().pixelSize(), 16);
    QVERIFY(allFit());
  }

  // At 420 pixels the status bar is narrower than its panels: they keep
  // their widths, are cut off at its right edge and never lie over one
  // another.
  void ANarrowStatusBarCutsItsPanelsOffAtTheRight() {
    QWidget holder;
    TMemoryView narrow(*host_, &holder);
    narrow.setGeometry(0, 0, 420, 120);
    holder.resize(420, 120);
    holder.show();
    QVERIFY(QTest::qWaitForWindowExposed(&holder));
    QCOMPARE(narrow.StatusBar()->width(), 420);
    const QList<QLabel*> panels =
        narrow.StatusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(panels.size(), 13);
    const int widths[] = {40, 50, 48, 48, 48, 48, 32, 48, 32, 120, 36, 32, 50};
    for (int i = 0; i < 13; ++i) {
      QVERIFY(panels[i]->width() >= widths[i]);
      for (int j = 0; j < i; ++j)
        QVERIFY2(!panels[i]->geometry().intersects(panels[j]->geometry()),
                 qPrintable(QStringLiteral("panels %1 and %2").arg(j).arg(i)));
    }
    QVERIFY(panels.last()->geometry().left() > 420);
  }

  void StatusShowsTheWordSixWays_data() {
    QTest::addColumn<int>("word");
    QTest::addColumn<QStringList>("panels");  // 3, 5, 7, 9, 11
    QTest::newRow("FFFF") << 0xFFFF
                          << QStringList{"-1", "65535", "FFFF", " 1111 1111 1111 1111", ""};
    QTest::newRow("A") << 0x0041 << QStringList{"65", "65", "0041", " 0000 0000 0100 0001", "A"};
    QTest::newRow("double-byte") << 0x82A0
                                 << QStringList{"-32096", "33440", "82A0", " 1000 0010 1010 0000",
                                                QString::fromUtf8("あ")};
    QTest::newRow("half-width kana")
        << 0x00B1
        << QStringList{"177", "177", "00B1", " 0000 0000 1011 0001", QString::fromUtf8("ｱ")};
    QTest::newRow("two single bytes")
        << 0x4142 << QStringList{"16706", "16706", "4142", " 0100 0001 0100 0010", "AB"};
    // Bytes that are no whole character show nothing.
    QTest::newRow("NUL") << 0x0000 << QStringList{"0", "0", "0000", " 0000 0000 0000 0000", ""};
    QTest::newRow("lone lead byte")
        << 0x0082 << QStringList{"130", "130", "0082", " 0000 0000 1000 0010", ""};
    // The lead byte alone is no character; the blank after it is one.
    QTest::newRow("lead byte, bad trail")
        << 0x8120 << QStringList{"-32480", "33056", "8120", " 1000 0001 0010 0000", " "};
    QTest::newRow("undefined byte")
        << 0x00FF << QStringList{"255", "255", "00FF", " 0000 0000 1111 1111", ""};
  }
  void StatusShowsTheWordSixWays() {
    QFETCH(int, word);
    QFETCH(QStringList, panels);
    const uint16_t address = 0x0200;
    host_->Machine().WriteWord(address, static_cast<uint16_t>(word));
    view_->ShowMemoryStatus(address);
    QCOMPARE(view_->PanelText(3), panels[0]);
    QCOMPARE(view_->PanelText(5), panels[1]);
    QCOMPARE(view_->PanelText(7), panels[2]);
    QCOMPARE(view_->PanelText(9), panels[3]);
    QCOMPARE(view_->PanelText(11), panels[4]);
    // The readings do not depend on the view's mode.
    host_->format = TNumberFormat::SignedDecimal;
    view_->ShowMemoryStatus(address);
    QCOMPARE(view_->PanelText(7), panels[2]);
  }

  void RefreshReadsMemoryAndFormatAgain() {
    host_->format = TNumberFormat::SignedDecimal;
    view_->ShowMemoryAt(0x8000);
    QCOMPARE(view_->PanelText(1), QString("-32768"));
    QCOMPARE(view_->PanelText(3), QString("0"));
    // Changed behind the view's back (a run): the status keeps the old
    // reading until the view is refreshed.
    host_->Machine().WriteWord(0x8000, 0xFFFE);
    host_->format = TNumberFormat::Hexadecimal;
    QCOMPARE(view_->PanelText(3), QString("0"));
    view_->RefreshMemoryView();
    QCOMPARE(view_->PanelText(1), QString("8000"));
    QCOMPARE(view_->PanelText(3), QString("-2"));
    host_->format = TNumberFormat::UnsignedDecimal;
    view_->RefreshMemoryView();
    QCOMPARE(view_->PanelText(1), QString("32768"));
    QCOMPARE(view_->CellText(ColumnOf(0x8000), RowOf(0x8000)), QString("65534"));
  }

  // ------------------------------------------------------------ editing

  void TypingWritesEachTimeTheTextReads_data() {
    QTest::addColumn<QString>("keys");      // "\b" is Backspace
    QTest::addColumn<QList<int>>("words");  // the word after each key
    QTest::addColumn<QList<int>>("edits");  // MemoryEdited so far after each key
    QTest::newRow("12") << "12" << Words({1, 12}) << Words({1, 2});
    QTest::newRow("1Fh") << "1Fh" << Words({1, 1, 31}) << Words({1, 1, 2});
    QTest::newRow("-1") << "-1" << Words({0x7777, 0xFFFF}) << Words({0, 1});
    QTest::newRow("1010b") << "1010b" << Words({1, 10, 101, 1010, 10}) << Words({1, 2, 3, 4, 5});
    QTest::newRow("70000 keeps low 16 bits")
        << "70000" << Words({7, 70, 700, 7000, 70000 & 0xFFFF}) << Words({1, 2, 3, 4, 5});
    QTest::newRow("emptied text writes nothing") << "5\b" << Words({5, 5}) << Words({1, 1});
    QTest::newRow("never a number") << "zz" << Words({0x7777, 0x7777}) << Words({0, 0});
  }
  void TypingWritesEachTimeTheTextReads() {
    QFETCH(QString, keys);
    QFETCH(QList<int>, words);
    QFETCH(QList<int>, edits);
    const uint16_t address = 0x0042;
    host_->Machine().WriteWord(address, 0x7777);
    view_->ShowMemoryAt(address);
    grid_->setFocus();
    QSignalSpy edited(view_, &TMemoryView::MemoryEdited);
    for (int i = 0; i < keys.size(); ++i) {
      TypeKey(keys[i]);
      QCOMPARE(int(host_->Machine().ReadWord(address)), words[i]);
      QCOMPARE(edited.count(), edits[i]);
    }
    for (const QList<QVariant>& call : edited)
      QCOMPARE(call[0].value<uint16_t>(), address);
    // Nothing else in memory moved.
    QCOMPARE(host_->Machine().ReadWord(address - 1), uint16_t(0));
    QCOMPARE(host_->Machine().ReadWord(address + 1), uint16_t(0));
  }

  void TooLongBinaryIsIgnoredToo() {
    const uint16_t address = 0x0010;
    view_->ShowMemoryAt(address);
    grid_->setFocus();
    // 17 binary digits raise the assembler's too-long-binary error, which
    // must be swallowed like any other.
    for (const QChar c : QString("11111111111111111"))
      TypeKey(c);
    host_->Machine().WriteWord(address, 0x1234);
    TypeKey('b');
    QCOMPARE(host_->Machine().ReadWord(address), uint16_t(0x1234));
  }

  void TypingIntoPcMovesThePc() {
    view_->ShowMemoryAt(TQRXEmulater::PC);
    grid_->setFocus();
    QSignalSpy edited(view_, &TMemoryView::MemoryEdited);
    TypeKey('2');
    TypeKey('0');
    QCOMPARE(host_->Machine().ReadWord(TQRXEmulater::PC), uint16_t(20));
    TypeKey('h');
    QCOMPARE(host_->Machine().ReadWord(TQRXEmulater::PC), uint16_t(0x20));
    QCOMPARE(edited.count(), 3);
    QCOMPARE(edited.last()[0].value<uint16_t>(), uint16_t(0xFFFF));
    // The status bar reads the new word.
    QCOMPARE(view_->PanelText(7), QString("0020"));
  }

  void TypedTextIsKeptButNeverDrawn() {
    const uint16_t address = 0x0003;
    view_->ShowMemoryAt(address);
    grid_->setFocus();
    TypeKey('1');
    TypeKey('2');
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(host_->Machine().ReadWord(address), uint16_t(12));
    const QModelIndex cell = grid_->model()->index(0, 3);
    // The delegate commits the editor after the key, from the event loop.
    QTRY_COMPARE(cell.data(Qt::EditRole).toString(), QString("12"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(grid_));
    // The cell shows memory, not the typed text.
    host_->Machine().WriteWord(address, 5);
    QCOMPARE(view_->CellText(4, 1), QString("0005"));
    // Reopening the editor starts from the typed text.
    grid_->setFocus();
    QTest::keyClick(grid_, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    QCOMPARE(editor->text(), QString("12"));
    // Opening the editor is no edit.
    QCOMPARE(host_->Machine().ReadWord(address), uint16_t(5));
    QTest::keyClick(editor, Qt::Key_Escape);
    view_->ClearMemoryCells();
    QCOMPARE(cell.data(Qt::EditRole).toString(), QString());
  }

  // ------------------------------------------------------------ keys

  void ArrowKeysWrapAtRowEnds_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("end");
    QTest::newRow("Left from row 2 column 1") << 0x0010 << int(Qt::Key_Left) << 0x000F;
    QTest::newRow("Right from row 1 column 16") << 0x000F << int(Qt::Key_Right) << 0x0010;
    QTest::newRow("Left from last row column 1") << 0xFFF0 << int(Qt::Key_Left) << 0xFFEF;
    QTest::newRow("Right from row 4095 column 16") << 0xFFEF << int(Qt::Key_Right) << 0xFFF0;
    QTest::newRow("Left inside a row") << 0x0015 << int(Qt::Key_Left) << 0x0014;
    QTest::newRow("Right inside a row") << 0x0015 << int(Qt::Key_Right) << 0x0016;
    QTest::newRow("Left at the first cell stays") << 0x0000 << int(Qt::Key_Left) << 0x0000;
    QTest::newRow("Right at the last cell stays") << 0xFFFF << int(Qt::Key_Right) << 0xFFFF;
    QTest::newRow("Tab at a row end") << 0x000F << int(Qt::Key_Tab) << 0x0010;
    QTest::newRow("Down moves a row") << 0x0005 << int(Qt::Key_Down) << 0x0015;
  }
  void ArrowKeysWrapAtRowEnds() {
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, end);
    host_->format = TNumberFormat::Hexadecimal;
    host_->Machine().WriteWord(end, 0xABCD);
    view_->ShowMemoryAt(static_cast<uint16_t>(start));
    grid_->setFocus();
    QTest::keyClick(grid_, Qt::Key(key));
    QCOMPARE(view_->CurrentAddress(), end);
    // The move is a selection: the status follows, and no editor opened.
    QCOMPARE(view_->PanelText(1), QString::fromStdString(FormatNumber(end, false, host_->format)));
    QCOMPARE(view_->PanelText(7), QString("ABCD"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(grid_));
  }

  void ShowMemoryAtSelectsAndScrolls_data() {
    QTest::addColumn<int>("address");
    QTest::newRow("0") << 0x0000;
    QTest::newRow("1234") << 0x1234;
    QTest::newRow("FFFF") << 0xFFFF;
  }
  void ShowMemoryAtSelectsAndScrolls() {
    QFETCH(int, address);
    view_->ShowMemoryAt(static_cast<uint16_t>(address));
    QCOMPARE(view_->CurrentAddress(), address);
    const QModelIndex current = grid_->currentIndex();
    QCOMPARE(current.column(), address % 16);
    QCOMPARE(current.row(), address / 16);
    QVERIFY(grid_->selectionModel()->isSelected(current));
    // The row is the top row, as far as the grid scrolls; the cell is in view.
    const QScrollBar* bar = grid_->verticalScrollBar();
    if (address / 16 < bar->maximum())
      QCOMPARE(grid_->rowAt(0), address / 16);
    else
      QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(grid_->viewport()->rect().contains(grid_->visualRect(current)));
    QCOMPARE(view_->PanelText(1),
             QString::fromStdString(FormatNumber(address, false, host_->format)));
  }

  // ------------------------------------------------------------ clicks

  void ClickReportsOnlyWithTheFocus() {
    QSignalSpy clicked(view_, &TMemoryView::CellClicked);
    const QModelIndex cell = grid_->model()->index(2, 5);
    // Focused: a click on a cell is reported once, with its address.
    grid_->setFocus();
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, grid_->visualRect(cell).center());
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked[0][0].value<uint16_t>(), uint16_t(0x25));
    QCOMPARE(view_->CurrentAddress(), 0x25);
    // A keyboard move while focused is a click too.
    QTest::keyClick(grid_, Qt::Key_Down);
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked[1][0].value<uint16_t>(), uint16_t(0x35));
    // Without the focus: moves by the program and clicks that do not take
    // the focus select the cell but report nothing.
    other_->setFocus();
    QVERIFY(!view_->GridHasFocus());
    view_->ShowMemoryAt(0x0100);
    QCOMPARE(view_->PanelText(1), QString("0100"));
    grid_->setFocusPolicy(Qt::NoFocus);
    const QModelIndex another = grid_->model()->index(1, 1);
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, grid_->visualRect(another).center());
    QCOMPARE(view_->CurrentAddress(), 0x11);
    QCOMPARE(view_->PanelText(1), QString("0011"));
    QCOMPARE(clicked.count(), 2);
  }

  // ------------------------------------------------------------ painting

  void CellColoursFollowFocusAndSelection() {
    view_->ShowMemoryAt(0x0000);
    const QModelIndex plain = grid_->model()->index(0, 2);
    const QPoint plainPixel = grid_->visualRect(plain).topLeft() + QPoint(1, 1);
    const QPoint currentPixel = grid_->visualRect(grid_->currentIndex()).topLeft() + QPoint(1, 1);

    other_->setFocus();
    QImage image = grid_->viewport()->grab().toImage();
    QCOMPARE(QColor(image.pixel(plainPixel)), kViewBackground);
    QCOMPARE(QColor(image.pixel(currentPixel)),
             grid_->palette().color(QPalette::Active, QPalette::Highlight));

    grid_->setFocus();
    QVERIFY(view_->GridHasFocus());
    image = grid_->viewport()->grab().toImage();
    QCOMPARE(QColor(image.pixel(plainPixel)), kViewFocusBackground);
    QCOMPARE(QColor(image.pixel(currentPixel)),
             grid_->palette().color(QPalette::Active, QPalette::Highlight));

    // The cell editor counts as the grid.
    TypeKey('7');
    QVERIFY(QApplication::focusWidget() != grid_);
    QVERIFY(view_->GridHasFocus());
  }

  void DataTextSitsAtTheRightEdge() {
    host_->format = TNumberFormat::UnsignedDecimal;
    host_->Machine().WriteWord(0x0002, 1);
    view_->ShowMemoryAt(0x0000);
    other_->setFocus();
    const QRect cell = grid_->visualRect(grid_->model()->index(0, 2));
    const QImage image = grid_->viewport()->grab().toImage();
    int left = cell.right() + 1, right = cell.left() - 1;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x)
        if (QColor(image.pixel(x, y)) != kViewBackground) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
    QVERIFY2(right >= left, "the cell shows no text");
    // "1" in a 44-pixel cell: flush right, nothing in the left half.
    QVERIFY(right >= cell.right() - 3);
    QVERIFY(left > cell.center().x());
  }

  void CellSizeComesFromTheMainWindow() {
    view_->SetCellSize(60, 20);
    QCOMPARE(grid_->columnWidth(0), 60);
    QCOMPARE(grid_->columnWidth(15), 60);
    QCOMPARE(grid_->rowHeight(0), 20);
    QCOMPARE(grid_->rowHeight(4095), 20);
    QCOMPARE(grid_->verticalHeader()->width(), 60);
    QCOMPARE(grid_->horizontalHeader()->height(), 20);
  }

 private:
  // Sends one key to whatever has the focus: the grid opens its editor on the
  // first, the editor takes the rest.
  void TypeKey(QChar key) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target);
    if (key == '\b')
      QTest::keyClick(target, Qt::Key_Backspace);
    else
      QTest::keyClick(target, key.toLatin1());
  }

  std::unique_ptr<TFakeHost> host_;
  std::unique_ptr<QWidget> window_;
  QLineEdit* other_ = nullptr;
  TMemoryView* view_ = nullptr;
  QTableView* grid_ = nullptr;
};

QTEST_MAIN(TMemoryViewTest)
#include "memory_view_test.moc"
