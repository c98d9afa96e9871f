#include "ui/pin_overview_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/pin_overview_source.h"
#include "model/numeric_text.h"
#include "ui/close_on_escape.h"
#include "ui/core_text.h"

namespace brixo {

namespace {

constexpr const char* kChangedMark = "changed";

QString CellText(const PinOverviewRow& row, OverviewColumn column) {
  switch (column) {
    case OverviewColumn::Pin: return ToQt(row.PinText);
    case OverviewColumn::Description: return ToQt(row.Description);
    case OverviewColumn::Device: return ToQt(row.Device);
    case OverviewColumn::OutputType: return ToQt(row.OutputType);
    case OverviewColumn::Layout: return ToQt(row.Layout);
    case OverviewColumn::InitAspect: return ToQt(row.InitAspect);
    case OverviewColumn::DccFirst: return ToQt(row.DccFirst);
    case OverviewColumn::DccCount: return QString::number(row.DccCount);
    case OverviewColumn::XDccFirst: return ToQt(row.XDccFirst);
    case OverviewColumn::XDccCount: return QString::number(row.XDccCount);
    case OverviewColumn::SerialFirst: return ToQt(row.SerialFirst);
    case OverviewColumn::SerialCount: return QString::number(row.SerialCount);
    case OverviewColumn::PinAddress: return ToQt(row.PinAddress);
    case OverviewColumn::Changed: return row.Changed ? kChangedMark : QString();
  }
  return {};
}

bool IsText(OverviewColumn column) {
  return column == OverviewColumn::Description || column == OverviewColumn::Device ||
         column == OverviewColumn::OutputType || column == OverviewColumn::Changed;
}

}  // namespace

PinOverviewWindow::PinOverviewWindow(AppState& app, QWidget* parent)
    : QWidget(parent, Qt::Window), app_(app), filter_(new QLineEdit(this)), table_(new QTableWidget(this)) {
  setObjectName("PinOverviewWindow");
  setWindowTitle("Pin Overview");
  CloseOnEscape(*this);
  filter_->setObjectName("PinOverviewFilter");
  filter_->setClearButtonEnabled(true);
  filter_->setPlaceholderText("Description, device name or an address number");
  filter_->setToolTip("A number shows the pins that answer to it (a DCC output, an extended DCC or a serial address)");
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(new QLabel("Filter:"));
  filterRow->addWidget(filter_, 1);

  table_->setObjectName("PinOverviewTable");
  table_->setColumnCount(kOverviewColumnCount);
  QStringList captions;
  for (int c = 0; c < kOverviewColumnCount; ++c) captions << OverviewColumnCaption(static_cast<OverviewColumn>(c));
  table_->setHorizontalHeaderLabels(captions);
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setAlternatingRowColors(true);
  table_->setWordWrap(false);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  QHeaderView* header = table_->horizontalHeader();
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(true);
  header->setHighlightSections(false);
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setStretchLastSection(true);
  header->setToolTip("Click a caption to sort by its column; click again for the reverse order");

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filterRow);
  layout->addWidget(table_, 1);
  auto* hint = new QLabel("Double-click a pin to show it in the device tab. \"changed\": differs from the file last "
                          "loaded or saved, or from the last Read All.");
  hint->setWordWrap(true);
  layout->addWidget(hint);

  connect(filter_, &QLineEdit::textChanged, this, &PinOverviewWindow::SetFilter);
  connect(header, &QHeaderView::sectionClicked, this,
          [this](int section) { SortBy(static_cast<OverviewColumn>(section)); });
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    const auto& rows = overview_.Rows();
    if (row >= 0 && row < static_cast<int>(rows.size())) emit pinOpened(rows[row].Pin);
  });
  resize(900, 640);
}

void PinOverviewWindow::Refresh() {
  RefreshPinOverview(app_, overview_);
  ShowRows();
}

void PinOverviewWindow::ShowOverview() {
  Refresh();
  show();
  raise();
  activateWindow();
}

void PinOverviewWindow::SortBy(OverviewColumn column) {
  overview_.SortBy(column);
  ShowRows();
}

void PinOverviewWindow::SetFilter(const QString& text) {
  overview_.SetFilter(FromQt(text));
  ShowRows();
}

void PinOverviewWindow::ShowRows() {
  const std::vector<PinOverviewRow>& rows = overview_.Rows();
  // The selected pin stays selected wherever sorting or an edit moves it.
  int selectedPin = -1;
  if (const QTableWidgetItem* item = table_->currentItem()) selectedPin = item->data(Qt::UserRole).toInt();
  table_->setRowCount(static_cast<int>(rows.size()));
  int selectedRow = -1;
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int c = 0; c < kOverviewColumnCount; ++c) {
      const auto column = static_cast<OverviewColumn>(c);
      QTableWidgetItem* item = table_->item(r, c);
      if (item == nullptr) {
        item = new QTableWidgetItem;
        item->setTextAlignment(IsText(column) ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(r, c, item);
      }
      // Only what changed is set, so that only those cells are drawn again.
      const QString text = CellText(rows[r], column);
      if (item->text() != text) item->setText(text);
      if (item->data(Qt::UserRole).toInt() != rows[r].Pin || !item->data(Qt::UserRole).isValid())
        item->setData(Qt::UserRole, rows[r].Pin);
    }
    if (rows[r].Pin == selectedPin) selectedRow = r;
  }
  if (selectedRow >= 0 && selectedRow != table_->currentRow()) table_->setCurrentCell(selectedRow, table_->currentColumn());
  QHeaderView* header = table_->horizontalHeader();
  const int section = static_cast<int>(overview_.SortColumn());
  const Qt::SortOrder order = overview_.Ascending() ? Qt::AscendingOrder : Qt::DescendingOrder;
  if (header->sortIndicatorSection() != section || header->sortIndicatorOrder() != order)
    header->setSortIndicator(section, order);
}

}  // namespace brixo
