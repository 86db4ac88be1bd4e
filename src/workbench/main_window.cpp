#include "workbench/main_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontInfo>
#include <QHeaderView>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include "assembler/qrx_assembler.h"
#include "monitor/monitor_model.h"
#include "monitor/screen_cell.h"
#include "monitor_qt/form_mon.h"
#include "monitor_qt/screen_thread.h"
#include "persistence/encoding.h"
#include "session/execution_history.h"
#include "session/program_session.h"
#include "session/run_control.h"
#include "workbench/case_check_command.h"
#include "workbench/dialog_commands.h"
#include "workbench/editor_commands.h"
#include "workbench/file_commands.h"
#include "workbench/label_view.h"
#include "workbench/label_view_model.h"
#include "workbench/listing_view.h"
#include "workbench/live_view_refresh.h"
#include "workbench/memory_view.h"
#include "workbench/message_line.h"
#include "workbench/navigation.h"
#include "workbench/run_commands.h"
#include "workbench/run_shortcuts.h"
#include "workbench/side_panels.h"
#include "workbench/tool_buttons.h"
#include "workbench/view_commands.h"
#include "workbench/view_support.h"
#include "workbench/window_placement.h"
#include "workbench/workbench_document.h"

namespace {

const QString kCaption = QStringLiteral("QRX エミュレータ");

// A panel with a header bar of fixed height above its view.
QWidget* HeaderedPanel(QHeaderView* header, QWidget* view) {
  auto* panel = new QWidget;
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  header->setFixedHeight(TMainWindow::kHeaderHeight);
  header->setSectionsMovable(false);
  layout->addWidget(header);
  layout->addWidget(view, 1);
  return panel;
}

// Label names are CP932 inside; the settings file holds UTF-8 text.
QString JoinedNames(const TCustomStringList& names) {
  std::string joined;
  for (int i = 0; i < names.Count(); ++i) {
    if (i > 0) joined += ',';
    joined += names[i];
  }
  return QString::fromStdString(Cp932ToUtf8(joined));
}

void SplitNames(const QString& text, TCustomStringList& names) {
  names.Clear();
  const std::string cp932 = Utf8ToCp932(text.toStdString());
  size_t start = 0;
  while (start <= cp932.size()) {
    size_t comma = cp932.find(',', start);
    if (comma == std::string::npos) comma = cp932.size();
    std::string name = cp932.substr(start, comma - start);
    if (!name.empty()) names.Add(std::move(name));
    start = comma + 1;
  }
}

}  // namespace

TStartOptions TStartOptions::FromApplication() {
  TStartOptions options;
  options.ProgramFolder = QCoreApplication::applicationDirPath();
  options.Arguments = QCoreApplication::arguments().mid(1);
  return options;
}

TRowMetrics RowMetricsForFontHeight(int h) {
  return TRowMetrics{(h + 2) * 12 / 10, (h + 4) * 28 / 10, h + 4};
}

TMainWindow::TMainWindow(const TStartOptions& options, QWidget* parent)
    : QMainWindow(parent), options_(options) {
  setWindowTitle(kCaption);
  resize(780, 470);

  // The program (the keyboard table the monitor reads, the monitor model,
  // the session with the assembler, machine, breakpoints, file set and label
  // lists, the execution history and run control), and the label view's rows
  // (sorted, registers first).
  document_ = std::make_unique<TWorkbenchDocument>();
  labelRows_ = std::make_unique<TLabelViewModel>(document_->Session().Assembler());
  labelRows_->SetSorted(true);

  BuildLayout();
  navigator_ = std::make_unique<TNavigator>(document_->Session(), *listingView_, [this] {
    return document_->RunState() == TRunState::Idle;
  });
  menus_ = BuildMainMenus(*menuBar(), this);
  listingPopup_ = BuildListingPopup(this);
  labelPopup_ = BuildLabelPopup(this, menus_.SkNotAll);
  sidePanels_ = new TSidePanels(*this, *labelSplitter_);
  liveRefresh_ = new TLiveViewRefresh(*this, *sidePanels_);
  dialogs_ = new TDialogCommands(*this);
  editor_ = new TEditorCommands(*this);
  viewCommands_ = new TViewCommands(*this);
  runCommands_ = new TRunCommands(*this);
  runShortcuts_ = new TRunShortcuts(*this);
  caseCheck_ = new TCaseCheckCommand(*this);
  // Follows the application's activation from here on.
  fileCommands_ = new TFileCommands(*this);
  ConnectMenus();
  // The navigator follows the listing pop-up's jump submenu and the letter
  // keys.
  navigator_->ConnectJumpMenu(listingPopup_);
  keyFilter_ = std::make_unique<TNavigationKeyFilter>(*navigator_, document_->KeyboardTable(),
                                                      listingView_, labelView_);

  // First start, then the settings.
  folders_ = TWorkbenchFolders::Locate(options_.ProgramFolder, options_.SampleFolder);
  firstStart_ = PrepareFirstStart(folders_);
  const TWorkbenchSettings settings =
      ReadWorkbenchSettings(folders_.SettingsFile, folders_.SourceFolder);
  if (!options_.Arguments.isEmpty()) {
    const QFileInfo argument(options_.Arguments.first());
    if (argument.isFile()) startFile_ = argument.absoluteFilePath();
  }
  ApplySettings(settings);
  sidePanels_->ApplySettings(settings);
  StartScreenThread(settings);

  // The views start with the assembler's empty listing and the six
  // registers.
  listingView_->SetRows(&document_->Session().Assembler().Listing());
  labelView_->SetModel(labelRows_.get());
  setAcceptDrops(true);
}

TMainWindow::~TMainWindow() {
  // The thread goes first: it reads the run state and owns the monitor
  // window, which draws from the monitor model.
  if (screen_) screen_->Stop();
  screen_.reset();
  // The views ask this window (as their host) for the session and the
  // number format whenever they are hidden or painted; they go while it is
  // whole, before the session and the base class's destructor.
  hide();
  delete takeCentralWidget();
}

void TMainWindow::BuildLayout() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  toolBar_ = new TToolBarPanel(central);
  column->addWidget(toolBar_);

  memorySplitter_ = new QSplitter(Qt::Vertical, central);
  memorySplitter_->setHandleWidth(kSplitterWidth);
  memorySplitter_->setChildrenCollapsible(false);
  labelSplitter_ = new QSplitter(Qt::Horizontal, memorySplitter_);
  labelSplitter_->setHandleWidth(kSplitterWidth);
  labelSplitter_->setChildrenCollapsible(false);

  labelView_ = new TLabelView(*this);
  labelPanel_ = HeaderedPanel(labelView_->HeaderBar(), labelView_);
  listingView_ = new TListingView(*this);
  listingPanel_ = HeaderedPanel(listingView_->HeaderBar(), listingView_);
  labelSplitter_->addWidget(labelPanel_);
  labelSplitter_->addWidget(listingPanel_);
  labelSplitter_->setStretchFactor(0, 0);
  labelSplitter_->setStretchFactor(1, 1);

  memoryView_ = new TMemoryView(*this);
  memoryView_->StatusBar()->setFont(HeaderBarFont());
  memoryPanel_ = memoryView_;
  memorySplitter_->addWidget(labelSplitter_);
  memorySplitter_->addWidget(memoryPanel_);
  memorySplitter_->setStretchFactor(0, 1);
  memorySplitter_->setStretchFactor(1, 0);
  column->addWidget(memorySplitter_, 1);
  setCentralWidget(central);

  connect(labelSplitter_, &QSplitter::splitterMoved, this, [this] { RememberPanelSizes(); });
  connect(memorySplitter_, &QSplitter::splitterMoved, this, [this] { RememberPanelSizes(); });
}

void TMainWindow::ApplySettings(const TWorkbenchSettings& s) {
  // The kept values stay as they are; the window goes where its title bar
  // can be reached.
  move(TitleBarOnScreen(QPoint(s.FmLeft, s.FmTop), s.FmWidth));
  resize(s.FmWidth, s.FmHeight);
  if (s.FmWindowState == 1) setWindowState(Qt::WindowMinimized);
  if (s.FmWindowState == 2) setWindowState(Qt::WindowMaximized);

  labelPanelWidth_ = s.KwWidth;
  labelPanel_->setHidden(!s.KwVisible);
  for (size_t n = 0; n < s.KwHead.size(); ++n)
    labelView_->HeaderBar()->resizeSection(static_cast<int>(n), s.KwHead[n]);
  for (size_t n = 0; n < s.SrcHead.size(); ++n)
    listingView_->HeaderBar()->resizeSection(static_cast<int>(n), s.SrcHead[n]);
  memoryPanelHeight_ = s.DmpHeight;
  memoryPanel_->setHidden(!s.DmpVisible);

  const int format = NumberFormatIndexFor(s.NumHex);
  numberFormat_ = static_cast<TNumberFormat>(format);
  menus_.NumberFormatItems[static_cast<size_t>(format)]->setChecked(true);

  monitorLeft_ = s.MnLeft;
  monitorTop_ = s.MnTop;
  menus_.MonitorActive->setChecked(s.MoniterActive);
  menus_.BreakPointStop->setChecked(s.BreakPointStop);
  menus_.SkNotAll->setChecked(s.SkNotAll);
  menus_.SkNum->setChecked(s.SkNum);
  menus_.SkVal->setChecked(s.SkVal);
  menus_.SkLabel->setChecked(s.SkLabel);
  menus_.SkPointer->setChecked(s.SkPointer);
  menus_.SkLocal->setChecked(s.SkLocal);
  menus_.SkAuto->setChecked(s.SkAuto);
  menus_.SyncView->setChecked(s.SyncView);
  menus_.CheckTimeStamp->setChecked(s.CheckTimeStamp);

  QFont font(s.FontName);
  font.setPointSize(s.FontSize > 0 ? s.FontSize : 9);
  SetMainFont(font);

  editor_->SetEditorCommand(s.Editer);
  document_->SetTraceWait(TraceWaitFor(s.WaitCount));
  const int waitTag = WaitMenuTag(s.WaitCount);
  for (QAction* item : menus_.WaitItems)
    if (item->data().toInt() == waitTag) item->setChecked(true);

  SplitNames(s.SelectKw, document_->Session().SelectedLabelList());
  fileCommands_->SetOpenDialogFileName(startFile_.isEmpty() ? s.LastFileName : startFile_);
}

void TMainWindow::StartScreenThread(const TWorkbenchSettings& s) {
  const QPoint monitorAt = TitleBarOnScreen(QPoint(s.MnLeft, s.MnTop), kScreenWidth);
  screen_ = std::make_unique<QRXScreen>(
      document_->MonitorModel(), monitorAt.x(), monitorAt.y(), s.MnState,
      [&state = document_->RunControl().RunStateValue()] {
        return state.load(std::memory_order_relaxed) != TRunState::Idle;
      },
      [this] {
        if (!startFile_.isEmpty()) fileCommands_->OpenFile(startFile_);
      });
  // The monitor window does not keep the application alive: closing the
  // main window ends the program.
  connect(screen_.get(), &QRXScreen::MonitorCreated, this,
          [](TFormMon* monitor) { monitor->setAttribute(Qt::WA_QuitOnClose, false); });
}

void TMainWindow::SetMainFont(const QFont& font) {
  mainFont_ = font;
  labelView_->setFont(font);
  listingView_->setFont(font);
  memoryView_->Grid()->setFont(font);
  MessageLine()->SetBaseFont(font);
  ApplyRowHeights();
}

void TMainWindow::ApplyRowHeights() {
  const TRowMetrics metrics = RowMetricsForFontHeight(QFontInfo(mainFont_).pixelSize());
  memoryView_->SetCellSize(metrics.GridColumnWidth, metrics.GridRowHeight);
  labelView_->SetRowHeight(metrics.ListRowHeight);
  listingView_->SetRowHeight(metrics.ListRowHeight);
}

void TMainWindow::ApplyPanelSizes() {
  const int across = labelSplitter_->width();
  labelSplitter_->setSizes({labelPanelWidth_, std::max(1, across - labelPanelWidth_)});
  const int down = memorySplitter_->height();
  memorySplitter_->setSizes({std::max(1, down - memoryPanelHeight_), memoryPanelHeight_});
}

void TMainWindow::RememberPanelSizes() {
  // Only sizes that the window really laid out count.
  if (!panelSizesApplied_ || !isVisible()) return;
  if (labelPanel_->isVisible()) labelPanelWidth_ = labelPanel_->width();
  if (memoryPanel_->isVisible()) memoryPanelHeight_ = memoryPanel_->height();
}

TMessageLine* TMainWindow::MessageLine() const {
  return toolBar_->MessageLine();
}

void TMainWindow::SetCurrentFile(const std::string& path) {
  document_->Session().Files().SetStrings(0, path);
  const QString name = QFileInfo(QString::fromStdString(path)).fileName();
  setWindowTitle(kCaption + QStringLiteral(" : ") + name);
}

const std::string& TMainWindow::CurrentFile() const {
  return document_->Session().CurrentFile();
}

void TMainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  ApplyRowHeights();
  if (!panelSizesApplied_) {
    ApplyPanelSizes();
    panelSizesApplied_ = true;
  }
}

TWorkbenchSettings TMainWindow::CollectSettings() {
  RememberPanelSizes();
  TWorkbenchSettings s;
  if (const TFormMon* monitor = screen_->Monitor()) {
    s.MnLeft = monitor->pos().x();
    s.MnTop = monitor->pos().y();
  } else {
    s.MnLeft = monitorLeft_;
    s.MnTop = monitorTop_;
  }
  s.MnState = screen_->MonitorShown();
  s.FmWindowState = isMinimized() ? 1 : isMaximized() ? 2 : 0;
  s.FmLeft = pos().x();
  s.FmTop = pos().y();
  s.FmWidth = width();
  s.FmHeight = height();
  s.KwWidth = labelPanelWidth_;
  s.KwVisible = !labelPanel_->isHidden();
  for (size_t n = 0; n < s.KwHead.size(); ++n)
    s.KwHead[n] = labelView_->HeaderBar()->sectionSize(static_cast<int>(n));
  for (size_t n = 0; n < s.SrcHead.size(); ++n)
    s.SrcHead[n] = listingView_->HeaderBar()->sectionSize(static_cast<int>(n));
  s.DmpHeight = memoryPanelHeight_;
  s.DmpVisible = !memoryPanel_->isHidden();
  s.NumHex = static_cast<int>(numberFormat_);
  s.MoniterActive = menus_.MonitorActive->isChecked();
  s.BreakPointStop = menus_.BreakPointStop->isChecked();
  s.SkNotAll = menus_.SkNotAll->isChecked();
  s.SkNum = menus_.SkNum->isChecked();
  s.SkVal = menus_.SkVal->isChecked();
  s.SkLabel = menus_.SkLabel->isChecked();
  s.SkPointer = menus_.SkPointer->isChecked();
  s.SkLocal = menus_.SkLocal->isChecked();
  s.SkAuto = menus_.SkAuto->isChecked();
  s.SyncView = menus_.SyncView->isChecked();
  s.CheckTimeStamp = menus_.CheckTimeStamp->isChecked();
  s.LastFileName = QString::fromStdString(CurrentFile());
  s.WaitCount = document_->TraceWait();
  if (!CurrentFile().empty())
    s.SelectKw = JoinedNames(document_->Session().Assembler().SelectedLabels());
  s.Editer = editor_->EditorCommand();
  sidePanels_->CollectSettings(s);
  return s;
}

void TMainWindow::WriteSettings() {
  const TWorkbenchSettings settings = CollectSettings();
  // The monitor hides with the main window.
  screen_->SetMonitorShown(false);
  TSettingsWriteScope scope;
  scope.Geometry = settings.FmWindowState == 0;
  scope.SelectKw = !CurrentFile().empty();
  QString error;
  if (!WriteWorkbenchSettings(folders_.SettingsFile, settings, scope, error))
    dialogs_->ShowErrorBox(error);
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  if (document_->RunState() != TRunState::Idle) {
    dialogs_->ShowErrorBox(QStringLiteral("終了するにはプログラムを停止させて下さい"));
    event->ignore();
    return;
  }
  WriteSettings();
  event->accept();
  emit Closed();
}

void TMainWindow::dragEnterEvent(QDragEnterEvent* event) {
  // Like the file menu, dropping loads nothing while a program runs; the
  // file opens as one chosen in the open dialog.
  if (document_->RunState() == TRunState::Idle && event->mimeData()->hasUrls())
    event->acceptProposedAction();
}

void TMainWindow::dropEvent(QDropEvent* event) {
  if (document_->RunState() != TRunState::Idle) {
    event->ignore();
    return;
  }
  const QList<QUrl> urls = event->mimeData()->urls();
  event->acceptProposedAction();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  fileCommands_->OpenFile(urls.first().toLocalFile());
}
