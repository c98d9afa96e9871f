#include "model/pin_operations.h"

namespace brixo {

void ClearPin(PinRecord& pin) {
  pin.Description.clear();
  pin.DeviceDescription.clear();
  pin.DevicePointer = 0;
  for (int i = 0; i < kOutputConfigSize - 1; ++i) pin.OutputConfig[i] = 0;
  pin.InitAspect = 0;
  pin.AspectConfig = 0;
  for (AspectRecord& aspect : pin.Aspects) {
    aspect.Description.clear();
    aspect.Steps.fill(StepRecord{});
  }
}

}  // namespace brixo
