#include "transfer/event_control.h"

namespace brixo {

namespace {

int StorableAction(int action) {
  if (action < 0) return kNoAction;
  return action > kStorableActionMax ? kStorableActionMax : action;
}

std::string CommitAction(std::array<std::string, kEventInputCount>& fields,
                         std::array<int16_t, kEventInputCount>& actions, int input, int value) {
  if (input < 0 || input >= kEventInputCount) return {};
  fields[input] = std::to_string(value);
  actions[input] = static_cast<int16_t>(value);
  return fields[input];
}

int SteppedAction(const std::string& field, bool up) {
  return ClampToRange(ClampedFieldValue(field, EventActionRange()) + (up ? 1 : -1), EventActionRange());
}

}  // namespace

int EncodeActionByte(int input, int action) {
  const int a = StorableAction(action);
  return 16 * input + (a == kNoAction ? kNoActionNibble : a);
}

int16_t DecodeActionByte(int value, int position) {
  if (value / 16 != position || value % 16 == kNoActionNibble) return kNoAction;
  return static_cast<int16_t>(value % 16);
}

std::array<int, kEventInputCount> EncodeActionBytes(const std::array<int16_t, kEventInputCount>& actions) {
  std::array<int, kEventInputCount> bytes{};
  for (int i = 0; i < kEventInputCount; ++i) bytes[i] = EncodeActionByte(i, actions[i]);
  return bytes;
}

int EncodeOnMask(const EventControlState& ev) {
  int mask = 0;
  for (int i = 0; i < kEventInputCount; ++i)
    if (!ev.CheckInitEE[i]) mask |= 1 << i;
  return mask;
}

int EncodeOffMask(const EventControlState& ev) {
  int mask = 0;
  for (int i = 0; i < kEventInputCount; ++i)
    if (!ev.CheckInitEE[kEventInputCount + i]) mask |= 1 << i;
  return mask;
}

void DecodeEnableMap(int onMask, int offMask, EventControlState& ev) {
  for (int i = 0; i < kEventInputCount; ++i) {
    ev.CheckInitEE[i] = ((onMask >> i) & 1) == 0;
    ev.CheckInitEE[kEventInputCount + i] = ((offMask >> i) & 1) == 0;
  }
}

void SetCheckInitEE(EventControlState& ev, int k, bool checked) {
  if (k < 0 || k >= static_cast<int>(ev.CheckInitEE.size())) return;
  ev.CheckInitEE[k] = checked;
  ev.EnableMapKnown = true;
}

bool ShadeEventCell(const std::string& fieldText) { return FieldNumber(fieldText) == kNoAction; }

SpinRange EventActionRange() { return {kNoAction, kEditableActionMax}; }

SpinRange UpDownECpinRange(int numberingOffset) {
  return {numberingOffset, numberingOffset + kPinCount - 1};
}

std::string CommitTextECon(EventControlState& ev, int input, const std::string& typed) {
  return CommitAction(ev.TextECon, ev.OnAction[ev.CurrentEventPin], input,
                      ClampedFieldValue(typed, EventActionRange()));
}

std::string CommitTextECoff(EventControlState& ev, int input, const std::string& typed) {
  return CommitAction(ev.TextECoff, ev.OffAction[ev.CurrentEventPin], input,
                      ClampedFieldValue(typed, EventActionRange()));
}

std::string UpDownECon(EventControlState& ev, int input, bool up) {
  if (input < 0 || input >= kEventInputCount) return {};
  return CommitAction(ev.TextECon, ev.OnAction[ev.CurrentEventPin], input, SteppedAction(ev.TextECon[input], up));
}

std::string UpDownECoff(EventControlState& ev, int input, bool up) {
  if (input < 0 || input >= kEventInputCount) return {};
  return CommitAction(ev.TextECoff, ev.OffAction[ev.CurrentEventPin], input,
                      SteppedAction(ev.TextECoff[input], up));
}

std::string CommitTextECpin(EventControlState& ev, int numberingOffset, const std::string& typed,
                            TransferView& view) {
  const int value = ClampedFieldValue(typed, UpDownECpinRange(numberingOffset));
  ev.CurrentEventPin = static_cast<uint8_t>(value - numberingOffset);
  ev.TextECpin = std::to_string(value);
  ShowEventPin(ev, view);
  return ev.TextECpin;
}

std::string UpDownECpin(EventControlState& ev, int numberingOffset, bool up, TransferView& view) {
  const int pin = ClampToRange(ev.CurrentEventPin + (up ? 1 : -1), {0, kPinCount - 1});
  return CommitTextECpin(ev, numberingOffset, std::to_string(pin + numberingOffset), view);
}

void ShowEventPin(EventControlState& ev, TransferView& view) {
  if (ev.CurrentEventPin >= kPinCount) ev.CurrentEventPin = kPinCount - 1;
  for (int i = 0; i < kEventInputCount; ++i) {
    ev.TextECon[i] = std::to_string(ev.OnAction[ev.CurrentEventPin][i]);
    ev.TextECoff[i] = std::to_string(ev.OffAction[ev.CurrentEventPin][i]);
  }
  view.ShowEventPin();
}

void CopyEventActionsToAll(EventControlState& ev) {
  // A field may still hold what a controller reported (12..14) or an uncommitted text.
  const SpinRange storable{kNoAction, kStorableActionMax};
  for (int i = 0; i < kEventInputCount; ++i) {
    const auto on = static_cast<int16_t>(ClampedFieldValue(ev.TextECon[i], storable));
    const auto off = static_cast<int16_t>(ClampedFieldValue(ev.TextECoff[i], storable));
    for (int p = 0; p < kPinCount; ++p) {
      ev.OnAction[p][i] = on;
      ev.OffAction[p][i] = off;
    }
  }
}

void ApplyNumberingOffsetToEvents(EventControlState& ev, int numberingOffset) {
  ev.TextECpin = std::to_string(ev.CurrentEventPin + numberingOffset);
}

}  // namespace brixo
