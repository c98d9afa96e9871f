#include "files/pin_group_records.h"

#include "model/controller_encoding.h"

namespace brixo {

namespace {

bool UsesSteps(const AspectRecord& aspect, int steps) {
  for (int s = 0; s < steps; ++s) {
    if (aspect.Steps[s].Instruction != 0) return true;
  }
  return false;
}

}  // namespace

int StepCodeOf(const StepRecord& step) {
  const int code = step.Instruction + 16 * step.Fade;
  // A fade flag on an instruction that has none cannot be carried in a seven-bit code.
  return code > 127 ? step.Instruction : code;
}

void WritePinGroup(RecordWriter& writer, int pinField, PinRecord& pin, const PinGroupLayout& layout) {
  writer.Record("Pin", layout.PinIndent)
      .Number(pinField)
      .Number(pin.AspectConfig)
      .Number(pin.InitAspect)
      .Text(pin.Description);
  if (layout.WithDeviceRecord) {
    writer.Record("Dev", layout.RecordIndent).Number(pin.DevicePointer).Text(pin.DeviceDescription);
  }
  if (pin.OutputConfig[0] == 1) pin.OutputConfig[2] %= 64;
  writer.Record("Cfg", layout.RecordIndent);
  for (int i = 0; i < OutputConfigBytesOf(pin.OutputConfig[0]); ++i) writer.Number(pin.OutputConfig[i]);
  writer.Record("PAM", layout.RecordIndent)
      .Number(pin.XDccAddressCount)
      .Number(pin.DccAddressCount)
      .Number(pin.SerialAddressCount);

  const int aspects = AspectCountOf(pin.AspectConfig);
  const int steps = StepCountOf(pin.AspectConfig);
  for (int a = 0; a < aspects; ++a) {
    const AspectRecord& aspect = pin.Aspects[a];
    if (layout.SkipUndescribedAspects && aspect.Description.empty()) continue;
    if (layout.SkipUnusedAspects && aspect.Description.empty() && !UsesSteps(aspect, steps)) continue;
    writer.Record("Asp", layout.RecordIndent).Number(a).Text(aspect.Description);
    for (int s = 0; s < steps; ++s) {
      const StepRecord& step = aspect.Steps[s];
      if (layout.SkipEmptySteps && step.Instruction == 0) continue;
      writer.Record("Ins", layout.StepIndent)
          .Number(s)
          .Number(StepCodeOf(step))
          .Number(step.Par0)
          .Number(step.Par1)
          .Number(step.Par2)
          .Number(step.Par3);
    }
  }
}

void ApplyPinHeader(PinRecord& pin, int aspectConfig, int initAspect, const std::string& description) {
  pin.AspectConfig = static_cast<uint8_t>(aspectConfig);
  pin.InitAspect = static_cast<uint8_t>(initAspect);
  pin.Description = description;
  pin.DccAddressCount = 1;
  pin.XDccAddressCount = 1;
  pin.SerialAddressCount = 1;
  for (AspectRecord& aspect : pin.Aspects) {
    aspect.Description.clear();
    aspect.Steps.fill(StepRecord{});
  }
}

bool PinHoldsConfiguration(const PinRecord& pin) {
  if (!pin.Description.empty() || !pin.DeviceDescription.empty() || pin.DevicePointer != 0) return true;
  if (pin.AspectConfig != 0 || pin.InitAspect != 0) return true;
  for (int i = 0; i < kOutputConfigSize - 1; ++i) {
    if (pin.OutputConfig[i] != 0) return true;
  }
  for (const AspectRecord& aspect : pin.Aspects) {
    if (!aspect.Description.empty() || UsesSteps(aspect, kStepCount)) return true;
  }
  return false;
}

void ApplyStepFields(StepRecord& step, int code, int par0, int par1, int par2, int par3) {
  if (code >= 19 && code <= 63) {
    step.Fade = (code >> 4) & 1;
    step.Instruction = static_cast<uint8_t>(code & ~16);
  } else {
    step.Instruction = static_cast<uint8_t>(code);
  }
  step.Par0 = static_cast<uint8_t>(par0);
  step.Par1 = static_cast<uint8_t>(par1);
  step.Par2 = static_cast<uint8_t>(par2);
  step.Par3 = static_cast<uint8_t>(par3);
}

}  // namespace brixo
