#pragma once
// "Pin Overview": every pin in one table, following the editor as it changes. A thin view
// of the core's PinOverview, which holds the rows, the filter and the sort order.
#include <QWidget>

#include "model/pin_overview.h"

class QLineEdit;
class QTableWidget;

namespace brixo {

class AppState;

class PinOverviewWindow : public QWidget {
  Q_OBJECT
 public:
  explicit PinOverviewWindow(AppState& app, QWidget* parent = nullptr);

  QLineEdit* FilterBox() const { return filter_; }
  QTableWidget* Table() const { return table_; }
  const PinOverview& Overview() const { return overview_; }

  // The rows again from the application's configuration (after any edit).
  void Refresh();
  // Shows the window (non-modal), up to date, and brings it to the front.
  void ShowOverview();

  // What a click on a column's caption and the filter box do.
  void SortBy(OverviewColumn column);
  void SetFilter(const QString& text);

 signals:
  // A row was double-clicked: the device tab shows this pin (internal number).
  void pinOpened(int pin);

 private:
  void ShowRows();

  AppState& app_;
  PinOverview overview_;
  QLineEdit* filter_;
  QTableWidget* table_;
};

}  // namespace brixo
