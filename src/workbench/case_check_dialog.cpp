#include "workbench/case_check_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "session/grading_report.h"
#include "workbench/view_support.h"

TCaseCheckDialog::TCaseCheckDialog(const QString& caseFilePath, QWidget* parent)
    : QDialog(parent), caseFilePath_(caseFilePath.toStdString()) {
  setWindowTitle(QStringLiteral("ケースファイルで確認 : ") + QFileInfo(caseFilePath).fileName());
  resize(640, 320);
  auto* layout = new QVBoxLayout(this);
  table_ = new QTableWidget(0, 3, this);
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("結果"), QStringLiteral("ケース"), QStringLiteral("最初の違い")});
  table_->horizontalHeader()->setFont(HeaderBarFont());
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setColumnWidth(ResultColumn, 48);
  table_->setColumnWidth(NameColumn, 200);
  layout->addWidget(table_, 1);
  closing_ = new QLabel(this);
  layout->addWidget(closing_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

std::string TCaseCheckDialog::DifferenceOf(const TCaseResult& result,
                                           const std::string& caseFilePath) {
  if (result.Status == TCaseStatus::Passed) return {};
  if (result.Status == TCaseStatus::Broken && result.ProblemPosition)
    return ProblemLine(caseFilePath, *result.ProblemPosition, result.Problem);
  return FirstDifference(result);
}

void TCaseCheckDialog::ShowResults(const std::vector<TCaseResult>& results) {
  table_->setRowCount(static_cast<int>(results.size()));
  for (size_t i = 0; i < results.size(); ++i) {
    const TCaseResult& result = results[i];
    const int row = static_cast<int>(i);
    const bool passed = result.Status == TCaseStatus::Passed;
    auto* verdict = new QTableWidgetItem(passed ? QStringLiteral("PASS") : QStringLiteral("FAIL"));
    verdict->setForeground(passed ? QColor(0, 128, 0) : QColor(255, 0, 0));
    table_->setItem(row, ResultColumn, verdict);
    table_->setItem(row, NameColumn, new QTableWidgetItem(DisplayText(result.Name)));
    const QString difference = DisplayText(DifferenceOf(result, caseFilePath_));
    auto* differenceItem = new QTableWidgetItem(difference);
    differenceItem->setToolTip(difference);
    table_->setItem(row, DifferenceColumn, differenceItem);
  }
  closing_->setText(DisplayText(::ClosingLine(CountResults(results))));
}
