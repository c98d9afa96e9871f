#pragma once
// The feedback monitor of the "Test" tab: "Clear", "Monitor", "Stop" and the list of the
// controller's feedback values, polled by Timer2 every 100 ms. The monitor runs while
// "Monitor" keeps the focus; "Stop" ends it only by taking the focus away.
#include <QGroupBox>

class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace brixo {

class FeedbackMonitor;

class FeedbackMonitorPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit FeedbackMonitorPanel(FeedbackMonitor& monitor, QWidget* parent = nullptr);

  ~FeedbackMonitorPanel() override;

  QTimer* Timer2() const { return timer2_; }
  QPlainTextEdit* TextFBM() const { return textFBM_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Brings textFBM up to the monitor's text, caret at the end.
  void Sync();
  void StartMonitor();
  void StopMonitor();
  void Tick();

  FeedbackMonitor& monitor_;
  QPlainTextEdit* textFBM_;
  QPushButton* monitorButton_ = nullptr;
  QTimer* timer2_;
  uint64_t shown_ = 0;  // characters the monitor had appended when textFBM last followed it
};

}  // namespace brixo
