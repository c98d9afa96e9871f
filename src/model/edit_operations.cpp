#include "model/edit_operations.h"

#include <algorithm>

#include "model/device_membership.h"
#include "model/pin_operations.h"

namespace brixo {

namespace {

int CurrentPinOf(const ConfigModel& model) { return std::min<int>(model.CurrentPin, kPinCount - 1); }

const AspectRecord& CurrentAspectOf(const ConfigModel& model) {
  return model.PinTable[CurrentPinOf(model)].Aspects[std::min<int>(model.CurrentAspect, kAspectCount - 1)];
}

AspectRecord& CurrentAspectOf(ConfigModel& model) {
  return model.PinTable[CurrentPinOf(model)].Aspects[std::min<int>(model.CurrentAspect, kAspectCount - 1)];
}

}  // namespace

void CopyPin(const ConfigModel& model, PinClipboard& clipboard) {
  clipboard.SourcePin = CurrentPinOf(model);
  clipboard.Pin = model.PinTable[clipboard.SourcePin];
  clipboard.Valid = true;
}

bool PastePin(ConfigModel& model, const PinClipboard& clipboard) {
  if (!clipboard.Valid) return false;
  const int pin = CurrentPinOf(model);
  DissolveDevice(model.PinTable, pin);
  PinRecord& target = model.PinTable[pin];
  target = clipboard.Pin;
  // A pasted member keeps pointing at the head its source pointed at.
  if (clipboard.Pin.DevicePointer != 0) {
    target.DevicePointer = static_cast<int16_t>(clipboard.Pin.DevicePointer + clipboard.SourcePin - pin);
  }
  return true;
}

void ClearCurrentPin(ConfigModel& model) {
  const int pin = CurrentPinOf(model);
  DissolveDevice(model.PinTable, pin);
  ClearPin(model.PinTable[pin]);
}

void CopyAspect(const ConfigModel& model, AspectClipboard& clipboard) {
  clipboard.Aspect = CurrentAspectOf(model);
  clipboard.Valid = true;
}

bool PasteAspect(ConfigModel& model, const AspectClipboard& clipboard) {
  if (!clipboard.Valid) return false;
  CurrentAspectOf(model) = clipboard.Aspect;
  return true;
}

void ClearAspect(ConfigModel& model) {
  AspectRecord& aspect = CurrentAspectOf(model);
  aspect.Description.clear();
  aspect.Steps.fill(StepRecord{});
}

void CleanupAspect(ConfigModel& model) {
  AspectRecord& aspect = CurrentAspectOf(model);
  aspect.Description.clear();
  auto& steps = aspect.Steps;
  const auto firstEmpty =
      std::find_if(steps.begin(), steps.end(), [](const StepRecord& s) { return s.Instruction == 0; });
  // Everything from the first empty step on is dropped; that step keeps its place as the end.
  std::fill(firstEmpty, steps.end(), StepRecord{});
}

int LastEditableStep(const PinRecord& pin) { return pin.AspectConfig == 3 ? kStepCount - 1 : 2; }

void InsertStep(ConfigModel& model, int step) {
  const int last = LastEditableStep(model.PinTable[CurrentPinOf(model)]);
  if (step < 0 || step > last) return;
  auto& steps = CurrentAspectOf(model).Steps;
  for (int i = last; i > step; --i) steps[i] = steps[i - 1];
  steps[step] = StepRecord{};
}

void DeleteStep(ConfigModel& model, int step) {
  const int last = LastEditableStep(model.PinTable[CurrentPinOf(model)]);
  if (step < 0 || step > last) return;
  auto& steps = CurrentAspectOf(model).Steps;
  for (int i = step; i < last; ++i) steps[i] = steps[i + 1];
  steps[last] = StepRecord{};
}

}  // namespace brixo
