#include "ui/field_widgets.h"

#include "app/app_state.h"
#include "model/output_config.h"

namespace brixo {

namespace {

using K = FieldKind;

QString Indexed(const char* name, int index) { return QString("%1_%2").arg(name).arg(index); }

QString OutputWidget(int outputType, int byte) {
  if (byte == 0) return "TextPAspOutput";
  const int page = PageOfOutputType(outputType);
  if (byte == 2 && page == kPageServo) return "FrameServoRange";
  for (const OutputField& field : OutputFields()) {
    if (field.Page == page && field.Byte == byte) return QString(field.Control).replace('(', '_').remove(')');
  }
  return "SSTabPCFG";
}

}  // namespace

int TabOfField(const FieldId& id) {
  if (id.Kind < K::OnAction) return kGeneralTab;
  if (id.Kind < K::AspectConfig) return kEventControlTab;
  return kDeviceConfigurationTab;
}

QString WidgetOfField(const FieldId& id, int outputType) {
  switch (id.Kind) {
    case K::IdString: return "TextGenIDString";
    case K::DccAddress: return "TextGenDCCAddress";
    case K::XDccAddress: return "TextGenXDCCAddress";
    case K::DccOptions: return "FrameGenDCC";
    case K::FlexValue: return "TextGenTamloaddr";
    case K::FlexFlag: return "CheckGenTamloaddr";
    case K::ModuleXAddress: return "TextGenXaddr";
    case K::GroupMask: return Indexed("CheckGenXGM", 4 * id.Index);
    case K::HardwareGroup: return "FrameGenHWC";
    case K::GreenLed: return "FrameLCGreen";
    case K::OrangeLed: return "FrameLCOrange";
    case K::SerialEnable: return "CheckGenSerialEnable";
    case K::BaudRate: return "ComboGenBaud";
    case K::DataBits:
    case K::Parity:
    case K::StopBits: return "FrameGenSerial";
    case K::OnAction: return Indexed("TextECon", id.Index);
    case K::OffAction: return Indexed("TextECoff", id.Index);
    case K::EnableOnMask: return Indexed("CheckInitEE", 0);
    case K::EnableOffMask: return Indexed("CheckInitEE", kEventInputCount);
    case K::AspectConfig: return "OptionPAspConf_0";
    case K::InitAspect: return "TextPAspInit";
    case K::PinDescription: return "TextPAspDesc";
    case K::DevicePointer: return "TextDevicePin";
    case K::DeviceDescription: return "TextDeviceDescription";
    case K::OutputByte: return OutputWidget(outputType, id.Index);
    case K::XDccCount: return "TextPAspXDCCn";
    case K::DccCount: return "TextPaspDCCn";
    case K::SerialCount: return "TextPaspTamlon";
    case K::AspectDescription: return "TextPAspAspDesc";
    case K::StepCode: return Indexed("ComboPAspInst", id.Step);
    case K::StepPar0: return Indexed("TextPAspOffset", id.Step);
    case K::StepPar1: return Indexed("TextPAspPar1", id.Step);
    case K::StepPar2: return Indexed("TextPAspPar2", id.Step);
    case K::StepPar3: return Indexed("TextPAspPar3", id.Step);
  }
  return {};
}

}  // namespace brixo
