// The small dialogs: where they are centred, their creation, the unit
// selection (OK, Cancel, the menu item's state), the version dialog, the
// help page and the display font.
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "main_window_test_support.h"
#include "monitor_qt/monitor_font.h"
#include "workbench/about_box.h"
#include "workbench/application_setup.h"
#include "workbench/dialog_placement.h"
#include "workbench/edit_file_select.h"
#include "workbench/editor_launch.h"
#include "workbench/main_menus.h"
#include "workbench/unit_select.h"

namespace {

QStringList UnitProgram() {
  return {QStringLiteral("START: LD VALUE, #1"),
          QStringLiteral("  HALT"),
          QStringLiteral("VALUE: DW 0"),
          QStringLiteral("MATH: UNIT"),
          QStringLiteral("MVAL: DW 1"),
          QStringLiteral("  ENDUNIT"),
          QStringLiteral("GFX: UNIT"),
          QStringLiteral("GVAL: DW 2"),
          QStringLiteral("  ENDUNIT")};
}

// The unit dialog's items as "name" or "name*" for a ticked one.
QStringList UnitItems(const TUnitDialog& dialog) {
  QStringList items;
  for (int k = 0; k < dialog.UnitCount(); ++k)
    items << dialog.CheckList()->item(k)->text() + (dialog.IsTicked(k) ? "*" : "");
  return items;
}

}  // namespace

class TDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterFontSubstitutions(); }
  void init() { rig_ = std::make_unique<TWindowRig>(); }
  void cleanup() { rig_.reset(); }

  void CentringUsesIntegerHalves_data() {
    QTest::addColumn<QRect>("outer");
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<QPoint>("corner");
    QTest::newRow("even") << QRect(100, 50, 780, 470) << QSize(274, 201) << QPoint(353, 185);
    QTest::newRow("odd sizes") << QRect(0, 0, 781, 471) << QSize(275, 201) << QPoint(253, 135);
    QTest::newRow("dialog larger") << QRect(10, 10, 100, 80) << QSize(242, 167) << QPoint(-61, -33);
  }
  void CentringUsesIntegerHalves() {
    QFETCH(QRect, outer);
    QFETCH(QSize, inner);
    QTEST(CentredOn(outer, inner), "corner");
  }

  void TheDialogsAreMadeOnceInOrder() {
    TMainWindow& form = rig_->Create();
    QVERIFY(form.Dialogs().AboutBox() == nullptr);
    form.Dialogs().CreateDialogs();
    TAboutBox* about = form.Dialogs().AboutBox();
    TEditFileSelect* select = form.Dialogs().EditFileSelect();
    TUnitDialog* units = form.Dialogs().UnitSelect();
    QVERIFY(about != nullptr && select != nullptr && units != nullptr);
    form.Dialogs().CreateDialogs();
    QCOMPARE(form.Dialogs().AboutBox(), about);
    QCOMPARE(form.Dialogs().EditFileSelect(), select);
    QCOMPARE(form.Dialogs().UnitSelect(), units);
    const QObjectList children = form.children();
    QVERIFY(children.indexOf(about) < children.indexOf(select));
    QVERIFY(children.indexOf(select) < children.indexOf(units));
  }

  // Every menu and pop-up item that asks the user something reaches the
  // command that asks it: what was asked is recorded, and each is answered
  // with Cancel.
  void EveryAskingItemReachesItsCommand() {
    TMainWindow& form = rig_->Create();
    const QString source = rig_->WriteSource(
        "units.qasm", UnitProgram() << QStringLiteral("M: MACRO") << QStringLiteral("  NOP")
                                    << QStringLiteral("  ENDMACRO") << QStringLiteral("  M"));
    QCOMPARE(form.FileCommands().OpenFile(source), TLoadResult::Clean);
    form.ListingView()->SetSelectedRow(form.ListingView()->RowCount() - 1);

    QStringList asked;
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      asked << QString::fromLatin1(dialog.metaObject()->className());
      return int(QDialog::Rejected);
    });
    form.Dialogs().SetUrlOpenerHook([&](const QUrl&) {
      asked << QStringLiteral("help page");
      return true;
    });
    form.Editor().SetEditorLaunchHook(
        [&](const TEditorLaunch&) { asked << QStringLiteral("editor"); });
    form.FileCommands().SetSaveDialogHook(
        [&](const QString&, const QString&, const QString& suffix) {
          asked << QStringLiteral("save ") + suffix;
          return QString();
        });
    QDir().mkpath(QFileInfo(form.Folders().HelpFile).path());
    QFile help(form.Folders().HelpFile);
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.close();

    const TMainMenus& m = form.Menus();
    const struct {
      const char* item;
      QAction* action;
      QString asks;
    } items[] = {
        {"load", m.Load, QStringLiteral("open")},
        {"edit source", m.EditSource, QStringLiteral("TEditFileSelect")},
        {"save state", m.SaveState, QStringLiteral("save qsav")},
        {"save machine code", m.SaveMachineCode, QStringLiteral("save qrxg")},
        {"save input log", m.SaveInputLog, QStringLiteral("save qlog")},
        {"units", m.Units, QStringLiteral("TUnitDialog")},
        {"help", m.HelpItem, QStringLiteral("help page")},
        {"editor settings", m.EditorSettings, QStringLiteral("QInputDialog")},
        {"font settings", m.FontSettings, QStringLiteral("QFontDialog")},
        {"about", m.About, QStringLiteral("TAboutBox")},
        {"row source", form.ListingPopup().EditSource, QStringLiteral("editor")},
        {"row macro source", form.ListingPopup().EditMacroSource, QStringLiteral("editor")},
    };
    for (QMenu* menu : {m.File, m.View, form.ListingPopup().Menu})
      emit menu->aboutToShow();
    for (const auto& row : items) {
      asked.clear();
      rig_->dialogStarts.clear();
      row.action->trigger();
      if (!rig_->dialogStarts.isEmpty()) asked << QStringLiteral("open");
      QVERIFY2(asked == QStringList{row.asks},
               qPrintable(QString::fromLatin1(row.item) + QStringLiteral(": ") + asked.join(',')));
    }
  }

  // ---------------------------------------------------------- units

  void TheUnitDialogShowsAndHidesUnits() {
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("units.qasm", UnitProgram())),
             TLoadResult::Clean);
    // Units met for the first time are hidden.
    QCOMPARE(RowOfLabel(form, "MVAL"), -1);

    QStringList offered;
    QPoint position;
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      auto* units = qobject_cast<TUnitDialog*>(&dialog);
      if (units == nullptr) return int(QDialog::Rejected);
      offered = UnitItems(*units);
      position = units->pos();
      units->SetTicked(1, true);  // MATH
      return int(QDialog::Accepted);
    });
    form.ListingView()->SetSelectedRow(1);
    form.Dialogs().UnitsClick();
    QCOMPARE(offered, QStringList({"GFX", "MATH"}));
    QCOMPARE(position, CentredOn(form.frameGeometry(), form.Dialogs().UnitSelect()->size()));
    QVERIFY(RowOfLabel(form, "MVAL") >= 0);
    QCOMPARE(RowOfLabel(form, "GVAL"), -1);
    QCOMPARE(form.ListingView()->RowCount(), form.Session().Assembler().Listing().Count());
    QVERIFY(LabelKeys(form).contains(QStringLiteral("MVAL.MATH.*")));
    QVERIFY(!LabelKeys(form).contains(QStringLiteral("GVAL.GFX.*")));
    QCOMPARE(form.ListingView()->SelectedRow(), 0);

    // Unticking hides the unit's lines and labels again.
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      auto* units = qobject_cast<TUnitDialog*>(&dialog);
      if (units == nullptr) return int(QDialog::Rejected);
      offered = UnitItems(*units);
      units->SetTicked(1, false);
      units->SetTicked(0, true);
      return int(QDialog::Accepted);
    });
    form.ListingView()->SetSelectedRow(RowOfLabel(form, "MVAL"));
    form.Dialogs().UnitsClick();
    QCOMPARE(offered, QStringList({"GFX", "MATH*"}));
    QCOMPARE(RowOfLabel(form, "MVAL"), -1);
    QVERIFY(RowOfLabel(form, "GVAL") >= 0);
    QVERIFY(!LabelKeys(form).contains(QStringLiteral("MVAL.MATH.*")));
    QVERIFY(LabelKeys(form).contains(QStringLiteral("GVAL.GFX.*")));
    QCOMPARE(form.ListingView()->SelectedRow(), 0);
  }

  void CancellingTheUnitDialogChangesNothing() {
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("units.qasm", UnitProgram())),
             TLoadResult::Clean);
    const int rows = form.ListingView()->RowCount();
    const QStringList keys = LabelKeys(form);
    form.ListingView()->SetSelectedRow(2);
    form.Dialogs().SetModalHook([](QDialog& dialog) {
      if (auto* units = qobject_cast<TUnitDialog*>(&dialog)) {
        units->SetTicked(0, true);
        units->SetTicked(1, true);
      }
      return int(QDialog::Rejected);
    });
    form.Dialogs().UnitsClick();
    QCOMPARE(form.ListingView()->RowCount(), rows);
    QCOMPARE(LabelKeys(form), keys);
    QCOMPARE(form.ListingView()->SelectedRow(), 2);
    TCustomStringList visible;
    form.Session().Assembler().CollectVisibleUnits(visible);
    QCOMPARE(visible.Count(), 1);
  }

  // The program was reloaded while the dialog was open and a new unit now
  // sorts before the listed ones: each tick still goes to its own unit.
  void TicksFollowTheirUnitsWhenTheTableGrew() {
    TMainWindow& form = rig_->Create();
    const QString path = rig_->WriteSource("units.qasm", UnitProgram());
    QCOMPARE(form.FileCommands().OpenFile(path), TLoadResult::Clean);
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      auto* units = qobject_cast<TUnitDialog*>(&dialog);
      if (units == nullptr) return int(QDialog::Rejected);
      QStringList grown = UnitProgram();
      grown << QStringLiteral("AAA: UNIT") << QStringLiteral("AVAL: DW 3")
            << QStringLiteral("  ENDUNIT");
      rig_->WriteSource("units.qasm", grown);
      if (form.FileCommands().OpenFile(path) != TLoadResult::Clean) return int(QDialog::Rejected);
      units->SetTicked(1, true);  // MATH, as listed
      return int(QDialog::Accepted);
    });
    form.Dialogs().UnitsClick();
    QCOMPARE(QString::fromStdString(form.Session().Assembler().UnitNameAt(1)),
             QStringLiteral("AAA"));
    QVERIFY(RowOfLabel(form, "MVAL") >= 0);
    QCOMPARE(RowOfLabel(form, "AVAL"), -1);
    QCOMPARE(RowOfLabel(form, "GVAL"), -1);
  }

  void TheUnitItemNeedsMoreThanTheTopLevel_data() {
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("nothing loaded") << QStringList{} << false;
    QTest::newRow("top level only") << QStringList{"  NOP", "  HALT"} << false;
    QTest::newRow("one unit") << QStringList{"U: UNIT", "  NOP", "  ENDUNIT", "  HALT"} << true;
  }
  void TheUnitItemNeedsMoreThanTheTopLevel() {
    QFETCH(QStringList, source);
    QFETCH(bool, enabled);
    TMainWindow& form = rig_->Create();
    if (!source.isEmpty())
      QCOMPARE(form.FileCommands().OpenFile(rig_->WriteSource("p.qasm", source)),
               TLoadResult::Clean);
    form.ViewMenuPopup();
    QCOMPARE(form.Menus().Units->isEnabled(), enabled);
  }

  void TheUnitDialogHasItsFixedLayout() {
    TMainWindow& form = rig_->Create();
    form.Dialogs().CreateDialogs();
    TUnitDialog* units = form.Dialogs().UnitSelect();
    QCOMPARE(units->windowTitle(), QStringLiteral("ユニット表示選択"));
    QCOMPARE(units->size(), QSize(275, 201));
    QCOMPARE(units->minimumSize(), units->maximumSize());
    QCOMPARE(units->CheckList()->size(), QSize(257, 137));
    QCOMPARE(units->font().pixelSize(), 12);
    QCOMPARE(units->Prompt()->text(), QStringLiteral("表示するユニットを選択して下さい"));
    QCOMPARE(units->OkButton()->text(), QStringLiteral("OK"));
    QCOMPARE(units->CancelButton()->text(), QStringLiteral("Cancel"));
  }

  // ---------------------------------------------------------- version

  void TheVersionDialogShowsTheProgramsVersion() {
    QCOMPARE(VersionLine(), QStringLiteral("Version 1.1.0.18"));
    TMainWindow& form = rig_->Create();
    TAboutBox* shown = nullptr;
    QPoint position;
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      shown = qobject_cast<TAboutBox*>(&dialog);
      position = dialog.pos();
      return int(QDialog::Accepted);
    });
    form.Dialogs().AboutClick();
    QVERIFY(shown != nullptr);
    QCOMPARE(shown, form.Dialogs().AboutBox());
    QCOMPARE(position, CentredOn(form.frameGeometry(), shown->size()));
    QCOMPARE(shown->windowTitle(), QStringLiteral("バージョン情報"));
    QCOMPARE(shown->size(), QSize(242, 167));
    QCOMPARE(shown->minimumSize(), shown->maximumSize());
    QCOMPARE(shown->Version()->text(), QStringLiteral("Version 1.1.0.18"));
    QVERIFY(!shown->Comments()->text().isEmpty());
    // Both lines fit their labels in the main window's font.
    for (QLabel* line : {shown->Version(), shown->Comments()})
      QVERIFY2(QFontMetrics(line->font()).horizontalAdvance(line->text()) <= line->width(),
               qPrintable(line->text()));
    QCOMPARE(shown->Picture()->size(), QSize(210, 62));
    QCOMPARE(shown->Picture()->pixmap().size(), QSize(210, 62));
    QVERIFY(shown->OkButton()->isDefault());
    QCOMPARE(shown->font().pointSize(), form.MainFont().pointSize());
    // Everything fits inside the client area.
    for (QWidget* part : std::initializer_list<QWidget*>{shown->Picture(), shown->Version(),
                                                         shown->Comments(), shown->OkButton()})
      QVERIFY(shown->rect().contains(part->geometry()));
  }

  // ---------------------------------------------------------- help

  void HelpOpensThePageBesideTheProgram() {
    TMainWindow& form = rig_->Create();
    const QString page = rig_->Root() + "/HELP/index.html";
    // A missing page is named in a box and nothing is started.
    QList<QUrl> opened;
    bool opens = true;
    form.Dialogs().SetUrlOpenerHook([&](const QUrl& url) {
      opened << url;
      return opens;
    });
    form.Dialogs().HelpClick();
    QVERIFY(opened.isEmpty());
    QCOMPARE(rig_->boxes.size(), 1);
    QVERIFY2(rig_->boxes[0].contains(page), qPrintable(rig_->boxes[0]));

    QDir().mkpath(rig_->Root() + "/HELP");
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    rig_->boxes.clear();
    form.Dialogs().HelpClick();
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(page)});
    QVERIFY(rig_->boxes.isEmpty());
    // A page that the desktop cannot open: the box names the command tried.
    opens = false;
    form.Dialogs().HelpClick();
    QCOMPARE(rig_->boxes.size(), 1);
    QVERIFY2(rig_->boxes[0].contains("xdg-open \"" + page + "\""), qPrintable(rig_->boxes[0]));
    QCOMPARE(form.Menus().HelpItem->shortcut(), QKeySequence(Qt::Key_F1));
  }

  // ---------------------------------------------------------- display font

  void TheFontDialogChangesTheDisplayFont_data() {
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("points");
    QTest::newRow("ten") << 10 << int(QDialog::Accepted) << 10;
    QTest::newRow("too large") << 20 << int(QDialog::Accepted) << 12;
    QTest::newRow("too small") << 6 << int(QDialog::Accepted) << 9;
    QTest::newRow("cancel") << 11 << int(QDialog::Rejected) << 9;
  }
  void TheFontDialogChangesTheDisplayFont() {
    QFETCH(int, chosen);
    QFETCH(int, result);
    TMainWindow& form = rig_->Create();
    QCOMPARE(form.MainFont().pointSize(), 9);
    QFont offered;
    form.Dialogs().SetModalHook([&](QDialog& dialog) {
      auto* fonts = qobject_cast<QFontDialog*>(&dialog);
      if (fonts == nullptr) return int(QDialog::Rejected);
      offered = fonts->currentFont();
      QFont font(QStringLiteral("IPAGothic"));
      font.setPointSize(chosen);
      fonts->setCurrentFont(font);
      return result;
    });
    form.Dialogs().FontSettingsClick();
    QCOMPARE(offered.pointSize(), 9);
    QTEST(form.MainFont().pointSize(), "points");
    // The views follow with their fonts and row heights.
    const int pixels = QFontInfo(form.MainFont()).pixelSize();
    QCOMPARE(form.ListingView()->RowHeight(), pixels + 4);
    QCOMPARE(form.LabelView()->RowHeight(), pixels + 4);
    QCOMPARE(form.ListingView()->font().pointSize(), form.MainFont().pointSize());
  }

  // Last: the application keeps the translations from here on.
  void QtsOwnTextsSpeakJapanese() {
    PrepareApplication(*qApp);
    QMessageBox box(QMessageBox::Question, QStringLiteral("QRX Emulator"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    const auto* nameLabel = files.findChild<QLabel*>(QStringLiteral("fileNameLabel"));
    QVERIFY(nameLabel != nullptr);
    QCOMPARE(nameLabel->text(), QStringLiteral("ファイル名(&N):"));
  }

 private:
  std::unique_ptr<TWindowRig> rig_;
};

QTEST_MAIN(TDialogsTest)
#include "dialogs_test.moc"
