#pragma once
// The in-memory image of the per-pin configuration: 32 pins, 12 aspects of 9 steps each.
// Texts hold one byte per character (the single-byte code page of the data files).
#include <array>
#include <cstdint>
#include <string>

namespace brixo {

constexpr int kPinCount = 32;
constexpr int kAspectCount = 12;
constexpr int kStepCount = 9;
constexpr int kOutputConfigSize = 13;

struct StepRecord {
  uint8_t Instruction = 0;
  uint8_t Fade = 0;
  uint8_t Par0 = 0;
  uint8_t Par1 = 0;
  uint8_t Par2 = 0;
  uint8_t Par3 = 0;
  bool operator==(const StepRecord&) const = default;
};

struct AspectRecord {
  std::string Description;
  std::array<StepRecord, kStepCount> Steps{};
  bool operator==(const AspectRecord&) const = default;
};

struct PinRecord {
  std::string Description;
  std::string DeviceDescription;
  int16_t DevicePointer = 0;  // head = pin + DevicePointer; 0 = this pin is a head
  std::array<uint8_t, kOutputConfigSize> OutputConfig{};  // byte 0 = OutputType
  uint8_t OutputLevel = 0;
  uint8_t InitAspect = 0;  // initial aspect + 1; 0 = none
  uint8_t DccAddressCount = 0;
  uint8_t XDccAddressCount = 0;
  uint8_t SerialAddressCount = 0;
  uint8_t AspectConfig = 0;  // 0 none, 3 = four aspects of 9 steps, 2 = twelve aspects of 3 steps
  std::array<AspectRecord, kAspectCount> Aspects{};
  bool operator==(const PinRecord&) const = default;
};

using PinArray = std::array<PinRecord, kPinCount>;

struct ConfigModel {
  PinArray PinTable{};
  uint8_t NumberingOffset = 1;  // "Start numbering at 1"
  uint8_t CurrentPin = 0;
  uint8_t CurrentAspect = 0;
};

}  // namespace brixo
