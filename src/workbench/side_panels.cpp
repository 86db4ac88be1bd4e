#include "workbench/side_panels.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QVBoxLayout>

#include "assembler/hints.h"
#include "session/program_session.h"
#include "workbench/hints_panel.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/stack_view.h"
#include "workbench/view_support.h"
#include "workbench/workbench_settings.h"

namespace {

// A panel with a caption bar of the header bars' height above its view.
QWidget* CaptionedBox(const char* caption, QWidget* view) {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* title = new QLabel(QString::fromUtf8(caption));
  title->setFont(HeaderBarFont());
  title->setFixedHeight(TMainWindow::kHeaderHeight);
  title->setAlignment(Qt::AlignCenter);
  title->setFrameShape(QFrame::StyledPanel);
  layout->addWidget(title);
  layout->addWidget(view, 1);
  return box;
}

// Gives the panels of the column their heights the first time the column
// is laid out tall enough; later the user's splitter positions stand.
class TFirstHeights : public QObject {
 public:
  explicit TFirstHeights(QSplitter& column) : QObject(&column) { column.installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* column = static_cast<QSplitter*>(watched);
    const int panels = TSidePanels::kHintsHeight + TSidePanels::kStackHeight;
    if (event->type() == QEvent::Resize && column->height() > panels + TSidePanels::kLabelsLeast) {
      column->setSizes(
          {column->height() - panels, TSidePanels::kHintsHeight, TSidePanels::kStackHeight});
      column->removeEventFilter(this);
    }
    return false;
  }
};

}  // namespace

TSidePanels::TSidePanels(TMainWindow& form, QSplitter& across) : QObject(&form), form_(form) {
  hints_ = new THintsPanel;
  stack_ = new TStackView(form);
  hintsBox_ = CaptionedBox("ヒント", hints_);
  stackBox_ = CaptionedBox("スタック", stack_);
  for (QWidget* box : {hintsBox_, stackBox_})
    box->setMinimumHeight(kMinimumHeight);

  // The label panel shares the left column with them: the splitter between
  // the column and the listing keeps its two widgets, and the column is as
  // wide as the label panel.
  QWidget* labels = form.LabelPanel();
  auto* column = new QSplitter(Qt::Vertical);
  column->setHandleWidth(TMainWindow::kSplitterWidth);
  column->setChildrenCollapsible(false);
  across.replaceWidget(across.indexOf(labels), column);
  column->addWidget(labels);
  column->addWidget(hintsBox_);
  column->addWidget(stackBox_);
  column->setStretchFactor(0, 1);
  column->setStretchFactor(1, 0);
  column->setStretchFactor(2, 0);
  column_ = column;
  new TFirstHeights(*column);
  // The column goes when none of its panels is shown (the label panel is
  // hidden and shown by the main window).
  labels->installEventFilter(this);

  const TMainMenus& menus = form.Menus();
  hintsToggle_ = new QAction(QString::fromUtf8("ヒント(&I)"), this);
  stackToggle_ = new QAction(QString::fromUtf8("スタック(&K)"), this);
  const QList<QAction*> items = menus.View->actions();
  const qsizetype monitorAt = items.indexOf(menus.Monitor);
  QAction* before = monitorAt >= 0 && monitorAt + 1 < items.size() ? items[monitorAt + 1] : nullptr;
  for (QAction* toggle : {hintsToggle_, stackToggle_}) {
    toggle->setCheckable(true);
    toggle->setChecked(true);
    menus.View->insertAction(before, toggle);
  }
  connect(hintsToggle_, &QAction::triggered, this,
          [this](bool on) { SetShown(hintsBox_, hintsToggle_, on); });
  connect(stackToggle_, &QAction::triggered, this,
          [this](bool on) { SetShown(stackBox_, stackToggle_, on); });
  connect(hints_, &THintsPanel::HintChosen, this, &TSidePanels::GoToHint);
}

void TSidePanels::ApplySettings(const TWorkbenchSettings& settings) {
  SetShown(hintsBox_, hintsToggle_, settings.HintVisible);
  SetShown(stackBox_, stackToggle_, settings.StackVisible);
}

void TSidePanels::CollectSettings(TWorkbenchSettings& settings) const {
  settings.HintVisible = !hintsBox_->isHidden();
  settings.StackVisible = !stackBox_->isHidden();
}

void TSidePanels::SetShown(QWidget* box, QAction* toggle, bool shown) {
  box->setHidden(!shown);
  toggle->setChecked(shown);
  FollowColumn();
  if (shown && box == stackBox_) RefreshStack();
}

void TSidePanels::FollowColumn() {
  const bool any =
      !form_.LabelPanel()->isHidden() || !hintsBox_->isHidden() || !stackBox_->isHidden();
  if (column_->isHidden() == any) column_->setHidden(!any);
}

bool TSidePanels::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::HideToParent || event->type() == QEvent::ShowToParent)
    FollowColumn();
  return QObject::eventFilter(watched, event);
}

void TSidePanels::ShowHints() {
  TProgramSession& session = form_.Session();
  hints_->ShowHints(CollectHints(session.Assembler()), session.Files());
}

void TSidePanels::RefreshStack() {
  if (!stackBox_->isHidden()) stack_->Refresh();
}

void TSidePanels::GoToHint(int lineIndex) {
  form_.Navigator().JumpTo(TJumpKind::LineGiven, lineIndex);
  form_.ListingView()->setFocus();
}
