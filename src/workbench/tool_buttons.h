// The tool bar under the menu: 25 pixels high with a lowered bevel, the
// message line at its left and, in a strip at its right, the five
// run-control buttons (run, trace, step, stop, reset) followed by the two
// buttons that go back in the execution history (step back one
// instruction, run back), 40 × 24 pixels each with a 20 × 20 picture. The
// buttons start disabled.
#pragma once

#include <QWidget>
#include <array>

class QToolButton;
class TMessageLine;

class TToolBarPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHeight = 25;
  static constexpr int kButtonWidth = 40;
  static constexpr int kButtonHeight = 24;
  static constexpr int kButtonCount = 5;
  enum Button { Run = 0, Trace = 1, Step = 2, Stop = 3, Reset = 4 };
  static constexpr int kBackButtonCount = 2;
  enum BackButton { StepBack = 0, RunBack = 1 };
  static constexpr int kStripWidth = (kButtonCount + kBackButtonCount) * kButtonWidth;
  // The tag of the run button (and of the run menu item); the trace button
  // and menu item carry other tags.
  static constexpr int kRunTag = 1;

  explicit TToolBarPanel(QWidget* parent = nullptr);

  TMessageLine* MessageLine() const { return messageLine_; }
  // Button i (0 run ... 4 reset).
  QToolButton* ButtonAt(int i) const { return buttons_[static_cast<size_t>(i)]; }
  // The tag of button i: 1 on run, 2 on trace, 0 on the others.
  int TagOf(int i) const { return tags_[static_cast<size_t>(i)]; }
  // Enables or disables the five run-control buttons.
  void SetButtonsEnabled(bool enabled);
  // Back button i (StepBack or RunBack).
  QToolButton* BackButtonAt(int i) const { return backButtons_[static_cast<size_t>(i)]; }

 signals:
  // A button was clicked; run and trace report their tag with it.
  void ButtonClicked(int button, int tag);
  // A back button was clicked.
  void BackButtonClicked(int button);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TMessageLine* messageLine_ = nullptr;
  QWidget* strip_ = nullptr;
  // A disabled button of the strip at position slot, with its picture
  // and hint.
  QToolButton* MakeButton(int slot, const QPixmap& picture, const char* hint);

  std::array<QToolButton*, kButtonCount> buttons_{};
  std::array<QToolButton*, kBackButtonCount> backButtons_{};
  std::array<int, kButtonCount> tags_{kRunTag, 2, 0, 0, 0};
};

// The 20 × 20 picture of a button.
QPixmap ToolButtonPicture(int button);
// The 20 × 20 picture of a back button: the forward command's picture turned
// to point left (step back: a bar and a play sign; run back: two play signs).
QPixmap BackButtonPicture(int button);
