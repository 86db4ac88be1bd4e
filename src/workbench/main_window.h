// TForm1, the main window "QRX エミュレータ": it owns the program session
// (assembler, machine, breakpoints, file set, selected-label and
// visible-unit lists), the monitor model and the screen thread, the jump
// history, the execution history and the settings; it lays out the tool bar
// with the message line, the five run-control buttons and the two back
// buttons, the label panel, the listing panel and the memory panel, carries
// the menus, and turns every way of opening a file into OpenFile.
//
// The implementation is split by job: main_window.cpp (creation, layout,
// settings, closing), main_window_menus.cpp (menu handlers and enabling
// rules), load_flow.cpp (opening files) and view_wiring.cpp (what the views'
// clicks and pop-up menus do, and how the views follow the machine).
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "monitor/performance_counter.h"
#include "session/load_result.h"
#include "session/run_host.h"
#include "workbench/jump_list.h"
#include "workbench/main_menus.h"
#include "workbench/view_host.h"
#include "workbench/workbench_folders.h"
#include "workbench/workbench_settings.h"

class QDialog;
class QRXScreen;
class QSplitter;
class QUrl;
class TAboutBox;
class TCaseCheckCommand;
class TEditFileSelect;
class TExecutionHistory;
class TForm2;
struct TEditorLaunch;
class TKeyboardTable;
class TLabelView;
class TLabelViewModel;
class TListingView;
class TLiveViewRefresh;
class TMemoryView;
class TMessageLine;
class TMonitorModel;
class TNavigationKeyFilter;
class TRunControl;
class TRunShortcuts;
class TSidePanels;
class TToolBarPanel;
class TWorkbenchRunHost;
// The kinds of rows FindRow looks for (navigation.h).
enum class TRowKind;

// Where the program lies and what it was started with; the defaults come
// from the running application, tests give their own.
struct TStartOptions {
  QString ProgramFolder;
  // The folder the first start copies the samples from; empty means the
  // samples that lie with the program (TWorkbenchFolders::Locate).
  QString SampleFolder;
  // The command-line arguments after the program's name.
  QStringList Arguments;

  static TStartOptions FromApplication();
};

// The targets of JumpTo.
enum class TJumpKind {
  LineGiven,          // the given listing line index
  ExecutionPosition,  // the line of the instruction at the program counter
  CallTarget,         // the target of the JP, JPT, JPF or CALL on the selected row
  Back,               // the previous entry of the jump history
  LabelDefinition,    // the defining line of the label with the given key
};

// The row heights the main window's font gives (h = its pixel height):
// grid rows (h + 2) × 12 / 10, grid columns (h + 4) × 28 / 10, list rows
// h + 4, all with integer division.
struct TRowMetrics {
  int GridRowHeight;
  int GridColumnWidth;
  int ListRowHeight;
};
TRowMetrics RowMetricsForFontHeight(int h);

// The open dialog's filter list in Qt's form ("name (pattern pattern);;...")
// from the "name|pattern;pattern|..." form; "*.*" becomes "*".
QString QtFileFilter(const QString& pairs);
// The open dialog's filter list.
QString OpenDialogFilter();

class TForm1 : public QMainWindow, public TViewHost {
  Q_OBJECT

 public:
  static constexpr int kSplitterWidth = 6;
  static constexpr int kHeaderHeight = 17;

  explicit TForm1(const TStartOptions& options = TStartOptions::FromApplication(),
                  QWidget* parent = nullptr);
  // Stops the screen thread (which destroys the monitor window) before
  // anything it could reach is released.
  ~TForm1() override;

  // ---- TViewHost
  TProgramSession& Session() override { return *session_; }
  TNumberFormat NumberFormat() const override { return numberFormat_; }
  QFont MainFont() const override { return mainFont_; }

  // ---- loading
  // Opens a source or state file and shows the outcome in the message line;
  // returns the load result.
  TLoadResult OpenFile(const QString& path);
  // File-set entry 0 := path; caption "QRX エミュレータ : " + its file name.
  void SetCurrentFile(const std::string& path);
  // File-set entry 0 (empty before the first load).
  const std::string& CurrentFile() const;

  // ---- run state
  // Run control's run state (safe to read from any thread).
  TRunState RunState() const;
  // Run state := state; the "ファイル(&F)" menu is enabled exactly while idle.
  void SetRunState(TRunState state);
  // Whether Control is down in the keyboard table.
  bool IsControlDown() const;
  // The trace wait in milliseconds.
  int TraceWait() const;
  void SetTraceWait(int ms);
  // The run, trace, step, stop and reset commands (run_commands.cpp).
  TRunControl& RunControl() { return *runControl_; }
  // The execution history that run control records into and goes back in.
  TExecutionHistory& History() { return *history_; }
  // The back commands' buttons and menu items are enabled exactly when run
  // control can go back (idle, with a past in the history).
  void UpdateBackCommands();
  // The external editor's command.
  const QString& EditorCommand() const { return editorCommand_; }
  void SetEditorCommand(const QString& command) { editorCommand_ = command; }

  // ---- views
  // Repaints the label view, the listing view and the memory view (with
  // its status bar).
  void RepaintViews();
  // After instructions ran: repaints the register rows and the label rows
  // that show the machine's Destination, selects the row at the program
  // counter, follows it in the memory view when synchronised, and repaints
  // the Destination cell.
  void ShowExecutionState();
  // The memory view shows the address of the selected listing row, unless
  // the grid has the focus or synchronising is off.
  void SyncMemoryView();
  // Rebuilds the label view's rows with the filter mask of the menu.
  void RebuildLabelList();
  // The filter mask: 0x080 always, plus the bits of the checked filters.
  uint16_t LabelFilterMask() const;
  // Sets Selected of every label whose row is selected in the label view.
  void SetLabelsSelected(bool flag);
  void ClearBreakpoints();
  // Selects a listing row with context rows above it (see the .cpp).
  void SelectListingRow(int row, int context, bool asClick);
  void JumpTo(TJumpKind kind, int line = 0, const std::string& key = {});
  // Whether listing row `row` is of the kind (navigation.cpp).
  bool RowMatches(int row, TRowKind kind) const;
  // Selects the next row of the kind below the selected row (the previous
  // one above it when backwards), as a click; nothing without a selected
  // row or a match.
  void FindRow(TRowKind kind, bool backwards);

  // ---- parts, for the later tasks and the tests
  TJumpList& JumpList() { return jumpList_; }
  TMonitorModel& MonitorModel() { return *monitorModel_; }
  QRXScreen& Screen() { return *screen_; }
  TKeyboardTable& KeyboardTable() { return *keyboard_; }
  TMessageLine* MessageLine() const;
  TToolBarPanel* ToolBar() const { return toolBar_; }
  TListingView* ListingView() const { return listingView_; }
  TLabelView* LabelView() const { return labelView_; }
  // The rows of the label view.
  const TLabelViewModel& LabelRows() const { return *labelRows_; }
  TMemoryView* MemoryView() const { return memoryView_; }
  QWidget* LabelPanel() const { return labelPanel_; }
  QWidget* ListingPanel() const { return listingPanel_; }
  QWidget* MemoryPanel() const { return memoryPanel_; }
  QSplitter* LabelSplitter() const { return labelSplitter_; }
  QSplitter* MemorySplitter() const { return memorySplitter_; }
  const TMainMenus& Menus() const { return menus_; }
  const TListingPopup& ListingPopup() const { return listingPopup_; }
  const TLabelPopup& LabelPopup() const { return labelPopup_; }
  const TWorkbenchFolders& Folders() const { return folders_; }
  // The hints panel and the stack view, the views' refresh while a program
  // runs, the run commands' keys, and the check against a case file.
  TSidePanels& SidePanels() const { return *sidePanels_; }
  TLiveViewRefresh& LiveRefresh() const { return *liveRefresh_; }
  TCaseCheckCommand& CaseCheck() const { return *caseCheck_; }
  const TFirstStartResult& FirstStart() const { return firstStart_; }
  // The name the open dialog starts with (prepared at start, then the last
  // chosen file).
  const QString& OpenDialogFileName() const { return openDialogName_; }

  // ---- message boxes and the open dialog, replaceable for tests
  using TErrorBoxHook = std::function<void(const QString& text)>;
  // With a hook the error boxes call it instead of showing a box.
  void SetErrorBoxHook(TErrorBoxHook hook) { errorBoxHook_ = std::move(hook); }
  // An error box with an OK button (or the hook).
  void ShowErrorBox(const QString& text);
  // Given the dialog's start path and filter, returns the chosen file or
  // an empty text for a cancelled dialog.
  using TOpenDialogHook = std::function<QString(const QString& startPath, const QString& filter)>;
  void SetOpenDialogHook(TOpenDialogHook hook) { openDialogHook_ = std::move(hook); }
  // The path the open dialog starts with: the prepared name (a bare name
  // in the source folder), or the folder alone when the name is a pattern.
  QString OpenDialogStartPath() const;

  // ---- dialogs (state_commands.cpp, dialog_commands.cpp)
  // Makes the version dialog, the edit-file selection dialog and the unit
  // selection dialog, in that order, owned by this window; the main routine
  // calls it after creating the window. Later calls do nothing; the
  // commands that show a dialog call it first.
  void CreateDialogs();
  TAboutBox* AboutBox() const { return aboutBox_; }
  TEditFileSelect* EditFileSelect() const { return editFileSelect_; }
  TForm2* UnitSelect() const { return unitSelect_; }
  // Starts the editor on path (UTF-8) at line; an editor that cannot be
  // started gives an error box naming the command tried.
  void RunEditor(const std::string& path, int line);
  // Every modal dialog and question box of the commands runs through
  // ExecModal; with a hook the hook gets the prepared dialog instead of the
  // user and returns its result (QDialog::Accepted, QMessageBox::Yes ...).
  using TModalHook = std::function<int(QDialog& dialog)>;
  void SetModalHook(TModalHook hook) { modalHook_ = std::move(hook); }
  int ExecModal(QDialog& dialog);
  // Given the start path, the filter and the default suffix, returns the
  // chosen file or "" when the save dialog was cancelled.
  using TSaveDialogHook = std::function<QString(const QString& startPath, const QString& filter,
                                                const QString& suffix)>;
  void SetSaveDialogHook(TSaveDialogHook hook) { saveDialogHook_ = std::move(hook); }
  // Receives the editor's program and arguments instead of starting them.
  using TEditorLaunchHook = std::function<void(const TEditorLaunch& launch)>;
  void SetEditorLaunchHook(TEditorLaunchHook hook) { editorLaunchHook_ = std::move(hook); }
  // Opens the help page instead of the desktop's "open".
  using TUrlOpenerHook = std::function<bool(const QUrl& url)>;
  void SetUrlOpenerHook(TUrlOpenerHook hook) { urlOpenerHook_ = std::move(hook); }

 public slots:
  // ---- "ファイル(&F)"
  void Load1Click();  // "読み込み(&L)..."
  void R3Click();     // "読み込み直す(&R)"
  void E1Click();     // "ソース編集(&E)...": external editor (later task)
  void S2Click();     // "現在の状態を保存(&S)...": state save (later task)
  void B2Click();     // "機械語で保存(&B)...": machine-code save (later task)
  // ---- run control (later task): run and trace share the handler, the
  // tag decides (1 run, any other trace); step, stop, reset.
  void SpeedButton1Click(int tag);
  void SpeedButton3Click();
  void SpeedButton4Click();
  void SpeedButton5Click();
  // ---- going back (run_commands.cpp): "1命令戻る(&P)", "CALLの前まで戻る(&C)",
  // "逆実行(&V)"; "入力ログを保存(&I)..." (state_commands.cpp)
  void StepBackClick();
  void StepBackOverCallClick();
  void RunBackClick();
  void SaveInputLogClick();
  // ---- "表示(&V)"
  void NumberFormatClick(int tag);
  void MemoryDumpClick();
  void LabelPanelClick();
  void MonitorClick();
  void U1Click();  // "表示するユニットの設定(&U)...": unit dialog (later task)
  // ---- "ヘルプ(&H)" (later tasks)
  void Help2Click();   // "ヘルプ(&H)": the help page
  void E2Click();      // "エディタの設定(&E)...": the editor command
  void F2Click();      // "表示フォントの設定(&F)...": the font dialog
  void About1Click();  // "バージョン情報(&V)": the version dialog
  // ---- listing
  void ListBox2Click(int row);
  void ListBox2DblClick();
  void Q1Click();  // "全ブレークポイントを解除(&Q)"
  void E3Click();  // pop-up "ソースの編集(&E)": external editor (later task)
  void M2Click();  // pop-up "マクロソースの編集(&M)": external editor (later task)
  // ---- label view
  void ListBox1Click();
  void ListBox1DblClick();
  void J1Click();  // pop-up "定義位置にジャンプ(&J)"
  // ---- memory grid
  void StringGrid1Click(uint16_t address);
  void StringGrid1Edited(uint16_t address);
  // ---- menus opening
  void FileMenuPopup();
  void RunMenuPopup();
  void ViewMenuPopup();
  void PopupMenu2Popup();  // the listing's pop-up
  void PopupMenu1Popup();  // the label view's pop-up
  // ---- the application became active: the time-stamp check
  void ApplicationEvents1Activate();

 signals:
  // The window closed (the settings are written); the application ends.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildLayout();
  void ConnectMenus();
  void ConnectViews();
  void ApplySettings(const TWorkbenchSettings& settings);
  void StartScreenThread(const TWorkbenchSettings& settings);
  void SetMainFont(const QFont& font);
  void ApplyRowHeights();
  void ApplyPanelSizes();
  void RememberPanelSizes();
  TWorkbenchSettings CollectSettings();
  void WriteSettings();
  // The time-stamp check of the sources (later task); it runs after a
  // state file was read, whatever the result.
  void CheckSourceTimeStamps();
  // After the state branch of a load, whatever its result.
  void StateFileLoaded(TLoadResult result);
  void SetButtonsEnabled(bool enabled);
  // Run control with its host and the execution history, and the toggles
  // it follows (run_commands.cpp).
  void SetUpRunControl();
  // A committed load starts a new execution history: a restored state is a
  // new start like a loaded program (run_commands.cpp).
  void RestartHistory();
  // The listing pop-up's jump submenu and the letter keys (navigation.cpp).
  void SetUpNavigation();
  // Follows the application's activation (timestamp_check.cpp).
  void ConnectActivation();
  // The open dialog: starts at start (a folder or a file) and returns the
  // chosen file, "" when cancelled.
  QString AskOpenPath(const QString& start, const QString& filter);
  // The save dialog (or its hook): start in basis's folder with basis's
  // name given the extension suffix; "" when cancelled.
  QString AskSavePath(const std::string& basis, const char* filterPairs, const QString& suffix);

  const TStartOptions options_;
  TWorkbenchFolders folders_;
  TFirstStartResult firstStart_;

  std::unique_ptr<TKeyboardTable> keyboard_;
  std::unique_ptr<TMonitorModel> monitorModel_;
  std::unique_ptr<TProgramSession> session_;
  std::unique_ptr<TLabelViewModel> labelRows_;
  TJumpList jumpList_;
  std::unique_ptr<QRXScreen> screen_;

  TNumberFormat numberFormat_ = TNumberFormat::Hexadecimal;
  QFont mainFont_;
  QString editorCommand_;
  QString openDialogName_;
  // The file named on the command line, opened once the monitor exists.
  QString startFile_;
  // Monitor position read at start, written back while no window exists.
  int monitorLeft_ = 32;
  int monitorTop_ = 32;
  // Panel sizes while a panel is hidden or the window was never shown.
  int labelPanelWidth_ = 230;
  int memoryPanelHeight_ = 100;
  bool panelSizesApplied_ = false;

  TToolBarPanel* toolBar_ = nullptr;
  QSplitter* memorySplitter_ = nullptr;
  QSplitter* labelSplitter_ = nullptr;
  QWidget* labelPanel_ = nullptr;
  QWidget* listingPanel_ = nullptr;
  QWidget* memoryPanel_ = nullptr;
  TLabelView* labelView_ = nullptr;
  TListingView* listingView_ = nullptr;
  TMemoryView* memoryView_ = nullptr;
  TMainMenus menus_;
  TListingPopup listingPopup_;
  TLabelPopup labelPopup_;
  // Children of this window.
  TSidePanels* sidePanels_ = nullptr;
  TLiveViewRefresh* liveRefresh_ = nullptr;
  TRunShortcuts* runShortcuts_ = nullptr;
  TCaseCheckCommand* caseCheck_ = nullptr;

  TErrorBoxHook errorBoxHook_;
  TOpenDialogHook openDialogHook_;

  // Run control (its clock, the history and its host first: it keeps
  // references to them) and the letter keys of the listing. The history
  // goes before the session does: it gives the machine its monitor back.
  TSteadyClock runClock_;
  std::unique_ptr<TExecutionHistory> history_;
  std::unique_ptr<TWorkbenchRunHost> runHost_;
  std::unique_ptr<TRunControl> runControl_;
  std::unique_ptr<TNavigationKeyFilter> keyFilter_;

  // The dialogs, children of this window.
  TAboutBox* aboutBox_ = nullptr;
  TEditFileSelect* editFileSelect_ = nullptr;
  TForm2* unitSelect_ = nullptr;
  // A time-stamp check is running (its question re-activates the program).
  bool checkingStamps_ = false;
  TModalHook modalHook_;
  TSaveDialogHook saveDialogHook_;
  TEditorLaunchHook editorLaunchHook_;
  TUrlOpenerHook urlOpenerHook_;
};
