#include "transfer/changed_writes.h"

#include <algorithm>

#include "transfer/event_control_transfer.h"
#include "transfer/general_settings_transfer.h"
#include "transfer/pin_transfer.h"
#include "transfer/pin_transfer_messages.h"

namespace brixo {

namespace {

void Mark(ChangedParts& parts, const FieldId& field) {
  switch (field.Kind) {
    case FieldKind::IdString: parts.IdString = true; return;
    case FieldKind::DccAddress:
    case FieldKind::XDccAddress:
    case FieldKind::DccOptions: parts.DccSettings = true; return;
    case FieldKind::FlexValue:
    case FieldKind::FlexFlag:
    case FieldKind::ModuleXAddress:
    case FieldKind::GroupMask: parts.AddressSettings = true; return;
    case FieldKind::HardwareGroup: parts.HardwareConfig = true; return;
    case FieldKind::GreenLed:
    case FieldKind::OrangeLed: parts.LedConfig = true; return;
    case FieldKind::SerialEnable:
    case FieldKind::BaudRate:
    case FieldKind::DataBits:
    case FieldKind::Parity:
    case FieldKind::StopBits: parts.SerialPortConfig = true; return;
    case FieldKind::OnAction:
    case FieldKind::OffAction: parts.EventActions = true; return;
    case FieldKind::EnableOnMask:
    case FieldKind::EnableOffMask: parts.EnableMap = true; return;
    case FieldKind::AspectConfig:
    case FieldKind::InitAspect:
    case FieldKind::PinDescription:
    case FieldKind::DevicePointer:
    case FieldKind::DeviceDescription:
    case FieldKind::OutputByte:
    case FieldKind::XDccCount:
    case FieldKind::DccCount:
    case FieldKind::SerialCount:
    case FieldKind::AspectDescription:
    case FieldKind::StepCode:
    case FieldKind::StepPar0:
    case FieldKind::StepPar1:
    case FieldKind::StepPar2:
    case FieldKind::StepPar3:
      if (IsValidPin(field.Pin)) parts.Pins[field.Pin] = true;
      return;
  }
}

bool WriteChangedPins(TransferContext& ctx, const ChangedParts& parts, int& pinsWritten) {
  for (int p = 0; p < kPinCount; ++p) {
    if (!parts.Pins[p]) continue;
    if (ctx.Stopping()) return false;
    ctx.View.ShowProgress("Writing " + PinOfAll(ctx.Model, p));
    if (!WritePinComplete(ctx, p)) return false;
    ++pinsWritten;
    ctx.NoteDone("pin " + std::to_string(DisplayedPin(ctx.Model, p)));
  }
  return !ctx.Stopping();
}

}  // namespace

bool ChangedParts::Any() const {
  return IdString || DccSettings || LedConfig || HardwareConfig || SerialPortConfig || AddressSettings ||
         EventActions || EnableMap || std::find(Pins.begin(), Pins.end(), true) != Pins.end();
}

int ChangedParts::PinCount() const { return static_cast<int>(std::count(Pins.begin(), Pins.end(), true)); }

ChangedParts ChangedPartsOf(const std::vector<Difference>& differences) {
  ChangedParts parts;
  for (const Difference& difference : differences) Mark(parts, difference.Field);
  return parts;
}

ChangedParts ChangedPartsOf(const std::vector<FieldId>& fields) {
  ChangedParts parts;
  for (const FieldId& field : fields) Mark(parts, field);
  return parts;
}

bool WriteChangedParts(TransferContext& ctx, const ChangedParts& parts, int& pinsWritten) {
  ctx.View.ShowProgress("General settings");
  // Each write only when every earlier one was sent, as in Write All.
  const auto write = [&ctx](bool wanted, bool (*operation)(TransferContext&)) {
    return !wanted || (!ctx.Stopping() && operation(ctx));
  };
  if (!write(parts.IdString, WriteIdString) || !write(parts.DccSettings, WriteDccSettings) ||
      !write(parts.LedConfig, WriteLedConfig) || !write(parts.HardwareConfig, WriteHardwareConfig) ||
      !write(parts.SerialPortConfig, WriteSerialPortConfig))
    return false;
  if (!WriteChangedPins(ctx, parts, pinsWritten)) return false;
  ctx.View.ShowProgress("Event control");
  if (!write(parts.EventActions, WriteEventControlInSequence) || !write(parts.EnableMap, WriteEnableMap)) return false;
  return write(parts.AddressSettings, WriteAddressSettings);
}

}  // namespace brixo
