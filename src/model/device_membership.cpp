#include "model/device_membership.h"

namespace brixo {

bool IsValidPin(int p) { return p >= 0 && p < kPinCount; }

int ReferredPinOf(const PinArray& pins, int p) { return p + pins[p].DevicePointer; }

bool IsDeviceHead(const PinArray& pins, int p) { return pins[p].DevicePointer == 0; }

bool RefersToDevice(const PinArray& pins, int p) {
  const int head = ReferredPinOf(pins, p);
  return IsValidPin(head) && IsDeviceHead(pins, head);
}

std::vector<int> DeviceMembers(const PinArray& pins, int head) {
  std::vector<int> members;
  for (int q = 0; q < kPinCount; ++q) {
    if (ReferredPinOf(pins, q) == head) members.push_back(q);
  }
  return members;
}

std::string ShownDeviceDescription(const PinArray& pins, int p) {
  if (IsDeviceHead(pins, p)) return pins[p].DeviceDescription;
  if (RefersToDevice(pins, p)) return pins[ReferredPinOf(pins, p)].DeviceDescription;
  return kReferralIsNoDevice;
}

void DissolveDevice(PinArray& pins, int pin) {
  if (!IsValidPin(pin) || !IsDeviceHead(pins, pin)) return;
  for (int member : DeviceMembers(pins, pin)) {
    pins[member].DevicePointer = 0;
    pins[member].DeviceDescription.clear();
  }
}

}  // namespace brixo
