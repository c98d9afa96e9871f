#include "ui/difference_table_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/core_text.h"

namespace brixo {

namespace {

enum Column { kTick, kWhere, kField, kEditor, kOther, kColumnCount };

QTableWidgetItem* Cell(const std::string& text) {
  auto* item = new QTableWidgetItem(ToQt(text));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  // A long caption or value cut at its column's edge is read whole here.
  item->setToolTip(item->text());
  return item;
}

}  // namespace

DifferenceTableWindow::DifferenceTableWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      summary_(new QLabel(this)),
      table_(new QTableWidget(this)),
      writeChecked_(new QPushButton("Write Checked", this)),
      takeValues_(new QPushButton(this)),
      report_(new QPushButton("Report...", this)) {
  setObjectName("DifferenceTableWindow");
  setWindowTitle("Compare");
  summary_->setObjectName("LabelCompareSummary");
  table_->setObjectName("DifferenceTable");
  table_->setColumnCount(kColumnCount);
  table_->setHorizontalHeaderLabels({"", "Where", "Field", "Editor", "Controller"});
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setAlternatingRowColors(true);
  table_->setWordWrap(false);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  // Sized once from the first rows: a table of thousands of rows opens at once.
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->horizontalHeader()->setResizeContentsPrecision(200);
  writeChecked_->setObjectName("CommandWriteChecked");
  writeChecked_->setToolTip("Writes the groups, event tables and pins that hold the checked rows, then compares again");
  takeValues_->setObjectName("CommandTakeValues");
  report_->setObjectName("CommandCompareReport");
  report_->setToolTip("The comparison's report as text");
  auto* close = new QPushButton("Close", this);
  close->setObjectName("CommandCompareClose");

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(writeChecked_);
  buttons->addWidget(takeValues_);
  buttons->addStretch(1);
  buttons->addWidget(report_);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);
  resize(960, 480);

  connect(writeChecked_, &QPushButton::clicked, this, &DifferenceTableWindow::writeCheckedRequested);
  connect(takeValues_, &QPushButton::clicked, this, &DifferenceTableWindow::takeValuesRequested);
  connect(report_, &QPushButton::clicked, this, &DifferenceTableWindow::reportRequested);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (row >= 0 && row < static_cast<int>(rows_.size())) emit fieldOpened(rows_[static_cast<size_t>(row)].Field);
  });
  connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() == kTick) ShowButtons();
  });
}

void DifferenceTableWindow::ShowRows(std::vector<DifferenceRow> rows, ComparedWith other, const QString& title,
                                     const QString& summary) {
  rows_ = std::move(rows);
  other_ = other;
  setWindowTitle(title);
  summary_->setText(summary);
  const bool controller = other == ComparedWith::Controller;
  table_->setHorizontalHeaderItem(kOther, new QTableWidgetItem(controller ? "Controller" : "File"));
  takeValues_->setText(controller ? "Take Controller's Values" : "Take File's Values");
  takeValues_->setToolTip("Sets the checked fields in the editor to these values (one step to undo)");
  writeChecked_->setVisible(controller);
  report_->setVisible(controller);

  const QSignalBlocker blocker(table_);
  table_->setUpdatesEnabled(false);
  table_->clearContents();
  table_->setRowCount(static_cast<int>(rows_.size()));
  for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
    const DifferenceRow& row = rows_[static_cast<size_t>(r)];
    auto* tick = new QTableWidgetItem;
    tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    tick->setCheckState(row.Ticked ? Qt::Checked : Qt::Unchecked);
    table_->setItem(r, kTick, tick);
    table_->setItem(r, kWhere, Cell(row.Place));
    table_->setItem(r, kField, Cell(row.Caption));
    table_->setItem(r, kEditor, Cell(row.Text ? "<" + row.Mine + ">" : row.Mine));
    table_->setItem(r, kOther, Cell(row.Text && row.Takeable ? "<" + row.Theirs + ">" : row.Theirs));
  }
  table_->resizeColumnsToContents();
  // Every column in view: a long caption ("Packet Retention, ...") is cut, not scrolled to.
  const int widest = table_->fontMetrics().horizontalAdvance(QString(34, 'x'));
  for (int c = kWhere; c < kColumnCount; ++c) table_->setColumnWidth(c, std::min(table_->columnWidth(c), widest));
  table_->setUpdatesEnabled(true);
  ShowButtons();
}

std::vector<DifferenceRow> DifferenceTableWindow::Rows() const {
  std::vector<DifferenceRow> rows = rows_;
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const QTableWidgetItem* tick = table_->item(r, kTick);
    rows[static_cast<size_t>(r)].Ticked = tick != nullptr && tick->checkState() == Qt::Checked;
  }
  return rows;
}

void DifferenceTableWindow::ShowButtons() {
  bool anyTicked = false;
  bool anyTakeable = false;
  for (const DifferenceRow& row : Rows()) {
    anyTicked = anyTicked || row.Ticked;
    anyTakeable = anyTakeable || (row.Ticked && row.Takeable);
  }
  writeChecked_->setEnabled(anyTicked);
  takeValues_->setEnabled(anyTakeable);
}

}  // namespace brixo
