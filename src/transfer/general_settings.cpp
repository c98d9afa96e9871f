#include "transfer/general_settings.h"

#include <cmath>

#include "link/numeric_text.h"
#include "transfer/general_settings_encoding.h"
#include "transfer/transfer_context.h"

namespace brixo {

namespace {

constexpr int kTamloSpan = 508;
constexpr int kFlexAddressMax = 127;
constexpr int kModuleXSpan = 95;

const char* const kFlexWarning =
    "Tamlo Flexible Addressing is a complex concept !!\n"
    "It should only be activated by experienced users\n"
    "that understand the details very well !";

int Offset(const GeneralTab& tab) { return tab.Model.NumberingOffset; }

void ShowTamloaddr(GeneralSettings& g, int offset) {
  g.TextGenTamloaddr = std::to_string(g.FlexAddress * 4 + offset);
}

void ShowGenXaddr(GeneralSettings& g, int offset) {
  g.TextGenXaddr = std::to_string(g.ModuleXAddress + offset);
}

void StoreDccAddress(GeneralTab& tab, int value) {
  tab.General.TextGenDCCAddress = std::to_string(value);
  ShowDccOutputRange(tab.General, Offset(tab), tab.Maps.DccAddressTotal);
  tab.View.ShowDccAddress();
}

void StoreXDccAddress(GeneralTab& tab, int value) {
  tab.General.TextGenXDCCAddress = std::to_string(value);
  ShowXDccOutputRange(tab.General, Offset(tab), tab.Maps.XDccAddressTotal);
  tab.View.ShowXDccAddress();
}

void ClickLedBox(std::array<uint8_t, 8>& boxes, int box, uint8_t newValue) {
  if (box < 0 || box > 7) return;
  boxes[box] = newValue;
  if (box == 7 && newValue == 1) {
    for (int k = 0; k < 7; ++k) boxes[k] = 0;
    boxes[7] = 2;
    return;
  }
  bool any = false;
  for (int k = 0; k < 7; ++k) any = any || boxes[k] == 1;
  boxes[7] = any ? 0 : 2;
}

}  // namespace

GeneralTab GeneralTabOf(TransferContext& ctx) {
  return GeneralTab{ctx.General, ctx.Model, ctx.Maps, ctx.View, ctx.Prompt()};
}

SpinRange TamloaddrRange(int numberingOffset) {
  return {numberingOffset, numberingOffset + kTamloSpan};
}

SpinRange GenXaddrRange(int numberingOffset) {
  return {numberingOffset, numberingOffset + kModuleXSpan};
}

std::string CommitTextGenTamloaddr(GeneralTab& tab, const std::string& typed) {
  if (!IsNumericText(typed)) return tab.General.TextGenTamloaddr;
  const int offset = Offset(tab);
  const SpinRange range = TamloaddrRange(offset);
  double v = FieldNumber(typed);
  if (v < range.Min) v = range.Min;
  if (v > range.Max) v = range.Max;
  tab.General.FlexAddress = static_cast<uint8_t>(std::floor((v - offset) / 4.0));
  ShowTamloaddr(tab.General, offset);
  tab.View.ShowSerialAddress();
  return tab.General.TextGenTamloaddr;
}

std::string UpDownGenTamloaddr(GeneralTab& tab, bool up) {
  GeneralSettings& g = tab.General;
  if (up && g.FlexAddress < kFlexAddressMax) ++g.FlexAddress;
  if (!up && g.FlexAddress > 0) --g.FlexAddress;
  ShowTamloaddr(g, Offset(tab));
  tab.View.ShowSerialAddress();
  return g.TextGenTamloaddr;
}

std::string CommitTextGenXaddr(GeneralTab& tab, const std::string& typed) {
  if (!IsNumericText(typed)) return tab.General.TextGenXaddr;
  const int offset = Offset(tab);
  tab.General.ModuleXAddress = static_cast<uint8_t>(ClampedFieldValue(typed, GenXaddrRange(offset)) - offset);
  ShowGenXaddr(tab.General, offset);
  return tab.General.TextGenXaddr;
}

std::string UpDownGenXaddr(GeneralTab& tab, bool up) {
  GeneralSettings& g = tab.General;
  const int value = ClampToRange(g.ModuleXAddress + (up ? 1 : -1), {0, kModuleXSpan});
  g.ModuleXAddress = static_cast<uint8_t>(value);
  ShowGenXaddr(g, Offset(tab));
  return g.TextGenXaddr;
}

std::string CommitTextGenDCCAddress(GeneralTab& tab, const std::string& typed) {
  if (!IsNumericText(typed)) return tab.General.TextGenDCCAddress;
  StoreDccAddress(tab, ClampedFieldValue(typed, DccAddressRange(tab.General)));
  return tab.General.TextGenDCCAddress;
}

std::string UpDownGenDCCAddress(GeneralTab& tab, bool up) {
  const SpinRange range = DccAddressRange(tab.General);
  StoreDccAddress(tab, ClampToRange(DccAddressValue(tab.General) + (up ? 1 : -1), range));
  return tab.General.TextGenDCCAddress;
}

std::string CommitTextGenXDCCAddress(GeneralTab& tab, const std::string& typed) {
  if (!IsNumericText(typed)) return tab.General.TextGenXDCCAddress;
  StoreXDccAddress(tab, ClampedFieldValue(typed, XDccAddressRange(tab.General)));
  return tab.General.TextGenXDCCAddress;
}

bool StoreReadDccAddress(GeneralTab& tab, int low, int high) {
  const int kept = ClampToRange(DecodeDccAddress(low, high), {0, kDccAddressMax});
  StoreDccAddress(tab, kept);
  return EncodeDccAddress(kept) == std::array<int, 2>{low, high};
}

bool StoreReadXDccAddress(GeneralTab& tab, int low, int high) {
  const int kept = ClampToRange(DecodeDccAddress(low, high), {0, kXDccAddressMax});
  StoreXDccAddress(tab, kept);
  return EncodeDccAddress(kept) == std::array<int, 2>{low, high};
}

std::string UpDownGenXDCCAddress(GeneralTab& tab, bool up) {
  const SpinRange range = XDccAddressRange(tab.General);
  StoreXDccAddress(tab, ClampToRange(XDccAddressValue(tab.General) + (up ? 1 : -1), range));
  return tab.General.TextGenXDCCAddress;
}

void SetChkGenDCCAllow0(GeneralTab& tab, bool checked) {
  tab.General.ChkGenDCCAllow0 = checked;
  CommitTextGenDCCAddress(tab, tab.General.TextGenDCCAddress);
  CommitTextGenXDCCAddress(tab, tab.General.TextGenXDCCAddress);
}

void ShowDccOutputRange(GeneralSettings& g, int numberingOffset, int dccAddressTotal) {
  const int address = DccAddressValue(g);
  const int allow0 = g.ChkGenDCCAllow0 ? 1 : 0;
  const int base = g.ChkGenDCCAllow0 ? numberingOffset : 1;
  g.DccFirstOutput = static_cast<int16_t>((address - 1 + allow0) * 4 + base);
  g.LabelGenDCCOutputRed = false;
  if (dccAddressTotal == 0) {
    g.LabelGenDCCOutput = "No addr in use";
  } else if (address * 4 + dccAddressTotal > 2044) {
    g.LabelGenDCCOutput = "Output " + std::to_string(g.DccFirstOutput) + " .. OVFLOW";
    g.LabelGenDCCOutputRed = true;
  } else {
    g.LabelGenDCCOutput = "Output " + std::to_string(g.DccFirstOutput) + " .. " +
                          std::to_string(g.DccFirstOutput + dccAddressTotal - 1);
  }
}

void ShowXDccOutputRange(GeneralSettings& g, int numberingOffset, int xdccAddressTotal) {
  const int address = XDccAddressValue(g);
  g.XDccFirstOutput = static_cast<int16_t>(address + (g.ChkGenDCCAllow0 ? numberingOffset : 0));
  g.LabelGenXDCCOutputRed = false;
  if (xdccAddressTotal == 0) {
    g.LabelGenXDCCOutput = "No addr in use";
  } else if (address + xdccAddressTotal - 1 > kXDccAddressMax) {  // the last address used must exist
    g.LabelGenXDCCOutput = "Output " + std::to_string(g.XDccFirstOutput) + " .. OVERFLOW";
    g.LabelGenXDCCOutputRed = true;
  } else {
    g.LabelGenXDCCOutput = "Output " + std::to_string(g.XDccFirstOutput) + " .. " +
                           std::to_string(g.XDccFirstOutput + xdccAddressTotal - 1);
  }
}

void SetCheckGenForceXA(GeneralTab& tab, bool checked) { tab.General.CheckGenForceXA = checked; }

void SetCheckGenBrixoNative(GeneralTab& tab, bool checked) {
  tab.General.CheckGenBrixoNative = checked;
  tab.View.ShowAddressCounts();
  tab.View.ShowSerialAddress();
}

void SetCheckGenTamloaddr(GeneralTab& tab, bool checked) {
  GeneralSettings& g = tab.General;
  const bool becomesSet = checked && !g.CheckGenTamloaddr;
  g.CheckGenTamloaddr = checked;
  if (becomesSet && !g.QuietAddressUpdate &&
      tab.Prompt.ShowMessage(kFlexWarning, MessageIcon::Warning, MessageButtons::OkCancel) != MessageAnswer::Ok)
    g.CheckGenTamloaddr = false;
  tab.View.ShowAddressCounts();
  tab.View.ShowSerialAddress();
}

AddressingVisibility GeneralAddressingVisibility(const GeneralSettings& g) {
  const bool f = g.CheckGenForceXA;
  const bool t = g.CheckGenTamloaddr;
  const bool n = g.CheckGenBrixoNative;
  AddressingVisibility v;
  v.CheckGenBrixoNative = !f && !t;
  v.CheckGenTamloaddr = !f && !n;
  v.TamloStart = t && !f;
  v.ModuleXAddress = !f;
  v.LabelGenXA2 = !f;
  v.LabelGenXGMlbl = !f;
  v.CheckGenXGM.fill(!f);
  return v;
}

void ClickCheckLCGreen(GeneralSettings& g, int box, uint8_t newValue) {
  ClickLedBox(g.CheckLCGreen, box, newValue);
}

void ClickCheckLCOrange(GeneralSettings& g, int box, uint8_t newValue) {
  ClickLedBox(g.CheckLCOrange, box, newValue);
}

void SetChkGenHWCSink(GeneralTab& tab, int group, bool checked) {
  if (group < 0 || group > 3) return;
  tab.General.ChkGenHWCSink[group] = checked;
  tab.View.ShowOutputConfig();
}

void SetChkGenHWCSource(GeneralTab& tab, int group, bool checked) {
  if (group < 0 || group > 3) return;
  tab.General.ChkGenHWCSource[group] = checked;
  tab.View.ShowOutputConfig();
}

std::string LabelGenHWCPinCaption(int numberingOffset) {
  return numberingOffset == 1 ? "Pin       1..8         9..16      17..24       25..32"
                              : "Pin       0..7         8..15      16..23       24..31";
}

void ApplyNumberingOffsetToGeneral(GeneralSettings& g, int numberingOffset, const AddressMaps& maps) {
  ShowTamloaddr(g, numberingOffset);
  ShowGenXaddr(g, numberingOffset);
  ShowDccOutputRange(g, numberingOffset, maps.DccAddressTotal);
  ShowXDccOutputRange(g, numberingOffset, maps.XDccAddressTotal);
}

}  // namespace brixo
