#include "ui/general_tab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringList>

#include "app/result_text.h"
#include "transfer/general_settings.h"
#include "transfer/general_settings_transfer.h"
#include "ui/core_text.h"
#include "ui/led_check_box.h"
#include "ui/up_down_field.h"

namespace brixo {

namespace {

void SetChecked(QCheckBox* box, bool checked) {
  const QSignalBlocker block(box);
  box->setChecked(checked);
}

void SelectButton(QButtonGroup* group, int id) {
  const QSignalBlocker block(group);
  if (QAbstractButton* button = group->button(id)) {
    button->setChecked(true);
    return;
  }
  // A value with no option of its own (a parity code read as 1) shows no option selected.
  const bool exclusive = group->exclusive();
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) button->setChecked(false);
  group->setExclusive(exclusive);
}

void ShowLedBoxes(const std::array<LedCheckBox*, 8>& boxes, const std::array<uint8_t, 8>& values) {
  for (int k = 0; k < 8; ++k) {
    const QSignalBlocker block(boxes[k]);
    boxes[k]->SetValue(values[k]);
  }
}

void ShowRangeLabel(QLabel* label, const std::string& text, bool red) {
  label->setText(ToQt(text));
  if (!red) {
    label->setPalette(QPalette());  // back to the inherited text colour
    return;
  }
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  label->setPalette(palette);
}

}  // namespace

template <typename Operation>
bool GeneralTabWidget::RunGroupOperation(Operation operation) {
  emit operationStarted();
  const bool ok = operation(ctx_);
  ShowGeneralSettings();
  emit operationFinished();
  return ok;
}

template <typename Operation>
void GeneralTabWidget::RunGroupTransfer(Operation operation, GroupTransfer transfer, const char* group) {
  const bool ok = RunGroupOperation(operation);
  emit resultReady(ToQt(GroupResultText(transfer, group, ok)));
}

void GeneralTabWidget::RequestVersion() { RunGroupTransfer(ReadVersion, GroupTransfer::Read, "firmware version"); }
void GeneralTabWidget::ReadString() { RunGroupTransfer(ReadIdString, GroupTransfer::Read, "ID string"); }
void GeneralTabWidget::WriteString() { RunGroupTransfer(WriteIdString, GroupTransfer::Write, "ID string"); }
void GeneralTabWidget::ReadDccGroup() { RunGroupTransfer(ReadDccSettings, GroupTransfer::Read, "DCC settings"); }
void GeneralTabWidget::WriteDccGroup() { RunGroupTransfer(WriteDccSettings, GroupTransfer::Write, "DCC settings"); }
void GeneralTabWidget::WriteAddressGroup() {
  RunGroupTransfer(WriteAddressSettings, GroupTransfer::Write, "serial addressing");
}
void GeneralTabWidget::ReadHardwareGroup() {
  RunGroupTransfer(ReadHardwareConfig, GroupTransfer::Read, "hardware configuration");
}
void GeneralTabWidget::WriteHardwareGroup() {
  RunGroupTransfer(WriteHardwareConfig, GroupTransfer::Write, "hardware configuration");
}
void GeneralTabWidget::ReadSerialGroup() {
  RunGroupTransfer(ReadSerialPortConfig, GroupTransfer::Read, "serial port settings");
}
void GeneralTabWidget::WriteSerialGroup() {
  RunGroupTransfer(WriteSerialPortConfig, GroupTransfer::Write, "serial port settings");
}
void GeneralTabWidget::ReadLedGroup() { RunGroupTransfer(ReadLedConfig, GroupTransfer::Read, "LED settings"); }
void GeneralTabWidget::WriteLedGroup() { RunGroupTransfer(WriteLedConfig, GroupTransfer::Write, "LED settings"); }
void GeneralTabWidget::Erase() { emit resultReady(ToQt(EraseResultText(RunGroupOperation(EraseFlash)))); }

void GeneralTabWidget::ReadAddressGroup() {
  // The controller's own flexible-addressing setting is not a choice the user must confirm.
  RunGroupTransfer(
      [](TransferContext& ctx) {
        ctx.General.QuietAddressUpdate = true;
        const bool ok = ReadAddressSettings(ctx);
        ctx.General.QuietAddressUpdate = false;
        return ok;
      },
      GroupTransfer::Read, "serial addressing");
}

void GeneralTabWidget::ShowOutputRanges() {
  ShowXDccOutputRange(ctx_.General, Offset(), ctx_.Maps.XDccAddressTotal);
  ShowDccOutputRange(ctx_.General, Offset(), ctx_.Maps.DccAddressTotal);
  ShowOutputRangeLabels();
}

void GeneralTabWidget::ShowOutputRangeLabels() {
  const GeneralSettings& g = ctx_.General;
  ShowRangeLabel(labelDccOutput_, g.LabelGenDCCOutput, g.LabelGenDCCOutputRed);
  ShowRangeLabel(labelXDccOutput_, g.LabelGenXDCCOutput, g.LabelGenXDCCOutputRed);
}

void GeneralTabWidget::ShowAddressing() {
  const GeneralSettings& g = ctx_.General;
  SetChecked(checkForceXA_, g.CheckGenForceXA);
  SetChecked(checkNative_, g.CheckGenBrixoNative);
  SetChecked(checkTamlo_, g.CheckGenTamloaddr);
  textTamloaddr_->SetText(ToQt(g.TextGenTamloaddr));
  textGenXaddr_->SetText(ToQt(g.TextGenXaddr));
  for (int k = 0; k < 16; ++k) SetChecked(groupMask_[k], g.CheckGenXGM[k]);

  const AddressingVisibility v = GeneralAddressingVisibility(g);
  checkNative_->setVisible(v.CheckGenBrixoNative);
  checkTamlo_->setVisible(v.CheckGenTamloaddr);
  labelTamloStart_->setVisible(v.TamloStart);
  textTamloaddr_->setVisible(v.TamloStart);
  labelModuleX_->setVisible(v.ModuleXAddress);
  textGenXaddr_->setVisible(v.ModuleXAddress);
  labelGroupMask_->setVisible(v.LabelGenXA2);
  for (int k = 0; k < 16; ++k) {
    groupNumbers_[k]->setVisible(v.LabelGenXGMlbl);
    groupMask_[k]->setVisible(v.CheckGenXGM[k]);
  }
}

void GeneralTabWidget::ShowGeneralSettings() {
  const GeneralSettings& g = ctx_.General;
  labelVersion_->setText(ToQt(g.LabelGenVersionString));
  if (textIdString_->text() != ToQt(g.TextGenIDString)) {
    const QSignalBlocker block(textIdString_);
    textIdString_->setText(ToQt(g.TextGenIDString));
  }

  textDccAddress_->SetText(ToQt(g.TextGenDCCAddress));
  textXDccAddress_->SetText(ToQt(g.TextGenXDCCAddress));
  SelectButton(packetRetention_, g.OptGenDCC_PRP);
  SetChecked(checkBpsi_, g.ChkGenDCC_BPSI);
  SetChecked(checkAllow0_, g.ChkGenDCCAllow0);
  ShowOutputRangeLabels();

  ShowAddressing();

  const QStringList pinCaption = ToQt(LabelGenHWCPinCaption(Offset())).split(' ', Qt::SkipEmptyParts);
  for (int i = 0; i < 5 && i < pinCaption.size(); ++i) hwcPinLabels_[i]->setText(pinCaption[i]);
  hwcPinRow_->setAccessibleName(ToQt(LabelGenHWCPinCaption(Offset())));
  for (int k = 0; k < 4; ++k) {
    SetChecked(sink_[k], g.ChkGenHWCSink[k]);
    SetChecked(source_[k], g.ChkGenHWCSource[k]);
  }

  ShowLedBoxes(green_, g.CheckLCGreen);
  ShowLedBoxes(orange_, g.CheckLCOrange);

  SetChecked(checkSerialEnable_, g.CheckGenSerialEnable);
  {
    const QSignalBlocker block(comboBaud_);
    comboBaud_->setCurrentIndex(g.ComboGenBaud);
  }
  SelectButton(dataBits_, g.OptionGenSerialDatabits);
  SelectButton(stopBits_, g.OptionGenSerialStop);
  SelectButton(parity_, g.OptionGenSerialParity);
}

}  // namespace brixo
