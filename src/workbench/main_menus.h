// The main window's menus and the two pop-up menus, with their captions,
// shortcuts, tags (QAction::data), check and radio states and hidden items.
// Building them connects nothing: the main window connects the items it
// handles and applies the enabling rules when a menu opens.
#pragma once

#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QObject;
class QWidget;

struct TMainMenus {
  // "ファイル(&F)"
  QMenu* File = nullptr;
  QAction* Load = nullptr;             // "読み込み(&L)..."
  QAction* Reload = nullptr;           // "読み込み直す(&R)"
  QAction* EditSource = nullptr;       // "ソース編集(&E)..."
  QAction* SaveState = nullptr;        // "現在の状態を保存(&S)..."
  QAction* SaveInputLog = nullptr;     // "入力ログを保存(&I)..."
  QAction* SaveMachineCode = nullptr;  // "機械語で保存(&B)..." (hidden)
  QAction* Quit = nullptr;             // "終了(&Q)"

  // "実行(&R)"
  QMenu* Run = nullptr;
  QAction* RunItem = nullptr;    // "実行(&R)", tag 1
  QAction* TraceItem = nullptr;  // "トレース実行(&T)", tag 0
  QAction* StepItem = nullptr;   // "ステップ実行(&S)" (hidden, no action)
  QAction* StopItem = nullptr;   // "プログラム停止(&E)"
  QAction* ResetItem = nullptr;  // "リセット(&I)"
  // Going back in the execution history.
  QAction* StepBackItem = nullptr;          // "1命令戻る(&P)", Shift+F11
  QAction* StepBackOverCallItem = nullptr;  // "CALLの前まで戻る(&C)", Shift+F10
  QAction* RunBackItem = nullptr;           // "逆実行(&V)", Shift+F5
  QAction* BreakPointStop = nullptr;        // "実行時にブレークポイントが有効(&B)"
  QMenu* Wait = nullptr;                    // "トレース時のウェイト(&W)"
  QActionGroup* WaitGroup = nullptr;
  // "なし(&0)" ... "500ms(&5)", tags 0, 20, 50, 100, 200, 500.
  std::array<QAction*, 6> WaitItems{};

  // "表示(&V)"
  QMenu* View = nullptr;
  QActionGroup* NumberFormatGroup = nullptr;
  // "10進符号付き(&D)" tag 0, "10進符号なし(&W)" tag 1, "16進(&H)" tag 2.
  std::array<QAction*, 3> NumberFormatItems{};
  QAction* MemoryDump = nullptr;  // "メモリダンプ(&M)"
  QAction* LabelPanel = nullptr;  // "ラベル(&L)"
  QAction* Monitor = nullptr;     // "モニタ(&V)"
  QMenu* LabelFilter = nullptr;   // "ラベル表示の設定(&L)"
  QAction* SkNotAll = nullptr;  // "選択ラベル以外表示しない(&A)" (also in the label pop-up)
  QAction* SkLocal = nullptr;        // "ローカルラベルも表示(&X)" (hidden)
  QAction* SkNum = nullptr;          // "#即値型(&I)"
  QAction* SkVal = nullptr;          // "変数型(&V)"
  QAction* SkLabel = nullptr;        // ">行ラベル型(&L)"
  QAction* SkPointer = nullptr;      // "^ポインタ型(&P)"
  QAction* SkAuto = nullptr;         // "*自動生成型(&S)"
  QAction* Units = nullptr;          // "表示するユニットの設定(&U)..."
  QAction* MonitorActive = nullptr;  // "実行時にモニタを前面に出す(&T)"
  QAction* SyncView = nullptr;       // "ソースとメモリビューを同期する(&S)"

  // "ヘルプ(&H)"
  QMenu* Help = nullptr;
  QAction* HelpItem = nullptr;        // "ヘルプ(&H)", F1
  QAction* EditorSettings = nullptr;  // "エディタの設定(&E)..."
  QAction* CheckTimeStamp = nullptr;  // "ソースのタイムスタンプをチェックする(&C)"
  QAction* FontSettings = nullptr;    // "表示フォントの設定(&F)..." (hidden)
  QAction* About = nullptr;           // "バージョン情報(&V)"
};

// The listing's pop-up menu.
struct TListingPopup {
  QMenu* Menu = nullptr;
  QMenu* Jump = nullptr;                 // "選択行ジャンプ(&S)"
  QAction* JumpTarget = nullptr;         // "Jamp・Callの飛び先(&J)"
  QAction* ExecutionPosition = nullptr;  // "現在の実行位置(&P)"
  QAction* NextError = nullptr;          // "次のアセンブルエラー(&E)"
  QAction* NextLabel = nullptr;          // "次のラベル(&L)"
  QAction* NextImportant = nullptr;      // "次の重要なコメント(&H)"
  QAction* NextInclude = nullptr;        // "次のIncludeファイル(&I)"
  QAction* Back = nullptr;               // "前のジャンプ位置に戻る(&Z)"
  QAction* Breakpoint = nullptr;         // "ブレークポイント(&B)"
  QAction* ClearBreakpoints = nullptr;   // "全ブレークポイントを解除(&Q)"
  QAction* EditSource = nullptr;         // "ソースの編集(&E)"
  QAction* EditMacroSource = nullptr;    // "マクロソースの編集(&M)"
};

// The label view's pop-up menu. Its first item is the main
// menu's SkNotAll action itself, so the two always agree.
struct TLabelPopup {
  QMenu* Menu = nullptr;
  QAction* SelectLabels = nullptr;        // "ラベルの選択(&V)"
  QAction* DeselectLabels = nullptr;      // "ラベルの選択解除(&H)"
  QAction* JumpToDefinition = nullptr;    // "定義位置にジャンプ(&J)"
  QAction* ShowMemory = nullptr;          // "参照メモリを表示(&M)"
  QAction* ShowIndirectMemory = nullptr;  // "間接参照メモリを表示(&I)"
};

// The caption of the listing pop-up's breakpoint item while it is set / not
// set on the selected row.
extern const char* const kClearBreakpointCaption;  // "ブレークポイント解除(&B)"
extern const char* const kSetBreakpointCaption;    // "ブレークポイント設定(&B)"

// Fills the menu bar; the check states are those of the design (the
// settings are applied afterwards).
TMainMenus BuildMainMenus(QMenuBar& bar, QObject* owner);
TListingPopup BuildListingPopup(QWidget* parent);
TLabelPopup BuildLabelPopup(QWidget* parent, QAction* skNotAll);
