#pragma once
// The "Test" tab's own rules on top of the live commands: its legacy parameter fields and
// the output field only ever hold a byte the controller can take.
#include <array>
#include <string>

#include "app/live_commands.h"
#include "link/brixo_link.h"

namespace brixo {

constexpr int kLegacyFieldMax = 127;

// TextTamloParameter(0..2) and TextBrixoSendAspectOutput, committed: the typed number
// brought into 0..127 and rounded; returns the field's new text. A text that is no number
// gives back `kept`, the text the field showed before.
std::string CommitLegacyField(const std::string& typed, const std::string& kept = "0");

// "TamloSend": the three fields, each committed as above, sent to ModuleAddress.
// Returns the fields' committed texts.
std::array<std::string, 3> SendTamloFields(BrixoLink& link, const std::array<std::string, 3>& fields);

// CommandBrixoSetAspect(index) with the output field committed first, so that a typed
// address beyond a byte never reaches the line. Returns the field's committed text.
std::string SendBrixoSetAspect(LiveContext& live, int index, const std::string& outputField);

}  // namespace brixo
