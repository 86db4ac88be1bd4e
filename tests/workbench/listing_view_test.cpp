// The listing view: what each kind of row shows and in which colours, the
// breakpoint cell, number formats, the header bar, selection by mouse and
// keyboard, and painting only the rows in sight of a long listing.
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <vector>

#include "monitor_qt/monitor_font.h"
#include "view_test_support.h"
#include "workbench/listing_view.h"

namespace {

using Col = TListingRowLook::Column;

// Listing row r is source line r + 1.
const QStringList kSource = {
    "; plain comment",        // 1
    ";;;indented",            // 2
    ";*important note",       // 3
    "#N EQU 5",               // 4
    "K EQU 7",                // 5
    "START: LD A,#1 ; load",  // 6  address 0
    "       DW 1,'AB'",       // 7  address 3
    "A:     DW 0",            // 8  address 6
    "^P:    DW A",            // 9  address 7
    ">L:    NOP",             // 10 address 8
    "       OUT #17,A",       // 11 address 9
    "       FOO A ;*oops",    // 12 address 0x0C, unknown instruction
    "LBL:",                   // 13
    "       ENDMACRO",        // 14 macro pre-pass error, no fields
    "SUB:   PROC",            // 15
    "LOOP:  JP LOOP",         // 16 address 0x0E
    "       ENDPROC",         // 17
    "0FFF0h:",                // 18
    "       HALT",            // 19 address 0xFFF0
};
constexpr int kStartRow = 5, kDwStringRow = 6, kOutRow = 10, kFooRow = 11, kLabelOnlyRow = 12,
              kEndMacroRow = 13, kLoopRow = 15, kHaltRow = 18;

QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
}

}  // namespace

class TListingViewTest : public QObject {
  Q_OBJECT

 private slots:
  // Descenders and underscores stay inside the row for the fonts the views
  // are drawn with, and the text never sits lower than its text line.
  void RowTextFitsItsRow() {
    RegisterFontSubstitutions();
    for (const int pixels : {12, 16, 20}) {
      QFont font = HeaderBarFont();
      font.setPixelSize(pixels);
      const TRowFonts fonts(font);
      const QRect row(0, 32, 200, fonts.FontHeight + 4);
      const int bottom = row.top() + row.height();
      for (const bool bold : {false, true}) {
        const int baseline = fonts.Baseline(row, bold);
        const QFontMetrics metrics(bold ? fonts.Bold : fonts.Regular);
        QVERIFY2(baseline + metrics.descent() <= bottom, qPrintable(QString::number(pixels)));
        QVERIFY(baseline <= bottom - fonts.FontHeight - 1 + metrics.ascent());
        QVERIFY(baseline - metrics.ascent() >= row.top() - 1);
      }
    }
  }

  void init() {
    host_ = std::make_unique<TFakeHost>();
    const std::string path = folders_.WriteSource("main.qasm", kSource);
    QVERIFY(!path.empty());
    TLoadOutcome outcome;
    const TLoadResult result = host_->Program().LoadFile(path, outcome);
    QCOMPARE(result, TLoadResult::AssemblyErrors);  // two error lines
    QVERIFY(outcome.Committed);
    view_ = std::make_unique<TListingView>(*host_);
    view_->SetRows(&host_->Program().Assembler().Listing());
  }
  void cleanup() {
    view_.reset();
    host_.reset();
  }

  void ShowsEveryKindOfRow_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("texts");  // address, label, instruction, p1, p2, comment
    QTest::addColumn<int>("commentColumn");
    QTest::addColumn<bool>("code");
    QTest::addColumn<bool>("spans");
    QTest::newRow("comment line") << 0 << QStringList{"", "", "", "", "", "plain comment"}
                                  << int(Col::Label) << false << false;
    QTest::newRow(";; comment is indented") << 1 << QStringList{"", "", "", "", "", ";;indented"}
                                            << int(Col::Instruction) << false << false;
    QTest::newRow("value-only EQU gets #")
        << 3 << QStringList{"", "#N", "EQU", "5", "", ""} << int(Col::Comment) << false << false;
    QTest::newRow("plain EQU") << 4 << QStringList{"", "K", "EQU", "7", "", ""} << int(Col::Comment)
                               << false << false;
    QTest::newRow("instruction") << kStartRow
                                 << QStringList{"0000", "START", "LD", "A", "#1", "load"}
                                 << int(Col::Comment) << true << false;
    QTest::newRow("DW string run without closing quote")
        << kDwStringRow << QStringList{"0003", "", "DW", "1,'AB", "", ""} << int(Col::Comment)
        << true << true;
    QTest::newRow("DW of a label")
        << 8 << QStringList{"0007", "^P", "DW", "A", "", ""} << int(Col::Comment) << true << true;
    QTest::newRow("two operands") << kOutRow << QStringList{"0009", "", "OUT", "#17", "A", ""}
                                  << int(Col::Comment) << true << false;
    QTest::newRow("error row with fields")
        << kFooRow << QStringList{"000C", "", "FOO", "A", "", U("[main.qasm(12)]命令が不正です")}
        << int(Col::Comment) << true << false;
    QTest::newRow("label alone") << kLabelOnlyRow << QStringList{"", "LBL", "", "", "", ""}
                                 << int(Col::Comment) << false << false;
    QTest::newRow("PROC is no code")
        << 14 << QStringList{"", "SUB", "PROC", "", "", ""} << int(Col::Comment) << false << false;
    QTest::newRow("jump") << kLoopRow << QStringList{"000E", "LOOP", "JP", "LOOP", "", ""}
                          << int(Col::Comment) << true << false;
    QTest::newRow("numeric label")
        << 17 << QStringList{"", "0FFF0h", "", "", "", ""} << int(Col::Comment) << false << false;
    QTest::newRow("code at FFF0") << kHaltRow << QStringList{"FFF0", "", "HALT", "", "", ""}
                                  << int(Col::Comment) << true << false;
  }
  void ShowsEveryKindOfRow() {
    QFETCH(int, row);
    QFETCH(QStringList, texts);
    QFETCH(int, commentColumn);
    QFETCH(bool, code);
    QFETCH(bool, spans);
    const TListingRowLook look = view_->RowLook(row, false);
    for (int column = 0; column < Col::ColumnCount; ++column)
      QCOMPARE(look.Texts[column], texts[column]);
    QCOMPARE(int(look.CommentColumn), commentColumn);
    QCOMPARE(look.IsCodeRow, code);
    QCOMPARE(look.OperandListSpansRow, spans);
  }

  void ErrorRowWithoutFieldsStartsAtTheLabelColumn() {
    const TListingRowLook look = view_->RowLook(kEndMacroRow, false);
    QVERIFY(look.IsErrorRow);
    QVERIFY2(look.Texts[Col::Comment].startsWith(U("[main.qasm(14)]変なところにENDMACRO")),
             qPrintable(look.Texts[Col::Comment]));
    QCOMPARE(look.CommentColumn, Col::Label);
    QCOMPARE(look.CommentText, QColor(255, 0, 0));
    QCOMPARE(look.Texts[Col::Address], QString());
  }

  void CommentColourAndWeight_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("colour");  // "green", "highlight" or "red"
    QTest::addColumn<bool>("bold");
    QTest::newRow("comment") << 0 << false << "green" << false;
    QTest::newRow("selected comment") << 0 << true << "highlight" << false;
    QTest::newRow("important comment") << 2 << false << "green" << true;
    QTest::newRow("instruction comment") << kStartRow << false << "green" << false;
    QTest::newRow("error") << kFooRow << false << "red" << true;
    QTest::newRow("selected error stays red") << kFooRow << true << "red" << true;
    QTest::newRow("error without fields") << kEndMacroRow << true << "red" << false;
  }
  void CommentColourAndWeight() {
    QFETCH(int, row);
    QFETCH(bool, selected);
    QFETCH(QString, colour);
    QFETCH(bool, bold);
    const QColor expected = colour == "green" ? QColor(0, 128, 0)
                            : colour == "highlight"
                                ? view_->palette().color(QPalette::HighlightedText)
                                : QColor(255, 0, 0);
    const TListingRowLook look = view_->RowLook(row, selected);
    QCOMPARE(look.CommentText, expected);
    QCOMPARE(look.CommentBold, bold);
  }

  void RowColoursFollowSelectionAndKind() {
    const QPalette& palette = view_->palette();
    for (const int row : {0, kStartRow}) {
      const TListingRowLook plain = view_->RowLook(row, false);
      QCOMPARE(plain.RowBackground, kViewBackground);
      QCOMPARE(plain.RowText, palette.color(QPalette::WindowText));
      QCOMPARE(plain.AddressBackground, palette.color(QPalette::Button));
      const TListingRowLook selected = view_->RowLook(row, true);
      QCOMPARE(selected.RowBackground, palette.color(QPalette::Highlight));
      QCOMPARE(selected.RowText, palette.color(QPalette::HighlightedText));
      // The selection never covers the address cell.
      QCOMPARE(selected.AddressBackground, palette.color(QPalette::Button));
      QCOMPARE(selected.AddressText, palette.color(QPalette::WindowText));
    }
  }

  void FocusWhitensCodeRowsAndGreysOthers() {
    view_->resize(700, 200);
    view_->show();
    view_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(view_.get()));
    view_->setFocus();
    QTRY_VERIFY(view_->hasFocus());
    QCOMPARE(view_->RowLook(kStartRow, false).RowBackground, kViewFocusBackground);
    QCOMPARE(view_->RowLook(0, false).RowBackground, QColor(244, 244, 244));
    QCOMPARE(view_->RowLook(kLabelOnlyRow, false).RowBackground, QColor(244, 244, 244));
    QCOMPARE(view_->RowLook(0, true).RowBackground, view_->palette().color(QPalette::Highlight));
    view_->clearFocus();
    QTRY_VERIFY(!view_->hasFocus());
    QCOMPARE(view_->RowLook(kStartRow, false).RowBackground, kViewBackground);
    QCOMPARE(view_->RowLook(0, false).RowBackground, kViewBackground);
  }

  void BreakpointMarksTheAddressCellOfRowsWithFields() {
    TBoolList& breakpoints = host_->Program().Breakpoints();
    const TListingRows& rows = host_->Program().Assembler().Listing();
    breakpoints.SetMember(rows.Ref(kStartRow)->LineIndex, true);
    breakpoints.SetMember(rows.Ref(0)->LineIndex, true);  // a comment line
    for (const bool selected : {false, true}) {
      const TListingRowLook look = view_->RowLook(kStartRow, selected);
      QCOMPARE(look.AddressBackground, QColor(Qt::yellow));
      QCOMPARE(look.AddressText, QColor(Qt::black));
      QCOMPARE(look.RowBackground,
               selected ? view_->palette().color(QPalette::Highlight) : kViewBackground);
    }
    QCOMPARE(view_->RowLook(0, false).AddressBackground, view_->palette().color(QPalette::Button));
    QCOMPARE(view_->RowLook(kOutRow, false).AddressBackground,
             view_->palette().color(QPalette::Button));
    breakpoints.SetMember(rows.Ref(kStartRow)->LineIndex, false);
    QCOMPARE(view_->RowLook(kStartRow, false).AddressBackground,
             view_->palette().color(QPalette::Button));
  }

  void AddressFollowsTheNumberFormat_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("halt");
    QTest::addColumn<QString>("loop");
    QTest::newRow("hexadecimal") << int(TNumberFormat::Hexadecimal) << "FFF0"
                                 << "000E";
    QTest::newRow("signed") << int(TNumberFormat::SignedDecimal) << "-16"
                            << "14";
    QTest::newRow("unsigned") << int(TNumberFormat::UnsignedDecimal) << "65520"
                              << "14";
  }
  void AddressFollowsTheNumberFormat() {
    QFETCH(int, format);
    QFETCH(QString, halt);
    QFETCH(QString, loop);
    host_->SetNumberFormat(static_cast<TNumberFormat>(format));
    QCOMPARE(view_->RowLook(kHaltRow, false).Texts[Col::Address], halt);
    QCOMPARE(view_->RowLook(kLoopRow, false).Texts[Col::Address], loop);
  }

  // The drawn pixels agree with the look: the breakpoint cell, the row
  // background to the row's end, and the red error text in the comment.
  void DrawsWhatTheLookSays() {
    host_->Program().Breakpoints().SetMember(
        host_->Program().Assembler().Listing().Ref(kFooRow)->LineIndex, true);
    QImage image(600, 16, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    {
      QPainter painter(&image);
      view_->DrawListingRow(painter, kFooRow, QRect(0, 0, 600, 16), false);
    }
    QCOMPARE(image.pixelColor(1, 1), QColor(Qt::yellow));
    QCOMPARE(image.pixelColor(50, 1), kViewBackground);
    QCOMPARE(image.pixelColor(599, 15), kViewBackground);
    QVERIFY(HasPixelNear(image, QRect(0, 0, 48, 16), QColor(Qt::black), 60));
    // The comment section starts at 48 + 48 + 48 + 56 + 56.
    QVERIFY(HasPixelNear(image, QRect(256, 0, 344, 16), QColor(255, 0, 0)));
    QVERIFY(!HasPixelNear(image, QRect(0, 0, 256, 16), QColor(255, 0, 0), 30));

    // A selected comment line: highlight from the label section on, the
    // address cell in button face.
    image.fill(Qt::magenta);
    {
      QPainter painter(&image);
      view_->DrawListingRow(painter, 0, QRect(0, 0, 600, 16), true);
    }
    QCOMPARE(image.pixelColor(1, 1), view_->palette().color(QPalette::Button));
    QCOMPARE(image.pixelColor(48, 1), view_->palette().color(QPalette::Highlight));
    QCOMPARE(image.pixelColor(599, 1), view_->palette().color(QPalette::Highlight));
  }

  void HeaderBarHasSixFixedSections() {
    QHeaderView* header = view_->HeaderBar();
    QVERIFY(header != nullptr);
    QCOMPARE(header->orientation(), Qt::Horizontal);
    const QStringList captions = {U("アドレス"), U("ラベル"),  U("命令"),
                                  U("ﾊﾟﾗﾒｰﾀ1"),  U("ﾊﾟﾗﾒｰﾀ2"), U("コメント")};
    const std::vector<int> widths = {48, 48, 48, 56, 56, 240};
    QCOMPARE(header->count(), 6);
    for (int i = 0; i < 6; ++i) {
      QCOMPARE(header->model()->headerData(i, Qt::Horizontal).toString(), captions[i]);
      QCOMPARE(header->sectionSize(i), widths[size_t(i)]);
      const auto alignment = header->model()
                                 ->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole)
                                 .value<Qt::Alignment>();
      QCOMPARE(bool(alignment & Qt::AlignHCenter), i < 5);
      QCOMPARE(bool(alignment & Qt::AlignLeft), i == 5);
    }
    QVERIFY(!header->sectionsMovable());
    QCOMPARE(header->font().pixelSize(), 12);
    QCOMPARE(header->minimumHeight(), header->maximumHeight());
    QCOMPARE(header->height(), header->sizeHint().height());
    // Sections keep 32 pixels; the comment section has no minimum.
    header->resizeSection(1, 5);
    QCOMPARE(header->sectionSize(1), 32);
    header->resizeSection(5, 5);
    QCOMPARE(header->sectionSize(5), 5);
  }

  void ResizingASectionRepaints() {
    view_->resize(700, 120);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    QCoreApplication::processEvents();
    const qint64 before = view_->RowsDrawn();
    view_->HeaderBar()->resizeSection(2, 80);
    QTRY_VERIFY(view_->RowsDrawn() > before);
  }

  void ClickAndDoubleClickAndMenu() {
    view_->resize(700, 200);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    QSignalSpy clicked(view_.get(), &TListingView::RowClicked);
    QSignalSpy doubled(view_.get(), &TListingView::RowDoubleClicked);
    QSignalSpy menu(view_.get(), &TListingView::ContextMenuRequested);
    const auto rowPoint = [this](int row) { return view_->RowRect(row).center(); };

    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, rowPoint(3));
    QCOMPARE(view_->SelectedRow(), 3);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.last().at(0).toInt(), 3);
    // Clicking the selected row again is a click too.
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, rowPoint(3));
    QCOMPARE(clicked.count(), 2);

    QTest::mouseDClick(view_->viewport(), Qt::LeftButton, {}, rowPoint(kStartRow));
    QCOMPARE(doubled.count(), 1);
    QCOMPARE(doubled.last().at(0).toInt(), kStartRow);
    QCOMPARE(view_->SelectedRow(), kStartRow);

    clicked.clear();
    QTest::mousePress(view_->viewport(), Qt::RightButton, {}, rowPoint(7));
    QTest::mouseRelease(view_->viewport(), Qt::RightButton, {}, rowPoint(7));
    // The right button selects for the menu; it is no click.
    QCOMPARE(view_->SelectedRow(), 7);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(menu.count(), 1);

    // Below the last row nothing is selected.
    view_->SetRows(nullptr);
    clicked.clear();
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, rowPoint(0));
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(view_->SelectedRow(), -1);
  }

  void KeysMoveTheSelection() {
    view_->resize(700, 16 * 5 + 2 * view_->frameWidth());
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    QCOMPARE(view_->VisibleRowCount(), 5);
    QSignalSpy clicked(view_.get(), &TListingView::RowClicked);
    struct TStep {
      Qt::Key key;
      int row;
      int top;
    };
    const int last = view_->RowCount() - 1;
    const std::vector<TStep> steps = {
        {Qt::Key_Down, 1, 0},          {Qt::Key_PageDown, 4, 0},
        {Qt::Key_PageDown, 8, 4},      {Qt::Key_Up, 7, 4},
        {Qt::Key_PageUp, 4, 4},        {Qt::Key_PageUp, 0, 0},
        {Qt::Key_End, last, last - 4}, {Qt::Key_Home, 0, 0},
    };
    for (const TStep& step : steps) {
      QTest::keyClick(view_.get(), step.key);
      QCOMPARE(view_->SelectedRow(), step.row);
      QCOMPARE(view_->TopRow(), step.top);
      QCOMPARE(clicked.last().at(0).toInt(), step.row);
    }
    QCOMPARE(clicked.count(), int(steps.size()));
    // At the first row Up changes nothing and reports nothing.
    QTest::keyClick(view_.get(), Qt::Key_Up);
    QCOMPARE(view_->SelectedRow(), 0);
    QCOMPARE(clicked.count(), int(steps.size()));
  }

  void LettersAreLeftToOthers() {
    view_->SetSelectedRow(4);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    QApplication::sendEvent(view_.get(), &press);
    QVERIFY(!press.isAccepted());
    QCOMPARE(view_->SelectedRow(), 4);
  }

  void SetRowsAndSetSelectedRow() {
    view_->resize(700, 16 * 5 + 2 * view_->frameWidth());
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    QCOMPARE(view_->SelectedRow(), 0);
    QSignalSpy clicked(view_.get(), &TListingView::RowClicked);
    view_->SetSelectedRow(kHaltRow);
    QCOMPARE(view_->SelectedRow(), kHaltRow);
    QCOMPARE(view_->TopRow(), kHaltRow - 4);  // scrolled just far enough
    view_->SetSelectedRow(kHaltRow - 2);      // in sight: no scrolling
    QCOMPARE(view_->TopRow(), kHaltRow - 4);
    QCOMPARE(clicked.count(), 0);
    view_->SetSelectedRow(999);
    QCOMPARE(view_->SelectedRow(), -1);
    view_->SetRows(&host_->Program().Assembler().Listing());
    QCOMPARE(view_->SelectedRow(), 0);
    QCOMPARE(view_->TopRow(), 0);
    view_->SetRows(nullptr);
    QCOMPARE(view_->RowCount(), 0);
    QCOMPARE(view_->SelectedRow(), -1);
    QCOMPARE(view_->RowLook(0, false).Texts[Col::Label], QString());
  }

  // 100,000 rows: a paint draws only the rows in sight, wherever the view
  // stands, and the scroll range covers all rows.
  void PaintsOnlyTheRowsInSight() {
    std::vector<TAsmLine> lines(100000);
    TListingRows rows;
    for (int i = 0; i < int(lines.size()); ++i) {
      TAsmLine& line = lines[size_t(i)];
      line.LineIndex = i;
      line.Address = uint16_t(i);
      line.FieldCount = 1;
      line.Fields[0] = "NOP";
      line.Mnemonic = "NOP";
      rows.AddWithRef("NOP", &line);
    }
    view_->SetRows(&rows);
    view_->SetRowHeight(16);
    view_->resize(700, 16 * 20 + 8 + 2 * view_->frameWidth());
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    QCOMPARE(view_->VisibleRowCount(), 20);
    QCOMPARE(view_->verticalScrollBar()->maximum(), 100000 - 20);
    for (const int top : {0, 50000, 99980}) {
      view_->SetTopRow(top);
      QCOMPARE(view_->TopRow(), top);
      QImage image(view_->viewport()->size(), QImage::Format_RGB32);
      const qint64 before = view_->RowsDrawn();
      view_->viewport()->render(&image);
      // 20 whole rows and half of one, fewer at the end of the listing.
      QCOMPARE(view_->RowsDrawn() - before, qint64(std::min(21, 100000 - top)));
    }
    view_->SetRows(nullptr);
  }

 private:
  TTestFolders folders_;
  std::unique_ptr<TFakeHost> host_;
  std::unique_ptr<TListingView> view_;
};

QTEST_MAIN(TListingViewTest)
#include "listing_view_test.moc"
