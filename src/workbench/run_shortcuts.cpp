#include "workbench/run_shortcuts.h"

#include <QAction>
#include <QToolButton>

#include "workbench/main_window.h"
#include "workbench/tool_buttons.h"

namespace {

// The hints with their keys, by button.
const char* const kHints[TToolBarPanel::kButtonCount] = {"実行 (F5)", "トレース実行 (F7)",
                                                         "ステップ実行 (F8、Ctrl+F8でCALLの中へ)",
                                                         "停止 (Ctrl+F5)", "リセット (Ctrl+F2)"};
const char* const kBackHints[TToolBarPanel::kBackButtonCount] = {"1命令戻る (Shift+F11)",
                                                                 "逆実行 (Shift+F5)"};

}  // namespace

const std::array<TRunShortcuts::TKey, 6>& TRunShortcuts::Keys() {
  static const std::array<TKey, 6> keys{{
      {TToolBarPanel::Run, QKeySequence(Qt::Key_F5)},
      {TToolBarPanel::Trace, QKeySequence(Qt::Key_F7)},
      {TToolBarPanel::Step, QKeySequence(Qt::Key_F8)},
      {TToolBarPanel::Step, QKeySequence(Qt::CTRL | Qt::Key_F8)},
      {TToolBarPanel::Stop, QKeySequence(Qt::CTRL | Qt::Key_F5)},
      {TToolBarPanel::Reset, QKeySequence(Qt::CTRL | Qt::Key_F2)},
  }};
  return keys;
}

TRunShortcuts::TRunShortcuts(TMainWindow& form) : QObject(&form) {
  TToolBarPanel* bar = form.ToolBar();
  for (const TKey& key : Keys()) {
    QToolButton* button = bar->ButtonAt(key.Button);
    auto* action = new QAction(this);
    action->setShortcut(key.Keys);
    action->setShortcutContext(Qt::WindowShortcut);
    // click() does nothing on a disabled button.
    connect(action, &QAction::triggered, button, [button] { button->click(); });
    form.addAction(action);
  }
  for (int i = 0; i < TToolBarPanel::kButtonCount; ++i)
    bar->ButtonAt(i)->setToolTip(QString::fromUtf8(kHints[i]));
  for (int i = 0; i < TToolBarPanel::kBackButtonCount; ++i)
    bar->BackButtonAt(i)->setToolTip(QString::fromUtf8(kBackHints[i]));
}
