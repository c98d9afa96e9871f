#include "model/controller_encoding.h"

namespace brixo {

namespace {

// "SendSerial 1" and "SendSerial 2" carry full bytes, but the controller's data bytes hold
// only seven bits, so their top bits travel together in D0.
bool CarriesFullBytes(int instruction) { return instruction == 4 || instruction == 5; }

}  // namespace

EncodedStep EncodeStep(const StepRecord& step) {
  EncodedStep e;
  e.Code = static_cast<uint8_t>(step.Instruction + (step.Fade != 0 ? 16 : 0));
  if (CarriesFullBytes(step.Instruction)) {
    e.D0 = static_cast<uint8_t>(2 * (step.Par2 / 128) + step.Par1 / 128);
    e.D1 = step.Par1 % 128;
    e.D2 = step.Par2 % 128;
  } else {
    e.D0 = step.Par0;
    e.D1 = step.Par1;
    e.D2 = step.Par2;
  }
  e.D3 = step.Par3;
  return e;
}

void SplitStepCode(int code, StepRecord& step) {
  // Opcodes 16..18 and everything from 64 up have bit 4 as part of the opcode itself.
  if ((code & 16) != 0 && code > 18 && code < 64) {
    step.Instruction = static_cast<uint8_t>(code - 16);
    step.Fade = 1;
  } else {
    step.Instruction = static_cast<uint8_t>(code);
    step.Fade = 0;
  }
}

StepRecord DecodeStep(const EncodedStep& encoded) {
  StepRecord step;
  SplitStepCode(encoded.Code, step);
  if (CarriesFullBytes(step.Instruction)) {
    step.Par0 = 0;
    step.Par1 = static_cast<uint8_t>(128 * (encoded.D0 & 1) + (encoded.D1 & 127));
    step.Par2 = static_cast<uint8_t>(128 * ((encoded.D0 >> 1) & 1) + (encoded.D2 & 127));
  } else {
    step.Par0 = encoded.D0;
    step.Par1 = encoded.D1;
    step.Par2 = encoded.D2;
  }
  step.Par3 = encoded.D3;
  return step;
}

uint8_t EncodeInitAspect(uint8_t initAspect) {
  if (initAspect == 0) return 0x7F;
  return static_cast<uint8_t>(0x70 + ((initAspect - 1) & 0x0F));
}

uint8_t DecodeInitAspect(int initByte) {
  if ((initByte >> 4) != 7 || (initByte & 0x0F) == 0x0F) return 0;
  return static_cast<uint8_t>((initByte & 0x0F) + 1);
}

std::array<uint8_t, 3> EncodeAddressConfig(const PinRecord& pin) {
  // Masked so that an out-of-range count can never change a byte's tag.
  return {static_cast<uint8_t>((pin.XDccAddressCount & 1) * 8 + (pin.DccAddressCount & 7)),
          static_cast<uint8_t>(16 + (pin.SerialAddressCount & 7)),
          static_cast<uint8_t>(0x40 + (pin.DevicePointer & 31))};
}

bool DecodeAddressByte(int value, int pin, PinRecord& record) {
  if (value >= 0 && value <= 15) {
    record.DccAddressCount = static_cast<uint8_t>(value & 7);
    record.XDccAddressCount = static_cast<uint8_t>((value >> 3) & 1);
    return true;
  }
  if (value >= 16 && value <= 31) {
    record.SerialAddressCount = static_cast<uint8_t>(value & 7);
    return true;
  }
  if (value >= 64 && value <= 95) {
    const int head = (pin + (value & 31)) % kPinCount;
    record.DevicePointer = static_cast<int16_t>(head - pin);
    return true;
  }
  return false;
}

int AspectCountOf(uint8_t aspectConfig) {
  switch (aspectConfig) {
    case 3: return 4;
    case 2: return 12;
    default: return 0;
  }
}

int StepCountOf(uint8_t aspectConfig) {
  switch (aspectConfig) {
    case 3: return 9;
    case 2: return 3;
    default: return 0;
  }
}

}  // namespace brixo
