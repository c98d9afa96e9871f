#pragma once
// The "General" tab as a presentation model: the commit rules of its typed fields and
// spinners, the addressing check boxes that show and hide each other, the DCC output-range
// labels, the LED function boxes and the numbering base. No widgets: the window copies the
// record into its controls after each call and renders the visibility it is given.
#include <array>
#include <cstdint>
#include <string>

#include "link/user_prompt.h"
#include "model/address_maps.h"
#include "model/pin_model.h"
#include "transfer/general_field_text.h"
#include "transfer/general_settings_state.h"
#include "transfer/transfer_view.h"

namespace brixo {

struct TransferContext;

// What the tab's handlers work on.
struct GeneralTab {
  GeneralSettings& General;
  const ConfigModel& Model;
  const AddressMaps& Maps;
  TransferView& View;
  UserPrompt& Prompt;
};
GeneralTab GeneralTabOf(TransferContext& ctx);

// Spinner ranges as the numbering base shows them.
SpinRange TamloaddrRange(int numberingOffset);  // offset .. offset + 508
SpinRange GenXaddrRange(int numberingOffset);   // offset .. offset + 95

// Typed-field commits (on click and on losing focus). Each stores the value, rewrites the
// field and returns its corrected text.
std::string CommitTextGenTamloaddr(GeneralTab& tab, const std::string& typed);
std::string CommitTextGenXaddr(GeneralTab& tab, const std::string& typed);
std::string CommitTextGenDCCAddress(GeneralTab& tab, const std::string& typed);
std::string CommitTextGenXDCCAddress(GeneralTab& tab, const std::string& typed);

// An address the controller reported (64 x high + low), kept as it stands: the typed
// lower bound is not the controller's. Only a value no write can send back as the same two
// bytes is changed (brought within 0 .. 510 or 0 .. 2046); the result is then false.
bool StoreReadDccAddress(GeneralTab& tab, int low, int high);
bool StoreReadXDccAddress(GeneralTab& tab, int low, int high);

// Spinner steps; they return the field's new text.
std::string UpDownGenTamloaddr(GeneralTab& tab, bool up);
std::string UpDownGenXaddr(GeneralTab& tab, bool up);
std::string UpDownGenDCCAddress(GeneralTab& tab, bool up);
std::string UpDownGenXDCCAddress(GeneralTab& tab, bool up);

// "Allow Address 0": the lower bound of both DCC fields moves, so both are committed again.
void SetChkGenDCCAllow0(GeneralTab& tab, bool checked);

// The output range served by the DCC addresses, into LabelGenDCCOutput / LabelGenXDCCOutput
// (red for the overflow texts), with DccFirstOutput / XDccFirstOutput.
void ShowDccOutputRange(GeneralSettings& g, int numberingOffset, int dccAddressTotal);
void ShowXDccOutputRange(GeneralSettings& g, int numberingOffset, int xdccAddressTotal);

// Addressing check boxes: F "Enforced eXtended Address", N "Native Brixo Mode",
// T "Tamlo Flex-Addresss".
void SetCheckGenForceXA(GeneralTab& tab, bool checked);
void SetCheckGenBrixoNative(GeneralTab& tab, bool checked);
// Checking T asks for confirmation unless QuietAddressUpdate is set; anything but OK
// leaves it clear.
void SetCheckGenTamloaddr(GeneralTab& tab, bool checked);

// Which addressing controls are shown. Always derived from all three boxes, so no order
// of changes can leave a control visible that its boxes hide.
struct AddressingVisibility {
  bool CheckGenBrixoNative = true;
  bool CheckGenTamloaddr = true;
  bool TamloStart = false;      // TextGenTamloaddr, UpDownGenTamloaddr, LabelGenXA(4)
  bool ModuleXAddress = true;   // TextGenXaddr, UpDownGenXaddr, LabelGenXA(1)
  bool LabelGenXA2 = true;      // "eXt Group Mask"
  bool LabelGenXGMlbl = true;
  std::array<bool, 16> CheckGenXGM{};
};
AddressingVisibility GeneralAddressingVisibility(const GeneralSettings& g);

// LED function boxes: box 7 is in state 2 exactly when none of boxes 0..6 is set.
void ClickCheckLCGreen(GeneralSettings& g, int box, uint8_t newValue);
void ClickCheckLCOrange(GeneralSettings& g, int box, uint8_t newValue);

// Driver type of an output group; the output parameter view depends on it.
void SetChkGenHWCSink(GeneralTab& tab, int group, bool checked);
void SetChkGenHWCSource(GeneralTab& tab, int group, bool checked);

std::string LabelGenHWCPinCaption(int numberingOffset);

// "Start numbering at 1" changed: the tab's own texts follow, the stored values stay.
void ApplyNumberingOffsetToGeneral(GeneralSettings& g, int numberingOffset, const AddressMaps& maps);

}  // namespace brixo
