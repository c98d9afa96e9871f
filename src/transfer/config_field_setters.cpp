// Setting one field of a configuration to a value the field table counts: what "Take
// Controller's Values" and "Take File's Values" do to the editor, and how a comparison
// pictures the other side as the editor would hold it.
#include <algorithm>

#include "model/controller_encoding.h"
#include "transfer/config_fields.h"
#include "transfer/event_control.h"
#include "transfer/general_settings_encoding.h"

namespace brixo {

namespace {

using K = FieldKind;

PinRecord& PinOf(const FieldId& id, Configuration& config) {
  return config.Model.PinTable[std::clamp<int>(id.Pin, 0, kPinCount - 1)];
}

StepRecord& StepOf(const FieldId& id, Configuration& config) {
  return PinOf(id, config)
      .Aspects[std::clamp<int>(id.Aspect, 0, kAspectCount - 1)]
      .Steps[std::clamp<int>(id.Step, 0, kStepCount - 1)];
}

uint8_t Byte(int value) { return static_cast<uint8_t>(value); }

// The boxes that show the serial addressing numbers, as a loaded file leaves them.
void ShowAddressingTexts(GeneralSettings& g, int offset) {
  g.TextGenTamloaddr = std::to_string(g.FlexAddress * 4 + offset);
  g.TextGenXaddr = std::to_string(g.ModuleXAddress + offset);
}

void SetGeneral(const FieldId& id, int value, const std::string& text, GeneralSettings& g, int offset) {
  switch (id.Kind) {
    case K::IdString: g.TextGenIDString = text; return;
    case K::DccAddress: g.TextGenDCCAddress = std::to_string(value); return;
    case K::XDccAddress: g.TextGenXDCCAddress = std::to_string(value); return;
    case K::DccOptions: DecodeDccOptions(value, g); return;
    case K::FlexValue: DecodeSerialAddress(EncodeSerialAddress(g).Flag, value, g); break;
    case K::FlexFlag: DecodeSerialAddress(value, EncodeSerialAddress(g).Address, g); break;
    case K::ModuleXAddress: DecodeModuleXAddress(value, g); break;
    case K::GroupMask: {
      std::array<int, 4> masks = EncodeGroupMasks(g);
      masks[std::clamp<int>(id.Index, 0, 3)] = value;
      DecodeGroupMasks(masks, g);
      return;
    }
    case K::HardwareGroup: DecodeHardwareGroup(value, g, std::clamp<int>(id.Index, 0, 3)); return;
    case K::GreenLed: DecodeLedByte(value, g.CheckLCGreen); return;
    case K::OrangeLed: DecodeLedByte(value, g.CheckLCOrange); return;
    case K::SerialEnable: g.CheckGenSerialEnable = value != 0; return;
    case K::BaudRate: g.ComboGenBaud = std::clamp(value, 0, 7); return;
    case K::DataBits: g.OptionGenSerialDatabits = value == 8 ? 1 : 0; return;
    case K::Parity: g.OptionGenSerialParity = (value == 2 || value == 3) ? value : 0; return;
    case K::StopBits: g.OptionGenSerialStop = value == 2 ? 1 : 0; return;
    default: return;
  }
  ShowAddressingTexts(g, offset);
}

void SetEvents(const FieldId& id, int value, EventControlState& ev) {
  const int pin = std::clamp<int>(id.Pin, 0, kPinCount - 1);
  const int input = std::clamp<int>(id.Index, 0, kEventInputCount - 1);
  switch (id.Kind) {
    case K::OnAction: ev.OnAction[pin][input] = static_cast<int16_t>(value); return;
    case K::OffAction: ev.OffAction[pin][input] = static_cast<int16_t>(value); return;
    case K::EnableOnMask: DecodeEnableMap(value, EncodeOffMask(ev), ev); break;
    case K::EnableOffMask: DecodeEnableMap(EncodeOnMask(ev), value, ev); break;
    default: return;
  }
  ev.EnableMapKnown = true;
}

void SetPin(const FieldId& id, int value, const std::string& text, Configuration& config) {
  PinRecord& pin = PinOf(id, config);
  switch (id.Kind) {
    case K::AspectConfig: pin.AspectConfig = Byte(value); return;
    case K::InitAspect: pin.InitAspect = Byte(value + 1); return;
    case K::PinDescription: pin.Description = text; return;
    case K::DevicePointer: pin.DevicePointer = static_cast<int16_t>(value); return;
    case K::DeviceDescription: pin.DeviceDescription = text; return;
    case K::OutputByte: pin.OutputConfig[std::clamp<int>(id.Index, 0, kOutputConfigSize - 1)] = Byte(value); return;
    case K::XDccCount: pin.XDccAddressCount = Byte(value); return;
    case K::DccCount: pin.DccAddressCount = Byte(value); return;
    case K::SerialCount: pin.SerialAddressCount = Byte(value); return;
    case K::AspectDescription: pin.Aspects[std::clamp<int>(id.Aspect, 0, kAspectCount - 1)].Description = text; return;
    case K::StepCode: SplitStepCode(value, StepOf(id, config)); return;
    case K::StepPar0: StepOf(id, config).Par0 = Byte(value); return;
    case K::StepPar1: StepOf(id, config).Par1 = Byte(value); return;
    case K::StepPar2: StepOf(id, config).Par2 = Byte(value); return;
    case K::StepPar3: StepOf(id, config).Par3 = Byte(value); return;
    default: return;
  }
}

}  // namespace

Configuration CopyOf(const ConfigurationRef& config) { return {config.Model, config.General, config.Events}; }

void SetFieldValue(const FieldId& id, int value, const std::string& text, Configuration& config) {
  if (id.Kind < K::OnAction) {
    SetGeneral(id, value, text, config.General, config.Model.NumberingOffset);
  } else if (id.Kind < K::AspectConfig) {
    SetEvents(id, value, config.Events);
  } else {
    SetPin(id, value, text, config);
  }
}

void SetFieldValues(const std::vector<FieldSetting>& settings, Configuration& config) {
  // The flexible start address means something else without its flag: flags first.
  for (bool flags : {true, false}) {
    for (const FieldSetting& s : settings) {
      if ((s.Field.Kind == K::FlexFlag) == flags) SetFieldValue(s.Field, s.Value, s.Text, config);
    }
  }
}

}  // namespace brixo
