#pragma once
// The device definitions of the "Brixo Device Configuration" tab: the device list
// (cboDevice), the version of the definitions loaded, "Reload DD", "Load Device" and
// "Save Device".
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace brixo {

class AppState;
class ModifierButton;

class DeviceDefinitionsPanel : public QWidget {
  Q_OBJECT
 public:
  explicit DeviceDefinitionsPanel(AppState& app, QWidget* parent = nullptr);

  // The list and the version caption from the device library.
  void Show();
  void SetVersionCaption(const QString& caption);

  QComboBox* DeviceList() const { return list_; }

 signals:
  // A device was copied onto the pins: every view of the pins must follow.
  void deviceLoaded();

 private:
  AppState& app_;
  QComboBox* list_ = nullptr;
  QLabel* version_ = nullptr;
  ModifierButton* reload_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* save_ = nullptr;
};

}  // namespace brixo
