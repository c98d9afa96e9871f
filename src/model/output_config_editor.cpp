#include "model/output_config_editor.h"

#include <algorithm>

#include "model/numeric_text.h"

namespace brixo {

namespace {

constexpr OutputFieldId kServoCommitOrder[] = {
    OutputFieldId::Midpoint,  OutputFieldId::SrvMaxSpd,      OutputFieldId::SrvMaxAccel,
    OutputFieldId::SrvAntiMass, OutputFieldId::SrvFriction,  OutputFieldId::BounceUp,
    OutputFieldId::BounceDown, OutputFieldId::BounceUpFactor, OutputFieldId::BounceDownFactor,
};

bool StoresWhileTyping(OutputFieldId id) {
  return id == OutputFieldId::SrvInitPos || id == OutputFieldId::PwmInitLevel;
}

}  // namespace

PinRecord& OutputConfigEditor::Pin() { return model_.PinTable[std::min<int>(model_.CurrentPin, kPinCount - 1)]; }

bool OutputConfigEditor::HardwareMismatch() const {
  const int group = std::min<int>(model_.CurrentPin, kPinCount - 1) / 8;
  return hardware_.Sink[group] || hardware_.Source[group];
}

bool OutputConfigEditor::ShowOutputConfig() {
  const PinRecord& pin = Pin();
  const auto& c = pin.OutputConfig;
  const int type = c[0];
  const int page = PageOfOutputType(type);
  if (page < 0) {
    prompt_.ShowMessage("Unknown configuration: " + NumberText(type));
    return false;
  }
  view_.SSTabPCFG = page;
  for (const OutputField& field : OutputFields()) {
    if (field.Page == page) Text(field.Id) = NumberText(c[field.Byte] - field.Offset);
  }
  if (page == kPageServo) {
    view_.SliderServo = std::clamp(pin.OutputLevel - 64, -64, 63);
    if (onTestPositionShown) onTestPositionShown(kPageServo, view_.SliderServo);
    view_.ChkSrvSuspended = (c[2] & 32) != 0;
    view_.ChkSrvAutoSuspend = (c[2] & 16) != 0;
    view_.ChkSrvInitialized = (c[2] & 64) != 0;
    view_.OptionServoRange = ServoRangeOption(c[2]);
    view_.LabelSrvHWCWarn = HardwareMismatch();
  } else if (page == kPagePwm) {
    view_.CheckPWMInverted = type == kOutputPwmInverted;
    view_.SliderPWM = std::clamp<int>(pin.OutputLevel, 0, 31);
    if (onTestPositionShown) onTestPositionShown(kPagePwm, view_.SliderPWM);
    view_.OptionPWMDriveMode = c[2] & 1;
    view_.OptionPWMAccelMode = (c[2] >> 1) & 1;
  } else if (page == kPageInput) {
    view_.CheckInputInvert = type == kOutputInputLowActive;
    view_.LabelInpHWCWarn = HardwareMismatch();
  }
  return true;
}

void OutputConfigEditor::TabClick(int page) {
  if (page < kPageClear || page > kPageInput) return;
  if (!PageMatchesType(page, Pin().OutputConfig[0])) InstallPageDefaults(Pin(), page);
  ShowOutputConfig();
}

bool OutputConfigEditor::ShowsCurrentPin() {
  return PageMatchesType(view_.SSTabPCFG, Pin().OutputConfig[0]);
}

void OutputConfigEditor::StoreField(const OutputField& field, int value) {
  if (!ShowsCurrentPin()) return;
  Pin().OutputConfig[field.Byte] = static_cast<uint8_t>(std::clamp(value + field.Offset, 0, 255));
}

void OutputConfigEditor::EditFieldText(OutputFieldId id, const std::string& text) {
  Text(id) = text;
  if (!StoresWhileTyping(id) || !IsNumericText(text)) return;
  const OutputField& field = OutputFieldOf(id);
  const int value = ParseLeadingNumber(text);
  if (value >= field.Min && value <= field.Max) StoreField(field, value);
}

std::string OutputConfigEditor::CommitField(OutputFieldId id, const std::string& text) {
  Text(id) = text;
  return CommitField(id);
}

std::string OutputConfigEditor::CommitField(OutputFieldId id) {
  const OutputField& field = OutputFieldOf(id);
  if (!IsNumericText(Text(id))) {
    // The box goes back to what the pin holds.
    if (ShowsCurrentPin()) Text(id) = NumberText(Pin().OutputConfig[field.Byte] - field.Offset);
    return Text(id);
  }
  const int typed = ParseLeadingNumber(Text(id));
  if (typed < field.Min) {
    Text(id) = NumberText(field.Min);
  } else if (typed > field.Max) {
    Text(id) = NumberText(field.Max);
  }
  StoreField(field, std::clamp(typed, field.Min, field.Max));
  return Text(id);
}

void OutputConfigEditor::FieldSpinnerChanged(OutputFieldId id, int value) {
  Text(id) = NumberText(value);
  StoreField(OutputFieldOf(id), value);
}

void OutputConfigEditor::CopyFromTestSlider(OutputFieldId id, int sliderValue) {
  if (!StoresWhileTyping(id)) return;
  Text(id) = NumberText(sliderValue);
  StoreField(OutputFieldOf(id), sliderValue);
}

void OutputConfigEditor::StoreServoFlags() {
  if (!ShowsCurrentPin()) return;
  Pin().OutputConfig[2] = ServoFlagByte(view_.OptionServoRange, view_.ChkSrvAutoSuspend, view_.ChkSrvSuspended);
}

void OutputConfigEditor::SetServoRange(int option) {
  view_.OptionServoRange = std::clamp(option, 0, 4);
  StoreServoFlags();
}

void OutputConfigEditor::SetAutoSuspend(bool checked) {
  view_.ChkSrvAutoSuspend = checked;
  StoreServoFlags();
}

void OutputConfigEditor::SetSuspended(bool checked) {
  view_.ChkSrvSuspended = checked;
  StoreServoFlags();
}

void OutputConfigEditor::SetPwmInverted(bool checked) {
  view_.CheckPWMInverted = checked;
  if (!ShowsCurrentPin()) return;
  Pin().OutputConfig[0] = static_cast<uint8_t>(kOutputPwm + (checked ? 1 : 0));
}

void OutputConfigEditor::SetInputLowActive(bool checked) {
  view_.CheckInputInvert = checked;
  if (!ShowsCurrentPin()) return;
  Pin().OutputConfig[0] = static_cast<uint8_t>(kOutputInput + (checked ? 1 : 0));
}

void OutputConfigEditor::StorePwmModes() {
  if (!ShowsCurrentPin()) return;
  Pin().OutputConfig[2] = static_cast<uint8_t>(view_.OptionPWMDriveMode + 2 * view_.OptionPWMAccelMode);
}

void OutputConfigEditor::SetDriveMode(int option) {
  view_.OptionPWMDriveMode = option != 0 ? 1 : 0;
  StorePwmModes();
}

void OutputConfigEditor::SetAccelMode(int option) {
  view_.OptionPWMAccelMode = option != 0 ? 1 : 0;
  StorePwmModes();
}

void OutputConfigEditor::CommitPageFields() {
  switch (view_.SSTabPCFG) {
    case kPageServo:
      for (OutputFieldId id : kServoCommitOrder) CommitField(id);
      break;
    case kPagePwm: CommitField(OutputFieldId::PwmAccel); break;
    case kPageInput:
      CommitField(OutputFieldId::InputOffDelay);
      CommitField(OutputFieldId::InputOnDelay);
      break;
    default: break;
  }
}

}  // namespace brixo
