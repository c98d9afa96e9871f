#pragma once
// The first address of each kind of the current pin, as the pin editor shows it, and the
// address-count boxes with their visibility.
#include <optional>
#include <string>

#include "model/address_maps.h"
#include "model/pin_model.h"

namespace brixo {

// Values from the link and the general settings that the address labels depend on.
struct AddressInputs {
  int ModuleAddress = 0;
  int ExtendedAddress = 0;
  bool CheckXaddress = false;        // "Use eXtended Addr"
  int FlexAddress = 0;
  bool CheckGenTamloaddr = false;    // "Tamlo Flex-Addresss"
  bool CheckGenBrixoNative = false;  // "Native Brixo Mode"
  int DccFirstOutput = 1;
  int XDccFirstOutput = 1;
  int NumberingOffset = 1;
  int CurrentPin = 0;
};

struct SerialAddressLabels {
  std::string lblSerialAddress = "-";
  std::string lblPinAddress = "-";
};

// The serial address that the pins' serial address number `start` (counted over all pins
// from 0) answers to; none where the editor shows "-" (beyond the module's addresses).
std::optional<int> SerialAddressNumber(const AddressInputs& in, int start);

std::string ShowDccAddress(const PinArray& pins, const AddressMaps& maps, const AddressInputs& in);
std::string ShowXDccAddress(const PinArray& pins, const AddressMaps& maps, const AddressInputs& in);
SerialAddressLabels ShowSerialAddress(const PinArray& pins, const AddressMaps& maps, const AddressInputs& in);

enum class AddressKind { Serial, Dcc, XDcc };

// Highest count a pin may have: 6 serial or basic DCC addresses, 1 extended DCC address.
int MaxAddressCount(AddressKind kind);
uint8_t& AddressCountOf(PinRecord& pin, AddressKind kind);

struct AddressCountVisibility {
  bool TextPaspTamlon = false;  // each box together with its spinner
  bool TextPaspDCCn = false;
  bool TextPAspXDCCn = false;
  bool LabelPASPAdrCnt = false;
};

// A box is shown unless it reads "1" (the usual single address), or always with details.
AddressCountVisibility ShowAddressCounts(const std::string& serialText, const std::string& dccText,
                                         const std::string& xdccText, bool details);

}  // namespace brixo
