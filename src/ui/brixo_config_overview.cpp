// The main window's views of the whole configuration: the "Pin Overview" window and the
// device tab's aspect in words, kept in step with every change.
#include <QTabWidget>

#include "ui/brixo_config_window.h"
#include "ui/device_config_tab.h"
#include "ui/pin_overview_window.h"

namespace brixo {

void BrixoConfig::OpenPinOverview() {
  if (overview_ == nullptr) {
    overview_ = new PinOverviewWindow(app_, this);
    connect(overview_, &PinOverviewWindow::pinOpened, this, &BrixoConfig::OpenPinFromOverview);
  }
  overview_->ShowOverview();
}

void BrixoConfig::FollowEdits() {
  // A hidden overview is brought up to date when it is shown again.
  if (overview_ != nullptr && overview_->isVisible()) overview_->Refresh();
  if (deviceTab_ != nullptr) deviceTab_->ShowProgram();
  ShowChangedMarks();
}

void BrixoConfig::OpenPinFromOverview(int pin) {
  if (running_) return;
  tabs_->setCurrentIndex(kDeviceConfigurationTab);
  // A tab that may not open now (see TabSelected) keeps the window where it was.
  if (tabs_->currentIndex() != kDeviceConfigurationTab) return;
  deviceTab_->OpenPin(pin);
  FollowEdits();
  raise();
  activateWindow();
}

}  // namespace brixo
