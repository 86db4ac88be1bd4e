// The label view: the registers and the program's labels with their values
// read live from the machine (the label's value, the word it points to and
// the word that word points to), under its header bar with five sections.
// Several rows can be selected at once (row selection, unrelated to a
// label's Selected flag).
#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <unordered_map>
#include <vector>

#include "workbench/label_view_model.h"
#include "workbench/owner_drawn_list.h"

class TViewHost;

// Accent and grey of the value columns.
inline const QColor kLabelAccent(224, 48, 0);
inline const QColor kLabelGrey(192, 192, 192);

// Everything one row shows, as the view draws it; tests ask for it instead of
// reading pixels.
struct TLabelRowLook {
  enum Column { Name, Value, Referenced, Indirect, Path, ColumnCount };
  std::array<QString, ColumnCount> Texts;
  std::array<QColor, ColumnCount> Colours;
  QColor Background;
  bool Bold = false;        // registers, and labels whose Selected is set
  bool ValuesBold = false;  // false on the register rows

  bool operator==(const TLabelRowLook&) const = default;
};

class TLabelView : public TOwnerDrawnList {
  Q_OBJECT

 public:
  TLabelView(TViewHost& host, QWidget* parent = nullptr);
  ~TLabelView() override;

  // The header bar (HeaderBar) has the five sections "ラベル" 42, "値" 48,
  // "参照値" 48, "間接値" 48, "パス" 48; the main window lays it out above the
  // view. Resizing a section repaints the view.

  // The model whose rows are shown; nullptr shows none. Row selection is
  // cleared; the current row becomes 0.
  void SetModel(const TLabelViewModel* model);
  int RowCount() const override;

  // The current row (the one a click or the arrow keys moved to), or -1.
  int CurrentRow() const;
  // Moves the current row (and the anchor of Shift-selection) and scrolls it
  // into sight; the row selection stays as it is. -1 or a row outside the
  // list: no current row.
  void SetCurrentRow(int row);
  // The rows selected in the view, ascending.
  std::vector<int> SelectedRows() const;
  void SetRowSelected(int row, bool selected);

  // Redraws one row (the values are read again). A row whose look is the
  // one it was last drawn with whole is left as it is.
  void RepaintRow(int row);

  // The look of a row in the current state of the machine and the number
  // format; selected says whether it is drawn as a selected row.
  TLabelRowLook RowLook(int row, bool selected) const;

  // Signals (TOwnerDrawnList): RowClicked, the current row changed by a
  // click or by the keyboard; RowDoubleClicked; ContextMenuRequested asks
  // for the label pop-up.

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  int CurrentListRow() const override { return CurrentRow(); }
  void MoveByKey(int target, int current, Qt::KeyboardModifiers modifiers) override;

 private:
  struct TPaintKit;

  bool IsSelected(int row) const;
  // Only row selected; it becomes the current row and the anchor.
  void SelectOnly(int row);
  // The rows from the anchor to row selected, no others; row becomes current.
  void SelectRange(int row);
  // Makes row current, shows it and reports it as a click.
  void ReportCurrent(int row);
  // Keeps the selection flags as long as the rows.
  void FitSelection() const;
  TPaintKit MakePaintKit() const;
  // Draws a row and returns the look it drew.
  TLabelRowLook DrawRow(QPainter& painter, int row, const QRect& rect, bool selected,
                        const TPaintKit& kit);

  TViewHost& host_;
  const TLabelViewModel* model_ = nullptr;
  mutable std::vector<bool> selected_;
  int current_ = -1;
  int anchor_ = -1;
  // The look each row was last drawn with across its whole width; a paint
  // that covers only part of a row forgets the row's entry.
  std::unordered_map<int, TLabelRowLook> drawnLooks_;
};
