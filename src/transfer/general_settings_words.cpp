#include "transfer/general_settings_words.h"

#include "model/numeric_text.h"
#include "transfer/general_settings_captions.h"

namespace brixo {

namespace {

const char* YesNo(bool value) { return value ? "yes" : "no"; }

std::string Joined(const std::vector<std::string>& items, const char* none) {
  if (items.empty()) return none;
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

// An address field with the output range its label shows beside it.
std::string AddressWithRange(const std::string& address, const std::string& range) {
  return address + " (" + range + ")";
}

std::string SerialMode(const GeneralSettings& g, int offset) {
  if (g.CheckGenTamloaddr) return "Tamlo Flex-Addresss, Start " + NumberText(g.FlexAddress * 4 + offset);
  if (g.CheckGenBrixoNative) return "Native Brixo Mode: 128 addresses from the module address on";
  return "32 addresses from the module address on";
}

}  // namespace

std::string LedFunctions(const std::array<uint8_t, 8>& boxes, const std::array<const char*, 8>& captions) {
  std::vector<std::string> chosen;
  for (int k = 0; k < 7; ++k) {
    if (boxes[k] == 1) chosen.emplace_back(captions[k]);
  }
  // Box 7 stands for "no function selected".
  if (chosen.empty()) return std::string(captions[7]) + " (no function selected)";
  return Joined(chosen, "");
}

std::string DriverText(bool sink, bool source) {
  if (sink && source) return "Sink Driver and Source Driver";
  if (sink) return "Sink Driver";
  if (source) return "Source Driver";
  return "none";
}

std::string ParityText(int index) {
  return index >= 0 && index < static_cast<int>(kParityCaptions.size()) && kParityCaptions[index][0] != '\0'
             ? kParityCaptions[index]
             : "unknown";
}

std::vector<SettingsGroup> GeneralSettingsInWords(const GeneralSettings& g, int numberingOffset) {
  std::vector<SettingsGroup> groups;
  const int retention = g.OptGenDCC_PRP;
  groups.push_back(
      {"DCC Settings",
       {{"Basic Decoder Addr", AddressWithRange(g.TextGenDCCAddress, g.LabelGenDCCOutput)},
        {"Extended Dec. Addr", AddressWithRange(g.TextGenXDCCAddress, g.LabelGenXDCCOutput)},
        {"Packet Retention", retention >= 0 && retention < 4 ? kPacketRetentionCaptions[retention] : "unknown"},
        {"Basic Packet State Invert", YesNo(g.ChkGenDCC_BPSI)},
        {"Allow Address 0", YesNo(g.ChkGenDCCAllow0)}}});

  SettingsGroup addressing{"Serial Addressing", {{"Serial addresses", SerialMode(g, numberingOffset)}}};
  if (g.CheckGenForceXA) {
    addressing.Items.push_back({"Module eXtended Address", "Enforced eXtended Address"});
  } else {
    addressing.Items.push_back({"Module eXtended Address", NumberText(g.ModuleXAddress + numberingOffset)});
    std::vector<std::string> mask;
    for (int k = 0; k < 16; ++k) {
      if (g.CheckGenXGM[k]) mask.push_back(NumberText(k));
    }
    addressing.Items.push_back({"eXt Group Mask", Joined(mask, "no group")});
  }
  groups.push_back(std::move(addressing));

  SettingsGroup hardware{"Hardware Configuration", {}};
  for (int group = 0; group < 4; ++group) {
    const int first = group * 8 + numberingOffset;
    hardware.Items.push_back({"Pin " + NumberText(first) + ".." + NumberText(first + 7),
                              DriverText(g.ChkGenHWCSink[group], g.ChkGenHWCSource[group])});
  }
  groups.push_back(std::move(hardware));

  groups.push_back({"LED Control",
                    {{"Green LED", LedFunctions(g.CheckLCGreen, kGreenLedCaptions)},
                     {"Orange LED", LedFunctions(g.CheckLCOrange, kOrangeLedCaptions)}}});

  const int baud = g.ComboGenBaud;
  groups.push_back(
      {"Serial Port",
       {{"Enable", YesNo(g.CheckGenSerialEnable)},
        {"Baudrate", baud >= 0 && baud < static_cast<int>(kBaudRateTexts.size()) ? kBaudRateTexts[baud] : "unknown"},
        {"Data bits", g.OptionGenSerialDatabits == 1 ? "8" : "7"},
        {"Stop bits", g.OptionGenSerialStop == 1 ? "2" : "1"},
        {"Parity", ParityText(g.OptionGenSerialParity)}}});
  return groups;
}

std::string EventActionInWords(int action) { return action < 0 ? "-" : "aspect " + NumberText(action); }

std::string EnableMapInWords(const EventControlState& ev) {
  if (!ev.EnableMapKnown) return "not known (the configuration holds no enable map)";
  std::vector<std::string> on;
  std::vector<std::string> off;
  for (int i = 0; i < kEventInputCount; ++i) {
    if (ev.CheckInitEE[i]) on.push_back(NumberText(i));
    if (ev.CheckInitEE[4 + i]) off.push_back(NumberText(i));
  }
  return "ON events: " + Joined(on, "no input") + "; OFF events: " + Joined(off, "no input");
}

}  // namespace brixo
