#include "model/program_words.h"

#include "model/controller_encoding.h"
#include "model/duration_format.h"
#include "model/numeric_text.h"
#include "model/step_display.h"
#include "model/step_row_view.h"

namespace brixo {

namespace {

constexpr int kJump = 1;
constexpr const char* kDash = " \u2014 ";

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

// Who the step acts on, when its first parameter names a pin.
bool NamesAPin(const InstructionTable& table, const StepRecord& step) {
  if (!table.Info(step.Instruction).Par0Used || Par0KindOf(step.Instruction) == Par0Kind::Accel) return false;
  // A jump within the pin's own program is told as the jump alone.
  return !(step.Instruction == kJump && step.Par0 == 0);
}

// Who the step acts on, when its first parameter names a pin.
std::string TargetInWords(const ConfigModel& model, int pin, const StepRecord& step, const InstructionTable& table) {
  if (!NamesAPin(table, step)) return {};
  const int target = StepTargetPin(table, step, pin);
  if (target < 0) {
    return "no pin (offset " + ShownParText(table, step, 0, pin, model.NumberingOffset) + ")" + kDash;
  }
  return PinInWords(model, target) + kDash;
}

}  // namespace

int StepActsOn(const InstructionTable& table, const StepRecord& step, int pin) {
  return NamesAPin(table, step) ? StepTargetPin(table, step, pin) : -1;
}

std::string PinInWords(const ConfigModel& model, int pin) {
  std::string words = "pin " + NumberText(pin + model.NumberingOffset);
  const std::string& description = model.PinTable[pin].Description;
  if (!description.empty()) words += " \"" + description + "\"";
  return words;
}

std::string StepInWords(const ConfigModel& model, int pin, const StepRecord& step, const InstructionTable& table) {
  const InstructionInfo& info = table.Info(step.Instruction);
  if (!table.HasEntry(step.Instruction)) return "unknown instruction " + NumberText(step.Instruction);
  const int no = model.NumberingOffset;
  std::string words = TargetInWords(model, pin, step, table);
  if (step.Instruction == kJump) {
    return words + info.Name + " to aspect " + ShownParText(table, step, 1, pin, no) + ", step " +
           ShownParText(table, step, 2, pin, no);
  }
  words += info.Name;
  const bool timed = HasDuration(info);
  if (timed) words += " " + FormatDuration(step.Par2, step.Par3);
  if (info.FadeAllowed && step.Fade != 0) words += ", fade";
  // The pin a step acts on is told above; its duration stands for Time and Base.
  const bool accel = Par0KindOf(step.Instruction) == Par0Kind::Accel;
  for (int par = accel ? 0 : 1; par < kParCount; ++par) {
    if (!ParUsed(info, par) || (timed && par >= 2)) continue;
    words += ", " + ParLabel(info, par) + " " + ShownParText(table, step, par, pin, no);
  }
  return words;
}

std::vector<ProgramLine> AspectInWords(const ConfigModel& model, int pin, int aspect, const InstructionTable& table) {
  std::vector<ProgramLine> lines;
  if (pin < 0 || pin >= kPinCount) return lines;
  const PinRecord& record = model.PinTable[pin];
  if (aspect < 0 || aspect >= AspectCountOf(record.AspectConfig)) return lines;
  const int steps = StepCountOf(record.AspectConfig);
  for (int s = 0; s < steps; ++s) {
    const StepRecord& step = record.Aspects[aspect].Steps[s];
    if (step.Instruction == 0) continue;
    ProgramLine line;
    line.Step = s;
    line.TargetPin = StepActsOn(table, step, pin);
    line.Text = NumberText(s) + ": " + StepInWords(model, pin, step, table);
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string ProgramText(const std::vector<ProgramLine>& lines) {
  if (lines.empty()) return "No steps\n";
  std::string text;
  for (const ProgramLine& line : lines) text += line.Text + "\n";
  return text;
}

}  // namespace brixo
