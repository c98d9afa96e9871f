#include "app/live_commands.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "link/numeric_text.h"
#include "transfer/general_field_text.h"

namespace brixo {

namespace {

constexpr int kLiveCommand = 0;
constexpr int kSetAspect = 0;
constexpr int kSetAspectByAddress = 1;
constexpr int kSetLevel = 38;  // the "Set Level" instruction
constexpr int kSetServo = 39;  // the "Set Servo" instruction
constexpr int kFadeFlag = 16;
constexpr int kServoBias = 64;

// Legacy messages: b1 codes.
constexpr int kLegacySetOutput = 0;
constexpr int kLegacySetAddress = 1;
constexpr int kLegacyReset = 2;
constexpr int kLegacyClear = 8;
constexpr int kLegacyLampTest = 10;
constexpr int kLampTestParameter = 30;

constexpr int kOutputs = 32;
constexpr int kEightAddresses = 8;

void SendLive(BrixoLink& link, const std::vector<int>& payload) { link.SendBrixoMessage(false, payload); }

bool PortOrMessage(BrixoLink& link) {
  if (link.PortOpen()) return true;
  link.Prompt().ShowMessage("Select communications port");
  return false;
}

int CurrentPinOf(const LiveContext& live) { return std::min<int>(live.Model.CurrentPin, kPinCount - 1); }

// The number typed into a test field, brought into range and rounded.
int TypedValue(const std::string& typed, int low, int high) {
  const double value = std::clamp(FieldNumber(typed), double(low), double(high));
  return static_cast<int>(std::lround(value));
}

}  // namespace

const char* const kTestAspectHelp =
    "Test = Send Brixo Set Aspect\n"
    "Shift + Test = Send Legacy Tamlo Set Aspect\n"
    "Control + Test = Send Brixo Set Aspect, use Address Map\n"
    "Shift + Control + Test = Send Legacy Tamlo Set Aspect, use Address Map\n"
    "Alt + Test = Show this message";

std::vector<int> SetAspectPayload(int pin, int aspect) { return {kLiveCommand, kSetAspect, pin, aspect}; }

std::vector<int> SetAspectByAddressPayload(int address, int aspect) {
  return {kLiveCommand, kSetAspectByAddress, address, aspect};
}

std::vector<int> SetLevelPayload(int pin, int level, bool useDynamics) {
  return {kLiveCommand, kSetLevel + (useDynamics ? kFadeFlag : 0), pin, level};
}

std::vector<int> SetServoPayload(int pin, int position, bool useDynamics) {
  return {kLiveCommand, kSetServo + (useDynamics ? kFadeFlag : 0), pin, position + kServoBias};
}

int LegacyAddressByte(int module) { return module * 4 + 3; }

bool TestAspect(LiveContext& live, int modifiers) {
  BrixoLink& link = live.Link;
  const int p = CurrentPinOf(live);
  const int s = live.Model.CurrentAspect;
  if (modifiers & kAltKey) {
    link.Prompt().ShowMessage(kTestAspectHelp);
    return false;
  }
  const bool shift = (modifiers & kShiftKey) != 0;
  const bool control = (modifiers & kControlKey) != 0;
  const bool flex = live.General.CheckGenTamloaddr;
  const int firstAddress = live.Maps.SerialStart[p];
  const bool usesAddress = control || (shift && flex);
  if (usesAddress && live.Model.PinTable[p].SerialAddressCount == 0) {
    link.Prompt().ShowMessage(
        "You have no Tamlo-address(es) assigned to Pin " + std::to_string(p + live.Model.NumberingOffset),
        MessageIcon::Error);
    return false;
  }
  if (!shift) {
    SendLive(link, control ? SetAspectByAddressPayload(firstAddress, s) : SetAspectPayload(p, s));
  } else if (flex) {
    const int m = 4 * live.General.FlexAddress + firstAddress;
    link.SendTamloMessage(LegacyAddressByte(m / 32), kLegacySetAddress, m % 32, s);
  } else if (control) {
    link.SendTamloMessage(LegacyAddressByte(link.ModuleAddress), kLegacySetAddress, firstAddress, s);
  } else {
    link.SendTamloMessage(LegacyAddressByte(link.ModuleAddress), kLegacySetOutput, p, s);
  }
  return true;
}

void BrixoSetAspect(LiveContext& live, int index, const std::string& addressText) {
  BrixoLink& link = live.Link;
  const int address = static_cast<int>(std::lround(FieldNumber(addressText)));
  if (index >= 0 && index <= 3) {
    SendLive(link, SetAspectByAddressPayload(address, index));
  } else if (index == 4) {
    SendLive(link, SetAspectByAddressPayload(address, live.State.ToggleAspect));
    live.State.ToggleAspect = 1 - live.State.ToggleAspect;
  } else if (index == 5 || index == 6) {
    CancellationScope batch(link.Cancellation());
    for (int a = 0; a < kEightAddresses; ++a) SendLive(link, SetAspectByAddressPayload(a, index - 5));
  }
}

void SetMatrix(BrixoLink& link, int k, const std::array<bool, kMatrixBoxCount>& checked) {
  // Each batch of messages is one operation: a device lost halfway is told once.
  CancellationScope batch(link.Cancellation());
  for (int i = 0; i < kMatrixBoxCount; ++i) {
    if (checked[i]) SendLive(link, SetAspectByAddressPayload(i, k));
  }
}

bool SendTamlo(BrixoLink& link, int b1, int b2, int b3) {
  if (b1 >= kLegacyFirstByteLimit) {
    link.Prompt().ShowMessage(kLegacyFirstByteRefused, MessageIcon::Warning);
    return false;
  }
  link.SendTamloMessage(LegacyAddressByte(link.ModuleAddress), b1, b2, b3);
  return true;
}

bool ClearAllOutputs(BrixoLink& link, int module) {
  if (!PortOrMessage(link)) return false;
  CancellationScope batch(link.Cancellation());
  for (int i = 0; i < kOutputs; ++i) link.SendTamloMessage(LegacyAddressByte(module), kLegacyClear, i, 0);
  return true;
}

bool LampTestOutputs(BrixoLink& link, int module) {
  if (!PortOrMessage(link)) return false;
  CancellationScope batch(link.Cancellation());
  for (int i = 0; i < kOutputs; ++i)
    link.SendTamloMessage(LegacyAddressByte(module), kLegacyLampTest, i, kLampTestParameter);
  return true;
}

void ResetModule(BrixoLink& link, int module) { link.SendTamloMessage(LegacyAddressByte(module), kLegacyReset, 0, 0); }

void SliderPWMChange(LiveContext& live, int value, bool slow) {
  const int p = CurrentPinOf(live);
  live.State.PwmTestLevel = value;
  live.Model.PinTable[p].OutputLevel = static_cast<uint8_t>(value);
  if (live.Link.PortOpen() && live.State.SliderPWMFocus) SendLive(live.Link, SetLevelPayload(p, value, slow));
}

std::string CommandPWMLevel(LiveContext& live, const std::string& typed, bool slow) {
  if (!IsNumericText(typed)) return std::to_string(live.State.PwmTestLevel);
  const int level = TypedValue(typed, 0, kPwmLevelMax);
  // Moving the slider from here sends nothing: it does not have the focus.
  const bool focus = std::exchange(live.State.SliderPWMFocus, false);
  SliderPWMChange(live, level, slow);
  live.State.SliderPWMFocus = focus;
  if (live.Link.PortOpen()) SendLive(live.Link, SetLevelPayload(CurrentPinOf(live), level, slow));
  return std::to_string(level);
}

void CommandPWMJump(LiveContext& live) {
  SendLive(live.Link, SetLevelPayload(CurrentPinOf(live), live.State.PwmTestLevel, false));
}

void SliderServoChange(LiveContext& live, int value, bool dynamic) {
  const int p = CurrentPinOf(live);
  live.State.ServoTestPosition = value;
  live.Model.PinTable[p].OutputLevel = static_cast<uint8_t>(value + kServoBias);
  if (live.Link.PortOpen() && live.State.SliderServoFocus) SendLive(live.Link, SetServoPayload(p, value, dynamic));
}

std::string CommandSrvLevel(LiveContext& live, const std::string& typed, bool dynamic) {
  // Letters must not move a servo to its centre.
  if (!IsNumericText(typed)) return std::to_string(live.State.ServoTestPosition);
  const int position = TypedValue(typed, kServoPositionMin, kServoPositionMax);
  const bool focus = std::exchange(live.State.SliderServoFocus, false);
  SliderServoChange(live, position, dynamic);
  live.State.SliderServoFocus = focus;
  if (live.Link.PortOpen())
    SendLive(live.Link, SetServoPayload(CurrentPinOf(live), position, dynamic));
  return std::to_string(position);
}

void CommandStopSrv(LiveContext& live) {
  SendLive(live.Link,
           SetServoPayload(CurrentPinOf(live), live.State.ServoTestPosition, false));
}

}  // namespace brixo
