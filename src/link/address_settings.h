#pragma once
// The module address, the extended address and the extended-addressing switch, as the
// address fields, their spinners and labels see them. Values are held internally from 0;
// the fields show them plus the numbering offset (0, or 1 with "Start numbering at 1").
#include <functional>
#include <string>

#include "link/brixo_link.h"

namespace brixo {

struct SpinnerLimits {
  int Min = 0;
  int Max = 0;
};

class AddressSettings {
 public:
  explicit AddressSettings(BrixoLink& link) : link_(link) {}

  // Runs after every change of either address or of the extended-addressing switch, so
  // that the address maps are shown again.
  std::function<void()> onAddressChanged;

  // Raised while tunnelling through a host that takes module addresses up to 31.
  bool WideModuleRange = false;

  SpinnerLimits UpDownAddressLimits(int numberingOffset) const;
  SpinnerLimits UpDownXaddrLimits(int numberingOffset) const;

  // TextAddress click or loss of focus: clamps, stores ModuleAddress, resynchronises.
  // Returns the text the field shows afterwards.
  std::string CommitModuleAddressText(const std::string& text, int numberingOffset);
  // UpDownAddress change (the spinner keeps its value within its limits).
  void SetModuleAddressFromSpinner(int value, int numberingOffset);
  // txtXaddr click or loss of focus; the line is not resynchronised.
  std::string CommitExtendedAddressText(const std::string& text, int numberingOffset);
  void SetExtendedAddressFromSpinner(int value, int numberingOffset);

  // CheckXaddress click with the box's new state; turning it on asks for confirmation.
  // Returns the box's state afterwards.
  bool SetExtendedAddressing(bool checked);
  // The switch as an earlier run left it, where its warning was answered: not asked again.
  void RestoreExtendedAddressing(bool checked);

  // Field texts for the stored values.
  std::string ModuleAddressText(int numberingOffset) const;
  std::string ExtendedAddressText(int numberingOffset) const;
  // LabelAddress caption: "Module Address", or "Channel Number" with extended addressing.
  std::string LabelAddressCaption() const;
  // LabelXaddress, txtXaddr and UpDownXaddr are shown only with extended addressing.
  bool ExtendedAddressVisible() const { return link_.CheckXaddress; }

 private:
  void AddressChanged();

  BrixoLink& link_;
};

}  // namespace brixo
