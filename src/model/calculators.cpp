#include "model/calculators.h"

#include <algorithm>

#include "model/duration_format.h"
#include "model/numeric_text.h"

namespace brixo {

int ComputePattern(const std::array<bool, 7>& outputs, bool allDark, bool noDark) {
  int p = 0;
  for (int i = 0; i < 7; ++i) {
    if (outputs[i]) p += 1 << i;
  }
  return p + 32 * (allDark ? 1 : 0) + 64 * (noDark ? 1 : 0);
}

int ComputeEventMap(const std::array<bool, 4>& events, int mode) {
  int v = 0;
  for (int i = 0; i < 4; ++i) {
    if (events[i]) v += 1 << i;
  }
  for (int j = 1; j <= 3; ++j) {
    if (mode == j) {
      v += 16 * j;
    } else if (mode == j + 4) {
      v += 64 + 16 * j;
    }
  }
  return v;
}

void PatternCalculator::Preset(const PatternPreset& preset) {
  state_ = preset;
  Recompute();
}

void PatternCalculator::SetOutput(int index, bool checked) {
  if (index < 0 || index >= 7) return;
  state_.Outputs[index] = checked;
  Recompute();
}

void PatternCalculator::SetAllDark(bool checked) {
  state_.AllDark = checked;
  if (checked) state_.NoDark = false;
  Recompute();
}

void PatternCalculator::SetNoDark(bool checked) {
  state_.NoDark = checked;
  if (checked) state_.AllDark = false;
  Recompute();
}

void PatternCalculator::Cancel() { parameter_ = state_.Original; }

void PatternCalculator::Recompute() {
  parameter_ = NumberText(ComputePattern(state_.Outputs, state_.AllDark, state_.NoDark));
}

void EventMapCalculator::Preset(const EventMapPreset& preset) {
  state_ = preset;
  Recompute();
}

void EventMapCalculator::SetEvent(int index, bool checked) {
  if (index < 0 || index >= 4) return;
  state_.Events[index] = checked;
  Recompute();
}

void EventMapCalculator::SelectMode(int mode) {
  state_.Mode = mode;
  Recompute();
}

void EventMapCalculator::Cancel() { parameter_ = state_.Original; }

void EventMapCalculator::Recompute() { parameter_ = NumberText(ComputeEventMap(state_.Events, state_.Mode)); }

void TimeCalculator::Preset(const std::string& baseText, int slider) {
  baseText_ = baseText;
  // Kept as passed in, even beyond the slider's range, so that Cancel gives it back intact.
  slider_ = slider;
  base_ = ParseLeadingNumber(baseText_);
  openedBase_ = base_;
  openedSlider_ = slider_;
  ShowLabels();
}

void TimeCalculator::SetSlider(int value) {
  slider_ = std::clamp(value, 0, 63);
  timeValue_ = FormatDuration(slider_, ParseLeadingNumber(baseText_));
}

std::string TimeCalculator::CommitBase(const std::string& text) {
  if (!IsNumericText(text)) {
    baseText_ = NumberText(base_);
    return baseText_;
  }
  baseText_ = text;
  const int value = ParseLeadingNumber(text);
  if (value < 0) {
    baseText_ = "0";
  } else if (value > 3) {
    baseText_ = "3";
  }
  base_ = ParseLeadingNumber(baseText_);
  ShowLabels();
  return baseText_;
}

void TimeCalculator::BaseSpinnerChanged(int value) {
  baseText_ = NumberText(std::clamp(value, 0, 3));
  base_ = ParseLeadingNumber(baseText_);
  ShowLabels();
}

void TimeCalculator::Cancel() {
  baseText_ = NumberText(openedBase_);
  base_ = openedBase_;
  slider_ = openedSlider_;
}

void TimeCalculator::ShowLabels() {
  maxTimeValue_ = FormatDuration(63, base_);
  timeValue_ = FormatDuration(slider_, base_);
}

}  // namespace brixo
