// TMainWindow, the main window "QRX エミュレータ": it owns the document
// (workbench_document.h: the program session with its assembler, machine,
// breakpoints, file set, selected-label and visible-unit lists, the monitor
// model, the execution history and run control) and follows its signals,
// the screen thread, the navigator (navigation.h: listing selection, jumps
// and their history) and the settings; it lays out the tool bar
// with the message line, the five run-control buttons and the two back
// buttons, the label panel, the listing panel and the memory panel, carries
// the menus; the file commands (file_commands.h) open and save files.
//
// The implementation is split by job: main_window.cpp (creation, layout,
// settings, closing), main_window_menus.cpp (menu handlers and enabling
// rules), load_flow.cpp (what a load shows, dropped files) and
// view_wiring.cpp (what the views' clicks and pop-up menus do, and how the
// views follow the machine).
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "session/load_result.h"
#include "session/run_host.h"
#include "workbench/file_commands.h"
#include "workbench/main_menus.h"
#include "workbench/navigation.h"
#include "workbench/view_host.h"
#include "workbench/workbench_document.h"
#include "workbench/workbench_folders.h"
#include "workbench/workbench_settings.h"

class QDialog;
class QRXScreen;
class QSplitter;
class QUrl;
class TAboutBox;
class TCaseCheckCommand;
class TEditFileSelect;
class TUnitDialog;
struct TEditorLaunch;
class TLabelView;
class TLabelViewModel;
class TListingView;
class TLiveViewRefresh;
class TMemoryView;
class TMessageLine;
class TRunShortcuts;
class TSidePanels;
class TToolBarPanel;

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

// The row heights the main window's font gives (h = its pixel height):
// grid rows (h + 2) × 12 / 10, grid columns (h + 4) × 28 / 10, list rows
// h + 4, all with integer division.
struct TRowMetrics {
  int GridRowHeight;
  int GridColumnWidth;
  int ListRowHeight;
};
TRowMetrics RowMetricsForFontHeight(int h);

class TMainWindow : public QMainWindow, public TViewHost {
  Q_OBJECT

 public:
  static constexpr int kSplitterWidth = 6;
  static constexpr int kHeaderHeight = 17;

  explicit TMainWindow(const TStartOptions& options = TStartOptions::FromApplication(),
                       QWidget* parent = nullptr);
  // Stops the screen thread (which destroys the monitor window) before
  // anything it could reach is released.
  ~TMainWindow() override;

  // ---- TViewHost
  TProgramSession& Session() override { return document_->Session(); }
  TNumberFormat NumberFormat() const override { return numberFormat_; }
  QFont MainFont() const override { return mainFont_; }

  // ---- files: loading, reloading, the saves and the time-stamp check
  TFileCommands& FileCommands() const { return *fileCommands_; }
  // File-set entry 0 := path; caption "QRX エミュレータ : " + its file name.
  void SetCurrentFile(const std::string& path);
  // File-set entry 0 (empty before the first load).
  const std::string& CurrentFile() const;

  // ---- the program: the session, the execution history and run control
  // (workbench_document.h); the views follow its signals.
  TWorkbenchDocument& Document() { return *document_; }
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
  // The listing's selection, jumps, searches and jump history.
  TNavigator& Navigator() { return *navigator_; }

  // ---- parts, for the commands and the tests
  QRXScreen& Screen() { return *screen_; }
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

  // ---- message boxes, replaceable for tests
  using TErrorBoxHook = std::function<void(const QString& text)>;
  // With a hook the error boxes call it instead of showing a box.
  void SetErrorBoxHook(TErrorBoxHook hook) { errorBoxHook_ = std::move(hook); }
  // An error box with an OK button (or the hook).
  void ShowErrorBox(const QString& text);

  // ---- dialogs (dialog_commands.cpp)
  // Makes the version dialog, the edit-file selection dialog and the unit
  // selection dialog, in that order, owned by this window; the main routine
  // calls it after creating the window. Later calls do nothing; the
  // commands that show a dialog call it first.
  void CreateDialogs();
  TAboutBox* AboutBox() const { return aboutBox_; }
  TEditFileSelect* EditFileSelect() const { return editFileSelect_; }
  TUnitDialog* UnitSelect() const { return unitSelect_; }
  // Starts the editor on path (UTF-8) at line; an editor that cannot be
  // started gives an error box naming the command tried.
  void RunEditor(const std::string& path, int line);
  // Every modal dialog and question box of the commands runs through
  // ExecModal; with a hook the hook gets the prepared dialog instead of the
  // user and returns its result (QDialog::Accepted, QMessageBox::Yes ...).
  using TModalHook = std::function<int(QDialog& dialog)>;
  void SetModalHook(TModalHook hook) { modalHook_ = std::move(hook); }
  int ExecModal(QDialog& dialog);
  // Receives the editor's program and arguments instead of starting them.
  using TEditorLaunchHook = std::function<void(const TEditorLaunch& launch)>;
  void SetEditorLaunchHook(TEditorLaunchHook hook) { editorLaunchHook_ = std::move(hook); }
  // Opens the help page instead of the desktop's "open".
  using TUrlOpenerHook = std::function<bool(const QUrl& url)>;
  void SetUrlOpenerHook(TUrlOpenerHook hook) { urlOpenerHook_ = std::move(hook); }

 public slots:
  // ---- "ファイル(&F)" (the other items: file_commands.h)
  void EditSourceClick();  // "ソース編集(&E)...": external editor
  // ---- run control: run and trace share the handler, the
  // tag decides (1 run, any other trace); step, stop, reset.
  void RunOrTraceClick(int tag);
  void StepClick();
  void StopClick();
  void ResetClick();
  // ---- going back (run_commands.cpp): "1命令戻る(&P)", "CALLの前まで戻る(&C)",
  // "逆実行(&V)"
  void StepBackClick();
  void StepBackOverCallClick();
  void RunBackClick();
  // ---- "表示(&V)"
  void NumberFormatClick(int tag);
  void MemoryDumpClick();
  void LabelPanelClick();
  void MonitorClick();
  void UnitsClick();  // "表示するユニットの設定(&U)...": unit dialog
  // ---- "ヘルプ(&H)"
  void HelpClick();            // "ヘルプ(&H)": the help page
  void EditorSettingsClick();  // "エディタの設定(&E)...": the editor command
  void FontSettingsClick();    // "表示フォントの設定(&F)...": the font dialog
  void AboutClick();           // "バージョン情報(&V)": the version dialog
  // ---- listing
  void ToggleBreakpointClick();
  void ClearBreakpointsClick();    // "全ブレークポイントを解除(&Q)"
  void EditRowSourceClick();       // pop-up "ソースの編集(&E)": external editor
  void EditRowMacroSourceClick();  // pop-up "マクロソースの編集(&M)": external editor
  // ---- label view
  void ShowLabelMemoryClick();
  void ShowIndirectMemoryClick();
  void JumpToDefinitionClick();  // pop-up "定義位置にジャンプ(&J)"
  // ---- memory grid
  void MemoryCellClick(uint16_t address);
  void MemoryCellEdited(uint16_t address);
  // ---- menus opening
  void FileMenuPopup();
  void RunMenuPopup();
  void ViewMenuPopup();
  void ListingMenuPopup();  // the listing's pop-up
  void LabelMenuPopup();    // the label view's pop-up

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
  void SetButtonsEnabled(bool enabled);
  // The views follow the document's signals; run control follows the
  // toggles (run_commands.cpp).
  void ConnectDocument();
  // What the views show after a load (load_flow.cpp).
  void ShowLoadOutcome(TLoadResult result, const TLoadOutcome& outcome);
  // What the views show for run control's events (run_commands.cpp).
  void ShowRunStarted(const TRunStart& start);
  void ShowRunState(TRunState state);
  void ShowRunFinished(const TRunOutcome& outcome);
  void ShowMachineReset();
  void ShowWentBack(const TBackOutcome& outcome);
  // The run, trace, step and reset buttons.
  void SetRunButtonsEnabled(bool enabled);
  // Redraws the monitor window, when there is one.
  void RefreshMonitor();
  // The navigator follows the listing pop-up's jump submenu and the letter
  // keys; the memory view follows the rows it selects.
  void SetUpNavigation();

  const TStartOptions options_;
  TWorkbenchFolders folders_;
  TFirstStartResult firstStart_;

  // First in, last out: the views and the screen thread read it.
  std::unique_ptr<TWorkbenchDocument> document_;
  std::unique_ptr<TLabelViewModel> labelRows_;
  std::unique_ptr<QRXScreen> screen_;

  TNumberFormat numberFormat_ = TNumberFormat::Hexadecimal;
  QFont mainFont_;
  QString editorCommand_;
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
  TFileCommands* fileCommands_ = nullptr;

  TErrorBoxHook errorBoxHook_;

  // The listing's navigation and its letter keys.
  std::unique_ptr<TNavigator> navigator_;
  std::unique_ptr<TNavigationKeyFilter> keyFilter_;

  // The dialogs, children of this window.
  TAboutBox* aboutBox_ = nullptr;
  TEditFileSelect* editFileSelect_ = nullptr;
  TUnitDialog* unitSelect_ = nullptr;
  TModalHook modalHook_;
  TEditorLaunchHook editorLaunchHook_;
  TUrlOpenerHook urlOpenerHook_;
};
