// The stack view: a small table of the words from SP + 1 up to the stack's
// start, each with its address, its value in the views' number format, the
// label it points into and a mark on the return addresses of CALLs. The
// rows are read from the machine when they are painted, so only the visible
// rows cost anything; Refresh is called whenever the other views follow the
// machine.
#pragma once

#include <QTableView>
#include <memory>

#include "workbench/stack_rows.h"

class TViewHost;
class TStackTableModel;

class TStackView : public QTableView {
  Q_OBJECT

 public:
  enum Column { AddressColumn = 0, ValueColumn = 1, LabelColumn = 2, MarkColumn = 3 };
  static constexpr int kColumnCount = 4;

  explicit TStackView(TViewHost& host, QWidget* parent = nullptr);
  ~TStackView() override;

  // Takes the machine's SP and the program's labels afresh and repaints the
  // visible rows.
  void Refresh();
  // The rows as they are now (for the tests and the model).
  int RowCount() const;
  TStackRow RowAt(int row) const;
  // The text of a cell as shown.
  QString CellText(int row, int column) const;

 private:
  TViewHost& host_;
  TStackRows rows_;
  std::unique_ptr<TStackTableModel> model_;
};
