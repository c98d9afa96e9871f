#include "model/address_maps.h"

namespace brixo {

namespace {

// Pin 0 takes the first addresses of a kind, pin 1 the next ones, and so on.
template <typename CountOf>
int BuildMap(const PinArray& pins, std::array<uint8_t, kPinCount>& start, CountOf countOf) {
  int sum = 0;
  for (int p = 0; p < kPinCount; ++p) {
    start[p] = static_cast<uint8_t>(sum);
    sum += countOf(pins[p]);
  }
  return sum;
}

}  // namespace

void BuildDccMap(const PinArray& pins, AddressMaps& maps) {
  maps.DccAddressTotal =
      BuildMap(pins, maps.DccStart, [](const PinRecord& r) { return int(r.DccAddressCount); });
}

void BuildXDccMap(const PinArray& pins, AddressMaps& maps) {
  maps.XDccAddressTotal =
      BuildMap(pins, maps.XDccStart, [](const PinRecord& r) { return int(r.XDccAddressCount); });
}

void BuildSerialMap(const PinArray& pins, AddressMaps& maps) {
  maps.SerialAddressTotal =
      BuildMap(pins, maps.SerialStart, [](const PinRecord& r) { return int(r.SerialAddressCount); });
}

}  // namespace brixo
