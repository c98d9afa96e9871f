#pragma once
// The copy, paste, clear and shift operations of the "Edit Pin", "Edit Aspect" and "Edit
// Step" dialogs. They change only the model; nothing is sent to the controller.
#include "model/pin_model.h"

namespace brixo {

// A complete copy of one pin and where it came from. A copy, not a reference: later edits
// of the source leave it as it was.
struct PinClipboard {
  PinRecord Pin;
  int SourcePin = 0;
  bool Valid = false;
};

struct AspectClipboard {
  AspectRecord Aspect;
  bool Valid = false;
};

// The clipboards of the edit dialogs; they live as long as the window.
struct EditClipboards {
  PinClipboard Pin;
  AspectClipboard Aspect;
};

inline constexpr const char* kNothingToPaste = "Nothing to Paste";


// "Copy Pin" / "Paste Pin" / "Clear Pin" on CurrentPin. Paste returns false when the
// clipboard holds nothing, and then changes nothing.
void CopyPin(const ConfigModel& model, PinClipboard& clipboard);
bool PastePin(ConfigModel& model, const PinClipboard& clipboard);
void ClearCurrentPin(ConfigModel& model);

// "Copy Aspect" / "Paste Aspect" / "Clear Aspect" / "Cleanup Aspect" on CurrentAspect of
// CurrentPin.
void CopyAspect(const ConfigModel& model, AspectClipboard& clipboard);
bool PasteAspect(ConfigModel& model, const AspectClipboard& clipboard);
void ClearAspect(ConfigModel& model);
void CleanupAspect(ConfigModel& model);

// Last step the step dialog moves: 8 in the four-aspect layout, 2 otherwise.
int LastEditableStep(const PinRecord& pin);
// "Insert Step" / "Delete Step" at `step` of CurrentAspect of CurrentPin.
void InsertStep(ConfigModel& model, int step);
void DeleteStep(ConfigModel& model, int step);

}  // namespace brixo
