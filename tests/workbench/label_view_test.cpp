// The label view: register rows, the value columns by label kind and number
// format, colours of selected rows, the path column, the header bar, and
// multi-selection by mouse and keyboard.
#include <QHeaderView>
#include <QSignalSpy>
#include <vector>

#include "machine/machine.h"
#include "view_test_support.h"
#include "workbench/label_view.h"

namespace {

using Col = TLabelRowLook::Column;

// Addresses: START 0 (LD A,#1 = 1009 0003 0001), A 3, ^P 4 (holds 3),
// >L 5 (NOP = 0000), SUB and LOOP 6 (JP LOOP = 4002 0006), *0000 8 (NOP),
// HALT 9.
const QStringList kSource = {
    "#N EQU 5",    "#M EQU 0FFFFh", "K EQU 7",        "START: LD A,#1", "A:     DW 0",
    "^P:    DW A", ">L:    NOP",    "SUB:   PROC",    "LOOP:  JP LOOP", "       ENDPROC",
    "       PROC", "       NOP",    "       ENDPROC", "       HALT",
};

// Every kind of label, and the selected ones.
constexpr uint16_t kAllKinds = 0x080 | 0x002 | 0x004 | 0x010 | 0x040 | 0x100;

}  // namespace

class TLabelViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    host_ = std::make_unique<TFakeHost>();
    const std::string path = folders_.WriteSource("labels.qasm", kSource);
    QVERIFY(!path.empty());
    TLoadOutcome outcome;
    QCOMPARE(host_->Program().LoadFile(path, outcome), TLoadResult::Clean);
    rows_ = std::make_unique<TLabelViewModel>(host_->Program().Assembler());
    rows_->SetSorted(true);
    rows_->Build(kAllKinds);
    TQRXEmulater& machine = host_->Program().Machine();
    machine.WriteWord(TQRXEmulater::PC, 4);
    machine.WriteWord(TQRXEmulater::VF, 1);
    view_ = std::make_unique<TLabelView>(*host_);
    view_->SetModel(rows_.get());
  }
  void cleanup() {
    view_.reset();
    rows_.reset();
    host_.reset();
  }

  void RegistersComeFirstInBoldOnButtonFace() {
    const QStringList names = {"PC", "SP", "VF", "SF", "ZF", "CF"};
    QVERIFY(view_->RowCount() > 6);
    for (int row = 0; row < 6; ++row) {
      const TLabelRowLook look = view_->RowLook(row, false);
      QCOMPARE(look.Texts[Col::Name], names[row]);
      QVERIFY(look.Bold);
      QVERIFY(!look.ValuesBold);
      QCOMPARE(look.Background, view_->palette().color(QPalette::Button));
      QCOMPARE(look.Texts[Col::Path], QString());
    }
    const TLabelRowLook label = view_->RowLook(6, false);
    QVERIFY(!label.Bold);
    QCOMPARE(label.Background, kViewBackground);
  }

  void ValuesByKind_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("texts");    // name, value, referenced, indirect, path
    QTest::addColumn<QStringList>("colours");  // of value, referenced, indirect
    QTest::newRow("PC pointer") << "PC" << QStringList{"PC", "FFFF", "0004", "0003", ""}
                                << QStringList{"accent", "accent", "normal"};
    QTest::newRow("SP pointer") << "SP" << QStringList{"SP", "FFFE", "FFEF", "0000", ""}
                                << QStringList{"accent", "accent", "normal"};
    QTest::newRow("VF variable") << "VF" << QStringList{"VF", "FFFD", "0001", "0003", ""}
                                 << QStringList{"accent", "normal", "grey"};
    QTest::newRow("value-only") << "N.*" << QStringList{"#N", "0005", "0000", "1009", "*"}
                                << QStringList{"normal", "grey", "grey"};
    QTest::newRow("value-only FFFF") << "M.*" << QStringList{"#M", "FFFF", "0004", "0003", "*"}
                                     << QStringList{"normal", "grey", "grey"};
    QTest::newRow("EQU variable") << "K.*" << QStringList{"K", "0007", "0006", "4002", "*"}
                                  << QStringList{"accent", "normal", "grey"};
    QTest::newRow("variable") << "START.*" << QStringList{"START", "0000", "1009", "0000", "*"}
                              << QStringList{"accent", "normal", "grey"};
    QTest::newRow("pointer") << "^P.*" << QStringList{"^P", "0004", "0003", "0000", "*"}
                             << QStringList{"accent", "accent", "normal"};
    QTest::newRow("line label") << ">L.*" << QStringList{">L", "0005", "0000", "1009", "*"}
                                << QStringList{"accent", "grey", "grey"};
    QTest::newRow("inner label") << "LOOP.SUB.*"
                                 << QStringList{"LOOP", "0006", "4002", "0000", "SUB.*"}
                                 << QStringList{"accent", "normal", "grey"};
    QTest::newRow("automatic") << "*0000.*" << QStringList{"*0000", "0008", "0000", "1009", "*"}
                               << QStringList{"accent", "grey", "grey"};
  }
  void ValuesByKind() {
    QFETCH(QString, key);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, colours);
    const int row = RowOf(key);
    QVERIFY2(row >= 0, qPrintable(key));
    const TLabelRowLook look = view_->RowLook(row, false);
    for (int column = 0; column < Col::ColumnCount; ++column)
      QCOMPARE(look.Texts[column], texts[column]);
    const QColor normal = view_->palette().color(QPalette::WindowText);
    for (int i = 0; i < 3; ++i) {
      const QColor expected = colours[i] == "accent" ? kLabelAccent
                              : colours[i] == "grey" ? kLabelGrey
                                                     : normal;
      QCOMPARE(look.Colours[Col::Value + i], expected);
    }
    QCOMPARE(look.Colours[Col::Name], normal);
    QCOMPARE(look.Colours[Col::Path], normal);
  }

  // Values read as values follow the signed mode; addresses never do.
  void NumberFormats_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("valueOnly");  // #M, 0xFFFF as a value
    QTest::addColumn<QString>("pc");         // the PC row's own address
    QTest::addColumn<QString>("pointer");    // ^P's word, 3, as an address
    QTest::newRow("signed") << int(TNumberFormat::SignedDecimal) << "-1"
                            << "65535"
                            << "3";
    QTest::newRow("unsigned") << int(TNumberFormat::UnsignedDecimal) << "65535"
                              << "65535"
                              << "3";
    QTest::newRow("hexadecimal") << int(TNumberFormat::Hexadecimal) << "FFFF"
                                 << "FFFF"
                                 << "0003";
  }
  void NumberFormats() {
    QFETCH(int, format);
    QFETCH(QString, valueOnly);
    QFETCH(QString, pc);
    QFETCH(QString, pointer);
    host_->SetNumberFormat(static_cast<TNumberFormat>(format));
    QCOMPARE(view_->RowLook(RowOf("M.*"), false).Texts[Col::Value], valueOnly);
    QCOMPARE(view_->RowLook(0, false).Texts[Col::Value], pc);
    QCOMPARE(view_->RowLook(RowOf("^P.*"), false).Texts[Col::Referenced], pointer);
  }

  void SelectedRowTurnsAccentRedAndNormalToHighlightText() {
    const QPalette& palette = view_->palette();
    const TLabelRowLook pointer = view_->RowLook(RowOf("^P.*"), true);
    QCOMPARE(pointer.Background, palette.color(QPalette::Highlight));
    QCOMPARE(pointer.Colours[Col::Value], QColor(255, 0, 0));
    QCOMPARE(pointer.Colours[Col::Referenced], QColor(255, 0, 0));
    QCOMPARE(pointer.Colours[Col::Indirect], palette.color(QPalette::HighlightedText));
    QCOMPARE(pointer.Colours[Col::Name], palette.color(QPalette::HighlightedText));
    const TLabelRowLook line = view_->RowLook(RowOf(">L.*"), true);
    QCOMPARE(line.Colours[Col::Referenced], kLabelGrey);
    const TLabelRowLook reg = view_->RowLook(0, true);
    QCOMPARE(reg.Background, palette.color(QPalette::Highlight));
  }

  // Label rows turn white while the view has the focus; register rows stay
  // on button face either way.
  void FocusWhitensTheLabelRows() {
    QWidget other;
    view_->setParent(&other);
    auto* field = new QWidget(&other);
    field->setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    const QColor button = view_->palette().color(QPalette::Button);
    view_->setFocus();
    QTRY_VERIFY(view_->hasFocus());
    QCOMPARE(view_->RowLook(6, false).Background, kViewFocusBackground);
    QCOMPARE(view_->RowLook(0, false).Background, button);
    field->setFocus();
    QTRY_VERIFY(!view_->hasFocus());
    QCOMPARE(view_->RowLook(6, false).Background, kViewBackground);
    QCOMPARE(view_->RowLook(0, false).Background, button);
    view_->setParent(nullptr);
  }

  void SelectedLabelsAreBold() {
    const int row = RowOf("START.*");
    host_->Program().Assembler().Labels().FindRecord("START.*")->Selected = true;
    const TLabelRowLook look = view_->RowLook(row, false);
    QVERIFY(look.Bold);
    QVERIFY(look.ValuesBold);
  }

  void ValuesAreReadWhenDrawn() {
    const int row = RowOf("A.*");
    QCOMPARE(view_->RowLook(row, false).Texts[Col::Referenced], QStringLiteral("0000"));
    host_->Program().Machine().WriteWord(3, 0x1234);
    QCOMPARE(view_->RowLook(row, false).Texts[Col::Referenced], QStringLiteral("1234"));
  }

  void DrawsWhatTheLookSays() {
    view_->resize(400, 200);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    QImage image(view_->viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    view_->viewport()->render(&image);
    const QColor button = view_->palette().color(QPalette::Button);
    // Row 0 (PC): button face to the row's end, accent values in the
    // value columns (42 .. 186), no path drawn.
    QCOMPARE(image.pixelColor(0, 1), button);
    QCOMPARE(image.pixelColor(image.width() - 1, 1), button);
    QVERIFY(HasPixelNear(image, QRect(42, 0, 144, 16), kLabelAccent));
    // Row 6 on the list background (white while focused); below the last
    // row too.
    const QColor background = view_->hasFocus() ? kViewFocusBackground : kViewBackground;
    QCOMPARE(image.pixelColor(image.width() - 1, 6 * 16 + 1), background);
    QCOMPARE(image.pixelColor(1, image.height() - 1), background);
    // A selected row is highlighted to its end.
    view_->SetRowSelected(7, true);
    view_->viewport()->render(&image);
    QCOMPARE(image.pixelColor(image.width() - 1, 7 * 16 + 1),
             view_->palette().color(QPalette::Highlight));
  }

  void HeaderBarHasFiveSections() {
    QHeaderView* header = view_->HeaderBar();
    const QStringList captions = {QString::fromUtf8("ラベル"), QString::fromUtf8("値"),
                                  QString::fromUtf8("参照値"), QString::fromUtf8("間接値"),
                                  QString::fromUtf8("パス")};
    const std::vector<int> widths = {42, 48, 48, 48, 48};
    QCOMPARE(header->count(), 5);
    for (int i = 0; i < 5; ++i) {
      QCOMPARE(header->model()->headerData(i, Qt::Horizontal).toString(), captions[i]);
      QCOMPARE(header->sectionSize(i), widths[size_t(i)]);
      const auto alignment = header->model()
                                 ->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole)
                                 .value<Qt::Alignment>();
      QVERIFY(alignment & Qt::AlignHCenter);
    }
    header->resizeSection(4, 3);
    QCOMPARE(header->sectionSize(4), 32);
    QCOMPARE(header->height(), header->sizeHint().height());
  }

  void MultiSelectionByMouse() {
    view_->resize(400, 300);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    QSignalSpy clicked(view_.get(), &TLabelView::RowClicked);
    QSignalSpy doubled(view_.get(), &TLabelView::RowDoubleClicked);
    QSignalSpy menu(view_.get(), &TLabelView::ContextMenuRequested);
    const auto at = [](int row) { return QPoint(20, row * 16 + 8); };
    struct TStep {
      Qt::MouseButton button;
      Qt::KeyboardModifiers modifiers;
      int row;
      std::vector<int> selected;
    };
    const std::vector<TStep> steps = {
        {Qt::LeftButton, Qt::NoModifier, 2, {2}},
        {Qt::LeftButton, Qt::ControlModifier, 4, {2, 4}},
        {Qt::LeftButton, Qt::ControlModifier, 2, {4}},
        // Shift extends from the row clicked last.
        {Qt::LeftButton, Qt::ShiftModifier, 7, {2, 3, 4, 5, 6, 7}},
        {Qt::LeftButton, Qt::ShiftModifier, 1, {1, 2}},
        {Qt::LeftButton, Qt::NoModifier, 5, {5}},
        {Qt::LeftButton, Qt::ShiftModifier, 3, {3, 4, 5}},
        {Qt::LeftButton, Qt::NoModifier, 1, {1}},
    };
    for (const TStep& step : steps) {
      QTest::mouseClick(view_->viewport(), step.button, step.modifiers, at(step.row));
      QCOMPARE(view_->SelectedRows(), step.selected);
      QCOMPARE(view_->CurrentRow(), step.row);
      QCOMPARE(clicked.last().at(0).toInt(), step.row);
    }
    QCOMPARE(clicked.count(), int(steps.size()));

    QTest::mouseDClick(view_->viewport(), Qt::LeftButton, {}, at(5));
    QCOMPARE(doubled.count(), 1);
    QCOMPARE(doubled.last().at(0).toInt(), 5);

    // The right button keeps a selection it points into, and replaces one it
    // points outside of.
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, at(2));
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(4));
    QTest::mousePress(view_->viewport(), Qt::RightButton, {}, at(3));
    QTest::mouseRelease(view_->viewport(), Qt::RightButton, {}, at(3));
    QCOMPARE(view_->SelectedRows(), (std::vector<int>{2, 3, 4}));
    QCOMPARE(menu.count(), 1);
    const int clicks = clicked.count();
    QTest::mousePress(view_->viewport(), Qt::RightButton, {}, at(8));
    QTest::mouseRelease(view_->viewport(), Qt::RightButton, {}, at(8));
    QCOMPARE(view_->SelectedRows(), (std::vector<int>{8}));
    QCOMPARE(view_->CurrentRow(), 8);
    QCOMPARE(menu.count(), 2);
    // Neither right-click is a click.
    QCOMPARE(clicked.count(), clicks);
  }

  void MultiSelectionByKeys() {
    view_->resize(400, 300);
    QSignalSpy clicked(view_.get(), &TLabelView::RowClicked);
    QCOMPARE(view_->CurrentRow(), 0);
    QVERIFY(view_->SelectedRows().empty());
    QTest::keyClick(view_.get(), Qt::Key_Down);
    QCOMPARE(view_->CurrentRow(), 1);
    QCOMPARE(view_->SelectedRows(), std::vector<int>{1});
    QTest::keyClick(view_.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view_.get(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(view_->SelectedRows(), (std::vector<int>{1, 2, 3}));
    QTest::keyClick(view_.get(), Qt::Key_End);
    QCOMPARE(view_->CurrentRow(), view_->RowCount() - 1);
    QCOMPARE(view_->SelectedRows(), std::vector<int>{view_->RowCount() - 1});
    QTest::keyClick(view_.get(), Qt::Key_Home);
    QCOMPARE(view_->SelectedRows(), std::vector<int>{0});
    QCOMPARE(clicked.count(), 5);
    QCOMPARE(clicked.last().at(0).toInt(), 0);
    // A letter is not the view's business.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_L, Qt::NoModifier, QStringLiteral("l"));
    QApplication::sendEvent(view_.get(), &press);
    QVERIFY(!press.isAccepted());
    QCOMPARE(view_->CurrentRow(), 0);
  }

  void SetModelClearsTheSelection() {
    view_->SetRowSelected(3, true);
    view_->SetRowSelected(5, true);
    view_->SetCurrentRow(5);
    QCOMPARE(view_->SelectedRows(), (std::vector<int>{3, 5}));
    rows_->Build(0x080);  // registers only
    view_->SetModel(rows_.get());
    QCOMPARE(view_->RowCount(), 6);
    QVERIFY(view_->SelectedRows().empty());
    QCOMPARE(view_->CurrentRow(), 0);
    view_->SetModel(nullptr);
    QCOMPARE(view_->RowCount(), 0);
    QCOMPARE(view_->CurrentRow(), -1);
  }

 private:
  int RowOf(const QString& key) const {
    const TLabelViewRows& rows = rows_->Rows();
    return rows.IndexOf(key.toStdString());
  }

  TTestFolders folders_;
  std::unique_ptr<TFakeHost> host_;
  std::unique_ptr<TLabelViewModel> rows_;
  std::unique_ptr<TLabelView> view_;
};

QTEST_MAIN(TLabelViewTest)
#include "label_view_test.moc"
