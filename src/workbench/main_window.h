// TMainWindow, the main window "QRX エミュレータ": it owns the document
// (workbench_document.h: the program session with its assembler, machine,
// breakpoints, file set, selected-label and visible-unit lists, the monitor
// model, the execution history and run control), the screen thread, the
// navigator (navigation.h: listing selection, jumps and their history) and
// the settings; it lays out the tool bar with the message line, the five
// run-control buttons and the two back buttons, the label panel, the
// listing panel and the memory panel, carries the menus and wires their
// items to the commands, each a child object with one job:
// - TFileCommands (file_commands.h): opening and saving files;
// - TRunCommands (run_commands.h): run control and what its events show;
// - TViewCommands (view_commands.h): how the views follow the program and
//   what their clicks and pop-ups do;
// - TDialogCommands (dialog_commands.h): the dialogs, boxes and help page;
// - TEditorCommands (editor_commands.h): the external editor.
//
// main_window.cpp creates and lays out the window, applies and writes the
// settings, and closes; main_window_menus.cpp wires the menus and carries
// the window's own items (the file and view menus' enabling, the number
// format, the panels and the monitor).
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <string>

#include "workbench/main_menus.h"
#include "workbench/navigation.h"
#include "workbench/view_host.h"
#include "workbench/workbench_document.h"
#include "workbench/workbench_folders.h"
#include "workbench/workbench_settings.h"

class QRXScreen;
class QSplitter;
class TCaseCheckCommand;
class TDialogCommands;
class TEditorCommands;
class TFileCommands;
class TLabelView;
class TLabelViewModel;
class TListingView;
class TLiveViewRefresh;
class TMemoryView;
class TMessageLine;
class TRunCommands;
class TRunShortcuts;
class TSidePanels;
class TToolBarPanel;
class TViewCommands;

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

  // ---- the commands, children of this window
  TFileCommands& FileCommands() const { return *fileCommands_; }
  TRunCommands& RunCommands() const { return *runCommands_; }
  TViewCommands& Views() const { return *viewCommands_; }
  TDialogCommands& Dialogs() const { return *dialogs_; }
  TEditorCommands& Editor() const { return *editor_; }

  // File-set entry 0 := path; caption "QRX エミュレータ : " + its file name.
  void SetCurrentFile(const std::string& path);
  // File-set entry 0 (empty before the first load).
  const std::string& CurrentFile() const;
  // The display font of the views and the message line, for as long as the
  // program runs (the settings keep their own).
  void SetMainFont(const QFont& font);

  // ---- the program: the session, the execution history and run control
  // (workbench_document.h); the views follow its signals.
  TWorkbenchDocument& Document() { return *document_; }
  // The listing's selection, jumps, searches and jump history.
  TNavigator& Navigator() { return *navigator_; }

  // ---- parts, for the commands and the tests
  QRXScreen& Screen() { return *screen_; }
  TMessageLine* MessageLine() const;
  TToolBarPanel* ToolBar() const { return toolBar_; }
  TListingView* ListingView() const { return listingView_; }
  TLabelView* LabelView() const { return labelView_; }
  // The rows of the label view.
  TLabelViewModel& LabelRows() const { return *labelRows_; }
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

 public slots:
  // ---- "表示(&V)"
  void NumberFormatClick(int tag);
  void MemoryDumpClick();
  void LabelPanelClick();
  void MonitorClick();
  // ---- menus opening
  void FileMenuPopup();
  void ViewMenuPopup();

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
  void ApplySettings(const TWorkbenchSettings& settings);
  void StartScreenThread(const TWorkbenchSettings& settings);
  void ApplyRowHeights();
  void ApplyPanelSizes();
  void RememberPanelSizes();
  TWorkbenchSettings CollectSettings();
  void WriteSettings();

  const TStartOptions options_;
  TWorkbenchFolders folders_;
  TFirstStartResult firstStart_;

  // First in, last out: the views and the screen thread read it.
  std::unique_ptr<TWorkbenchDocument> document_;
  std::unique_ptr<TLabelViewModel> labelRows_;
  std::unique_ptr<QRXScreen> screen_;

  TNumberFormat numberFormat_ = TNumberFormat::Hexadecimal;
  QFont mainFont_;
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
  TRunCommands* runCommands_ = nullptr;
  TViewCommands* viewCommands_ = nullptr;
  TDialogCommands* dialogs_ = nullptr;
  TEditorCommands* editor_ = nullptr;

  // The listing's navigation and its letter keys.
  std::unique_ptr<TNavigator> navigator_;
  std::unique_ptr<TNavigationKeyFilter> keyFilter_;
};
