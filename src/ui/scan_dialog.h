#pragma once
// "Scan Line": finds the controllers on the line with the core's scan, one probe per turn
// of the event loop so that the window stays responsive and "Stop" works, lists what it
// found and takes the chosen controller's address into "Module Address".
#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

#include "app/app_state.h"
#include "transfer/line_scan.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;
class QTreeWidget;

namespace brixo {

class ScanDialog : public QDialog {
  Q_OBJECT
 public:
  explicit ScanDialog(AppState& app, QWidget* parent = nullptr);
  ~ScanDialog() override;

  // The buttons' actions, public so that tests reach them as a click does.
  void StartScan();
  void StopScan();
  // Runs the next probe; the timer calls it while a scan runs.
  void StepScan();
  // Takes the selected line's address into the link settings and closes with Accepted.
  void UseSelected();

  bool Scanning() const { return scan_ != nullptr && !scan_->Finished(); }
  // The controllers listed, in the order shown.
  const std::vector<FoundController>& Listed() const { return listed_; }

 protected:
  void reject() override;

 private:
  void ShowState();
  void ShowFound();
  QString ActivityText() const;

  AppState& app_;
  std::unique_ptr<LineScan> scan_;
  std::vector<FoundController> listed_;
  QTimer* timer_;
  QLabel* labelRange_;
  QCheckBox* checkXaddr_;
  QSpinBox* xaddrFirst_;
  QSpinBox* xaddrLast_;
  QSpinBox* probeMs_;
  QPushButton* start_;
  QPushButton* stop_;
  QProgressBar* progress_;
  QLabel* activity_;
  QTreeWidget* list_;
  QPushButton* use_;
  QPushButton* close_;
};

}  // namespace brixo
