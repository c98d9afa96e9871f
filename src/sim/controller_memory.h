#pragma once
// The simulated controller's own configuration memory, byte for byte as the controller
// keeps it: raw bytes per general-settings sub-command and per pin, never the tool's
// decoded view of them.
#include <array>
#include <cstdint>
#include <string>

namespace brixo {

constexpr int kSimPinCount = 32;
constexpr int kSimAspectCount = 12;
constexpr int kSimStepCount = 9;
constexpr int kSimOutputConfigSize = 13;
constexpr int kIdStringMax = 12;

// One stored step: Code, D0, D1, D2, D3.
using StepBytes = std::array<uint8_t, 5>;

struct PinMemory {
  uint8_t AspectConfig = 0;
  std::array<std::array<StepBytes, kSimStepCount>, kSimAspectCount> Steps{};
  uint8_t InitByte = 0x7F;  // no initial aspect
  // DCC byte (0x00..0x0F), serial byte (0x10..0x1F), device byte (0x40..0x5F), as written.
  std::array<uint8_t, 3> AddressBytes{0x01, 0x11, 0x40};
  // Flash copy (answered by "read") and the copy the outputs run on (answered by "get").
  std::array<uint8_t, kSimOutputConfigSize> StoredOutputConfig{};
  std::array<uint8_t, kSimOutputConfigSize> ActiveOutputConfig{};
  uint8_t OutputLevel = 0;  // current PWM level or servo position + 64
  // Action bytes per event input as transferred: 16 * input + action, low nibble 15 = none.
  std::array<uint8_t, 4> OnActions{0x0F, 0x1F, 0x2F, 0x3F};
  std::array<uint8_t, 4> OffActions{0x0F, 0x1F, 0x2F, 0x3F};
};

struct ControllerMemory {
  std::array<uint8_t, 4> Version{3, 2, 1, 0};
  std::array<uint8_t, 4> HardwareConfig{0, 0, 0, 0};
  uint8_t ModuleXAddress = 0;  // 0..95, 127 = enforced extended addressing
  std::array<uint8_t, 4> GroupMask{0, 0, 0, 0};
  uint8_t DccLow = 1;
  uint8_t DccHigh = 0;
  uint8_t DccOptions = 0;
  uint8_t GreenLed = 0;
  uint8_t OrangeLed = 0;
  uint8_t SerialFlexFlag = 0;
  uint8_t SerialAddressByte = 0;
  std::string IdString;  // at most 12 characters, one byte each
  uint8_t EnableOnMask = 0;
  uint8_t EnableOffMask = 0;
  uint8_t XDccLow = 1;
  uint8_t XDccHigh = 0;
  uint8_t SerialEnable = 0;
  uint8_t SerialFormat = 2 + 8;  // 19200 baud, 8 data bits, no parity, 1 stop bit
  std::array<PinMemory, kSimPinCount> Pins{};
};

// The memory as a controller leaves the factory, and after an erase.
ControllerMemory FactoryMemory();

// Configuration bytes a controller reports for an output type (old firmware reports one
// PWM byte less).
int OutputConfigLength(int outputType, bool shortPwm);

}  // namespace brixo
