#include "model/help_tools.h"

#include <algorithm>

#include "model/numeric_text.h"

namespace brixo {

namespace {

bool IsPatternTool(int helpTool) { return helpTool >= 2 && helpTool <= 7; }

// A calculator result is not clamped to the parameter's range, but it must still fit the
// stored byte instead of wrapping around.
uint8_t ToByte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

PatternPreset PresetPattern(int value, int outputs, const std::string& original) {
  PatternPreset p;
  for (int i = 0; i < 7; ++i) {
    p.Outputs[i] = ((value >> i) & 1) != 0;
    p.OutputEnabled[i] = i < outputs;
    if (i >= outputs) p.Outputs[i] = false;
  }
  p.DarkEnabled = outputs <= 5;
  p.AllDark = p.DarkEnabled && ((value >> 5) & 1) != 0;
  p.NoDark = p.DarkEnabled && ((value >> 6) & 1) != 0;
  p.Original = original;
  return p;
}

// Older maps named a single input by its number; they are shown as the matching input box
// with the execute option.
EventMapPreset PresetEventMap(int v, const std::string& original) {
  int group = 0;
  if (v >= 64) {
    group = 4;
    v -= 64;
  }
  if (v <= 3) {
    v = (1 << v) + 16;
    group = 0;
  } else if (v < 8) {
    v = (1 << (v - 4)) + 16;
    group = 4;
  } else if (v < 16) {
    v = 16;
  }
  EventMapPreset p;
  for (int i = 0; i < 4; ++i) p.Events[i] = ((v >> i) & 1) != 0;
  const int mode = (v / 16) + group;
  p.Mode = (mode % 4 == 0) ? 0 : mode;
  p.Original = original;
  return p;
}

}  // namespace

HelpToolRequest OpenHelpTool(PinEditor& editor, int row, HelpBox box) {
  HelpToolRequest request;
  request.Message = kHelpToolNotAvailable;
  if (row < 0 || row >= kStepCount) return request;
  const StepRecord& step = editor.Step(row);
  const InstructionInfo& info = editor.Table().Info(step.Instruction);
  const std::string& par1Text = editor.View().Rows[row].ParText[1];
  if (box == HelpBox::Par1 && IsPatternTool(info.HelpTool)) {
    request.Kind = HelpToolKind::Pattern;
    request.Pattern = PresetPattern(step.Par1 + info.Par1DisplayBias, info.HelpTool, par1Text);
  } else if (box == HelpBox::Par1 && info.HelpTool == kHelpToolEventMap) {
    request.Kind = HelpToolKind::EventMap;
    request.EventMap = PresetEventMap(step.Par1, par1Text);
  } else if (box != HelpBox::Par1 && info.HelpTool == kHelpToolTime) {
    request.Kind = HelpToolKind::Time;
    request.TimeBase = NumberText(step.Par3);
    request.TimeSlider = step.Par2;
  } else {
    return request;
  }
  request.Message.clear();
  return request;
}

void TakePatternResult(PinEditor& editor, int row, const std::string& parameterText) {
  if (row < 0 || row >= kStepCount) return;
  StepRecord& step = editor.Step(row);
  const InstructionInfo& info = editor.Table().Info(step.Instruction);
  step.Par1 = ToByte(ParseLeadingNumber(parameterText) - info.Par1DisplayBias);
  editor.RefreshStep(row);
}

void TakeEventMapResult(PinEditor& editor, int row, const std::string& parameterText) {
  if (row < 0 || row >= kStepCount) return;
  editor.Step(row).Par1 = ToByte(ParseLeadingNumber(parameterText));
  editor.RefreshStep(row);
}

void TakeTimeResult(PinEditor& editor, int row, int base, int slider) {
  if (row < 0 || row >= kStepCount) return;
  StepRecord& step = editor.Step(row);
  step.Par3 = ToByte(base);
  step.Par2 = ToByte(slider);
  editor.RefreshStep(row);
}

HelpToolKind HelpToolOf(PinEditor& editor, int row) {
  if (row < 0 || row >= kStepCount || !editor.View().Rows[row].Visible) return HelpToolKind::None;
  const int tool = editor.Table().Info(editor.Step(row).Instruction).HelpTool;
  if (IsPatternTool(tool)) return HelpToolKind::Pattern;
  if (tool == kHelpToolEventMap) return HelpToolKind::EventMap;
  if (tool == kHelpToolTime) return HelpToolKind::Time;
  return HelpToolKind::None;
}

HelpBox HelpToolBox(HelpToolKind kind) { return kind == HelpToolKind::Time ? HelpBox::Duration : HelpBox::Par1; }

int HelpToolRow(PinEditor& editor, HelpToolKind kind) {
  if (kind == HelpToolKind::None) return -1;
  if (HelpToolOf(editor, editor.CaptionRow()) == kind) return editor.CaptionRow();
  for (int row = 0; row < kStepCount; ++row) {
    if (HelpToolOf(editor, row) == kind) return row;
  }
  return -1;
}

}  // namespace brixo
