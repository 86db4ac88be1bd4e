#include "monkey_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <chrono>
#include <cstdio>
#include <memory>

#include "monitor_qt/form_mon.h"
#include "monitor_qt/screen_thread.h"
#include "monkey_files.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/memory_view.h"
#include "workbench/tool_buttons.h"

namespace {

constexpr int kRecentKept = 60;
// A modal dialog still open after this many ticks is closed by force.
constexpr int kModalPatience = 8;
// Winding down (stopping the program, closing what is open) may take this long.
constexpr int kFinishLimitMs = 60000;
constexpr int kPingLimitMs = 10000;

int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The keys the listing, its letter commands and the shortcuts know, and a
// few it does not.
const Qt::Key kListingKeys[] = {
    Qt::Key_J,     Qt::Key_K,      Qt::Key_L,        Qt::Key_U,      Qt::Key_H,      Qt::Key_G,
    Qt::Key_E,     Qt::Key_N,      Qt::Key_B,        Qt::Key_P,      Qt::Key_Z,      Qt::Key_Up,
    Qt::Key_Down,  Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home,   Qt::Key_End,    Qt::Key_Left,
    Qt::Key_Right, Qt::Key_Return, Qt::Key_Space,    Qt::Key_Delete, Qt::Key_Escape, Qt::Key_Tab};
const Qt::Key kShortcutKeys[] = {Qt::Key_F1, Qt::Key_F2,  Qt::Key_F5,  Qt::Key_F7, Qt::Key_F8,
                                 Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12};
const Qt::Key kMonitorKeys[] = {
    Qt::Key_A,       Qt::Key_Z,         Qt::Key_0,   Qt::Key_9,    Qt::Key_Space,  Qt::Key_Return,
    Qt::Key_Left,    Qt::Key_Right,     Qt::Key_Up,  Qt::Key_Down, Qt::Key_Escape, Qt::Key_Shift,
    Qt::Key_Control, Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_F3,   Qt::Key_Insert, Qt::Key_Period};
const char* const kGridTexts[] = {"0",  "1F",  "ffff", "12345", "-1", "-32768", "65535",
                                  "zz", "#12", "'A'",  "",      " ",  "0x10",   "99999999999"};

template <typename T, size_t N>
T Pick(std::mt19937& random, const T (&items)[N]) {
  return items[std::uniform_int_distribution<size_t>(0, N - 1)(random)];
}

Qt::KeyboardModifiers SomeModifiers(std::mt19937& random) {
  switch (std::uniform_int_distribution<int>(0, 9)(random)) {
    case 0:
      return Qt::ShiftModifier;
    case 1:
      return Qt::ControlModifier;
    case 2:
      return Qt::AltModifier;
    default:
      return Qt::NoModifier;
  }
}

// The widget a key to the window goes to: its focus widget when it has one.
QWidget* KeyTarget(QWidget& window) {
  QWidget* focus = QApplication::focusWidget();
  if (focus != nullptr && (focus == &window || window.isAncestorOf(focus))) return focus;
  return &window;
}

}  // namespace

TMonkeyDriver::TMonkeyDriver(TMainWindow& form, TMonkeyFiles& files, uint32_t seed, int seconds)
    : form_(form), files_(files), random_(seed), seconds_(seconds) {}

void TMonkeyDriver::Start(std::function<void(bool alive)> done) {
  done_ = std::move(done);
  clock_.start();
  heartbeat_.store(SteadyMs());
  ScheduleTick();
}

QStringList TMonkeyDriver::RecentActions() const {
  std::lock_guard lock(recentLock_);
  return recent_;
}

int TMonkeyDriver::Roll(int below) {
  return std::uniform_int_distribution<int>(0, below - 1)(random_);
}

void TMonkeyDriver::Note(const QString& action) {
  ++actions_;
  std::lock_guard lock(recentLock_);
  recent_ << QStringLiteral("%1 [depth %2] %3").arg(actions_.load()).arg(depth_).arg(action);
  if (recent_.size() > kRecentKept) recent_.removeFirst();
  if (qEnvironmentVariableIsSet("MONKEY_VERBOSE"))
    std::fprintf(stderr, "%s\n", qPrintable(recent_.last()));
}

void TMonkeyDriver::ScheduleTick() {
  QTimer::singleShot(5 + Roll(30), this, &TMonkeyDriver::Tick);
}

void TMonkeyDriver::Tick() {
  heartbeat_.store(SteadyMs());
  if (finishing_) {
    Finish();
    return;
  }
  if (clock_.elapsed() >= static_cast<qint64>(seconds_) * 1000) {
    finishing_ = true;
    finishClock_.start();
    Note(QStringLiteral("time is up: winding down"));
    QTimer::singleShot(0, this, &TMonkeyDriver::Tick);
    return;
  }
  ScheduleTick();
  if (AnswerPopup() || AnswerModal()) return;

  ++depth_;
  const bool running = form_.Document().RunState() != TRunState::Idle;
  const int roll = Roll(100);
  if (running && roll < 6) {
    Note(QStringLiteral("stop button"));
    QTest::mouseClick(form_.ToolBar()->ButtonAt(TToolBarPanel::Stop), Qt::LeftButton);
  } else if (running && roll < 7) {
    // The main window's close box while a program runs: the window must
    // refuse (closing when idle would end the run of the monkey).
    Note(QStringLiteral("main window close box while running"));
    form_.close();
  } else if (roll < 16) {
    OpenMainMenu();
  } else if (roll < 28) {
    ClickRunButton();
  } else if (roll < 32) {
    ClickBackButton();
  } else if (roll < 44) {
    ListingKeys();
  } else if (roll < 54) {
    ListingMouse();
  } else if (roll < 58) {
    LabelMouse();
  } else if (roll < 66) {
    MemoryGrid();
  } else if (roll < 73) {
    OpenFile();
  } else if (roll < 75) {
    ResizeMainWindow();
  } else if (roll < 76) {
    DragSplitter();
  } else if (roll < 89) {
    MonitorInput();
  } else if (roll < 92) {
    MonitorWindow();
  } else if (roll < 93) {
    DropFile();
  } else if (roll < 95) {
    Note(QStringLiteral("source edit: %1").arg(files_.EditSource(random_)));
  } else if (roll < 96) {
    // The user comes back from another program (the editor): the platform
    // reports the application active again. Xvfb has no window manager to
    // move the focus, so the monkey gives the report itself.
    Note(QStringLiteral("application active again"));
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
  } else {
    Shortcut();
  }
  --depth_;
}

// ---------------------------------------------------------------- nested loops

bool TMonkeyDriver::AnswerPopup() {
  QWidget* popup = QApplication::activePopupWidget();
  if (popup == nullptr) return false;
  auto* menu = qobject_cast<QMenu*>(popup);
  ++depth_;
  if (menu != nullptr && Chance(80)) {
    ClickMenuItem(*menu);
  } else {
    Note(QStringLiteral("escape on pop-up %1").arg(popup->metaObject()->className()));
    QTest::keyClick(popup, Qt::Key_Escape);
  }
  --depth_;
  return true;
}

void TMonkeyDriver::ClickMenuItem(QMenu& menu) {
  QList<QAction*> items;
  for (QAction* action : menu.actions())
    if (action->isVisible() && !action->isSeparator() && action != form_.Menus().Quit)
      items << action;
  if (items.isEmpty() || !menu.isVisible()) {
    Note(QStringLiteral("escape on empty menu"));
    QTest::keyClick(&menu, Qt::Key_Escape);
    return;
  }
  QAction* action = items[Roll(static_cast<int>(items.size()))];
  const QRect rect = menu.actionGeometry(action);
  Note(QStringLiteral("menu item \"%1\"%2")
           .arg(action->text(), action->isEnabled() ? QString() : QStringLiteral(" (disabled)")));
  if (!action->isEnabled() || rect.isEmpty()) {
    QTest::keyClick(&menu, Qt::Key_Escape);
    return;
  }
  // A submenu opens on the click; the next tick answers it.
  QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, rect.center());
}

bool TMonkeyDriver::AnswerModal() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr) {
    lastModal_ = nullptr;
    return false;
  }
  if (modal != lastModal_) {
    lastModal_ = modal;
    modalTicks_ = 0;
  }
  ++depth_;
  const QString name = QString::fromLatin1(modal->metaObject()->className());
  auto* dialog = qobject_cast<QDialog*>(modal);
  auto* fileDialog = qobject_cast<QFileDialog*>(modal);
  if (++modalTicks_ > kModalPatience) {
    Note(QStringLiteral("modal %1 still open: closed").arg(name));
    if (dialog != nullptr)
      dialog->reject();
    else
      modal->close();
    --depth_;
    return true;
  }
  const int roll = Roll(100);
  QLineEdit* edit = modal->findChild<QLineEdit*>();
  if (edit != nullptr && !edit->isVisible()) edit = nullptr;
  if (roll < 35 && edit != nullptr) {
    if (fileDialog != nullptr) {
      // Saving goes into the run's scratch folder only.
      const bool log = fileDialog->defaultSuffix() == QStringLiteral("qlog");
      const QString path =
          files_.SavePath(random_, log ? QStringLiteral("qlog") : QStringLiteral("qsav"));
      Note(QStringLiteral("modal %1: save as %2").arg(name, path));
      edit->setText(path);
      QTest::keyClick(edit, Qt::Key_Return);
    } else {
      const QString text =
          Chance(50) ? QStringLiteral("true %F %L") : QStringLiteral("x%1").arg(Roll(1000));
      Note(QStringLiteral("modal %1: type \"%2\"").arg(name, text));
      edit->selectAll();
      QTest::keyClicks(edit, text);
    }
  } else if (roll < 50 && fileDialog == nullptr) {
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
      if (button->isVisible() && button->isEnabled()) buttons << button;
    if (!buttons.isEmpty()) {
      QAbstractButton* button = buttons[Roll(static_cast<int>(buttons.size()))];
      Note(QStringLiteral("modal %1: click \"%2\"").arg(name, button->text()));
      QTest::mouseClick(button, Qt::LeftButton);
    }
  } else if (roll < 75) {
    Note(QStringLiteral("modal %1: escape").arg(name));
    QTest::keyClick(KeyTarget(*modal), Qt::Key_Escape);
  } else {
    Note(QStringLiteral("modal %1: return").arg(name));
    QTest::keyClick(KeyTarget(*modal), Qt::Key_Return);
  }
  --depth_;
  return true;
}

// ---------------------------------------------------------------- actions

void TMonkeyDriver::OpenMainMenu() {
  QMenuBar* bar = form_.menuBar();
  QList<QAction*> titles;
  for (QAction* action : bar->actions())
    if (action->isVisible()) titles << action;
  if (titles.isEmpty()) return;
  QAction* title = titles[Roll(static_cast<int>(titles.size()))];
  Note(QStringLiteral("menu bar \"%1\"").arg(title->text()));
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(title).center());
}

void TMonkeyDriver::ClickRunButton() {
  const int button = Roll(TToolBarPanel::kButtonCount);
  Note(QStringLiteral("run button %1").arg(button));
  QTest::mouseClick(form_.ToolBar()->ButtonAt(button), Qt::LeftButton);
}

void TMonkeyDriver::ClickBackButton() {
  const int button = Roll(TToolBarPanel::kBackButtonCount);
  Note(QStringLiteral("back button %1").arg(button));
  QTest::mouseClick(form_.ToolBar()->BackButtonAt(button), Qt::LeftButton);
}

void TMonkeyDriver::ListingKeys() {
  TListingView* listing = form_.ListingView();
  const int count = 1 + Roll(4);
  for (int i = 0; i < count; ++i) {
    const Qt::Key key = Pick(random_, kListingKeys);
    const Qt::KeyboardModifiers modifiers = SomeModifiers(random_);
    Note(QStringLiteral("listing key %1 modifiers %2")
             .arg(key, 0, 16)
             .arg(modifiers.toInt(), 0, 16));
    QTest::keyClick(listing, key, modifiers);
  }
}

void TMonkeyDriver::ListingMouse() {
  TListingView* listing = form_.ListingView();
  QWidget* viewport = listing->viewport();
  const QPoint point(Roll(qMax(1, viewport->width())), Roll(qMax(1, viewport->height())));
  const int kind = Roll(100);
  if (kind < 35) {
    Note(QStringLiteral("listing click %1,%2").arg(point.x()).arg(point.y()));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, point);
  } else if (kind < 75) {
    Note(QStringLiteral("listing double-click %1,%2").arg(point.x()).arg(point.y()));
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, point);
  } else if (kind < 88) {
    Note(QStringLiteral("listing right-click %1,%2").arg(point.x()).arg(point.y()));
    QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, point);
  } else {
    const int delta = Chance(50) ? 120 : -360;
    Note(QStringLiteral("listing wheel %1").arg(delta));
    QWheelEvent wheel(point, viewport->mapToGlobal(point), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
  }
}

void TMonkeyDriver::LabelMouse() {
  QWidget* viewport = form_.LabelView()->viewport();
  if (!viewport->isVisible()) return;
  const QPoint point(Roll(qMax(1, viewport->width())), Roll(qMax(1, viewport->height())));
  const int kind = Roll(3);
  Note(QStringLiteral("label view %1 at %2,%3").arg(kind).arg(point.x()).arg(point.y()));
  if (kind == 0)
    QTest::mouseClick(viewport, Qt::LeftButton, Chance(30) ? Qt::ControlModifier : Qt::NoModifier,
                      point);
  else if (kind == 1)
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, point);
  else
    QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, point);
}

void TMonkeyDriver::MemoryGrid() {
  QTableView* grid = form_.MemoryView()->Grid();
  if (!grid->isVisible() || grid->model() == nullptr) return;
  QWidget* viewport = grid->viewport();
  const QPoint point(Roll(qMax(1, viewport->width())), Roll(qMax(1, viewport->height())));
  const int kind = Roll(100);
  if (kind < 30) {
    Note(QStringLiteral("grid click %1,%2").arg(point.x()).arg(point.y()));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, point);
  } else if (kind < 60) {
    Note(QStringLiteral("grid double-click %1,%2").arg(point.x()).arg(point.y()));
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, point);
  } else if (kind < 85) {
    QWidget* target = grid;
    if (auto* editor = grid->findChild<QLineEdit*>(); editor != nullptr && editor->isVisible())
      target = editor;
    const QString text = QString::fromLatin1(Pick(random_, kGridTexts));
    Note(QStringLiteral("grid type \"%1\"").arg(text));
    QTest::keyClicks(target, text);
    QTest::keyClick(target, Chance(80) ? Qt::Key_Return : Qt::Key_Escape);
  } else {
    const Qt::Key keys[] = {Qt::Key_Up,       Qt::Key_Down,   Qt::Key_Left, Qt::Key_Right,
                            Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End,
                            Qt::Key_F2,       Qt::Key_Delete};
    const Qt::Key key = Pick(random_, keys);
    Note(QStringLiteral("grid key %1").arg(key, 0, 16));
    QTest::keyClick(grid, key, SomeModifiers(random_));
  }
}

void TMonkeyDriver::OpenFile() {
  // Through the menu as a user does: the file menu, then its load item (the
  // open dialog is answered by the hook with a file from the pool).
  QMenuBar* bar = form_.menuBar();
  QMenu* file = form_.Menus().File;
  if (!file->isEnabled()) return;
  Note(QStringLiteral("file menu: load"));
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                    bar->actionGeometry(file->menuAction()).center());
  if (!file->isVisible()) return;
  const QRect rect = file->actionGeometry(form_.Menus().Load);
  QTest::mouseClick(file, Qt::LeftButton, Qt::NoModifier, rect.center());
}

void TMonkeyDriver::DropFile() {
  // A file dragged from a file manager and dropped on the window.
  const QString path = files_.Pick(random_);
  Note(QStringLiteral("drop %1").arg(path));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  const QPoint point(Roll(qMax(1, form_.width())), Roll(qMax(1, form_.height())));
  QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form_, &enter);
  if (!enter.isAccepted()) return;
  QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form_, &drop);
}

void TMonkeyDriver::DragSplitter() {
  // A splitter's handle pressed, dragged anywhere (a panel may close
  // entirely) and released.
  QSplitter* splitter = Chance(50) ? form_.LabelSplitter() : form_.MemorySplitter();
  if (splitter == nullptr || splitter->count() < 2) return;
  QSplitterHandle* handle = splitter->handle(1);
  if (handle == nullptr || !handle->isVisible()) {
    Note(QStringLiteral("no splitter handle to drag"));
    return;
  }
  const QPoint from = handle->rect().center();
  const QPoint to = from + QPoint(Roll(1400) - 700, Roll(1000) - 500);
  Note(QStringLiteral("drag splitter %1 by %2,%3")
           .arg(splitter == form_.LabelSplitter() ? "label" : "memory")
           .arg(to.x() - from.x())
           .arg(to.y() - from.y()));
  QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, from);
  QMouseEvent move(QEvent::MouseMove, to, handle->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(handle, &move);
  QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, to);
}

void TMonkeyDriver::ResizeMainWindow() {
  // Down to nothing: the window keeps its least size, the panels shrink.
  const QSize size =
      Chance(20) ? QSize(1 + Roll(120), 1 + Roll(120)) : QSize(150 + Roll(1100), 100 + Roll(850));
  Note(QStringLiteral("resize main window %1x%2").arg(size.width()).arg(size.height()));
  form_.resize(size);
}

void TMonkeyDriver::MonitorInput() {
  TFormMon* monitor = form_.Screen().Monitor();
  if (monitor == nullptr || !monitor->isVisible()) return;
  QWidget* box = monitor->PaintBox1();
  const QPoint point(Roll(qMax(1, box->width())), Roll(qMax(1, box->height())));
  const int kind = Roll(100);
  if (kind < 45) {
    const Qt::Key key = Pick(random_, kMonitorKeys);
    const bool press = Chance(60);
    Note(QStringLiteral("monitor key %1 %2").arg(key, 0, 16).arg(press ? "down" : "up"));
    if (press)
      QTest::keyPress(monitor, key);
    else
      QTest::keyRelease(monitor, key);
  } else if (kind < 65) {
    Note(QStringLiteral("monitor mouse move %1,%2").arg(point.x()).arg(point.y()));
    QTest::mouseMove(box, point);
    QMouseEvent move(QEvent::MouseMove, point, box->mapToGlobal(point), Qt::NoButton,
                     Chance(50) ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
  } else if (kind < 85) {
    const Qt::MouseButton button =
        Chance(60) ? Qt::LeftButton : (Chance(50) ? Qt::RightButton : Qt::MiddleButton);
    const bool press = Chance(50);
    Note(QStringLiteral("monitor mouse %1 %2 at %3,%4")
             .arg(button)
             .arg(press ? "press" : "release")
             .arg(point.x())
             .arg(point.y()));
    if (press)
      QTest::mousePress(box, button, Qt::NoModifier, point);
    else
      QTest::mouseRelease(box, button, Qt::NoModifier, point);
  } else {
    Note(QStringLiteral("monitor double-click %1,%2").arg(point.x()).arg(point.y()));
    QTest::mouseDClick(box, Qt::LeftButton, Qt::NoModifier, point);
  }
}

void TMonkeyDriver::MonitorWindow() {
  TFormMon* monitor = form_.Screen().Monitor();
  const int kind = Roll(3);
  if (kind == 0 || monitor == nullptr) {
    // The view menu's monitor item shows or hides it.
    QMenuBar* bar = form_.menuBar();
    QMenu* view = form_.Menus().View;
    Note(QStringLiteral("view menu: monitor"));
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                      bar->actionGeometry(view->menuAction()).center());
    if (view->isVisible())
      QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier,
                        view->actionGeometry(form_.Menus().Monitor).center());
  } else if (kind == 1) {
    Note(QStringLiteral("monitor close box"));
    monitor->close();
  } else {
    const QSize size =
        Chance(20) ? QSize(1 + Roll(40), 1 + Roll(40)) : QSize(50 + Roll(900), 50 + Roll(700));
    Note(QStringLiteral("resize monitor %1x%2").arg(size.width()).arg(size.height()));
    monitor->resize(size);
  }
}

void TMonkeyDriver::Shortcut() {
  const Qt::Key key = Pick(random_, kShortcutKeys);
  const Qt::KeyboardModifiers modifiers = Chance(50) ? Qt::ShiftModifier : SomeModifiers(random_);
  Note(QStringLiteral("shortcut %1 modifiers %2").arg(key, 0, 16).arg(modifiers.toInt(), 0, 16));
  QTest::keyClick(KeyTarget(form_), key, modifiers);
}

// ---------------------------------------------------------------- the end

void TMonkeyDriver::Finish() {
  if (finishClock_.elapsed() > kFinishLimitMs) {
    std::fprintf(stderr, "monkey: could not wind down within %d ms\n", kFinishLimitMs);
    done_(false);
    return;
  }
  auto again = [this] { QTimer::singleShot(20, this, &TMonkeyDriver::Tick); };
  if (QWidget* popup = QApplication::activePopupWidget()) {
    popup->close();
    again();
    return;
  }
  if (QWidget* modal = QApplication::activeModalWidget()) {
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
    else
      modal->close();
    again();
    return;
  }
  if (form_.Document().RunState() != TRunState::Idle) {
    QTest::mouseClick(form_.ToolBar()->ButtonAt(TToolBarPanel::Stop), Qt::LeftButton);
    again();
    return;
  }
  if (depth_ > 0) {
    again();
    return;
  }
  if (TFormMon* monitor = form_.Screen().Monitor()) {
    for (const Qt::Key key : kMonitorKeys)
      QTest::keyRelease(monitor, key);
  }
  // A queued event must come through the event loop in time.
  auto answered = std::make_shared<bool>(false);
  QMetaObject::invokeMethod(
      this, [answered] { *answered = true; }, Qt::QueuedConnection);
  QElapsedTimer wait;
  wait.start();
  while (!*answered && wait.elapsed() < kPingLimitMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  std::fprintf(stderr, "monkey: %lld actions; queued event %s after %lld ms\n",
               static_cast<long long>(actions_.load()), *answered ? "answered" : "NOT answered",
               static_cast<long long>(wait.elapsed()));
  done_(*answered);
}
