#include "workbench/main_menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

const char* const kClearBreakpointCaption = "ブレークポイント解除(&B)";
const char* const kSetBreakpointCaption = "ブレークポイント設定(&B)";

namespace {

QString Caption(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QAction* Item(QMenu* menu, const char* caption, int tag = 0) {
  QAction* action = menu->addAction(Caption(caption));
  action->setData(tag);
  return action;
}

QAction* Toggle(QMenu* menu, const char* caption, bool checked) {
  QAction* action = Item(menu, caption);
  action->setCheckable(true);
  action->setChecked(checked);
  return action;
}

QAction* Radio(QMenu* menu, QActionGroup* group, const char* caption, int tag, bool checked) {
  QAction* action = Toggle(menu, caption, checked);
  action->setData(tag);
  group->addAction(action);
  return action;
}

void BuildFileMenu(QMenuBar& bar, TMainMenus& m) {
  m.File = bar.addMenu(Caption("ファイル(&F)"));
  m.Load = Item(m.File, "読み込み(&L)...");
  m.Reload = Item(m.File, "読み込み直す(&R)");
  m.EditSource = Item(m.File, "ソース編集(&E)...");
  m.File->addSeparator();
  m.SaveState = Item(m.File, "現在の状態を保存(&S)...");
  m.SaveInputLog = Item(m.File, "入力ログを保存(&I)...");
  m.SaveMachineCode = Item(m.File, "機械語で保存(&B)...");
  m.SaveMachineCode->setVisible(false);
  m.File->addSeparator();
  m.Quit = Item(m.File, "終了(&Q)");
}

void BuildRunMenu(QMenuBar& bar, QObject* owner, TMainMenus& m) {
  m.Run = bar.addMenu(Caption("実行(&R)"));
  m.RunItem = Item(m.Run, "実行(&R)", 1);
  m.TraceItem = Item(m.Run, "トレース実行(&T)", 0);
  m.StepItem = Item(m.Run, "ステップ実行(&S)");
  m.StepItem->setVisible(false);
  m.Run->addSeparator();
  m.StopItem = Item(m.Run, "プログラム停止(&E)");
  m.ResetItem = Item(m.Run, "リセット(&I)");
  m.Run->addSeparator();
  // The shortcuts of reverse debugging: back one instruction (step into),
  // back over a call (step over), run back (go).
  m.StepBackItem = Item(m.Run, "1命令戻る(&P)");
  m.StepBackItem->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F11));
  m.StepBackOverCallItem = Item(m.Run, "CALLの前まで戻る(&C)");
  m.StepBackOverCallItem->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
  m.RunBackItem = Item(m.Run, "逆実行(&V)");
  m.RunBackItem->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F5));
  for (QAction* back : {m.StepBackItem, m.StepBackOverCallItem, m.RunBackItem})
    back->setEnabled(false);
  m.Run->addSeparator();
  m.BreakPointStop = Toggle(m.Run, "実行時にブレークポイントが有効(&B)", true);
  m.Wait = m.Run->addMenu(Caption("トレース時のウェイト(&W)"));
  m.WaitGroup = new QActionGroup(owner);
  m.WaitGroup->setExclusive(true);
  const char* const captions[] = {"なし(&0)",  "20ms(&1)",  "50ms(&2)",
                                  "100ms(&3)", "200ms(&4)", "500ms(&5)"};
  const int tags[] = {0, 20, 50, 100, 200, 500};
  for (size_t i = 0; i < m.WaitItems.size(); ++i)
    m.WaitItems[i] = Radio(m.Wait, m.WaitGroup, captions[i], tags[i], tags[i] == 200);
}

void BuildViewMenu(QMenuBar& bar, QObject* owner, TMainMenus& m) {
  m.View = bar.addMenu(Caption("表示(&V)"));
  m.NumberFormatGroup = new QActionGroup(owner);
  m.NumberFormatGroup->setExclusive(true);
  m.NumberFormatItems[0] = Radio(m.View, m.NumberFormatGroup, "10進符号付き(&D)", 0, false);
  m.NumberFormatItems[1] = Radio(m.View, m.NumberFormatGroup, "10進符号なし(&W)", 1, false);
  m.NumberFormatItems[2] = Radio(m.View, m.NumberFormatGroup, "16進(&H)", 2, true);
  m.View->addSeparator();
  m.MemoryDump = Toggle(m.View, "メモリダンプ(&M)", true);
  m.LabelPanel = Toggle(m.View, "ラベル(&L)", true);
  m.Monitor = Toggle(m.View, "モニタ(&V)", true);
  m.View->addSeparator();
  m.LabelFilter = m.View->addMenu(Caption("ラベル表示の設定(&L)"));
  m.SkNotAll = Toggle(m.LabelFilter, "選択ラベル以外表示しない(&A)", false);
  m.SkLocal = Toggle(m.LabelFilter, "ローカルラベルも表示(&X)", false);
  m.SkLocal->setVisible(false);
  m.LabelFilter->addSeparator();
  m.SkNum = Toggle(m.LabelFilter, "#即値型(&I)", false);
  m.SkVal = Toggle(m.LabelFilter, "変数型(&V)", true);
  m.SkLabel = Toggle(m.LabelFilter, ">行ラベル型(&L)", false);
  m.SkPointer = Toggle(m.LabelFilter, "^ポインタ型(&P)", true);
  m.SkAuto = Toggle(m.LabelFilter, "*自動生成型(&S)", false);
  m.Units = Item(m.View, "表示するユニットの設定(&U)...");
  m.MonitorActive = Toggle(m.View, "実行時にモニタを前面に出す(&T)", false);
  m.SyncView = Toggle(m.View, "ソースとメモリビューを同期する(&S)", true);
}

void BuildHelpMenu(QMenuBar& bar, TMainMenus& m) {
  m.Help = bar.addMenu(Caption("ヘルプ(&H)"));
  m.HelpItem = Item(m.Help, "ヘルプ(&H)");
  m.HelpItem->setShortcut(QKeySequence(Qt::Key_F1));
  m.Help->addSeparator();
  m.EditorSettings = Item(m.Help, "エディタの設定(&E)...");
  m.CheckTimeStamp = Toggle(m.Help, "ソースのタイムスタンプをチェックする(&C)", false);
  m.FontSettings = Item(m.Help, "表示フォントの設定(&F)...");
  m.FontSettings->setVisible(false);
  m.Help->addSeparator();
  m.About = Item(m.Help, "バージョン情報(&V)");
}

}  // namespace

TMainMenus BuildMainMenus(QMenuBar& bar, QObject* owner) {
  TMainMenus m;
  BuildFileMenu(bar, m);
  BuildRunMenu(bar, owner, m);
  BuildViewMenu(bar, owner, m);
  BuildHelpMenu(bar, m);
  return m;
}

TListingPopup BuildListingPopup(QWidget* parent) {
  TListingPopup p;
  p.Menu = new QMenu(parent);
  p.Jump = p.Menu->addMenu(Caption("選択行ジャンプ(&S)"));
  p.JumpTarget = Item(p.Jump, "Jamp・Callの飛び先(&J)");
  p.ExecutionPosition = Item(p.Jump, "現在の実行位置(&P)");
  p.Jump->addSeparator();
  const QString backwardsHint = Caption("Shiftで前に戻ります");
  p.NextError = Item(p.Jump, "次のアセンブルエラー(&E)");
  p.NextLabel = Item(p.Jump, "次のラベル(&L)");
  p.NextImportant = Item(p.Jump, "次の重要なコメント(&H)");
  p.NextInclude = Item(p.Jump, "次のIncludeファイル(&I)");
  for (QAction* next : {p.NextError, p.NextLabel, p.NextImportant, p.NextInclude}) {
    next->setToolTip(backwardsHint);
    next->setStatusTip(backwardsHint);
  }
  p.Jump->setToolTipsVisible(true);
  p.Jump->addSeparator();
  p.Back = Item(p.Jump, "前のジャンプ位置に戻る(&Z)");
  p.Menu->addSeparator();
  p.Breakpoint = Item(p.Menu, "ブレークポイント(&B)");
  p.ClearBreakpoints = Item(p.Menu, "全ブレークポイントを解除(&Q)");
  p.Menu->addSeparator();
  p.EditSource = Item(p.Menu, "ソースの編集(&E)");
  p.EditMacroSource = Item(p.Menu, "マクロソースの編集(&M)");
  return p;
}

TLabelPopup BuildLabelPopup(QWidget* parent, QAction* skNotAll) {
  TLabelPopup p;
  p.Menu = new QMenu(parent);
  p.Menu->addAction(skNotAll);
  p.SelectLabels = Item(p.Menu, "ラベルの選択(&V)");
  p.DeselectLabels = Item(p.Menu, "ラベルの選択解除(&H)");
  p.Menu->addSeparator();
  p.JumpToDefinition = Item(p.Menu, "定義位置にジャンプ(&J)");
  p.ShowMemory = Item(p.Menu, "参照メモリを表示(&M)");
  p.ShowIndirectMemory = Item(p.Menu, "間接参照メモリを表示(&I)");
  return p;
}
