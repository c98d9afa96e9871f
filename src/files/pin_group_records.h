#pragma once
// What the data file and the definitions file share: how a pin group ("Pin", "Dev", "Cfg",
// "PAM", "Asp", "Ins") is written, and how its records act on a pin when read.
#include <string>

#include "files/record_writer.h"
#include "model/output_config.h"
#include "model/pin_model.h"

namespace brixo {

// The code "Ins" carries: Instruction + 16 x Fade.
int StepCodeOf(const StepRecord& step);

struct PinGroupLayout {
  int PinIndent = 0;     // "Pin"
  int RecordIndent = 2;  // "Dev", "Cfg", "PAM", "Asp"
  int StepIndent = 4;    // "Ins"
  bool WithDeviceRecord = true;
  bool SkipUndescribedAspects = false;
  // Leaves out an aspect only when it has neither a description nor a used step, so that
  // no programmed aspect is lost.
  bool SkipUnusedAspects = false;
  bool SkipEmptySteps = false;
};

// Writes one pin group. `pinField` is the number "Pin" carries (absolute or relative).
// For a servo, byte 2 of OutputConfig is reduced modulo 64 in the model as it is written.
void WritePinGroup(RecordWriter& writer, int pinField, PinRecord& pin, const PinGroupLayout& layout);

// "Pin": the pin's layout, initial aspect and description; one address of each kind;
// every aspect description emptied and every step cleared. Device and output
// configuration are left to the records that follow.
void ApplyPinHeader(PinRecord& pin, int aspectConfig, int initAspect, const std::string& description);

// Whether the pin holds anything a user set up: texts, device membership, an output
// configuration, a layout, an initial aspect or a programmed aspect. Address counts alone
// do not count, since every pin has some.
bool PinHoldsConfiguration(const PinRecord& pin);

// "Ins": a code 19..63 carries the fade flag in bit 4; any other code is the instruction
// as it is and leaves the fade flag alone.
void ApplyStepFields(StepRecord& step, int code, int par0, int par1, int par2, int par3);

}  // namespace brixo
