#include "transfer/config_fields.h"

#include <algorithm>

#include "model/controller_encoding.h"
#include "model/output_config.h"
#include "transfer/event_control.h"
#include "transfer/general_settings_encoding.h"

namespace brixo {

namespace {

using K = FieldKind;

// Label, text?, count, file tag, place in the record, file bias.
const std::vector<FieldKindInfo> kKinds = {
    {K::IdString, "ID string", true, 1, "ID$", 1, 0},
    {K::DccAddress, "DCC address", false, 1, "DCC", 1, 0},
    {K::XDccAddress, "extended DCC address", false, 1, "DCC", 2, 0},
    {K::DccOptions, "DCC options", false, 1, "DCC", 3, 0},
    {K::FlexValue, "flexible start address / 4", false, 1, "XAD", 1, 0},
    {K::FlexFlag, "flexible addressing", false, 1, "XAD", 2, 0},
    {K::ModuleXAddress, "module extended address", false, 1, "XAD", 3, 0},
    {K::GroupMask, "extended group mask", false, 4, "XAD", 4, 0},
    {K::HardwareGroup, "hardware configuration group", false, 4, "HWC", 1, 0},
    {K::GreenLed, "green LED functions", false, 1, "LED", 1, 0},
    {K::OrangeLed, "orange LED functions", false, 1, "LED", 2, 0},
    {K::SerialEnable, "serial port enable", false, 1, "SPC", 1, 0},
    {K::BaudRate, "serial port bit rate", false, 1, "SPC", 2, 0},
    {K::DataBits, "serial port data bits", false, 1, "SPC", 3, 0},
    {K::Parity, "serial port parity", false, 1, "SPC", 4, 0},
    {K::StopBits, "serial port stop bits", false, 1, "SPC", 5, 0},
    {K::OnAction, "ON", false, kEventInputCount, "Eon", 2, 1},
    {K::OffAction, "OFF", false, kEventInputCount, "Eof", 2, 1},
    {K::EnableOnMask, "initial event ON mask", false, 1, "Ena", 1, 0},
    {K::EnableOffMask, "initial event OFF mask", false, 1, "Ena", 2, 0},
    {K::AspectConfig, "layout", false, 1, "Pin", 2, 0},
    {K::InitAspect, "initial aspect", false, 1, "Pin", 3, 1},
    {K::PinDescription, "description", true, 1, "Pin", 4, 0},
    {K::DevicePointer, "device pointer", false, 1, "Dev", 1, 0},
    {K::DeviceDescription, "device name", true, 1, "Dev", 2, 0},
    {K::OutputByte, "output byte", false, 12, "Cfg", 1, 0},
    {K::XDccCount, "extended DCC address count", false, 1, "PAM", 1, 0},
    {K::DccCount, "DCC address count", false, 1, "PAM", 2, 0},
    {K::SerialCount, "serial address count", false, 1, "PAM", 3, 0},
    {K::AspectDescription, "description", true, 1, "Asp", 2, 0},
    {K::StepCode, "instruction", false, 1, "Ins", 2, 0},
    {K::StepPar0, "Par0", false, 1, "Ins", 3, 0},
    {K::StepPar1, "Par1", false, 1, "Ins", 4, 0},
    {K::StepPar2, "Par2", false, 1, "Ins", 5, 0},
    {K::StepPar3, "Par3", false, 1, "Ins", 6, 0},
};

bool IsEventKind(K kind) { return kind >= K::OnAction && kind <= K::OffAction; }
bool IsPinKind(K kind) { return kind >= K::AspectConfig; }
bool IsAspectKind(K kind) { return kind >= K::AspectDescription; }
bool IsStepKind(K kind) { return kind >= K::StepCode; }

// Instructions whose parameters travel as full bytes, their top bits gathered in D0.
bool CarriesFullBytes(int instruction) { return instruction == 4 || instruction == 5; }

std::vector<FieldId> EnumerateFields() {
  std::vector<FieldId> fields;
  for (const FieldKindInfo& info : kKinds) {
    if (IsPinKind(info.Kind) || IsEventKind(info.Kind)) continue;
    for (int i = 0; i < info.Count; ++i) fields.push_back({info.Kind, -1, static_cast<int8_t>(info.Count > 1 ? i : -1)});
  }
  for (K kind : {K::OnAction, K::OffAction}) {
    for (int p = 0; p < kPinCount; ++p)
      for (int i = 0; i < kEventInputCount; ++i) fields.push_back({kind, static_cast<int8_t>(p), static_cast<int8_t>(i)});
  }
  for (int p = 0; p < kPinCount; ++p) {
    const auto pin = static_cast<int8_t>(p);
    for (const FieldKindInfo& info : kKinds) {
      if (!IsPinKind(info.Kind) || IsAspectKind(info.Kind)) continue;
      for (int i = 0; i < info.Count; ++i) fields.push_back({info.Kind, pin, static_cast<int8_t>(info.Count > 1 ? i : -1)});
    }
    for (int a = 0; a < kAspectCount; ++a) {
      const auto aspect = static_cast<int8_t>(a);
      fields.push_back({K::AspectDescription, pin, -1, aspect});
      for (int s = 0; s < kStepCount; ++s) {
        for (K kind : {K::StepCode, K::StepPar0, K::StepPar1, K::StepPar2, K::StepPar3})
          fields.push_back({kind, pin, -1, aspect, static_cast<int8_t>(s)});
      }
    }
  }
  return fields;
}

const PinRecord& PinOf(const FieldId& id, const ConfigurationRef& config) {
  return config.Model.PinTable[std::clamp<int>(id.Pin, 0, kPinCount - 1)];
}

const StepRecord& StepOf(const FieldId& id, const ConfigurationRef& config) {
  const PinRecord& pin = PinOf(id, config);
  return pin.Aspects[std::clamp<int>(id.Aspect, 0, kAspectCount - 1)].Steps[std::clamp<int>(id.Step, 0, kStepCount - 1)];
}

FieldRange Span(int min, int max) { return {{{min, max}}, {}}; }

}  // namespace

const std::vector<FieldKindInfo>& FieldKinds() { return kKinds; }

const FieldKindInfo& InfoOf(FieldKind kind) { return kKinds[static_cast<size_t>(kind)]; }

const std::vector<FieldId>& AllFields() {
  static const std::vector<FieldId> fields = EnumerateFields();
  return fields;
}

std::string FieldName(const FieldId& id, int numberingOffset) {
  const FieldKindInfo& info = InfoOf(id.Kind);
  const std::string pin = std::to_string(id.Pin + numberingOffset);
  if (IsEventKind(id.Kind)) return "event pin " + pin + " input " + std::to_string(id.Index) + " " + info.Label;
  if (!IsPinKind(id.Kind)) {
    return info.Count > 1 ? std::string(info.Label) + " " + std::to_string(id.Index) : std::string(info.Label);
  }
  std::string name = "pin " + pin;
  if (IsAspectKind(id.Kind)) name += " aspect " + std::to_string(id.Aspect);
  if (IsStepKind(id.Kind)) name += " step " + std::to_string(id.Step);
  name += std::string(" ") + info.Label;
  if (info.Count > 1) name += " " + std::to_string(id.Index);
  return name;
}

std::string FieldLabel(const FieldId& id) {
  const FieldKindInfo& info = InfoOf(id.Kind);
  if (IsEventKind(id.Kind)) return "input " + std::to_string(id.Index) + " " + info.Label;
  return info.Count > 1 ? std::string(info.Label) + " " + std::to_string(id.Index) : std::string(info.Label);
}

int FieldValue(const FieldId& id, const ConfigurationRef& config) {
  const GeneralSettings& g = config.General;
  const EventControlState& ev = config.Events;
  switch (id.Kind) {
    case K::DccAddress: return DccAddressValue(g);
    case K::XDccAddress: return XDccAddressValue(g);
    case K::DccOptions: return EncodeDccOptions(g);
    case K::FlexValue: return EncodeSerialAddress(g).Address;
    case K::FlexFlag: return EncodeSerialAddress(g).Flag;
    case K::ModuleXAddress: return EncodeModuleXAddress(g);
    case K::GroupMask: return EncodeGroupMasks(g)[std::clamp<int>(id.Index, 0, 3)];
    case K::HardwareGroup: return EncodeHardwareGroup(g, std::clamp<int>(id.Index, 0, 3));
    case K::GreenLed: return EncodeLedByte(g.CheckLCGreen);
    case K::OrangeLed: return EncodeLedByte(g.CheckLCOrange);
    case K::SerialEnable: return g.CheckGenSerialEnable ? 1 : 0;
    case K::BaudRate: return EncodeSerialPortFormat(g) & 7;
    case K::DataBits: return g.OptionGenSerialDatabits == 1 ? 8 : 7;
    case K::Parity: return (g.OptionGenSerialParity == 2 || g.OptionGenSerialParity == 3) ? g.OptionGenSerialParity : 0;
    case K::StopBits: return g.OptionGenSerialStop == 1 ? 2 : 1;
    case K::OnAction: return ev.OnAction[std::clamp<int>(id.Pin, 0, kPinCount - 1)][std::clamp<int>(id.Index, 0, 3)];
    case K::OffAction: return ev.OffAction[std::clamp<int>(id.Pin, 0, kPinCount - 1)][std::clamp<int>(id.Index, 0, 3)];
    case K::EnableOnMask: return EncodeOnMask(ev);
    case K::EnableOffMask: return EncodeOffMask(ev);
    case K::AspectConfig: return PinOf(id, config).AspectConfig;
    case K::InitAspect: return PinOf(id, config).InitAspect - 1;
    case K::DevicePointer: return PinOf(id, config).DevicePointer;
    case K::OutputByte: return PinOf(id, config).OutputConfig[std::clamp<int>(id.Index, 0, kOutputConfigSize - 1)];
    case K::XDccCount: return PinOf(id, config).XDccAddressCount;
    case K::DccCount: return PinOf(id, config).DccAddressCount;
    case K::SerialCount: return PinOf(id, config).SerialAddressCount;
    case K::StepCode: {
      const StepRecord& step = StepOf(id, config);
      const int code = step.Instruction + 16 * step.Fade;
      return code > 127 ? step.Instruction : code;
    }
    case K::StepPar0: return StepOf(id, config).Par0;
    case K::StepPar1: return StepOf(id, config).Par1;
    case K::StepPar2: return StepOf(id, config).Par2;
    case K::StepPar3: return StepOf(id, config).Par3;
    default: return 0;
  }
}

std::string FieldText(const FieldId& id, const ConfigurationRef& config) {
  switch (id.Kind) {
    case K::IdString: return config.General.TextGenIDString;
    case K::PinDescription: return PinOf(id, config).Description;
    case K::DeviceDescription: return PinOf(id, config).DeviceDescription;
    case K::AspectDescription:
      return PinOf(id, config).Aspects[std::clamp<int>(id.Aspect, 0, kAspectCount - 1)].Description;
    default: return std::to_string(FieldValue(id, config));
  }
}

bool FieldInFile(const FieldId& id, const ConfigurationRef& config) {
  if (id.Kind == K::EnableOnMask || id.Kind == K::EnableOffMask) return config.Events.EnableMapKnown;
  if (!IsPinKind(id.Kind)) return true;
  const PinRecord& pin = PinOf(id, config);
  if (id.Kind == K::OutputByte) return id.Index < OutputConfigBytesOf(pin.OutputConfig[0]);
  if (IsAspectKind(id.Kind) && id.Aspect >= AspectCountOf(pin.AspectConfig)) return false;
  if (IsStepKind(id.Kind) && id.Step >= StepCountOf(pin.AspectConfig)) return false;
  return true;
}

bool FieldOnController(const FieldId& id, const ConfigurationRef& config) {
  if (InfoOf(id.Kind).IsText && id.Kind != K::IdString) return false;
  return FieldInFile(id, config);
}

ControllerPlace ControllerPlaceOf(const FieldId& id) {
  const int p = id.Pin;
  switch (id.Kind) {
    case K::IdString: return {{112, kGenIdString}, 2, kIdStringLength};
    case K::DccAddress: return {{112, kGenDccAddress}, 2, 2};
    case K::XDccAddress: return {{112, kGenXDccAddress}, 2, 2};
    case K::DccOptions: return {{112, kGenDccOptions}, 2, 1};
    case K::FlexValue: return {{112, kGenSerialAddress}, 3, 1};
    case K::FlexFlag: return {{112, kGenSerialAddress}, 2, 1};
    case K::ModuleXAddress: return {{112, kGenModuleXAddress}, 2, 1};
    case K::GroupMask: return {{112, kGenGroupMask}, 2 + id.Index, 1};
    case K::HardwareGroup: return {{112, kGenHardware}, 2 + id.Index, 1};
    case K::GreenLed: return {{112, kGenGreenLed}, 2, 1};
    case K::OrangeLed: return {{112, kGenOrangeLed}, 2, 1};
    case K::SerialEnable: return {{112, kGenSerialPort}, 2, 1};
    case K::BaudRate:
    case K::DataBits:
    case K::Parity:
    case K::StopBits: return {{112, kGenSerialPort}, 3, 1};
    case K::OnAction: return {{kEventReadOn, p}, 3 + id.Index, 1};
    case K::OffAction: return {{kEventReadOff, p}, 2 + id.Index, 1};
    case K::EnableOnMask: return {{112, kGenEnableMap}, 2, 1};
    case K::EnableOffMask: return {{112, kGenEnableMap}, 3, 1};
    case K::AspectConfig: return {{114, p}, 2, 1};
    case K::InitAspect: return {{116, p}, 2, 1};
    case K::DevicePointer:
    case K::XDccCount:
    case K::DccCount:
    case K::SerialCount: return {{118, p}, 2, 3};  // recognised by their tags, in any order
    case K::OutputByte: return {{113, p}, 2 + id.Index, 1};
    case K::StepCode: return {{115, p, id.Aspect, id.Step}, 4, 1};
    case K::StepPar0: return {{115, p, id.Aspect, id.Step}, 5, 1};
    case K::StepPar1: return {{115, p, id.Aspect, id.Step}, 6, 1};
    case K::StepPar2: return {{115, p, id.Aspect, id.Step}, 7, 1};
    case K::StepPar3: return {{115, p, id.Aspect, id.Step}, 8, 1};
    default: return {};
  }
}

bool FieldRange::Keeps(int value) const {
  return std::any_of(Held.begin(), Held.end(), [value](const ValueSpan& s) { return value >= s.Min && value <= s.Max; });
}

bool FieldRange::Accepts(int value) const {
  return Keeps(value) ||
         std::any_of(Converted.begin(), Converted.end(), [value](const ValueSpan& s) { return value >= s.Min && value <= s.Max; });
}

int FieldRange::Lowest() const {
  int low = Held.empty() ? 0 : Held.front().Min;
  for (const ValueSpan& s : Held) low = std::min(low, s.Min);
  for (const ValueSpan& s : Converted) low = std::min(low, s.Min);
  return low;
}

int FieldRange::Highest() const {
  int high = Held.empty() ? 0 : Held.front().Max;
  for (const ValueSpan& s : Held) high = std::max(high, s.Max);
  for (const ValueSpan& s : Converted) high = std::max(high, s.Max);
  return high;
}

RangeContext RangeContextOf(const FieldId& id, const ConfigurationRef& config) {
  RangeContext context;
  context.FlexFlag = config.General.CheckGenTamloaddr;
  if (IsPinKind(id.Kind)) context.OutputType = PinOf(id, config).OutputConfig[0];
  if (IsStepKind(id.Kind)) context.Instruction = StepOf(id, config).Instruction;
  return context;
}

FieldRange FieldRangeOf(const FieldId& id, const RangeContext& context) {
  switch (id.Kind) {
    // 0 whatever "Allow Address 0" says: a controller may hold it, and a read keeps it.
    case K::DccAddress: return Span(0, kDccAddressMax);
    case K::XDccAddress: return Span(0, kXDccAddressMax);
    case K::DccOptions: return Span(0, 15);
    // Without flexible addressing the field only says whether native mode is on.
    case K::FlexValue: return context.FlexFlag ? Span(0, 127) : FieldRange{{{0, 0}, {kNativeModeAddress, kNativeModeAddress}}, {}};
    case K::FlexFlag: return Span(0, 1);
    case K::ModuleXAddress: return {{{0, 95}, {kEnforcedXAddress, kEnforcedXAddress}}, {}};
    case K::GroupMask: return Span(0, 15);
    case K::HardwareGroup: return Span(0, 3);
    case K::GreenLed:
    case K::OrangeLed: return Span(0, 127);
    case K::SerialEnable: return Span(0, 1);
    case K::BaudRate: return Span(0, 7);
    case K::DataBits: return Span(7, 8);
    case K::Parity: return {{{0, 0}, {2, 3}}, {}};
    case K::StopBits: return Span(1, 2);
    case K::OnAction:
    case K::OffAction: return Span(kNoAction, kStorableActionMax);
    case K::EnableOnMask:
    case K::EnableOffMask: return Span(0, 15);
    case K::AspectConfig: return Span(0, 127);
    case K::InitAspect: return Span(-1, 14);
    case K::DevicePointer: return Span(-id.Pin, kPinCount - 1 - id.Pin);
    case K::OutputByte:
      if (id.Index == 0) return {{{0, 5}}, {{6, 127}}};  // an unknown type loads as "not configured"
      if (id.Index == 2 && context.OutputType == 1) {
        // Servo flags: bit 3 marks the range in bits 0..2; with it clear and the byte above 15
        // the range sits in the high half (older files), and bit 6 is never kept.
        return {{{0, 15}, {24, 31}, {40, 47}, {56, 63}}, {{16, 23}, {32, 39}, {48, 55}, {64, 127}}};
      }
      return Span(0, 127);
    case K::XDccCount: return Span(0, 1);
    case K::DccCount:
    case K::SerialCount: return Span(0, 7);
    case K::StepCode: return Span(0, 127);
    case K::StepPar0: return CarriesFullBytes(context.Instruction) ? Span(0, 0) : Span(0, 127);
    case K::StepPar1:
    case K::StepPar2: return CarriesFullBytes(context.Instruction) ? Span(0, 255) : Span(0, 127);
    case K::StepPar3: return Span(0, 127);
    default: return {};
  }
}

}  // namespace brixo
