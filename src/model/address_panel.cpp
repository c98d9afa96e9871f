#include "model/address_panel.h"

#include <algorithm>

#include "model/numeric_text.h"

namespace brixo {

AddressInputs AddressPanel::CurrentInputs() const {
  AddressInputs in = inputs_;
  in.NumberingOffset = model_.NumberingOffset;
  in.CurrentPin = model_.CurrentPin;
  return in;
}

void AddressPanel::BuildMaps() {
  BuildDccMap(model_.PinTable, maps_);
  BuildXDccMap(model_.PinTable, maps_);
  BuildSerialMap(model_.PinTable, maps_);
}

void AddressPanel::ShowCounts() {
  const PinRecord& pin = model_.PinTable[std::min<int>(model_.CurrentPin, kPinCount - 1)];
  view_.TextPaspTamlon = NumberText(pin.SerialAddressCount);
  view_.TextPaspDCCn = NumberText(pin.DccAddressCount);
  view_.TextPAspXDCCn = NumberText(pin.XDccAddressCount);
}

void AddressPanel::ShowDccAddress() { view_.lblDCCAddress = brixo::ShowDccAddress(model_.PinTable, maps_, CurrentInputs()); }

void AddressPanel::ShowXDccAddress() {
  view_.lblXDCCAddress = brixo::ShowXDccAddress(model_.PinTable, maps_, CurrentInputs());
}

void AddressPanel::ShowSerialAddress() { view_.Serial = brixo::ShowSerialAddress(model_.PinTable, maps_, CurrentInputs()); }

void AddressPanel::ShowAddresses() {
  ShowDccAddress();
  ShowXDccAddress();
  ShowSerialAddress();
}

void AddressPanel::ShowAddressCounts(bool details) {
  view_.Counts = brixo::ShowAddressCounts(view_.TextPaspTamlon, view_.TextPaspDCCn, view_.TextPAspXDCCn, details);
}

std::string& AddressPanel::CountText(AddressKind kind) {
  switch (kind) {
    case AddressKind::Serial: return view_.TextPaspTamlon;
    case AddressKind::Dcc: return view_.TextPaspDCCn;
    default: return view_.TextPAspXDCCn;
  }
}

void AddressPanel::EditCountText(AddressKind kind, const std::string& text) { CountText(kind) = text; }

std::string AddressPanel::CommitCount(AddressKind kind, const std::string& text) {
  EditCountText(kind, text);
  return CommitCount(kind);
}

std::string AddressPanel::CommitCount(AddressKind kind) {
  if (!IsNumericText(CountText(kind))) {
    PinRecord& pin = model_.PinTable[std::min<int>(model_.CurrentPin, kPinCount - 1)];
    CountText(kind) = NumberText(AddressCountOf(pin, kind));
    return CountText(kind);
  }
  const int value = std::clamp(ParseLeadingNumber(CountText(kind)), 0, MaxAddressCount(kind));
  CountText(kind) = NumberText(value);
  StoreCount(kind, value);
  return CountText(kind);
}

void AddressPanel::CountSpinnerChanged(AddressKind kind, int value) {
  // The spinner's own limits keep it in range; the clamp only guards the stored byte.
  const int stored = std::clamp(value, 0, MaxAddressCount(kind));
  CountText(kind) = NumberText(stored);
  StoreCount(kind, stored);
}

void AddressPanel::StoreCount(AddressKind kind, int value) {
  PinRecord& pin = model_.PinTable[std::min<int>(model_.CurrentPin, kPinCount - 1)];
  AddressCountOf(pin, kind) = static_cast<uint8_t>(value);
  switch (kind) {
    case AddressKind::Serial:
      BuildSerialMap(model_.PinTable, maps_);
      ShowSerialAddress();
      break;
    case AddressKind::Dcc:
      BuildDccMap(model_.PinTable, maps_);
      ShowDccAddress();
      break;
    case AddressKind::XDcc:
      BuildXDccMap(model_.PinTable, maps_);
      ShowXDccAddress();
      break;
  }
}

}  // namespace brixo
