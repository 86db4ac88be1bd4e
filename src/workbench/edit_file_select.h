// TEditFileSelect: the modal dialog in which the user picks the sources to
// open in the editor. A fixed client area of 274 × 201 pixels with the
// prompt at the top, a multi-selection list of 257 × 137 pixels below it and
// the buttons "OK" (default) and "Cancel".
//
// List item k shows file-set entry k + 1 (the main source is entry 1). While
// the mouse moves over the list, the list's hint is the full path of the
// entry under the pointer; over no item the hint is cleared and hidden.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class TFileNames;

class TEditFileSelect : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 274;
  static constexpr int kClientHeight = 201;
  static constexpr int kListWidth = 257;
  static constexpr int kListHeight = 137;

  // files must outlive the dialog; font is the main window's.
  TEditFileSelect(const TFileNames& files, const QFont& font, QWidget* parent = nullptr);

  // Fills the list with the file names (without folder) of file-set entries
  // 1 to the last and selects the first item.
  void FillFromFileSet();
  // The list items that are selected, in list order.
  std::vector<int> SelectedItems() const;

  // The hint for a point of the list's viewport: the full path of the entry
  // under it, or "" over no item.
  QString HintAt(const QPoint& viewportPos) const;

  QLabel* Prompt() const { return prompt_; }
  QListWidget* List() const { return list_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const TFileNames& files_;
  QLabel* prompt_ = nullptr;
  QListWidget* list_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};
