#include "link/address_settings.h"

#include <algorithm>
#include <cmath>

#include "link/numeric_text.h"

namespace brixo {

namespace {

constexpr int kDirectModuleMax = 15;
constexpr int kTunnelModuleMax = 31;
constexpr int kExtendedMax = 95;

// The whole number a clamped field value stands for.
int Clamped(double value, int low, int high) {
  return static_cast<int>(std::lround(std::clamp(value, double(low), double(high))));
}

}  // namespace

void AddressSettings::AddressChanged() {
  if (onAddressChanged) onAddressChanged();
}

SpinnerLimits AddressSettings::UpDownAddressLimits(int numberingOffset) const {
  return {numberingOffset, numberingOffset + (WideModuleRange ? kTunnelModuleMax : kDirectModuleMax)};
}

SpinnerLimits AddressSettings::UpDownXaddrLimits(int numberingOffset) const {
  return {numberingOffset, numberingOffset + kExtendedMax};
}

std::string AddressSettings::CommitModuleAddressText(const std::string& text, int numberingOffset) {
  if (!IsNumericText(text)) return ModuleAddressText(numberingOffset);
  // The typed limit follows the tunnelling box itself, not the host's answer.
  const int top = numberingOffset + (link_.CheckQuendal ? kTunnelModuleMax : kDirectModuleMax);
  SetModuleAddressFromSpinner(Clamped(NumericValue(text), numberingOffset, top), numberingOffset);
  return ModuleAddressText(numberingOffset);
}

void AddressSettings::SetModuleAddressFromSpinner(int value, int numberingOffset) {
  link_.ModuleAddress = static_cast<uint8_t>(std::clamp(value - numberingOffset, 0, kTunnelModuleMax));
  link_.ToggleState = 128;
  AddressChanged();
}

std::string AddressSettings::CommitExtendedAddressText(const std::string& text, int numberingOffset) {
  if (!IsNumericText(text)) return ExtendedAddressText(numberingOffset);
  SetExtendedAddressFromSpinner(Clamped(NumericValue(text), numberingOffset, numberingOffset + kExtendedMax),
                                numberingOffset);
  return ExtendedAddressText(numberingOffset);
}

void AddressSettings::SetExtendedAddressFromSpinner(int value, int numberingOffset) {
  link_.ExtendedAddress = static_cast<uint8_t>(std::clamp(value - numberingOffset, 0, kExtendedMax));
  AddressChanged();
}

bool AddressSettings::SetExtendedAddressing(bool checked) {
  if (checked) {
    const MessageAnswer answer = link_.Prompt().ShowMessage(
        "eXtended Addressing is intended for\nexperienced users only!", MessageIcon::Warning,
        MessageButtons::OkCancel);
    if (answer != MessageAnswer::Ok) checked = false;
  }
  link_.CheckXaddress = checked;
  AddressChanged();
  return checked;
}

void AddressSettings::RestoreExtendedAddressing(bool checked) {
  if (link_.CheckXaddress == checked) return;
  link_.CheckXaddress = checked;
  AddressChanged();
}

std::string AddressSettings::ModuleAddressText(int numberingOffset) const {
  return std::to_string(link_.ModuleAddress + numberingOffset);
}

std::string AddressSettings::ExtendedAddressText(int numberingOffset) const {
  return std::to_string(link_.ExtendedAddress + numberingOffset);
}

std::string AddressSettings::LabelAddressCaption() const {
  return link_.CheckXaddress ? "Channel Number" : "Module Address";
}

}  // namespace brixo
