// What the main window does with the views: breakpoints, the pop-up menus'
// rules, the number format and the label filters, the memory grid's click,
// selecting listing rows with the jump history, jumps, and following the
// machine after instructions ran.
#include <QMenu>
#include <QTableView>

#include "machine/machine.h"
#include "main_window_test_support.h"
#include "monitor_qt/monitor_font.h"

namespace {

// A program with a label of every kind, a macro, a procedure without a
// name (an automatic label), and enough rows to scroll.
QStringList Program() {
  QStringList lines =
      Lines({"; kinds of labels",  // row 0: a comment
             "#K EQU 5", "INC1: MACRO %X", "  ADD %X, #1", "  ENDMACRO", "START: LD COUNT, #K",
             "LOOP:", "  INC1 COUNT", "  CALL WORK.*0000", "  JP LOOP", "  HALT", "  PROC",
             "WORK: NOP", "  RET", "  ENDPROC", "COUNT: DW 0", "^PTR: DW COUNT", ">MARK: DW 7"});
  for (int i = 0; i < 80; ++i)
    lines << QStringLiteral("  NOP ; filler %1").arg(i);
  return lines;
}

// Counts the paint events of the widgets it watches.
class TPaintCounter : public QObject {
 public:
  void Watch(QWidget* widget) {
    widget->installEventFilter(this);
    counts_[widget] = 0;
  }
  void Reset() {
    for (auto& count : counts_)
      count = 0;
  }
  int Count(QWidget* widget) const { return counts_.value(widget); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      auto* widget = static_cast<QWidget*>(watched);
      if (counts_.contains(widget)) ++counts_[widget];
    }
    return false;
  }

 private:
  QHash<QWidget*, int> counts_;
};

int RowOf(TMainWindow& form, const char* label) {
  return RowOfLabel(form, label);
}

// The first row with the mnemonic; with code set, only rows that hold code
// (the macro's body lines are listed as directives).
int RowWithMnemonic(TMainWindow& form, const std::string& mnemonic, bool code = false) {
  const TListingRows& rows = form.Session().Assembler().Listing();
  for (int r = 0; r < rows.Count(); ++r) {
    const TAsmLine* line = rows.Ref(r);
    if (line->Mnemonic == mnemonic && (!code || !line->IsDirective)) return r;
  }
  return -1;
}

// The label view's keys after the six registers, in sorted order.
QStringList SortedLabelKeys(TMainWindow& form) {
  QStringList keys = LabelKeys(form);
  if (keys.mid(0, 6) != QStringList({"PC", "SP", "VF", "SF", "ZF", "CF"})) return {"no registers"};
  keys = keys.mid(6);
  keys.sort();
  return keys;
}

uint16_t AddressOf(TMainWindow& form, const char* key) {
  return static_cast<uint16_t>(form.Session().Assembler().Labels().RecordOf(key).Value);
}

}  // namespace

class TViewCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() {
    rig_ = std::make_unique<TWindowRig>();
    form_ = &rig_->CreateShown();
    path_ = rig_->WriteSource("kinds.qasm", Program());
    QCOMPARE(form_->FileCommands().OpenFile(path_), TLoadResult::Clean);
  }
  void cleanup() { rig_.reset(); }

  // ---------------------------------------------------------- breakpoints

  void DoubleClickTogglesBreakpointsOnCodeRowsOnly() {
    TListingView* listing = form_->ListingView();
    TBoolList& breakpoints = form_->Session().Breakpoints();
    const int code = RowOf(*form_, "START");
    const int line = form_->Session().Assembler().Listing().Ref(code)->LineIndex;
    listing->SetSelectedRow(code);
    emit listing->RowDoubleClicked(code);
    QVERIFY(breakpoints.Contains(line));
    QCOMPARE(listing->RowLook(code, true).AddressBackground, QColor(Qt::yellow));
    emit listing->RowDoubleClicked(code);
    QVERIFY(!breakpoints.Contains(line));

    // A DW row holds code too.
    const int data = RowOf(*form_, "COUNT");
    listing->SetSelectedRow(data);
    emit listing->RowDoubleClicked(data);
    QCOMPARE(breakpoints.Count(), 1);
    breakpoints.Clear();

    // Comment, EQU, PROC and ENDPROC rows take none.
    const int rows[] = {0, RowOf(*form_, "K"), RowWithMnemonic(*form_, "PROC"),
                        RowWithMnemonic(*form_, "ENDPROC")};
    for (int row : rows) {
      QVERIFY(row >= 0);
      listing->SetSelectedRow(row);
      emit listing->RowDoubleClicked(row);
      QVERIFY2(breakpoints.Empty(), qPrintable(QString::number(row)));
    }
  }

  void ListingPopupFollowsTheSelectedRow() {
    const TListingPopup& p = form_->ListingPopup();
    TListingView* listing = form_->ListingView();
    const int code = RowOf(*form_, "START");
    listing->SetSelectedRow(code);
    form_->Views().ListingMenuPopup();
    QCOMPARE(p.Breakpoint->text(), QStringLiteral("ブレークポイント設定(&B)"));
    QVERIFY(p.Breakpoint->isEnabled());
    QVERIFY(!p.ClearBreakpoints->isEnabled());
    QVERIFY(p.EditSource->isEnabled());
    QVERIFY(!p.EditMacroSource->isEnabled());
    QVERIFY(p.Jump->menuAction()->isEnabled());

    p.Breakpoint->trigger();
    form_->Views().ListingMenuPopup();
    QCOMPARE(p.Breakpoint->text(), QStringLiteral("ブレークポイント解除(&B)"));
    QVERIFY(p.ClearBreakpoints->isEnabled());

    // The expanded macro line comes from a macro body.
    const int expanded = RowWithMnemonic(*form_, "ADD", true);
    QVERIFY(expanded > 0);
    listing->SetSelectedRow(expanded);
    form_->Views().ListingMenuPopup();
    QVERIFY(p.EditMacroSource->isEnabled());
    QCOMPARE(p.Breakpoint->text(), QStringLiteral("ブレークポイント設定(&B)"));

    p.ClearBreakpoints->trigger();
    QVERIFY(form_->Session().Breakpoints().Empty());
  }

  void ListingPopupOfAnEmptyListingDisablesItsItems() {
    rig_->Create();
    TMainWindow& empty = *rig_->form;
    const TListingPopup& p = empty.ListingPopup();
    empty.Views().ListingMenuPopup();
    QVERIFY(!p.Breakpoint->isEnabled());
    QCOMPARE(p.Breakpoint->text(), QStringLiteral("ブレークポイント設定(&B)"));
    QVERIFY(!p.ClearBreakpoints->isEnabled());
    QVERIFY(!p.EditSource->isEnabled());
    QVERIFY(!p.EditMacroSource->isEnabled());
    QVERIFY(!p.Jump->menuAction()->isEnabled());
  }

  void ListingPopupCarriesTheJumpItems() {
    const TListingPopup& p = form_->ListingPopup();
    QStringList captions;
    for (const QAction* action : p.Jump->actions())
      captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(captions,
             Lines({"Jamp・Callの飛び先(&J)", "現在の実行位置(&P)", "-", "次のアセンブルエラー(&E)",
                    "次のラベル(&L)", "次の重要なコメント(&H)", "次のIncludeファイル(&I)", "-",
                    "前のジャンプ位置に戻る(&Z)"}));
    for (const QAction* next : {p.NextError, p.NextLabel, p.NextImportant, p.NextInclude})
      QCOMPARE(next->toolTip(), QStringLiteral("Shiftで前に戻ります"));
    QStringList top;
    for (const QAction* action : p.Menu->actions())
      top << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(top, Lines({"選択行ジャンプ(&S)", "-", "ブレークポイント(&B)",
                         "全ブレークポイントを解除(&Q)", "-", "ソースの編集(&E)",
                         "マクロソースの編集(&M)"}));
  }

  // ---------------------------------------------------------- number format

  void ChoosingAnotherNumberFormatRepaintsTheViews() {
    TPaintCounter paints;
    QWidget* views[] = {form_->ListingView()->viewport(), form_->LabelView()->viewport(),
                        form_->MemoryView()->Grid()->viewport()};
    for (QWidget* view : views)
      paints.Watch(view);
    QTest::qWait(50);
    const int start = RowOf(*form_, "START");
    const QString hex = form_->ListingView()->RowLook(start, false).Texts[TListingRowLook::Address];

    paints.Reset();
    form_->Menus().NumberFormatItems[2]->trigger();  // already checked
    QTest::qWait(50);
    for (QWidget* view : views)
      QCOMPARE(paints.Count(view), 0);

    form_->Menus().NumberFormatItems[1]->trigger();
    QCOMPARE(form_->NumberFormat(), TNumberFormat::UnsignedDecimal);
    QVERIFY(form_->Menus().NumberFormatItems[1]->isChecked());
    QVERIFY(!form_->Menus().NumberFormatItems[2]->isChecked());
    QTRY_VERIFY(paints.Count(views[0]) > 0);
    QTRY_VERIFY(paints.Count(views[1]) > 0);
    QTRY_VERIFY(paints.Count(views[2]) > 0);
    const QString decimal =
        form_->ListingView()->RowLook(start, false).Texts[TListingRowLook::Address];
    QVERIFY(hex != decimal);
    QCOMPARE(decimal.toInt(), hex.toInt(nullptr, 16));
  }

  // ---------------------------------------------------------- label view

  void LabelFiltersChooseTheRows() {
    const TMainMenus& m = form_->Menus();
    // Default: variables and pointers, after the registers.
    QCOMPARE(SortedLabelKeys(*form_),
             Lines({"COUNT.*", "LOOP.*", "START.*", "WORK.*0000.*", "^PTR.*"}));
    m.SkVal->trigger();  // off
    QCOMPARE(SortedLabelKeys(*form_), Lines({"^PTR.*"}));
    m.SkNum->trigger();
    m.SkLabel->trigger();
    m.SkAuto->trigger();
    m.SkPointer->trigger();  // off
    QCOMPARE(SortedLabelKeys(*form_), Lines({"*0000.*", ">MARK.*", "K.*"}));
    QCOMPARE(form_->Views().LabelFilterMask(), uint16_t{0x080 | 0x040 | 0x004 | 0x100});
    m.SkNum->trigger();
    m.SkLabel->trigger();
    m.SkAuto->trigger();
    // All filters off: only the six registers remain.
    QCOMPARE(SortedLabelKeys(*form_), QStringList());
    QCOMPARE(form_->LabelView()->RowCount(), 6);
  }

  void OnlySelectedLabelsRemainWhenChosen() {
    const int countRow = LabelKeys(*form_).indexOf(QStringLiteral("COUNT.*"));
    form_->LabelView()->SetRowSelected(countRow, true);
    form_->LabelPopup().SelectLabels->trigger();
    form_->Menus().SkNotAll->trigger();
    QCOMPARE(form_->Views().LabelFilterMask() & 0x001, 0x001);
    QCOMPARE(LabelKeys(*form_), Lines({"PC", "SP", "VF", "SF", "ZF", "CF", "COUNT.*"}));
    // The pop-up shares the item with the menu.
    QCOMPARE(form_->LabelPopup().Menu->actions().first(), form_->Menus().SkNotAll);
    // Deselecting leaves the registers alone.
    form_->LabelView()->SetRowSelected(6, true);
    form_->Views().SetLabelsSelected(false);
    QVERIFY(!form_->Session().Assembler().Labels().RecordOf("COUNT.*").Selected);
    QCOMPARE(form_->LabelView()->RowCount(), 6);
  }

  void LabelPopupEnablesByTheSelectionAndThePanels() {
    const TLabelPopup& p = form_->LabelPopup();
    form_->Views().LabelMenuPopup();
    QVERIFY(!p.SelectLabels->isEnabled());
    QVERIFY(!p.DeselectLabels->isEnabled());
    QVERIFY(p.JumpToDefinition->isEnabled());
    QVERIFY(p.ShowMemory->isEnabled());
    QVERIFY(p.ShowIndirectMemory->isEnabled());
    form_->LabelView()->SetRowSelected(7, true);
    form_->Menus().MemoryDump->trigger();  // hides the memory panel
    form_->Views().LabelMenuPopup();
    QVERIFY(p.SelectLabels->isEnabled());
    QVERIFY(p.DeselectLabels->isEnabled());
    QVERIFY(!p.ShowMemory->isEnabled());
    QVERIFY(!p.ShowIndirectMemory->isEnabled());
    // Six rows only: no definition to jump to.
    form_->Menus().SkVal->trigger();
    form_->Menus().SkPointer->trigger();
    form_->Views().LabelMenuPopup();
    QVERIFY(!p.JumpToDefinition->isEnabled());
  }

  void LabelClicksShowMemory() {
    TLabelView* labels = form_->LabelView();
    const int ptrRow = LabelKeys(*form_).indexOf(QStringLiteral("^PTR.*"));
    labels->SetCurrentRow(ptrRow);
    emit labels->RowClicked(ptrRow);
    QCOMPARE(form_->MemoryView()->CurrentAddress(), int{AddressOf(*form_, "^PTR.*")});
    // The double-click follows the word at the label: PTR holds COUNT's
    // address.
    emit labels->RowDoubleClicked(ptrRow);
    QCOMPARE(form_->MemoryView()->CurrentAddress(), int{AddressOf(*form_, "COUNT.*")});
  }

  // A right-click selects the row its pop-up menu acts on and nothing
  // more: no jump-history entry, and the memory view stays where it is.
  void RightClicksOnlySelect() {
    TListingView* listing = form_->ListingView();
    TLabelView* labels = form_->LabelView();
    form_->Navigator().JumpList().Init(0);
    const int shown = form_->MemoryView()->CurrentAddress();
    const int halt = RowWithMnemonic(*form_, "HALT", true);
    QVERIFY(form_->Session().Assembler().Listing().Ref(halt)->Address != shown);
    QTest::mouseClick(listing->viewport(), Qt::RightButton, {}, listing->RowRect(halt).center());
    form_->ListingPopup().Menu->hide();
    QCOMPARE(listing->SelectedRow(), halt);
    QCOMPARE(form_->Navigator().JumpList().ToVector(), std::vector<std::string>{"0"});
    QCOMPARE(form_->MemoryView()->CurrentAddress(), shown);

    const int ptrRow = LabelKeys(*form_).indexOf(QStringLiteral("^PTR.*"));
    QTest::mouseClick(labels->viewport(), Qt::RightButton, {}, labels->RowRect(ptrRow).center());
    form_->LabelPopup().Menu->hide();
    QCOMPARE(labels->CurrentRow(), ptrRow);
    QCOMPARE(form_->MemoryView()->CurrentAddress(), shown);
  }

  void DefinitionJumpSelectsTheLabelsRow() {
    TLabelView* labels = form_->LabelView();
    const int workRow = LabelKeys(*form_).indexOf(QStringLiteral("WORK.*0000.*"));
    labels->SetCurrentRow(workRow);
    form_->LabelPopup().JumpToDefinition->trigger();
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOf(*form_, "WORK"));
    // On a register row nothing happens.
    labels->SetCurrentRow(0);
    form_->Views().JumpToDefinitionClick();
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOf(*form_, "WORK"));
  }

  // ---------------------------------------------------------- memory grid

  void GridClickJumpsToTheWordsLine() {
    const uint16_t count = AddressOf(*form_, "COUNT.*");
    emit form_->MemoryView()->CellClicked(count);
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOf(*form_, "COUNT"));
    // A word that no line produced belongs to line 0, the first row.
    emit form_->MemoryView()->CellClicked(0x4000);
    QCOMPARE(form_->ListingView()->SelectedRow(), 0);
  }

  void EditingMemoryRepaintsTheLabelView() {
    TPaintCounter paints;
    paints.Watch(form_->LabelView()->viewport());
    QTest::qWait(50);
    paints.Reset();
    emit form_->MemoryView()->MemoryEdited(AddressOf(*form_, "COUNT.*"));
    QTRY_VERIFY(paints.Count(form_->LabelView()->viewport()) > 0);
  }

  // ---------------------------------------------------------- selecting

  void SelectingARowScrollsWithContextAndRecordsTheJump() {
    TListingView* listing = form_->ListingView();
    QCOMPARE(listing->TopRow(), 0);
    form_->Navigator().SelectListingRow(70, 3, true);
    QCOMPARE(listing->SelectedRow(), 70);
    QCOMPARE(listing->TopRow(), 67);
    QCOMPARE(form_->Navigator().JumpList().TopNumber(), 70);
    const int entries = form_->Navigator().JumpList().Count();
    // Selecting the selected row, or a row outside the listing, does nothing.
    form_->Navigator().SelectListingRow(70, 3, true);
    form_->Navigator().SelectListingRow(-1, 3, true);
    form_->Navigator().SelectListingRow(listing->RowCount(), 3, true);
    QCOMPARE(listing->SelectedRow(), 70);
    QCOMPARE(form_->Navigator().JumpList().Count(), entries);
    // A row within view below the context stays where it is.
    form_->Navigator().SelectListingRow(72, 3, true);
    QCOMPARE(listing->TopRow(), 67);
    // A row above the view: top row := row - context, or the row itself
    // when it is closer to the start than the context.
    form_->Navigator().SelectListingRow(2, 3, false);
    QCOMPARE(listing->TopRow(), 2);
    QCOMPARE(form_->Navigator().JumpList().TopNumber(), 72);  // not as a click: no entry
    form_->Navigator().SelectListingRow(40, 3, true);
    QCOMPARE(listing->TopRow(), 37);
    // A visible row less than the context below the top scrolls too.
    form_->Navigator().SelectListingRow(38, 3, true);
    QCOMPARE(listing->TopRow(), 35);
    // And one at the bottom edge of the view.
    const int bottom = listing->TopRow() + listing->VisibleRowCount();
    form_->Navigator().SelectListingRow(bottom, 3, true);
    QCOMPARE(listing->TopRow(), bottom - 3);
  }

  void ClicksRecordJumpsOnlyWhileIdle() {
    TListingView* listing = form_->ListingView();
    form_->Navigator().JumpList().Init(0);
    listing->SetSelectedRow(5);
    emit listing->RowClicked(5);
    emit listing->RowClicked(5);
    QCOMPARE(form_->Navigator().JumpList().ToVector(), (std::vector<std::string>{"0", "5"}));
    form_->Document().SetRunState(TRunState::Running);
    listing->SetSelectedRow(8);
    emit listing->RowClicked(8);
    QCOMPARE(form_->Navigator().JumpList().TopNumber(), 5);
    form_->Document().SetRunState(TRunState::Idle);
  }

  void TheMemoryViewFollowsCodeRowsWhenSynchronised() {
    TListingView* listing = form_->ListingView();
    const int start = RowOf(*form_, "START");
    const int count = RowOf(*form_, "COUNT");
    form_->Navigator().SelectListingRow(count, 3, true);
    QCOMPARE(form_->MemoryView()->CurrentAddress(), int{AddressOf(*form_, "COUNT.*")});
    // A row without fields leaves the memory view where it is.
    form_->Navigator().SelectListingRow(0, 3, true);
    QCOMPARE(form_->MemoryView()->CurrentAddress(), int{AddressOf(*form_, "COUNT.*")});
    form_->Menus().SyncView->trigger();  // off
    form_->Navigator().SelectListingRow(start, 3, true);
    QCOMPARE(listing->SelectedRow(), start);
    QCOMPARE(form_->MemoryView()->CurrentAddress(), int{AddressOf(*form_, "COUNT.*")});
  }

  // ---------------------------------------------------------- jumps

  void JumpsToLinesTargetsAndBack() {
    TListingView* listing = form_->ListingView();
    form_->Navigator().JumpList().Init(0);
    const int loop = RowOf(*form_, "LOOP");
    const TAsmLine* loopLine = form_->Session().Assembler().Listing().Ref(loop);
    form_->Navigator().JumpTo(TJumpKind::LineGiven, loopLine->LineIndex);
    QCOMPARE(listing->SelectedRow(), loop);
    // A line that is no row leaves the selection.
    form_->Navigator().JumpTo(TJumpKind::LineGiven, 100000);
    QCOMPARE(listing->SelectedRow(), loop);

    const int call = RowWithMnemonic(*form_, "CALL");
    form_->Navigator().SelectListingRow(call, 3, true);
    form_->Navigator().JumpTo(TJumpKind::CallTarget);
    QCOMPARE(listing->SelectedRow(), RowOf(*form_, "WORK"));
    // On a row that is no jump nothing happens.
    form_->Navigator().JumpTo(TJumpKind::CallTarget);
    QCOMPARE(listing->SelectedRow(), RowOf(*form_, "WORK"));

    // Back walks the history and stays on its bottom entry.
    form_->Navigator().JumpTo(TJumpKind::Back);
    QCOMPARE(listing->SelectedRow(), call);
    form_->Navigator().JumpTo(TJumpKind::Back);
    QCOMPARE(listing->SelectedRow(), loop);
    form_->Navigator().JumpTo(TJumpKind::Back);
    QCOMPARE(listing->SelectedRow(), 0);
    form_->Navigator().JumpTo(TJumpKind::Back);
    QCOMPARE(listing->SelectedRow(), 0);
    QCOMPARE(form_->Navigator().JumpList().ToVector(), std::vector<std::string>{"0"});
  }

  void ShowExecutionStateFollowsTheProgramCounter() {
    TQRXEmulater& machine = form_->Session().Machine();
    // The instruction the macro call expanded into.
    const int add = RowWithMnemonic(*form_, "ADD", true);
    const uint16_t loopAddress = form_->Session().Assembler().Listing().Ref(add)->Address;
    machine.WriteWord(TQRXEmulater::PC, loopAddress);
    machine.Destination = AddressOf(*form_, "COUNT.*");
    form_->Views().ShowExecutionState();
    const int selected = form_->ListingView()->SelectedRow();
    QCOMPARE(selected, add);
    QCOMPARE(form_->MemoryView()->CurrentAddress(), int{loopAddress});
    QCOMPARE(form_->Navigator().JumpList().TopNumber(), selected);

    // Without synchronising, the memory view stays.
    form_->Menus().SyncView->trigger();
    machine.WriteWord(TQRXEmulater::PC, AddressOf(*form_, "WORK.*0000.*"));
    machine.Destination = -1;
    form_->Views().ShowExecutionState();
    QCOMPARE(form_->ListingView()->SelectedRow(), RowOf(*form_, "WORK"));
    QCOMPARE(form_->MemoryView()->CurrentAddress(), int{loopAddress});
  }

 private:
  std::unique_ptr<TWindowRig> rig_;
  TMainWindow* form_ = nullptr;
  QString path_;
};

QTEST_MAIN(TViewCommandsTest)
#include "view_commands_test.moc"
