#pragma once
// The "General" tab: firmware version, identification string, DCC settings, serial
// addressing, hardware configuration, LED functions, the controller's serial port and the
// flash erase. The values live in the GeneralSettings record; the controls only show it,
// and every user action goes through the record's rules before the tab is shown again.
#include <QWidget>
#include <array>

#include "app/result_text.h"
#include "transfer/general_settings.h"
#include "transfer/transfer_context.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace brixo {

class LedCheckBox;
class UpDownField;

class GeneralTabWidget : public QWidget {
  Q_OBJECT
 public:
  explicit GeneralTabWidget(TransferContext& ctx, QWidget* parent = nullptr);

  // Copies the record into the controls (after a read, a file load or a numbering change).
  void ShowGeneralSettings();
  // The tab was selected: the DCC output ranges follow the current address totals.
  void ShowOutputRanges();

  // The group operations run directly, not as deferred commands.
  void RequestVersion();
  void ReadString();
  void WriteString();
  void ReadDccGroup();
  void WriteDccGroup();
  void ReadAddressGroup();
  void WriteAddressGroup();
  void ReadHardwareGroup();
  void WriteHardwareGroup();
  void ReadSerialGroup();
  void WriteSerialGroup();
  void ReadLedGroup();
  void WriteLedGroup();
  void Erase();

 signals:
  // A group operation is about to talk to the controller, or has finished.
  void operationStarted();
  void operationFinished();
  // What the group operation came to, for the status bar.
  void resultReady(const QString& text);

 private:
  GeneralTab Tab() { return GeneralTabOf(ctx_); }
  int Offset() const { return ctx_.Model.NumberingOffset; }
  template <typename Operation>
  bool RunGroupOperation(Operation operation);
  template <typename Operation>
  void RunGroupTransfer(Operation operation, GroupTransfer transfer, const char* group);

  QGroupBox* BuildVersionGroup();
  QGroupBox* BuildIdGroup();
  QGroupBox* BuildDccGroup();
  QGroupBox* BuildAddressGroup();
  QGroupBox* BuildHardwareGroup();
  QGroupBox* BuildLedGroup();
  QGroupBox* BuildSerialGroup();
  QGroupBox* BuildEraseGroup();
  QGroupBox* BuildLedBoxes(const QString& title, const char* name, std::array<LedCheckBox*, 8>& boxes,
                           const std::array<const char*, 8>& captions, bool green);
  QPushButton* Button(const QString& caption, const char* name, void (GeneralTabWidget::*handler)());

  void ShowAddressing();
  void ShowOutputRangeLabels();

  TransferContext& ctx_;

  QLabel* labelVersion_ = nullptr;
  QLineEdit* textIdString_ = nullptr;

  UpDownField* textDccAddress_ = nullptr;
  UpDownField* textXDccAddress_ = nullptr;
  QLabel* labelDccOutput_ = nullptr;
  QLabel* labelXDccOutput_ = nullptr;
  QButtonGroup* packetRetention_ = nullptr;
  QCheckBox* checkBpsi_ = nullptr;
  QCheckBox* checkAllow0_ = nullptr;

  QCheckBox* checkForceXA_ = nullptr;
  QCheckBox* checkNative_ = nullptr;
  QCheckBox* checkTamlo_ = nullptr;
  QLabel* labelTamloStart_ = nullptr;  // LabelGenXA(4)
  UpDownField* textTamloaddr_ = nullptr;
  QLabel* labelModuleX_ = nullptr;     // LabelGenXA(1)
  UpDownField* textGenXaddr_ = nullptr;
  QLabel* labelGroupMask_ = nullptr;   // LabelGenXA(2)
  std::array<QLabel*, 16> groupNumbers_{};  // LabelGenXGMlbl
  std::array<QCheckBox*, 16> groupMask_{};

  std::array<QLabel*, 5> hwcPinLabels_{};  // LabelGenHWCPin: "Pin" and the four ranges
  QWidget* hwcPinRow_ = nullptr;
  std::array<QCheckBox*, 4> sink_{};
  std::array<QCheckBox*, 4> source_{};

  std::array<LedCheckBox*, 8> green_{};
  std::array<LedCheckBox*, 8> orange_{};

  QCheckBox* checkSerialEnable_ = nullptr;
  QComboBox* comboBaud_ = nullptr;
  QButtonGroup* dataBits_ = nullptr;
  QButtonGroup* stopBits_ = nullptr;
  QButtonGroup* parity_ = nullptr;
};

}  // namespace brixo
