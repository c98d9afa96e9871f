#include "model/address_labels.h"

namespace brixo {

namespace {

std::string FirstOutputText(int count, int firstOutput, int start) {
  if (count == 0) return "-";
  return std::to_string(firstOutput + start);
}

bool ValidCurrentPin(const AddressInputs& in) { return in.CurrentPin >= 0 && in.CurrentPin < kPinCount; }

}  // namespace

std::string ShowDccAddress(const PinArray& pins, const AddressMaps& maps, const AddressInputs& in) {
  if (!ValidCurrentPin(in)) return "-";
  return FirstOutputText(pins[in.CurrentPin].DccAddressCount, in.DccFirstOutput, maps.DccStart[in.CurrentPin]);
}

std::string ShowXDccAddress(const PinArray& pins, const AddressMaps& maps, const AddressInputs& in) {
  if (!ValidCurrentPin(in)) return "-";
  return FirstOutputText(pins[in.CurrentPin].XDccAddressCount, in.XDccFirstOutput, maps.XDccStart[in.CurrentPin]);
}

std::optional<int> SerialAddressNumber(const AddressInputs& in, int s) {
  const int no = in.NumberingOffset;
  if (in.CheckGenTamloaddr) return in.FlexAddress * 4 + s + no;
  if (in.CheckGenBrixoNative) {
    if (s < 128) return in.ModuleAddress * 128 + s + no;
    return std::nullopt;
  }
  if (s < 32) return in.ModuleAddress * 32 + s + no;
  return std::nullopt;
}

SerialAddressLabels ShowSerialAddress(const PinArray& pins, const AddressMaps& maps, const AddressInputs& in) {
  SerialAddressLabels labels;
  if (!ValidCurrentPin(in) || pins[in.CurrentPin].SerialAddressCount == 0) return labels;
  const int s = maps.SerialStart[in.CurrentPin];
  const int no = in.NumberingOffset;
  if (const std::optional<int> address = SerialAddressNumber(in, s)) labels.lblSerialAddress = std::to_string(*address);
  if (s < 128) {
    labels.lblPinAddress = std::to_string(in.ModuleAddress + no) + ".";
    if (in.CheckXaddress) labels.lblPinAddress += std::to_string(in.ExtendedAddress + no) + ".";
    labels.lblPinAddress += std::to_string(s + no);
  }
  return labels;
}

int MaxAddressCount(AddressKind kind) { return kind == AddressKind::XDcc ? 1 : 6; }

uint8_t& AddressCountOf(PinRecord& pin, AddressKind kind) {
  switch (kind) {
    case AddressKind::Serial: return pin.SerialAddressCount;
    case AddressKind::Dcc: return pin.DccAddressCount;
    default: return pin.XDccAddressCount;
  }
}

AddressCountVisibility ShowAddressCounts(const std::string& serialText, const std::string& dccText,
                                         const std::string& xdccText, bool details) {
  AddressCountVisibility v;
  v.TextPaspTamlon = serialText != "1" || details;
  v.TextPaspDCCn = dccText != "1" || details;
  v.TextPAspXDCCn = xdccText != "1" || details;
  v.LabelPASPAdrCnt = v.TextPaspTamlon || v.TextPaspDCCn || v.TextPAspXDCCn;
  return v;
}

}  // namespace brixo
