#pragma once
// The pin part of the "Brixo Device Configuration" tab: the aspect editor, the address
// boxes and the output-parameter tabs of the current pin, and the actions that span them.
#include "link/brixo_link.h"
#include "link/user_prompt.h"
#include "model/address_panel.h"
#include "model/output_config_editor.h"
#include "model/pin_editor.h"

namespace brixo {

class PinPage {
 public:
  PinPage(ConfigModel& model, AddressMaps& maps, UserPrompt& prompt,
          const InstructionTable& table = StandardInstructionTable());

  PinEditor& Editor() { return editor_; }
  AddressPanel& Addresses() { return addresses_; }
  OutputConfigEditor& Output() { return output_; }

  // The pin and aspect with their address counts.
  void ShowPin();
  // "Show Details" changed: the detail controls and the address-count boxes.
  void ShowDetails(bool details);
  void ShowAddressCounts();
  // Everything shown for the pin, after a transfer, a file load or a dialog.
  void RefreshViews();

  // TextPAspOutput committed: selects the pin and shows all of it. Returns the box text.
  std::string SelectPin(const std::string& text);
  // UpDownPAspOutput moved: pending edits of the old pin are committed first.
  void PinSpinnerMoved(int value);

  // Validates the output-parameter page shown and the visible step rows.
  void CommitOutputEdits();

  // "Get Pin Config" (0) / "Read Pin Config" (1).
  bool GetPinConfig(BrixoLink& link, int index);
  // "Set Pin Config" (0) / "Write Pin Config" (1).
  void SetPinConfig(BrixoLink& link, int index);

 private:
  void ShowSelectedPin();

  ConfigModel& model_;
  PinEditor editor_;
  AddressPanel addresses_;
  OutputConfigEditor output_;
};

}  // namespace brixo
