// The memory panel: the machine's whole memory as a grid of 16 words per row
// (17 × 4097 cells with the header row and column), every cell drawn from
// memory when it is painted, editable by typing a number; below it the status
// bar with 13 panels that reads the selected word six ways.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

class QLabel;
class QStatusBar;
class QTableView;
class TMemoryGrid;
class TMemoryGridModel;
class TViewHost;

class TMemoryView : public QWidget {
  Q_OBJECT

 public:
  TMemoryView(TViewHost& host, QWidget* parent = nullptr);
  ~TMemoryView() override;

  // The grid and the status bar below it.
  QTableView* Grid() const;
  QStatusBar* StatusBar() const;

  // The default cell size (the main window sets it from its font).
  void SetCellSize(int width, int height);

  // The address of the grid's current cell.
  int CurrentAddress() const;
  // Selects the cell of address and scrolls so that its row is the top row.
  void ShowMemoryAt(uint16_t address);
  // Fills the status bar for address.
  void ShowMemoryStatus(uint16_t address);
  // Repaints the grid and refills the status bar for the current cell.
  void RefreshMemoryView();
  // Drops the typed text of every edited cell.
  void ClearMemoryCells();
  // Redraws the cell of one address.
  void RepaintAddress(uint16_t address);
  // Whether the grid (or its cell editor) has the keyboard focus.
  bool GridHasFocus() const;

  // The texts of the status bar's 13 panels, left to right (for tests).
  static constexpr int kPanelCount = 13;
  QString PanelText(int panel) const;
  // The text a cell shows, in grid coordinates: column 0 and row 0 are the
  // fixed header cells, column c and row r from 1 the word at
  // (r - 1) * 16 + (c - 1). Empty for (0, 0) and outside the grid.
  QString CellText(int column, int row) const;

 signals:
  // A click on the grid while it has the focus: the listing follows the
  // word's line. The keyboard moving the current cell while the grid has
  // the focus counts as a click too, so the listing follows the arrow keys.
  void CellClicked(uint16_t address);
  // A typed number was written into memory at address.
  void MemoryEdited(uint16_t address);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Widens a panel whose widest text does not fit the status bar's font, and
  // places the panels side by side.
  void LayOutPanels();
  // Writes the value of a non-empty typed text at address; a text that is no
  // number is ignored.
  void EditCell(uint16_t address, const QString& text);

  TViewHost& host_;
  TMemoryGridModel* model_;
  TMemoryGrid* grid_;
  QStatusBar* statusBar_;
  std::array<QLabel*, kPanelCount> panels_{};
};
