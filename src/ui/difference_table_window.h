#pragma once
// The differences as a working table ("Compare", "Compare with File..."): a row per
// difference with where it sits, the field's caption and both values as the editor shows
// them, each with a check box. The user decides here what to write to the controller or
// to take into the editor; the main window carries it out.
#include <QWidget>
#include <vector>

#include "transfer/difference_table.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace brixo {

// What the rows are compared with: the controller (Write Checked, Take Controller's
// Values, the report) or a file (Take File's Values).
enum class ComparedWith { Controller, File };

class DifferenceTableWindow : public QWidget {
  Q_OBJECT
 public:
  explicit DifferenceTableWindow(QWidget* parent = nullptr);

  // The rows afresh, all ticked; `summary` is the line above them (the verdict, the file).
  void ShowRows(std::vector<DifferenceRow> rows, ComparedWith other, const QString& title, const QString& summary);
  // The rows with the ticks as the user left them.
  std::vector<DifferenceRow> Rows() const;
  ComparedWith Other() const { return other_; }

  QTableWidget* Table() const { return table_; }
  QPushButton* WriteCheckedButton() const { return writeChecked_; }
  QPushButton* TakeValuesButton() const { return takeValues_; }
  QPushButton* ReportButton() const { return report_; }

 signals:
  void writeCheckedRequested();
  void takeValuesRequested();
  void reportRequested();
  // A row was double-clicked: the editor shows its field.
  void fieldOpened(FieldId field);

 private:
  void ShowButtons();

  std::vector<DifferenceRow> rows_;
  ComparedWith other_ = ComparedWith::Controller;
  QLabel* summary_;
  QTableWidget* table_;
  QPushButton* writeChecked_;
  QPushButton* takeValues_;
  QPushButton* report_;
};

}  // namespace brixo
