#pragma once
// The event-control tab as a presentation model, and the controller's byte forms of the
// action table and the initial enable map (shared by the read, write and verify paths).
#include <array>
#include <cstdint>
#include <string>

#include "transfer/event_control_state.h"
#include "transfer/general_field_text.h"
#include "transfer/transfer_view.h"

namespace brixo {

constexpr int kNoAction = -1;
constexpr int kEditableActionMax = 11;
constexpr int kStorableActionMax = 14;  // 12..14 can come from a controller
constexpr int kNoActionNibble = 15;

// Controller messages of the event tables.
enum EventMessage : int {
  kEventReadOn = 116,
  kEventReadOff = 117,
  kEventWriteOn = 100,
  kEventWriteOff = 101,
};

// Action byte of event input i: 16 * i + action, low nibble 15 for no action.
int EncodeActionByte(int input, int action);
// An action byte found at position i: -1 unless its high nibble is i and its low nibble
// is not 15.
int16_t DecodeActionByte(int value, int position);
std::array<int, kEventInputCount> EncodeActionBytes(const std::array<int16_t, kEventInputCount>& actions);

// Enable map: bit i of the ON mask is set when the on-events of input i start disabled
// (CheckInitEE(i) clear); the OFF mask likewise from CheckInitEE(4 + i).
int EncodeOnMask(const EventControlState& ev);
int EncodeOffMask(const EventControlState& ev);
void DecodeEnableMap(int onMask, int offMask, EventControlState& ev);
// A click on box k of the enable map: the boxes now stand for the map the user wants.
void SetCheckInitEE(EventControlState& ev, int k, bool checked);

// The colour of an action field: light grey for exactly "no action", else the window's.
struct RgbColour {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
};
constexpr RgbColour kNoActionShade{224, 224, 224};
// True when the field gets kNoActionShade, false for the normal window background.
bool ShadeEventCell(const std::string& fieldText);

SpinRange EventActionRange();                  // -1 .. 11
SpinRange UpDownECpinRange(int numberingOffset);  // offset .. offset + 31

// Action fields of the shown pin: committing clamps to -1..11, rewrites the field and stores
// it into OnAction / OffAction of CurrentEventPin. They return the field's new text.
std::string CommitTextECon(EventControlState& ev, int input, const std::string& typed);
std::string CommitTextECoff(EventControlState& ev, int input, const std::string& typed);
std::string UpDownECon(EventControlState& ev, int input, bool up);
std::string UpDownECoff(EventControlState& ev, int input, bool up);

// The "Pin" field: selects CurrentEventPin and shows its actions.
std::string CommitTextECpin(EventControlState& ev, int numberingOffset, const std::string& typed,
                            TransferView& view);
std::string UpDownECpin(EventControlState& ev, int numberingOffset, bool up, TransferView& view);

// Puts the actions of CurrentEventPin into the fields and tells the view.
void ShowEventPin(EventControlState& ev, TransferView& view);

// "Copy to All": every pin takes the actions shown in the fields; no confirmation.
void CopyEventActionsToAll(EventControlState& ev);

// "Start numbering at 1" changed: the pin field follows, CurrentEventPin stays.
void ApplyNumberingOffsetToEvents(EventControlState& ev, int numberingOffset);

}  // namespace brixo
