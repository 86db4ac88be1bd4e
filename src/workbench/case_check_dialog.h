// The result of checking the loaded program against a case file: one row
// per case with its result ("PASS" or "FAIL") and, for a failed case, its
// first difference (for a broken case, its problem with its place in the
// case file), and the closing line "N passed, M failed" below.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "session/case_result.h"

class QLabel;
class QTableWidget;

class TCaseCheckDialog : public QDialog {
  Q_OBJECT

 public:
  enum Column { ResultColumn = 0, NameColumn = 1, DifferenceColumn = 2 };

  TCaseCheckDialog(const QString& caseFilePath, QWidget* parent = nullptr);

  void ShowResults(const std::vector<TCaseResult>& results);

  QTableWidget* Table() const { return table_; }
  QLabel* ClosingLine() const { return closing_; }

  // The difference shown for a result (CP932): empty for a passed case.
  static std::string DifferenceOf(const TCaseResult& result, const std::string& caseFilePath);

 private:
  std::string caseFilePath_;
  QTableWidget* table_ = nullptr;
  QLabel* closing_ = nullptr;
};
