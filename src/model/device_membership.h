#pragma once
// Multi-pin devices: a head pin (DevicePointer 0) and the members that point to it.
#include <string>
#include <vector>

#include "model/pin_model.h"

namespace brixo {

// The pin that p refers to: p + DevicePointer(p). May lie outside 0..31 when the pointer
// came from a damaged file.
int ReferredPinOf(const PinArray& pins, int p);
bool IsValidPin(int p);
// True when p is itself a head (its DevicePointer is 0).
bool IsDeviceHead(const PinArray& pins, int p);
// True when the pin p refers to exists and is a head; false means a broken reference
// ("Referral is not a device").
bool RefersToDevice(const PinArray& pins, int p);
// All pins q with q + DevicePointer(q) = head, in ascending order (the head included).
std::vector<int> DeviceMembers(const PinArray& pins, int head);

inline constexpr const char* kReferralIsNoDevice = "<Referral is no Device !>";

// The device name the editor shows for pin p: its own on a head, its head's on a member,
// kReferralIsNoDevice when the pin it refers to is no head.
std::string ShownDeviceDescription(const PinArray& pins, int p);

// Releases the device headed by `pin`: it and its members become heads of their own with
// no device name. Does nothing when `pin` is not a head.
void DissolveDevice(PinArray& pins, int pin);

}  // namespace brixo
