// The editor commands of the main window: choosing sources in the edit-file
// selection dialog (with its hints), the source and the macro source of a
// listing row, and the editor command's input box. The editor is captured
// instead of started.
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include "main_window_test_support.h"
#include "monitor_qt/monitor_font.h"
#include "workbench/dialog_placement.h"
#include "workbench/edit_file_select.h"
#include "workbench/editor_launch.h"

namespace {

// The first listing row whose source tag has count items, or -1.
int RowWithTagCount(TMainWindow& form, int count) {
  const TListingRows& rows = form.Session().Assembler().Listing();
  for (int r = 0; r < rows.Count(); ++r)
    if (rows.Ref(r) != nullptr && rows.Ref(r)->TagCount() == count) return r;
  return -1;
}

QStringList ItemTexts(const QListWidget& list) {
  QStringList texts;
  for (int k = 0; k < list.count(); ++k)
    texts << list.item(k)->text();
  return texts;
}

void MoveMouse(QWidget* viewport, const QPoint& at) {
  QMouseEvent move(QEvent::MouseMove, QPointF(at), viewport->mapToGlobal(QPointF(at)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
}

}  // namespace

class TEditorCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() {
    rig_ = std::make_unique<TWindowRig>();
    launches_.clear();
  }
  void cleanup() { rig_.reset(); }

  // ---------------------------------------------------------- "ソース編集(&E)..."

  void TheDialogListsTheSourcesAndStartsOneEditorPerChoice_data() {
    QTest::addColumn<QList<int>>("choose");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("edited");
    QTest::newRow("all three") << QList<int>{0, 1, 2} << int(QDialog::Accepted)
                               << QStringList{"main.qasm", "lib.qasm", "util.qasm"};
    QTest::newRow("as offered") << QList<int>{} << int(QDialog::Accepted)
                                << QStringList{"main.qasm"};
    QTest::newRow("the last two") << QList<int>{1, 2} << int(QDialog::Accepted)
                                  << QStringList{"lib.qasm", "util.qasm"};
    QTest::newRow("cancel") << QList<int>{0, 1, 2} << int(QDialog::Rejected) << QStringList{};
  }
  void TheDialogListsTheSourcesAndStartsOneEditorPerChoice() {
    QFETCH(QList<int>, choose);
    QFETCH(int, result);
    QFETCH(QStringList, edited);
    TMainWindow& form = LoadProgram();
    QStringList offered;
    QList<int> selectedAtStart;
    QString caption, prompt;
    QPoint position;
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      auto* select = qobject_cast<TEditFileSelect*>(&dialog);
      if (select == nullptr) return int(QDialog::Rejected);
      caption = select->windowTitle();
      prompt = select->Prompt()->text();
      position = select->pos();
      offered = ItemTexts(*select->List());
      for (int k : select->SelectedItems())
        selectedAtStart << k;
      if (!choose.isEmpty()) {
        select->List()->clearSelection();
        for (int k : choose)
          select->List()->item(k)->setSelected(true);
      }
      return result;
    });
    form.Editor().EditSourceClick();
    QCOMPARE(caption, QStringLiteral("ソースの編集"));
    QCOMPARE(prompt, QStringLiteral("編集するファイルを選択して下さい"));
    QCOMPARE(offered, QStringList({"main.qasm", "lib.qasm", "util.qasm"}));
    QCOMPARE(selectedAtStart, QList<int>{0});
    QCOMPARE(position, CentredOn(form.frameGeometry(), form.Dialogs().EditFileSelect()->size()));
    QCOMPARE(launches_.size(), edited.size());
    for (int i = 0; i < edited.size(); ++i) {
      QCOMPARE(launches_[i].Program, QStringLiteral("ed"));
      QCOMPARE(
          launches_[i].Arguments,
          QStringList({QStringLiteral("+0"), rig_->Root() + QStringLiteral("/src/") + edited[i]}));
    }
  }

  void TheDialogsHintIsThePathUnderThePointer() {
    TMainWindow& form = LoadProgram();
    QStringList hints;
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      auto* select = qobject_cast<TEditFileSelect*>(&dialog);
      if (select == nullptr) return int(QDialog::Rejected);
      select->show();
      if (!QTest::qWaitForWindowExposed(select)) qWarning("dialog not exposed");
      QListWidget* list = select->List();
      for (int k = 0; k < list->count(); ++k) {
        const QPoint at = list->visualItemRect(list->item(k)).center();
        hints << select->HintAt(at);
        MoveMouse(list->viewport(), at);
        hints << list->toolTip();
      }
      // Below the last item: no hint.
      const QPoint below(5, list->viewport()->height() - 3);
      hints << select->HintAt(below);
      MoveMouse(list->viewport(), below);
      hints << list->toolTip();
      select->hide();
      return int(QDialog::Rejected);
    });
    form.Editor().EditSourceClick();
    const QString src = rig_->Root() + QStringLiteral("/src/");
    QCOMPARE(hints, QStringList({src + "main.qasm", src + "main.qasm", src + "lib.qasm",
                                 src + "lib.qasm", src + "util.qasm", src + "util.qasm", "", ""}));
  }

  void TheDialogHasItsFixedLayout() {
    TMainWindow& form = LoadProgram();
    form.Dialogs().CreateDialogs();
    TEditFileSelect* select = form.Dialogs().EditFileSelect();
    QVERIFY(select != nullptr);
    QCOMPARE(select->size(), QSize(274, 201));
    QCOMPARE(select->minimumSize(), select->maximumSize());
    QCOMPARE(select->List()->size(), QSize(257, 137));
    QCOMPARE(select->List()->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(select->Prompt()->text(), QStringLiteral("編集するファイルを選択して下さい"));
    QVERIFY(select->OkButton()->isDefault());
    QCOMPARE(select->OkButton()->text(), QStringLiteral("OK"));
    QCOMPARE(select->CancelButton()->text(), QStringLiteral("Cancel"));
    QCOMPARE(select->font().pointSize(), form.MainFont().pointSize());
    // The buttons close the dialog with their results.
    select->OkButton()->click();
    QCOMPARE(select->result(), int(QDialog::Accepted));
    select->CancelButton()->click();
    QCOMPARE(select->result(), int(QDialog::Rejected));
  }

  // ---------------------------------------------------------- listing pop-up

  void TheRowsSourceOpensAtItsLine_data() {
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("line");
    QTest::newRow("main source") << QByteArray("START") << "main.qasm"
                                 << "+4";
    QTest::newRow("included file") << QByteArray("COUNT") << "lib.qasm"
                                   << "+2";
    QTest::newRow("second include") << QByteArray("HELPER") << "util.qasm"
                                    << "+1";
  }
  void TheRowsSourceOpensAtItsLine() {
    QFETCH(QByteArray, label);
    QFETCH(QString, file);
    QFETCH(QString, line);
    TMainWindow& form = LoadProgram();
    const int row = RowOfLabel(form, label.toStdString());
    QVERIFY(row >= 0);
    form.ListingView()->SetSelectedRow(row);
    form.Editor().EditRowSourceClick();
    QCOMPARE(launches_.size(), 1);
    QCOMPARE(launches_[0].Arguments, QStringList({line, rig_->Root() + "/src/" + file}));
    // A plain row has no macro source.
    form.Editor().EditRowMacroSourceClick();
    QCOMPARE(launches_.size(), 1);
  }

  // A row of a macro expansion: its own source is the call, its macro
  // source the line of the macro's body.
  void AnExpandedRowOpensTheCallOrTheMacroBody() {
    TMainWindow& form = LoadProgram();
    const int row = RowWithTagCount(form, 4);
    QVERIFY(row >= 0);
    QCOMPARE(QString::fromStdString(form.Session().Assembler().Listing().Ref(row)->Mnemonic),
             QStringLiteral("ADD"));
    form.ListingView()->SetSelectedRow(row);
    form.Editor().EditRowSourceClick();
    form.Editor().EditRowMacroSourceClick();
    const QString src = rig_->Root() + QStringLiteral("/src/");
    QCOMPARE(launches_.size(), 2);
    QCOMPARE(launches_[0].Arguments, QStringList({"+5", src + "main.qasm"}));
    QCOMPARE(launches_[1].Arguments, QStringList({"+4", src + "lib.qasm"}));
  }

  void ARowWithoutASourceTagOpensNothing() {
    TMainWindow& form = LoadProgram();
    const TListingRows& rows = form.Session().Assembler().Listing();
    int row = -1;
    for (int r = 0; r < rows.Count() && row < 0; ++r)
      if (rows.Ref(r)->TagFileIndex() < 0) row = r;
    QVERIFY(row >= 0);
    form.ListingView()->SetSelectedRow(row);
    form.Editor().EditRowSourceClick();
    form.Editor().EditRowMacroSourceClick();
    QVERIFY(launches_.isEmpty());
    // Nor does a listing without a selection.
    form.ListingView()->SetSelectedRow(-1);
    form.Editor().EditRowSourceClick();
    form.Editor().EditRowMacroSourceClick();
    QVERIFY(launches_.isEmpty());
  }

  // ---------------------------------------------------------- "エディタの設定(&E)..."

  void TheInputBoxSetsTheCommand_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("command");
    QTest::newRow("ok") << "kate -l %L %F" << int(QDialog::Accepted) << "kate -l %L %F";
    QTest::newRow("ok with nothing") << "" << int(QDialog::Accepted) << "";
    QTest::newRow("cancel") << "kate" << int(QDialog::Rejected) << "ed +%L %F";
  }
  void TheInputBoxSetsTheCommand() {
    QFETCH(QString, typed);
    QFETCH(int, result);
    TMainWindow& form = rig_->Create();
    form.Editor().SetEditorCommand(QStringLiteral("ed +%L %F"));
    QString caption, prompt, shown;
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      auto* input = qobject_cast<QInputDialog*>(&dialog);
      if (input == nullptr) return int(QDialog::Rejected);
      caption = input->windowTitle();
      prompt = input->labelText();
      shown = input->textValue();
      input->setTextValue(typed);
      return result;
    });
    form.Editor().EditorSettingsClick();
    QCOMPARE(caption, QStringLiteral("エディタの設定"));
    QCOMPARE(prompt, QStringLiteral("エディタへのパスを入力して下さい\n%F:ファイル名 %L:行番号"));
    QCOMPARE(shown, QStringLiteral("ed +%L %F"));
    QTEST(form.Editor().EditorCommand(), "command");
  }

  void TheEditorCommandIsUsedAsItStands() {
    TMainWindow& form = LoadProgram();
    form.Editor().SetEditorCommand(QStringLiteral("xdg-open "));
    form.ListingView()->SetSelectedRow(RowOfLabel(form, "START"));
    form.Editor().EditRowSourceClick();
    QCOMPARE(launches_.size(), 1);
    QCOMPARE(launches_[0].Program, QStringLiteral("xdg-open"));
    QCOMPARE(launches_[0].Arguments, QStringList{rig_->Root() + QStringLiteral("/src/main.qasm")});
  }

 private:
  // main.qasm includes lib.qasm (with a macro) and util.qasm.
  TMainWindow& LoadProgram() {
    TMainWindow& form = rig_->Create();
    form.Editor().SetEditorCommand(QStringLiteral("ed +%L %F"));
    form.Editor().SetEditorLaunchHook([this](const TEditorLaunch& launch) { launches_ << launch; });
    rig_->WriteSource("lib.qasm", {"; library", "COUNT: DW 0", "BUMP: MACRO %V", "  ADD COUNT, %V",
                                   "  ENDMACRO"});
    rig_->WriteSource("util.qasm", {"HELPER: DW 7"});
    const QString main =
        rig_->WriteSource("main.qasm", {"INCLUDE lib.qasm", "INCLUDE util.qasm", "; program",
                                        "START: LD COUNT, #1", "  BUMP #5", "  HALT"});
    if (form.FileCommands().OpenFile(main) != TLoadResult::Clean) qWarning("program did not load");
    return form;
  }

  std::unique_ptr<TWindowRig> rig_;
  QList<TEditorLaunch> launches_;
};

QTEST_MAIN(TEditorCommandsTest)
#include "editor_commands_test.moc"
