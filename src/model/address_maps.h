#pragma once
// First-address offsets and totals of the serial, DCC and extended-DCC addresses, derived
// from the pins' address counts; never stored or transferred.
#include <array>
#include <cstdint>

#include "model/pin_model.h"

namespace brixo {

struct AddressMaps {
  std::array<uint8_t, kPinCount> DccStart{};
  std::array<uint8_t, kPinCount> XDccStart{};
  std::array<uint8_t, kPinCount> SerialStart{};
  int DccAddressTotal = 0;
  int XDccAddressTotal = 0;
  int SerialAddressTotal = 0;
};

void BuildDccMap(const PinArray& pins, AddressMaps& maps);
void BuildXDccMap(const PinArray& pins, AddressMaps& maps);
void BuildSerialMap(const PinArray& pins, AddressMaps& maps);

}  // namespace brixo
