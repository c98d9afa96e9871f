#include "model/pin_editor.h"

#include <algorithm>

#include "model/device_membership.h"
#include "model/duration_format.h"
#include "model/numeric_text.h"
#include "model/step_display.h"

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

}  // namespace

PinEditor::PinEditor(ConfigModel& model, const InstructionTable& table) : model_(model), table_(table) {}

PinRecord& PinEditor::Pin() { return model_.PinTable[std::min<int>(model_.CurrentPin, kPinCount - 1)]; }

AspectRecord& PinEditor::Aspect() {
  return Pin().Aspects[std::min<int>(model_.CurrentAspect, kAspectCount - 1)];
}

StepRecord& PinEditor::Step(int row) { return Aspect().Steps[std::clamp(row, 0, kStepCount - 1)]; }

std::string PinEditor::ParDisplayText(const StepRecord& step, int par) const {
  return ShownParText(table_, step, par, model_.CurrentPin, model_.NumberingOffset);
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
  } else {
    view.FadeVisible = false;
    view.FadeChecked = false;
    if (known) step.Fade = 0;
  }
  for (int par = 0; par < kParCount; ++par) view.ParTip[par] = ParTipText(step, par);
  view.DurationText = StepDurationText(step);
  ShowCaptions();
}

void PinEditor::ShowCaptions() {
  int row = captionRow_;
  // A hidden row's fields mean nothing to the user.
  if (!ValidRow(row) || !view_.Rows[row].Visible) {
    row = -1;
    for (int r = 0; r < kStepCount && row < 0; ++r) {
      if (view_.Rows[r].Visible && Step(r).Instruction != 0) row = r;
    }
  }
  shownCaptionRow_ = row;
  ColumnCaptions captions;
  if (row >= 0) {
    const InstructionInfo& info = table_.Info(Step(row).Instruction);
    captions.LabelPAspHFade = info.FadeAllowed ? "Fade" : "";
    captions.LabelPAspOffset = info.Par0Label;
    captions.LabelPAspHParam1 = info.Par1Label;
    captions.LabelPASpHParam2 = info.Par2Label;
    captions.LabelPAspHParam3 = info.Par3Label;
  }
  view_.Captions = captions;
}

void PinEditor::FocusRow(int row) {
  if (!ValidRow(row)) return;
  captionRow_ = row;
  ShowCaptions();
}

PinEditor::ParRange PinEditor::ShownParRange(const StepRecord& step, int par) const {
  const int no = model_.NumberingOffset;
  const int pin = std::min<int>(model_.CurrentPin, kPinCount - 1);
  switch (par) {
    case 0:
      switch (Par0KindOf(step.Instruction)) {
        case Par0Kind::AbsolutePin: return {no, no + kPinCount - 1};
        case Par0Kind::Accel: return {-1, 31};
        case Par0Kind::PinOffset: return {-pin, kPinCount - 1 - pin};
      }
      return {};
    case 1: {
      const InstructionInfo& info = table_.Info(step.Instruction);
      const int shift = Par1DisplayShift(info, step.Instruction, no);
      return {info.Par1Min + shift, info.Par1Max + shift};
    }
    case 2: return {0, Par2MaxOf(step.Instruction)};
    default: return {0, 3};
  }
}

std::string PinEditor::ParTipText(const StepRecord& step, int par) const {
  const InstructionInfo& info = table_.Info(step.Instruction);
  if (!ParUsed(info, par)) return "Not used by this instruction";
  const std::string* labels[] = {&info.Par0Label, &info.Par1Label, &info.Par2Label, &info.Par3Label};
  const std::string name = labels[par]->empty() ? "Parameter " + NumberText(par) : *labels[par];
  const ParRange range = ShownParRange(step, par);
  return name + ": " + NumberText(range.Min) + " to " + NumberText(range.Max);
}

void PinEditor::ShowDeviceFields() {
  const int referred = ReferredPinOf(model_.PinTable, model_.CurrentPin);
  view_.TextDevicePin = NumberText(referred + model_.NumberingOffset);
  view_.TextDeviceDescription = ShownDeviceDescription(model_.PinTable, model_.CurrentPin);
  view_.TextDeviceDescriptionEnabled = Pin().DevicePointer == 0;
}

void PinEditor::ShowPin() {
  if (model_.CurrentPin >= kPinCount) model_.CurrentPin = kPinCount - 1;
  if (model_.CurrentAspect >= kAspectCount) model_.CurrentAspect = kAspectCount - 1;
  const PinRecord& pin = Pin();
  // Another pin or aspect: the captions start again from its first step with an instruction.
  captionRow_ = -1;
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
  if (!ValidRow(row) || !ValidPar(par)) return;
  view_.Rows[row].ParText[par] = text;
  FocusRow(row);
}

std::string PinEditor::CommitPar(int row, int par, const std::string& text) {
  EditParText(row, par, text);
  return CommitPar(row, par);
}

void PinEditor::StoreParameter(int row, int par, int value) {
  StepRecord& step = Step(row);
  const ParRange range = ShownParRange(step, par);
  const int v = std::clamp(value, range.Min, range.Max);
  switch (par) {
    case 0:
      switch (Par0KindOf(step.Instruction)) {
        case Par0Kind::AbsolutePin: step.Par0 = static_cast<uint8_t>(v - model_.NumberingOffset); break;
        case Par0Kind::Accel: step.Par0 = static_cast<uint8_t>((v + 128) % 128); break;
        case Par0Kind::PinOffset: step.Par0 = static_cast<uint8_t>((v + kPinCount) % kPinCount); break;
      }
      break;
    case 1: {
      const InstructionInfo& info = table_.Info(step.Instruction);
      step.Par1 = static_cast<uint8_t>(v - Par1DisplayShift(info, step.Instruction, model_.NumberingOffset));
      break;
    }
    case 2: step.Par2 = static_cast<uint8_t>(v); break;
    default: step.Par3 = static_cast<uint8_t>(v); break;
  }
}

std::string PinEditor::CommitPar(int row, int par) {
  if (!ValidRow(row) || !ValidPar(par)) return {};
  const StepRecord& step = Step(row);
  // A box of a parameter the instruction does not use holds nothing to store; a text that
  // is no number leaves the stored value, which the refresh shows again; and a box whose
  // text is what it showed holds no edit: storing it again could move a value the display
  // cannot show exactly (an offset beyond the pins, say).
  const std::string& typed = view_.Rows[row].ParText[par];
  const bool edited =
      ParUsed(table_.Info(step.Instruction), par) && IsNumericText(typed) && typed != ParDisplayText(step, par);
  if (edited) StoreParameter(row, par, ParseLeadingNumber(typed));
  captionRow_ = row;
  RefreshStep(row, edited);
  return view_.Rows[row].ParText[par];
}

void PinEditor::ChooseInstruction(int row, int chooserIndex) {
  const auto& list = table_.ChooserList();
  if (!ValidRow(row) || chooserIndex < 0 || chooserIndex >= static_cast<int>(list.size())) return;
  StepRecord& step = Step(row);
  step.Instruction = list[chooserIndex].Opcode;
  captionRow_ = row;
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
  captionRow_ = row;
  RefreshStep(row);
}

void PinEditor::EditPinText(const std::string& text) { view_.TextPAspOutput = text; }

std::string PinEditor::CommitPinNumber(const std::string& text) {
  EditPinText(text);
  return CommitPinNumber();
}

std::string PinEditor::CommitPinNumber() {
  const int no = model_.NumberingOffset;
  if (!IsNumericText(view_.TextPAspOutput)) {
    ShowPin();
    return view_.TextPAspOutput;
  }
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
  if (!IsNumericText(view_.TextPAspAspect)) {
    ShowPin();
    return view_.TextPAspAspect;
  }
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
  if (!IsNumericText(view_.TextPAspInit)) {
    view_.TextPAspInit = NumberText(Pin().InitAspect - 1);
    return view_.TextPAspInit;
  }
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
  // Committing every row is bookkeeping, not an edit: the captions stay where they were.
  const int edited = captionRow_;
  for (int row = 0; row < kStepCount; ++row) {
    if (!view_.Rows[row].Visible) continue;
    // Each commit re-derives the whole row, so the typed texts are taken first.
    const auto typed = view_.Rows[row].ParText;
    for (int par = 0; par < kParCount; ++par) CommitPar(row, par, typed[par]);
  }
  captionRow_ = edited;
  ShowCaptions();
}

void PinEditor::CommitVisibleRows() {
  CommitRowParameters();
  if (view_.AspectControlsVisible) CommitAspect();
}

}  // namespace brixo
