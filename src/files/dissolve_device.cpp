#include "files/device_library.h"

namespace brixo {

void DissolveDevice(PinArray& pins, int pin) {
  if (pin < 0 || pin >= kPinCount || pins[pin].DevicePointer != 0) return;
  for (int i = 0; i < kPinCount; ++i) {
    if (i + pins[i].DevicePointer == pin) {
      pins[i].DevicePointer = 0;
      pins[i].DeviceDescription.clear();
    }
  }
}

}  // namespace brixo
