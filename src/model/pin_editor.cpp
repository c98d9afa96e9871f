#include "model/pin_editor.h"

#include <algorithm>

#include "model/device_membership.h"
#include "model/duration_format.h"
#include "model/numeric_text.h"

namespace brixo {

namespace {

bool ParUsed(const InstructionInfo& info, int par) {
  switch (par) {
    case 0: return info.Par0Used;
    case 1: return info.Par1Used;
    case 2: return info.Par2Used;
    default: return info.Par3Used;
  }
}

uint8_t& ParByte(StepRecord& step, int par) {
  switch (par) {
    case 0: return step.Par0;
    case 1: return step.Par1;
    case 2: return step.Par2;
    default: return step.Par3;
  }
}

bool ValidRow(int row) { return row >= 0 && row < kStepCount; }
bool ValidPar(int par) { return par >= 0 && par < kParCount; }

// Bias between the stored Par1 and the number shown; "Clone" shows a pin number.
int Par1Shift(const InstructionInfo& info, int opcode, int numberingOffset) {
  return info.Par1DisplayBias + (opcode == 7 ? numberingOffset : 0);
}

}  // namespace

PinEditor::PinEditor(ConfigModel& model, const InstructionTable& table) : model_(model), table_(table) {}

PinRecord& PinEditor::Pin() { return model_.PinTable[std::min<int>(model_.CurrentPin, kPinCount - 1)]; }

AspectRecord& PinEditor::Aspect() {
  return Pin().Aspects[std::min<int>(model_.CurrentAspect, kAspectCount - 1)];
}

StepRecord& PinEditor::Step(int row) { return Aspect().Steps[std::clamp(row, 0, kStepCount - 1)]; }

std::string PinEditor::ParDisplayText(const StepRecord& step, int par) const {
  const int no = model_.NumberingOffset;
  switch (par) {
    case 0:
      switch (Par0KindOf(step.Instruction)) {
        case Par0Kind::AbsolutePin: return NumberText(step.Par0 + no);
        case Par0Kind::Accel: return step.Par0 == 127 ? "-1" : NumberText(step.Par0);
        case Par0Kind::PinOffset:
          return NumberText(model_.CurrentPin + step.Par0 < kPinCount ? step.Par0 : step.Par0 - kPinCount);
      }
      return "0";
    case 1: {
      const InstructionInfo& info = table_.Info(step.Instruction);
      return NumberText(step.Par1 + Par1Shift(info, step.Instruction, no));
    }
    case 2: return NumberText(step.Par2);
    default: return NumberText(step.Par3);
  }
}

void PinEditor::RefreshStep(int row, bool edited) {
  if (!ValidRow(row)) return;
  StepRecord& step = Step(row);
  StepRowView& view = view_.Rows[row];
  const InstructionInfo& info = table_.Info(step.Instruction);
  // A code the tool does not know is shown as using nothing, but kept untouched so that
  // reading and writing back a controller never destroys it.
  const bool known = table_.HasEntry(step.Instruction) && edited;

  view.Opcode = step.Instruction;
  view.ChooserIndex = table_.ChooserIndexOf(step.Instruction);
  for (int par = 0; par < kParCount; ++par) {
    if (ParUsed(info, par)) {
      view.ParEnabled[par] = true;
      view.ParText[par] = ParDisplayText(step, par);
    } else {
      if (known) ParByte(step, par) = 0;
      view.ParEnabled[par] = false;
      view.ParText[par] = "0";
    }
  }
  if (info.FadeAllowed) {
    view.FadeVisible = view.Visible;
    view.FadeChecked = step.Fade != 0;
    view_.Captions.LabelPAspHFade = "Fade";
  } else {
    view.FadeVisible = false;
    view.FadeChecked = false;
    if (known) step.Fade = 0;
    view_.Captions.LabelPAspHFade = "";
  }
  view_.Captions.LabelPAspOffset = info.Par0Label;
  view_.Captions.LabelPAspHParam1 = info.Par1Label;
  view_.Captions.LabelPASpHParam2 = info.Par2Label;
  view_.Captions.LabelPAspHParam3 = info.Par3Label;
  view.DurationText = StepDurationText(step);
}

void PinEditor::ShowDeviceFields() {
  PinRecord& pin = Pin();
  const int referred = ReferredPinOf(model_.PinTable, model_.CurrentPin);
  view_.TextDevicePin = NumberText(referred + model_.NumberingOffset);
  if (pin.DevicePointer == 0) {
    view_.TextDeviceDescription = pin.DeviceDescription;
  } else if (RefersToDevice(model_.PinTable, model_.CurrentPin)) {
    view_.TextDeviceDescription = model_.PinTable[referred].DeviceDescription;
  } else {
    view_.TextDeviceDescription = kReferralIsNoDevice;
  }
  view_.TextDeviceDescriptionEnabled = pin.DevicePointer == 0;
}

void PinEditor::ShowPin() {
  if (model_.CurrentPin >= kPinCount) model_.CurrentPin = kPinCount - 1;
  if (model_.CurrentAspect >= kAspectCount) model_.CurrentAspect = kAspectCount - 1;
  const PinRecord& pin = Pin();
  view_.UpDownPAspOutputMin = model_.NumberingOffset;
  view_.UpDownPAspOutputMax = model_.NumberingOffset + kPinCount - 1;
  view_.TextPAspOutput = NumberText(model_.CurrentPin + model_.NumberingOffset);
  view_.TextDeviceDescriptionEnabled = false;
  view_.TextPAspDesc = pin.Description;
  ShowDeviceFields();
  view_.TextPAspAspect = NumberText(model_.CurrentAspect);
  view_.TextPAspAspDesc = Aspect().Description;
  view_.TextPAspInit = NumberText(pin.InitAspect - 1);
  const int option = pin.AspectConfig == 2 ? 2 : pin.AspectConfig == 3 ? 1 : 0;
  // Showing only redisplays: an initial aspect beyond the layout (from a file or a
  // controller) is shown corrected but kept, so loading and saving never changes it.
  ApplyLayout(option, false);
}

void PinEditor::OptionPAspConf_Click(int index) { ApplyLayout(index, true); }

void PinEditor::ApplyLayout(int index, bool userChoice) {
  if (index < 0 || index > 2) return;
  PinRecord& pin = Pin();
  view_.OptionPAspConf = index;
  view_.AspectControlsVisible = index != 0;
  int visibleRows = 0;
  if (index == 1) {
    view_.UpDownPAspAspectMax = 3;
    view_.UpDownPAspInitMax = 3;
    // The boxes are corrected into the smaller layout. The aspect shown follows, so that
    // the rows never show an aspect outside the layout; when the user picks the smaller
    // layout the initial aspect follows too, so that none beyond it gets written.
    if (ParseLeadingNumber(view_.TextPAspAspect) > 3 || model_.CurrentAspect > 3) {
      model_.CurrentAspect = 3;
      view_.TextPAspAspect = "3";
      view_.TextPAspAspDesc = Aspect().Description;
    }
    if (ParseLeadingNumber(view_.TextPAspInit) > 3 || pin.InitAspect > 4) {
      if (userChoice) pin.InitAspect = 0;
      view_.TextPAspInit = "-1";
    }
    visibleRows = kStepCount;
  } else if (index == 2) {
    view_.UpDownPAspAspectMax = 11;
    view_.UpDownPAspInitMax = 11;
    visibleRows = 3;
  }
  for (int row = 0; row < kStepCount; ++row) view_.Rows[row].Visible = row < visibleRows;
  for (int row = 0; row < kStepCount; ++row) RefreshStep(row, false);
  // Only the user's choice stores a layout; a code the tool does not know is shown as no
  // layout but kept.
  if (userChoice) pin.AspectConfig = index == 1 ? 3 : index == 2 ? 2 : 0;
  UpdateDetails();
}

void PinEditor::UpdateDetails() {
  const bool details = view_.CheckPAspShowDetails;
  const bool expert = details && view_.ExpertMode;
  const bool layout = details && view_.OptionPAspConf != 0;
  DetailsVisibility& d = view_.Details;
  d.FrameAspdetails = details;
  d.SSTabPCFG = details;
  d.CommandPCFGGetParam = {details, expert};
  d.CommandPCFGSetParam = {details, expert};
  d.CommandPAspReadPin = expert;
  d.CommandPAspWritePin = expert;
  d.CommandPAspWriteAspect = layout;
  d.LabelPAspHStep = layout;
  d.LabelPAspHInst = layout;
}

void PinEditor::SetShowDetails(bool details) {
  view_.CheckPAspShowDetails = details;
  UpdateDetails();
}

void PinEditor::SetExpertMode(bool expert) {
  view_.ExpertMode = expert;
  UpdateDetails();
}

void PinEditor::EditParText(int row, int par, const std::string& text) {
  if (ValidRow(row) && ValidPar(par)) view_.Rows[row].ParText[par] = text;
}

std::string PinEditor::CommitPar(int row, int par, const std::string& text) {
  EditParText(row, par, text);
  return CommitPar(row, par);
}

void PinEditor::StoreParameter(int row, int par, int value) {
  StepRecord& step = Step(row);
  const int no = model_.NumberingOffset;
  const int pin = model_.CurrentPin;
  switch (par) {
    case 0:
      switch (Par0KindOf(step.Instruction)) {
        case Par0Kind::AbsolutePin:
          step.Par0 = static_cast<uint8_t>(std::clamp(value, no, no + kPinCount - 1) - no);
          break;
        case Par0Kind::Accel:
          step.Par0 = static_cast<uint8_t>((std::clamp(value, -1, 31) + 128) % 128);
          break;
        case Par0Kind::PinOffset:
          step.Par0 = static_cast<uint8_t>((std::clamp(value, -pin, kPinCount - 1 - pin) + kPinCount) % kPinCount);
          break;
      }
      break;
    case 1: {
      const InstructionInfo& info = table_.Info(step.Instruction);
      const int t = value - Par1Shift(info, step.Instruction, no);
      step.Par1 = static_cast<uint8_t>(std::clamp<int>(t, info.Par1Min, info.Par1Max));
      break;
    }
    case 2: step.Par2 = static_cast<uint8_t>(std::clamp(value, 0, Par2MaxOf(step.Instruction))); break;
    default: step.Par3 = static_cast<uint8_t>(std::clamp(value, 0, 3)); break;
  }
}

std::string PinEditor::CommitPar(int row, int par) {
  if (!ValidRow(row) || !ValidPar(par)) return {};
  const StepRecord& step = Step(row);
  // A box of a parameter the instruction does not use holds nothing to store, and a box
  // whose text is what it showed holds no edit: storing it again could move a value the
  // display cannot show exactly (an offset beyond the pins, say).
  const std::string& typed = view_.Rows[row].ParText[par];
  const bool edited = ParUsed(table_.Info(step.Instruction), par) && typed != ParDisplayText(step, par);
  if (edited) StoreParameter(row, par, ParseLeadingNumber(typed));
  RefreshStep(row, edited);
  return view_.Rows[row].ParText[par];
}

void PinEditor::ChooseInstruction(int row, int chooserIndex) {
  const auto& list = table_.ChooserList();
  if (!ValidRow(row) || chooserIndex < 0 || chooserIndex >= static_cast<int>(list.size())) return;
  StepRecord& step = Step(row);
  step.Instruction = list[chooserIndex].Opcode;
  // Parameters the new instruction keeps must fit its ranges, or the step could hold a
  // value no controller takes ("SendSerial 1" bytes above 127, say).
  const InstructionInfo& info = table_.Info(step.Instruction);
  if (info.Par1Used) step.Par1 = static_cast<uint8_t>(std::clamp<int>(step.Par1, info.Par1Min, info.Par1Max));
  if (info.Par2Used) step.Par2 = static_cast<uint8_t>(std::min(static_cast<int>(step.Par2), Par2MaxOf(step.Instruction)));
  RefreshStep(row);
}

void PinEditor::SetFade(int row, bool checked) {
  if (!ValidRow(row)) return;
  Step(row).Fade = checked ? 1 : 0;
  RefreshStep(row);
}

void PinEditor::EditPinText(const std::string& text) { view_.TextPAspOutput = text; }

std::string PinEditor::CommitPinNumber(const std::string& text) {
  EditPinText(text);
  return CommitPinNumber();
}

std::string PinEditor::CommitPinNumber() {
  const int no = model_.NumberingOffset;
  const int shown = std::clamp(ParseLeadingNumber(view_.TextPAspOutput), no, no + kPinCount - 1);
  model_.CurrentPin = static_cast<uint8_t>(shown - no);
  ShowPin();
  return view_.TextPAspOutput;
}

void PinEditor::EditAspectText(const std::string& text) { view_.TextPAspAspect = text; }

std::string PinEditor::CommitAspect(const std::string& text) {
  EditAspectText(text);
  return CommitAspect();
}

std::string PinEditor::CommitAspect() {
  const int aspect = std::clamp(ParseLeadingNumber(view_.TextPAspAspect), 0, view_.UpDownPAspAspectMax);
  model_.CurrentAspect = static_cast<uint8_t>(aspect);
  ShowPin();
  return view_.TextPAspAspect;
}

void PinEditor::AspectSpinnerMoved(int value) {
  CommitRowParameters();
  CommitAspect(NumberText(value));
}

void PinEditor::EditInitText(const std::string& text) { view_.TextPAspInit = text; }

std::string PinEditor::CommitInitAspect(const std::string& text) {
  EditInitText(text);
  return CommitInitAspect();
}

std::string PinEditor::CommitInitAspect() {
  const int init = std::clamp(ParseLeadingNumber(view_.TextPAspInit), -1, view_.UpDownPAspInitMax);
  view_.TextPAspInit = NumberText(init);
  Pin().InitAspect = static_cast<uint8_t>(init + 1);
  return view_.TextPAspInit;
}

void PinEditor::InitSpinnerMoved(int value) { CommitInitAspect(NumberText(value)); }

void PinEditor::SetPinDescription(const std::string& text) {
  view_.TextPAspDesc = text;
  Pin().Description = text;
}

void PinEditor::SetAspectDescription(const std::string& text) {
  view_.TextPAspAspDesc = text;
  Aspect().Description = text;
}

void PinEditor::ChangeDevicePin(const std::string& text) {
  view_.TextDevicePin = text;
  if (!IsNumericText(text)) return;
  const int no = model_.NumberingOffset;
  const int shown = ParseLeadingNumber(text);
  if (shown < no || shown > no + kPinCount - 1) return;
  Pin().DevicePointer = static_cast<int16_t>(shown - model_.CurrentPin - no);
}

void PinEditor::LeaveDevicePin() {
  // A member carries no device name of its own.
  if (Pin().DevicePointer != 0) Pin().DeviceDescription.clear();
  ShowDeviceFields();
}

void PinEditor::ChangeDeviceDescription(const std::string& text) {
  view_.TextDeviceDescription = text;
  if (view_.TextDeviceDescriptionEnabled) Pin().DeviceDescription = text;
}

void PinEditor::CommitRowParameters() {
  for (int row = 0; row < kStepCount; ++row) {
    if (!view_.Rows[row].Visible) continue;
    // Each commit re-derives the whole row, so the typed texts are taken first.
    const auto typed = view_.Rows[row].ParText;
    for (int par = 0; par < kParCount; ++par) CommitPar(row, par, typed[par]);
  }
}

void PinEditor::CommitVisibleRows() {
  CommitRowParameters();
  if (view_.AspectControlsVisible) CommitAspect();
}

}  // namespace brixo
