// The hints panel and the stack view, below the label panel in the left
// column, with their toggles in "表示(&V)" ("ヒント(&I)", "スタック(&K)"), kept
// in QRX.INI as HintVisible and StackVisible. The main window calls in when
// a program was loaded (the hints) and whenever its views follow the
// machine (the stack).
#pragma once

#include <QObject>

class QAction;
class QSplitter;
class QWidget;
class TMainWindow;
class THintsPanel;
class TStackView;
struct TWorkbenchSettings;

class TSidePanels : public QObject {
  Q_OBJECT

 public:
  // The panels' heights at start, and the least they shrink to.
  static constexpr int kHintsHeight = 64;
  static constexpr int kStackHeight = 96;
  static constexpr int kMinimumHeight = 40;
  // The label panel keeps at least this much when the column is first laid
  // out; a shorter column leaves the splitter's own division.
  static constexpr int kLabelsLeast = 100;

  // Puts the label panel, the hints and the stack into one column in the
  // label panel's place in across, and the two toggles into the view menu
  // after its monitor item.
  TSidePanels(TMainWindow& form, QSplitter& across);

  void ApplySettings(const TWorkbenchSettings& settings);
  void CollectSettings(TWorkbenchSettings& settings) const;

  // The hints of the program just assembled.
  void ShowHints();
  // The stack as the machine holds it now.
  void RefreshStack();

  THintsPanel* HintsPanel() const { return hints_; }
  TStackView* StackView() const { return stack_; }
  QWidget* HintsBox() const { return hintsBox_; }
  QWidget* StackBox() const { return stackBox_; }
  QAction* HintsToggle() const { return hintsToggle_; }
  QAction* StackToggle() const { return stackToggle_; }

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void SetShown(QWidget* box, QAction* toggle, bool shown);
  // The column is hidden exactly when none of its three panels is shown.
  void FollowColumn();
  void GoToHint(int lineIndex);

  TMainWindow& form_;
  QWidget* column_ = nullptr;
  QWidget* hintsBox_ = nullptr;
  QWidget* stackBox_ = nullptr;
  THintsPanel* hints_ = nullptr;
  TStackView* stack_ = nullptr;
  QAction* hintsToggle_ = nullptr;
  QAction* stackToggle_ = nullptr;
};
