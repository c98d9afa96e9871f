// Live commands (0, x, ...): aspects, PWM levels and servo positions of the running
// controller. They change what the outputs show, never the stored configuration.
#include <algorithm>

#include "sim/sim_controller.h"

namespace brixo {

namespace {
constexpr int kSetAspect = 0;
constexpr int kSetAspectBySerialAddress = 1;
constexpr int kSetLevel = 38;
constexpr int kSetServo = 39;
constexpr int kFadeFlag = 16;
constexpr uint8_t kServoInitialisedBit = 0x40;

int SerialAddressCount(const PinMemory& pin) {
  for (uint8_t b : pin.AddressBytes) {
    if ((b & 0xF0) == 0x10) return b & 7;
  }
  return 0;
}

// Serial addresses are handed out in pin order; returns the pin holding the address.
int PinOfSerialAddress(const ControllerMemory& memory, int address) {
  int start = 0;
  for (int pin = 0; pin < kSimPinCount; ++pin) {
    const int count = SerialAddressCount(memory.Pins[pin]);
    if (address >= start && address < start + count) return pin;
    start += count;
  }
  return -1;
}
}  // namespace

std::vector<int> SimController::LiveCommand(const std::vector<int>& payload) {
  std::vector<int> echo(payload.begin(), payload.begin() + std::min<size_t>(2, payload.size()));
  if (payload.size() != 4) return echo;
  const int code = payload[1];
  const int target = payload[2];
  const int value = payload[3];
  const bool validPin = target >= 0 && target < kSimPinCount;
  if (code == kSetAspect && validPin) {
    outputs_.Aspect[target] = value;
  } else if (code == kSetAspectBySerialAddress) {
    const int pin = PinOfSerialAddress(memory_, target);
    if (pin >= 0) outputs_.Aspect[pin] = value;
  } else if ((code == kSetLevel || code == kSetLevel + kFadeFlag) && validPin) {
    memory_.Pins[target].OutputLevel = static_cast<uint8_t>(value);
  } else if ((code == kSetServo || code == kSetServo + kFadeFlag) && validPin) {
    PinMemory& pin = memory_.Pins[target];
    pin.OutputLevel = static_cast<uint8_t>(value);
    if (pin.ActiveOutputConfig[0] == 1) pin.ActiveOutputConfig[2] |= kServoInitialisedBit;
  }
  return echo;
}

}  // namespace brixo
