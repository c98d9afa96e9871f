#pragma once
// The "General" tab's settings in words, group by group under the tab's own captions, for
// a printed sheet: "Basic Decoder Addr" "20 (Output 77 .. 84)", "Green LED" "Basic DCC
// Packet, Brixo Message". Texts are UTF-8.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/named_value.h"
#include "transfer/event_control_state.h"
#include "transfer/general_settings_state.h"

namespace brixo {

struct SettingsGroup {
  std::string Title;  // the tab's group caption: "DCC Settings"
  std::vector<NamedValue> Items;
};

// DCC settings with the output range each address serves, serial addressing, hardware
// configuration, LED functions and the controller's serial port, numbers as displayed.
std::vector<SettingsGroup> GeneralSettingsInWords(const GeneralSettings& g, int numberingOffset);

// The LED functions a byte's boxes choose ("Basic DCC Packet, Brixo Message"), the
// drivers of an output group ("Sink Driver"), a parity option ("Even").
std::string LedFunctions(const std::array<uint8_t, 8>& boxes, const std::array<const char*, 8>& captions);
std::string DriverText(bool sink, bool source);
std::string ParityText(int index);

// An event action in words: "aspect 3", or "-" for none.
std::string EventActionInWords(int action);
// The inputs whose events the initial enable map enables: "ON events: 0, 2; OFF events:
// no input", or that the map is not known.
std::string EnableMapInWords(const EventControlState& ev);

}  // namespace brixo
