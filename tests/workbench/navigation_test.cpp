// Navigation in the listing: the row kinds and the searches, the jump
// submenu of the listing's pop-up (with Shift for backwards), the letter
// keys of the listing and the label view, the jump history, and jumps whose
// target lies in a hidden unit.
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>

#include "machine/machine.h"
#include "main_window_test_support.h"
#include "monitor_qt/monitor_font.h"
#include "workbench/keyboard_table.h"
#include "workbench/navigation.h"

namespace {

// A main source with labels, important comments, errors and an include,
// then filler rows so that the listing scrolls.
QStringList MainProgram() {
  QStringList lines =
      Lines({"; navigation",  // row 0
             "START:  NOP          ; *first important", "        JP   FAR", "        CALL WORK",
             "        INCLUDE nav_lib.qasm", "AFTER:  NOP", "; *second important", "WORK:   RET",
             "        BOGUS 1", "FAR:    HALT"});
  for (int i = 0; i < 60; ++i)
    lines << QStringLiteral("        NOP          ; filler %1").arg(i);
  lines << QStringLiteral("LAST:   NOP");
  return lines;
}

QStringList LibraryProgram() {
  return Lines({"LIBTOP: NOP", "        BAD  1"});
}

// Counts the key presses (Shift aside) that reach the widget it watches.
class TKeySpy : public QObject {
 public:
  explicit TKeySpy(QWidget* widget) { widget->installEventFilter(this); }
  int presses = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Shift) ++presses;
    return false;
  }
};

// The rows of the listing that match kind.
QList<int> MatchingRows(TMainWindow& form, TRowKind kind) {
  QList<int> rows;
  for (int r = 0; r < form.ListingView()->RowCount(); ++r)
    if (form.Navigator().RowMatches(r, kind)) rows << r;
  return rows;
}

// Holds Shift down (as the application saw the last key event) while alive.
class TShiftHeld {
 public:
  explicit TShiftHeld(QWidget* widget) : widget_(widget) {
    QTest::keyPress(widget_, Qt::Key_Shift, Qt::ShiftModifier);
  }
  ~TShiftHeld() { QTest::keyRelease(widget_, Qt::Key_Shift, Qt::NoModifier); }

 private:
  QWidget* widget_;
};

}  // namespace

class TNavigationTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() {
    rig_ = std::make_unique<TWindowRig>();
    form_ = &rig_->CreateShown();
    rig_->WriteSource("nav_lib.qasm", LibraryProgram());
    const QString path = rig_->WriteSource("nav_main.qasm", MainProgram());
    QCOMPARE(form_->FileCommands().OpenFile(path), TLoadResult::AssemblyErrors);
    QCOMPARE(form_->Session().Assembler().ErrorLineCount(), 2);
    listing_ = form_->ListingView();
    marker_ = Row("LIBTOP") - 1;
  }
  void cleanup() { rig_.reset(); }

  // ---------------------------------------------------------- row kinds

  void RowKindsMatchTheirRows_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("rows");  // labels, or "marker", or "BAD"/"BOGUS" rows
    QTest::newRow("label") << int(TRowKind::Label)
                           << QStringList{"START", "LIBTOP", "AFTER", "WORK", "FAR", "LAST"};
    // The include marker, the included file's first row, and the first
    // row after it; the end marker belongs to the included file.
    QTest::newRow("include boundary")
        << int(TRowKind::IncludeBoundary) << QStringList{"marker", "LIBTOP", "AFTER"};
    QTest::newRow("error") << int(TRowKind::Error) << QStringList{"BAD", "BOGUS"};
    QTest::newRow("important comment")
        << int(TRowKind::ImportantComment) << QStringList{"START", "comment"};
  }
  void RowKindsMatchTheirRows() {
    QFETCH(int, kind);
    QFETCH(QStringList, rows);
    QList<int> expected;
    for (const QString& name : rows)
      expected << Row(name);
    QCOMPARE(MatchingRows(*form_, TRowKind(kind)), expected);
  }

  void RowZeroIsNoBoundaryAndRowsOutsideMatchNothing() {
    // An included file's first row at the very top: the first row of a
    // listing is never a boundary.
    const QString path = rig_->WriteSource("top.qasm", Lines({"  INCLUDE nav_lib.qasm"}));
    QCOMPARE(form_->FileCommands().OpenFile(path), TLoadResult::AssemblyErrors);
    QVERIFY(!form_->Navigator().RowMatches(0, TRowKind::IncludeBoundary));
    QVERIFY(form_->Navigator().RowMatches(1, TRowKind::IncludeBoundary));
    for (TRowKind kind : {TRowKind::Label, TRowKind::Error, TRowKind::Breakpoint}) {
      QVERIFY(!form_->Navigator().RowMatches(-1, kind));
      QVERIFY(!form_->Navigator().RowMatches(listing_->RowCount(), kind));
    }
  }

  // ---------------------------------------------------------- searching

  void IncludeSearchStopsAtAllThreeBoundariesAndDoesNotWrap() {
    const TListingPopup& p = form_->ListingPopup();
    const int stops[] = {marker_, Row("LIBTOP"), Row("AFTER"), Row("AFTER")};
    for (int stop : stops) {
      p.NextInclude->trigger();
      QCOMPARE(listing_->SelectedRow(), stop);
    }
    // As clicks: every stop went on the history.
    QCOMPARE(form_->Navigator().JumpList().ToVector(),
             (std::vector<std::string>{"0", std::to_string(marker_), std::to_string(Row("LIBTOP")),
                                       std::to_string(Row("AFTER"))}));
  }

  void SearchesWithoutAMatchLeaveTheSelection() {
    const TListingPopup& p = form_->ListingPopup();
    form_->Navigator().SelectListingRow(Row("FAR"), 3, true);
    p.NextError->trigger();
    QCOMPARE(listing_->SelectedRow(), Row("FAR"));
    p.NextImportant->trigger();
    QCOMPARE(listing_->SelectedRow(), Row("FAR"));
    // Backwards from the top finds nothing either.
    form_->Navigator().SelectListingRow(0, 3, true);
    form_->Navigator().FindRow(TRowKind::Label, true);
    QCOMPARE(listing_->SelectedRow(), 0);
  }

  void ShiftMakesTheSubmenuSearchBackwards() {
    const TListingPopup& p = form_->ListingPopup();
    form_->Navigator().SelectListingRow(Row("FAR"), 3, true);
    {
      TShiftHeld shift(listing_);
      QVERIFY(QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
      p.NextError->trigger();
      QCOMPARE(listing_->SelectedRow(), Row("BOGUS"));
      p.NextError->trigger();
      QCOMPARE(listing_->SelectedRow(), Row("BAD"));
      p.NextLabel->trigger();
      QCOMPARE(listing_->SelectedRow(), Row("LIBTOP"));
      p.NextImportant->trigger();
      QCOMPARE(listing_->SelectedRow(), Row("START"));
    }
    // Released: forwards again.
    p.NextLabel->trigger();
    QCOMPARE(listing_->SelectedRow(), Row("LIBTOP"));
  }

  void BreakpointSearchFollowsTheList() {
    TBoolList& breakpoints = form_->Session().Breakpoints();
    breakpoints.SetMember(LineOf(Row("WORK")), true);
    breakpoints.SetMember(LineOf(Row("LAST")), true);
    QTest::keyClick(listing_, Qt::Key_B);
    QCOMPARE(listing_->SelectedRow(), Row("WORK"));
    QTest::keyClick(listing_, Qt::Key_B);
    QCOMPARE(listing_->SelectedRow(), Row("LAST"));
    QTest::keyClick(listing_, Qt::Key_B);
    QCOMPARE(listing_->SelectedRow(), Row("LAST"));
    QTest::keyClick(listing_, Qt::Key_B, Qt::ShiftModifier);
    QCOMPARE(listing_->SelectedRow(), Row("WORK"));
  }

  // ---------------------------------------------------------- letter keys

  void LetterKeysOfTheListing_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("to");
    QTest::newRow("E") << "START" << int(Qt::Key_E) << false << "BAD";
    QTest::newRow("Shift+E") << "FAR" << int(Qt::Key_E) << true << "BOGUS";
    QTest::newRow("H") << "START" << int(Qt::Key_H) << false << "comment";
    QTest::newRow("Shift+H") << "FAR" << int(Qt::Key_H) << true << "comment";
    QTest::newRow("I") << "AFTER" << int(Qt::Key_I) << false << "AFTER";
    QTest::newRow("Shift+I") << "AFTER" << int(Qt::Key_I) << true << "LIBTOP";
    QTest::newRow("L") << "LIBTOP" << int(Qt::Key_L) << false << "AFTER";
    QTest::newRow("Shift+L") << "LIBTOP" << int(Qt::Key_L) << true << "START";
    QTest::newRow("J on CALL") << "CALL" << int(Qt::Key_J) << false << "WORK";
    QTest::newRow("J on JP") << "JP" << int(Qt::Key_J) << false << "FAR";
    QTest::newRow("J on NOP") << "AFTER" << int(Qt::Key_J) << false << "AFTER";
    QTest::newRow("P") << "LAST" << int(Qt::Key_P) << false << "START";
    QTest::newRow("Q") << "WORK" << int(Qt::Key_Q) << false << "WORK";
  }
  void LetterKeysOfTheListing() {
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(QString, to);
    form_->Navigator().SelectListingRow(Row(from), 3, true);
    const int entries = form_->Navigator().JumpList().Count();
    TKeySpy spy(listing_);
    QTest::keyClick(listing_, Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(listing_->SelectedRow(), Row(to));
    // Every letter is consumed before the list sees it.
    QCOMPARE(spy.presses, 0);
    // A move is recorded as a click; no move records nothing.
    QCOMPARE(form_->Navigator().JumpList().Count(), entries + (from == to ? 0 : 1));
  }

  void OtherKeysStillReachTheListing() {
    TKeySpy spy(listing_);
    QTest::keyClick(listing_, Qt::Key_Down);
    QCOMPARE(spy.presses, 1);
    QCOMPARE(listing_->SelectedRow(), 1);
    QTest::keyClick(listing_, Qt::Key_5);
    QCOMPARE(spy.presses, 2);
  }

  void TheLabelViewSwallowsLetters() {
    TLabelView* labels = form_->LabelView();
    TKeySpy spy(labels);
    const int current = labels->CurrentRow();
    QTest::keyClick(labels, Qt::Key_W);
    QTest::keyClick(labels, Qt::Key_E, Qt::ShiftModifier);
    QCOMPARE(spy.presses, 0);
    QCOMPARE(labels->CurrentRow(), current);
    // And starts no search in the listing.
    QCOMPARE(listing_->SelectedRow(), 0);
    QTest::keyClick(labels, Qt::Key_Down);
    QCOMPARE(spy.presses, 1);
  }

  void LettersPassElsewhere() {
    QDialog dialog(form_);
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new QLineEdit(&dialog);
    layout->addWidget(edit);
    dialog.show();
    QTest::keyClicks(edit, QStringLiteral("bEhIlJpZq"));
    QCOMPARE(edit->text(), QStringLiteral("bEhIlJpZq"));
    QCOMPARE(listing_->SelectedRow(), 0);
  }

  void MenuMnemonicsStillWorkFromTheListing() {
    // Alt with a letter is the menu bar's, not a search key: the file menu
    // opens although the listing has the focus.
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_));
    listing_->setFocus();
    const QMenu* file = form_->Menus().File;
    QVERIFY(!file->isVisible());
    QTest::keyClick(listing_, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(file->isVisible());
    QCOMPARE(listing_->SelectedRow(), 0);
  }

  void AConsumedLetterStillCountsAsDown() {
    QTest::keyPress(listing_, Qt::Key_Q);
    QVERIFY(form_->Document().KeyboardTable().IsDown(0x51));
    QTest::keyRelease(listing_, Qt::Key_Q);
    QVERIFY(!form_->Document().KeyboardTable().IsDown(0x51));
  }

  // ---------------------------------------------------------- submenu jumps

  void SubmenuJumpsToTargetsAndTheExecutionPosition() {
    const TListingPopup& p = form_->ListingPopup();
    form_->Navigator().SelectListingRow(Row("JP"), 3, true);
    p.JumpTarget->trigger();
    QCOMPARE(listing_->SelectedRow(), Row("FAR"));
    p.JumpTarget->trigger();  // HALT is no jump
    QCOMPARE(listing_->SelectedRow(), Row("FAR"));
    form_->Session().Machine().WriteWord(TQRXEmulater::PC, Address("WORK"));
    p.ExecutionPosition->trigger();
    QCOMPARE(listing_->SelectedRow(), Row("WORK"));
  }

  // ---------------------------------------------------------- history

  void BackWalksTheHistoryDownToItsBottomEntry() {
    const TListingPopup& p = form_->ListingPopup();
    for (int row : {5, 10, 15})
      form_->Navigator().SelectListingRow(row, 3, true);
    QCOMPARE(form_->Navigator().JumpList().ToVector(),
             (std::vector<std::string>{"0", "5", "10", "15"}));
    // The selected row is the last entry: it is skipped.
    const int stops[] = {10, 5, 0, 0, 0};
    for (int stop : stops) {
      p.Back->trigger();
      QCOMPARE(listing_->SelectedRow(), stop);
    }
    QCOMPARE(form_->Navigator().JumpList().ToVector(), std::vector<std::string>{"0"});
  }

  void BackFromARowOffTheHistoryLandsOnTheLastEntry() {
    for (int row : {5, 10})
      form_->Navigator().SelectListingRow(row, 3, true);
    // Selected without a click: not recorded.
    form_->Navigator().SelectListingRow(30, 3, false);
    QTest::keyClick(listing_, Qt::Key_Z);
    QCOMPARE(listing_->SelectedRow(), 10);
    // Back records nothing.
    QCOMPARE(form_->Navigator().JumpList().ToVector(), (std::vector<std::string>{"0", "5"}));
    QTest::keyClick(listing_, Qt::Key_Z);
    QCOMPARE(listing_->SelectedRow(), 5);
  }

  void DefinitionJumpOfTheLabelViewGoesOnTheHistory() {
    TLabelView* labels = form_->LabelView();
    const int row = LabelKeys(*form_).indexOf(QStringLiteral("WORK.*"));
    QVERIFY(row >= 6);
    labels->SetCurrentRow(row);
    form_->LabelPopup().JumpToDefinition->trigger();
    QCOMPARE(listing_->SelectedRow(), Row("WORK"));
    QCOMPARE(form_->Navigator().JumpList().TopNumber(), Row("WORK"));
    QTest::keyClick(listing_, Qt::Key_Z);
    QCOMPARE(listing_->SelectedRow(), 0);
  }

  // ---------------------------------------------------------- hidden units

  void ATargetInAHiddenUnitLeavesTheSelection() {
    const QString path = rig_->WriteSource(
        "units.qasm",
        Lines({"        USES MATH", "CALLER: CALL TWICE", "        HALT", "MATH:   UNIT",
               "TWICE:  ADD  V, #1", "        RET", "V:      DW   0", "        ENDUNIT"}));
    QCOMPARE(form_->FileCommands().OpenFile(path), TLoadResult::Clean);
    QVERIFY(ShowUnit("MATH", true));
    form_->Navigator().SelectListingRow(Row("CALLER"), 3, true);
    form_->Navigator().JumpTo(TJumpKind::CallTarget);
    QVERIFY(Row("TWICE") > 0);
    QCOMPARE(listing_->SelectedRow(), Row("TWICE"));

    QVERIFY(ShowUnit("MATH", false));
    QCOMPARE(Row("TWICE"), -1);
    form_->Navigator().SelectListingRow(Row("CALLER"), 3, true);
    form_->Navigator().JumpTo(TJumpKind::CallTarget);
    QCOMPARE(listing_->SelectedRow(), Row("CALLER"));
    // The execution position inside the unit does not move it either.
    form_->Session().Machine().WriteWord(TQRXEmulater::PC, Address("TWICE"));
    QTest::keyClick(listing_, Qt::Key_P);
    QCOMPARE(listing_->SelectedRow(), Row("CALLER"));
  }

 private:
  // Shows or hides a unit's lines in the listing, as the unit dialog does.
  bool ShowUnit(const char* name, bool visible) {
    TQRXAssembler& assembler = form_->Session().Assembler();
    for (int i = 0; i < assembler.Units().Count(); ++i) {
      if (assembler.UnitNameAt(i) != name) continue;
      assembler.SetUnitVisible(i, visible);
      assembler.BuildListing();
      listing_->SetRows(&assembler.Listing());
      return true;
    }
    return false;
  }
  // The row of a label, of the include marker ("marker"), of the first row
  // with a mnemonic ("BAD", "BOGUS", "CALL", "JP"), or of the second
  // important comment ("comment").
  int Row(const QString& name) const {
    if (name == QLatin1String("marker")) return marker_;
    const TListingRows& rows = form_->Session().Assembler().Listing();
    for (int r = 0; r < rows.Count(); ++r) {
      const TAsmLine* line = rows.Ref(r);
      if (name == QLatin1String("comment")) {
        if (line->FieldCount == 0 && line->Comment.rfind("*second", 0) == 0) return r;
        continue;
      }
      if (line->LabelName == name.toStdString()) return r;
      if (line->LabelName.empty() && line->FieldCount > 0 && line->Fields[0] == name.toStdString())
        return r;
    }
    return -1;
  }
  int LineOf(int row) const { return form_->Session().Assembler().Listing().Ref(row)->LineIndex; }
  // The address of the line that defines label (in any unit).
  uint16_t Address(const char* label) const {
    const TQRXAssembler& assembler = form_->Session().Assembler();
    for (int i = 0; i < assembler.LineCount(); ++i)
      if (assembler.LineAt(i).LabelName == label) return assembler.LineAt(i).Address;
    return 0;
  }

  std::unique_ptr<TWindowRig> rig_;
  TMainWindow* form_ = nullptr;
  TListingView* listing_ = nullptr;
  int marker_ = -1;
};

QTEST_MAIN(TNavigationTest)
#include "navigation_test.moc"
