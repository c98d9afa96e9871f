#pragma once
// The byte forms in which the controller stores steps, the initial aspect and the
// address configuration; shared by the pin transfers, verification and the files.
#include <array>
#include <cstdint>

#include "model/pin_model.h"

namespace brixo {

struct EncodedStep {
  uint8_t Code = 0;
  uint8_t D0 = 0;
  uint8_t D1 = 0;
  uint8_t D2 = 0;
  uint8_t D3 = 0;
  bool operator==(const EncodedStep&) const = default;
};

EncodedStep EncodeStep(const StepRecord& step);
StepRecord DecodeStep(const EncodedStep& encoded);

// Splits a stored code (controller reply or data file) into Instruction and Fade.
// Controller replies: fade only for 18 < code < 64 with bit 4 set.
void SplitStepCode(int code, StepRecord& step);

uint8_t EncodeInitAspect(uint8_t initAspect);  // 0x70 + (InitAspect - 1), or 0x7F
uint8_t DecodeInitAspect(int initByte);        // InitAspect (0 = none)

// Address configuration bytes in the order the tool writes them: DCC, serial, device.
std::array<uint8_t, 3> EncodeAddressConfig(const PinRecord& pin);
// Applies one tagged address byte read for pin p; false for a byte with no known tag.
bool DecodeAddressByte(int value, int pin, PinRecord& record);

// Aspects and steps a layout code uses: 3 -> 4 x 9, 2 -> 12 x 3, anything else none.
int AspectCountOf(uint8_t aspectConfig);
int StepCountOf(uint8_t aspectConfig);

}  // namespace brixo
