// TUnitDialog, the unit selection dialog "ユニット表示選択": a fixed client area
// of 275 × 201 pixels in "ＭＳ Ｐゴシック" 12 pixels, the prompt
// "表示するユニットを選択して下さい", a list of check boxes (257 × 137
// pixels) with one unit per item, and the buttons "OK" and "Cancel".
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QListWidget;
class QPushButton;

class TUnitDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 275;
  static constexpr int kClientHeight = 201;
  static constexpr int kListWidth = 257;
  static constexpr int kListHeight = 137;

  explicit TUnitDialog(QWidget* parent = nullptr);

  // The check list.
  void ClearUnits();
  void AddUnit(const QString& name, bool ticked);
  int UnitCount() const;
  bool IsTicked(int item) const;
  void SetTicked(int item, bool ticked);

  QLabel* Prompt() const { return prompt_; }
  QListWidget* CheckList() const { return list_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  QLabel* prompt_ = nullptr;
  QListWidget* list_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};
