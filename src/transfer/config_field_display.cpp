// Every field as the editor shows it: where it sits, its caption there and its value in
// the editor's numbers and words. The differences table, the changed marks and the names
// of undo steps all read a field this one way.
#include <algorithm>

#include "model/controller_encoding.h"
#include "model/device_membership.h"
#include "model/numeric_text.h"
#include "model/output_config.h"
#include "model/output_config_words.h"
#include "model/step_display.h"
#include "transfer/config_fields.h"
#include "transfer/event_control.h"
#include "transfer/general_settings_captions.h"
#include "transfer/general_settings_encoding.h"
#include "transfer/general_settings_words.h"

namespace brixo {

namespace {

using K = FieldKind;

const char* YesNo(bool value) { return value ? "yes" : "no"; }

int OffsetOf(const ConfigurationRef& config) { return config.Model.NumberingOffset; }

const PinRecord& PinOf(const FieldId& id, const ConfigurationRef& config) {
  return config.Model.PinTable[std::clamp<int>(id.Pin, 0, kPinCount - 1)];
}

const StepRecord& StepOf(const FieldId& id, const ConfigurationRef& config) {
  return PinOf(id, config)
      .Aspects[std::clamp<int>(id.Aspect, 0, kAspectCount - 1)]
      .Steps[std::clamp<int>(id.Step, 0, kStepCount - 1)];
}

std::string PinText(const FieldId& id, const ConfigurationRef& config) {
  return "pin " + NumberText(id.Pin + OffsetOf(config));
}

// The output page that a pin's type shows, as the page tabs caption it.
std::string PageCaption(int outputType) {
  static const char* const kPages[] = {"Clear", "Servo", "PWM", "Input"};
  const int page = PageOfOutputType(outputType);
  return page < 0 ? "output" : kPages[page];
}

const OutputField* OutputFieldAt(int outputType, int byte) {
  const int page = PageOfOutputType(outputType);
  for (const OutputField& field : OutputFields()) {
    if (field.Page == page && field.Byte == byte) return &field;
  }
  return nullptr;
}

std::string OutputCaption(int outputType, int byte) {
  if (byte == 0) return "Output type";
  const int page = PageOfOutputType(outputType);
  if (byte == 2 && page == kPageServo) return "Range, Auto Suspend, Suspended";
  if (byte == 2 && page == kPagePwm) return "Drive Mode, Acceleration Mode";
  if (const OutputField* field = OutputFieldAt(outputType, byte)) return field->Label;
  return "byte " + NumberText(byte);
}

std::string OutputValue(int outputType, int byte, int value) {
  if (byte == 0) return OutputTypeInWords(value);
  const int page = PageOfOutputType(outputType);
  if (byte == 2 && page == kPageServo) {
    return std::string(kServoRangeCaptions[ServoRangeOption(NormalisedServoFlags(static_cast<uint8_t>(value)))]) +
           ", " + YesNo((value & 16) != 0) + ", " + YesNo((value & 32) != 0);
  }
  if (byte == 2 && page == kPagePwm)
    return std::string(kPwmModeCaptions[value & 1]) + ", " + kPwmModeCaptions[(value >> 1) & 1];
  if (const OutputField* field = OutputFieldAt(outputType, byte)) return NumberText(value - field->Offset);
  return NumberText(value);
}

const std::string& ParLabel(const InstructionInfo& info, int par) {
  switch (par) {
    case 0: return info.Par0Label;
    case 1: return info.Par1Label;
    case 2: return info.Par2Label;
    default: return info.Par3Label;
  }
}

bool ParUsed(const InstructionInfo& info, int par) {
  switch (par) {
    case 0: return info.Par0Used;
    case 1: return info.Par1Used;
    case 2: return info.Par2Used;
    default: return info.Par3Used;
  }
}

int ParOf(K kind) { return static_cast<int>(kind) - static_cast<int>(K::StepPar0); }

int StoredPar(const StepRecord& step, int par) {
  switch (par) {
    case 0: return step.Par0;
    case 1: return step.Par1;
    case 2: return step.Par2;
    default: return step.Par3;
  }
}

std::string ParCaption(const StepRecord& step, int par) {
  const std::string& label = ParLabel(StandardInstructionTable().Info(step.Instruction), par);
  return label.empty() ? "Parameter " + NumberText(par) : label;
}

std::string InstructionText(const StepRecord& step) {
  const InstructionTable& table = StandardInstructionTable();
  if (step.Instruction == 0) return "-";
  if (!table.HasEntry(step.Instruction)) return "code " + NumberText(step.Instruction);
  const InstructionInfo& info = table.Info(step.Instruction);
  return info.Name + (info.FadeAllowed && step.Fade != 0 ? ", fade" : "");
}

std::string LayoutText(int code) {
  switch (code) {
    case 0: return "0";
    case 2: return "12";
    case 3: return "4";
    default: return "code " + NumberText(code);
  }
}

std::string GroupsText(const std::array<bool, 16>& groups, int first) {
  std::string text;
  for (int k = first; k < first + 4; ++k) {
    if (groups[k]) text += (text.empty() ? "" : ", ") + NumberText(k);
  }
  return text.empty() ? "none" : text;
}

std::string InputsText(const EventControlState& ev, int first) {
  std::string text;
  for (int i = 0; i < kEventInputCount; ++i) {
    if (ev.CheckInitEE[first + i]) text += (text.empty() ? "" : ", ") + NumberText(i);
  }
  return text.empty() ? "none" : text;
}

std::string GeneralPlace(K kind) {
  switch (kind) {
    case K::IdString: return "ID String";
    case K::DccAddress:
    case K::XDccAddress:
    case K::DccOptions: return "DCC Settings";
    case K::FlexValue:
    case K::FlexFlag:
    case K::ModuleXAddress:
    case K::GroupMask: return "Serial Addressing";
    case K::HardwareGroup: return "Hardware Configuration";
    case K::GreenLed:
    case K::OrangeLed: return "LED Control";
    default: return "Serial Port";
  }
}

std::string GeneralCaption(const FieldId& id, const ConfigurationRef& config) {
  const GeneralSettings& g = config.General;
  const int index = std::clamp<int>(id.Index, 0, 3);
  switch (id.Kind) {
    case K::IdString: return "ID String";
    case K::DccAddress: return "Basic Decoder Addr";
    case K::XDccAddress: return "Extended Dec. Addr";
    case K::DccOptions: return "Packet Retention, Basic Packet State Invert, Allow Address 0";
    case K::FlexValue: return g.CheckGenTamloaddr ? "Start" : "Native Brixo Mode";
    case K::FlexFlag: return "Tamlo Flex-Addresss";
    case K::ModuleXAddress: return "Module eXtended Address";
    case K::GroupMask: return "eXt Group Mask " + NumberText(4 * index) + ".." + NumberText(4 * index + 3);
    case K::HardwareGroup: {
      const int first = 8 * index + OffsetOf(config);
      return "Pin " + NumberText(first) + ".." + NumberText(first + 7);
    }
    case K::GreenLed: return "Green LED";
    case K::OrangeLed: return "Orange LED";
    case K::SerialEnable: return "Enable";
    case K::BaudRate: return "Baudrate";
    case K::DataBits: return "Data bits";
    case K::Parity: return "Parity";
    default: return "Stop bits";
  }
}

std::string GeneralValue(const FieldId& id, const ConfigurationRef& config) {
  const GeneralSettings& g = config.General;
  const int offset = OffsetOf(config);
  const int index = std::clamp<int>(id.Index, 0, 3);
  switch (id.Kind) {
    case K::IdString: return g.TextGenIDString;
    case K::DccAddress: return NumberText(DccAddressValue(g));
    case K::XDccAddress: return NumberText(XDccAddressValue(g));
    case K::DccOptions: {
      const int options = EncodeDccOptions(g);
      return std::string(kPacketRetentionCaptions[options & 3]) + ", " + YesNo(g.ChkGenDCC_BPSI) + ", " +
             YesNo(g.ChkGenDCCAllow0);
    }
    case K::FlexValue:
      return g.CheckGenTamloaddr ? NumberText(EncodeSerialAddress(g).Address * 4 + offset) : YesNo(g.CheckGenBrixoNative);
    case K::FlexFlag: return YesNo(g.CheckGenTamloaddr);
    case K::ModuleXAddress:
      return g.CheckGenForceXA ? "Enforced eXtended Address" : NumberText(EncodeModuleXAddress(g) + offset);
    case K::GroupMask: return GroupsText(g.CheckGenXGM, 4 * index);
    case K::HardwareGroup: return DriverText(g.ChkGenHWCSink[index], g.ChkGenHWCSource[index]);
    case K::GreenLed: return LedFunctions(g.CheckLCGreen, kGreenLedCaptions);
    case K::OrangeLed: return LedFunctions(g.CheckLCOrange, kOrangeLedCaptions);
    case K::SerialEnable: return YesNo(g.CheckGenSerialEnable);
    case K::BaudRate: return kBaudRateTexts[EncodeSerialPortFormat(g) & 7];
    case K::DataBits: return g.OptionGenSerialDatabits == 1 ? "8" : "7";
    case K::Parity: return ParityText(g.OptionGenSerialParity);
    default: return g.OptionGenSerialStop == 1 ? "2" : "1";
  }
}

bool IsPinKind(K kind) { return kind >= K::AspectConfig; }
bool IsStepKind(K kind) { return kind >= K::StepCode; }

}  // namespace

std::string FieldPlace(const FieldId& id, const ConfigurationRef& config) {
  switch (id.Kind) {
    case K::OnAction:
    case K::OffAction: return "event " + PinText(id, config) + " input " + NumberText(id.Index);
    case K::EnableOnMask:
    case K::EnableOffMask: return "Initial Enable Map";
    case K::OutputByte:
      return id.Index == 0 ? PinText(id, config) : PinText(id, config) + " " + PageCaption(PinOf(id, config).OutputConfig[0]);
    case K::AspectDescription: return PinText(id, config) + " aspect " + NumberText(id.Aspect);
    default: break;
  }
  if (IsStepKind(id.Kind))
    return PinText(id, config) + " aspect " + NumberText(id.Aspect) + " step " + NumberText(id.Step);
  if (IsPinKind(id.Kind)) return PinText(id, config);
  return GeneralPlace(id.Kind);
}

std::string FieldCaption(const FieldId& id, const ConfigurationRef& config) {
  switch (id.Kind) {
    case K::OnAction: return "ON";
    case K::OffAction: return "OFF";
    case K::EnableOnMask: return "InitialEvent_ON Enable";
    case K::EnableOffMask: return "Initial Event_OFF Enable";
    case K::AspectConfig: return "Aspects";
    case K::InitAspect: return "Initial Aspect";
    case K::PinDescription:
    case K::AspectDescription: return "Description";
    case K::DevicePointer: return "Device";
    case K::DeviceDescription: return "Device name";
    case K::OutputByte: return OutputCaption(PinOf(id, config).OutputConfig[0], id.Index);
    case K::XDccCount: return "Nr Of Addresses X-DCC";
    case K::DccCount: return "Nr Of Addresses B-DCC";
    case K::SerialCount: return "Nr Of Addresses Serial";
    case K::StepCode: return "Instruction";
    case K::StepPar0:
    case K::StepPar1:
    case K::StepPar2:
    case K::StepPar3: return ParCaption(StepOf(id, config), ParOf(id.Kind));
    default: return GeneralCaption(id, config);
  }
}

std::string FieldLabel(const FieldId& id, const ConfigurationRef& config) {
  const std::string place = FieldPlace(id, config);
  const std::string caption = FieldCaption(id, config);
  return caption == place ? caption : place + " " + caption;
}

std::string ShownFieldValue(const FieldId& id, const ConfigurationRef& config) {
  const int offset = OffsetOf(config);
  switch (id.Kind) {
    case K::OnAction:
    case K::OffAction: return NumberText(FieldValue(id, config));
    case K::InitAspect: {
      // An initial aspect beyond the four of the smaller layout shows as none, as its box
      // shows it; the stored value is kept.
      const PinRecord& pin = PinOf(id, config);
      return pin.AspectConfig == 3 && pin.InitAspect > 4 ? "-1" : NumberText(FieldValue(id, config));
    }
    case K::EnableOnMask: return InputsText(config.Events, 0);
    case K::EnableOffMask: return InputsText(config.Events, kEventInputCount);
    case K::AspectConfig: return LayoutText(PinOf(id, config).AspectConfig);
    case K::PinDescription:
    case K::DeviceDescription:
    case K::AspectDescription: return FieldText(id, config);
    case K::DevicePointer: return NumberText(ReferredPinOf(config.Model.PinTable, id.Pin) + offset);
    case K::OutputByte: {
      const PinRecord& pin = PinOf(id, config);
      return OutputValue(pin.OutputConfig[0], id.Index, FieldValue(id, config));
    }
    case K::XDccCount:
    case K::DccCount:
    case K::SerialCount: return NumberText(FieldValue(id, config));
    case K::StepCode: return InstructionText(StepOf(id, config));
    case K::StepPar0:
    case K::StepPar1:
    case K::StepPar2:
    case K::StepPar3: {
      const StepRecord& step = StepOf(id, config);
      const InstructionTable& table = StandardInstructionTable();
      const int par = ParOf(id.Kind);
      // A box the instruction does not use shows nothing of the byte it keeps.
      if (!ParUsed(table.Info(step.Instruction), par)) return NumberText(StoredPar(step, par));
      return ShownParText(table, step, par, id.Pin, offset);
    }
    default: return GeneralValue(id, config);
  }
}

}  // namespace brixo
