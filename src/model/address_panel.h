#pragma once
// The address part of the pin editor: the three count boxes of the current pin, their
// commits, and the result labels, kept current as counts and inputs change.
#include <string>

#include "model/address_labels.h"
#include "model/address_maps.h"
#include "model/pin_model.h"

namespace brixo {

struct AddressPanelView {
  std::string TextPaspTamlon = "0";
  std::string TextPaspDCCn = "0";
  std::string TextPAspXDCCn = "0";
  std::string lblDCCAddress = "-";
  std::string lblXDCCAddress = "-";
  SerialAddressLabels Serial;
  AddressCountVisibility Counts;
};

class AddressPanel {
 public:
  AddressPanel(ConfigModel& model, AddressMaps& maps) : model_(model), maps_(maps) {}

  const AddressPanelView& View() const { return view_; }

  // Link and general-settings values; NumberingOffset and CurrentPin come from the model.
  void SetInputs(const AddressInputs& inputs) { inputs_ = inputs; }
  const AddressInputs& Inputs() const { return inputs_; }

  void BuildMaps();      // all three maps and totals
  void ShowCounts();     // the count boxes from the current pin
  void ShowDccAddress();
  void ShowXDccAddress();
  void ShowSerialAddress();
  void ShowAddresses();  // all three labels
  void ShowAddressCounts(bool details);

  // Count box typed (click / loss of focus): clamped, stored, its map rebuilt and its label
  // shown. Returns the box text.
  void EditCountText(AddressKind kind, const std::string& text);
  std::string CommitCount(AddressKind kind);
  std::string CommitCount(AddressKind kind, const std::string& text);
  // Spinner change: the value is stored as it is.
  void CountSpinnerChanged(AddressKind kind, int value);

 private:
  AddressInputs CurrentInputs() const;
  std::string& CountText(AddressKind kind);
  void StoreCount(AddressKind kind, int value);

  ConfigModel& model_;
  AddressMaps& maps_;
  AddressInputs inputs_;
  AddressPanelView view_;
};

}  // namespace brixo
