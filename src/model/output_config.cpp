#include "model/output_config.h"

namespace brixo {

namespace {

constexpr std::array<OutputField, kOutputFieldCount> kFields = {{
    {OutputFieldId::SrvInitPos, "TextSrvInitPos", "Initial Position", kPageServo, 1, -64, 63, 64},
    {OutputFieldId::Midpoint, "TextMidpoint", "Midpoint", kPageServo, 3, -64, 63, 64},
    {OutputFieldId::SrvAntiMass, "TextSrvAntiMass", "1/Mass", kPageServo, 4, 0, 127, 0},
    {OutputFieldId::SrvFriction, "TextSrvFriction", "Damping", kPageServo, 5, 0, 127, 0},
    {OutputFieldId::SrvMaxSpd, "TextSrvMaxSpd", "MaxSpd", kPageServo, 6, 1, 127, 0},
    {OutputFieldId::SrvMaxAccel, "TextSrvMaxAccel", "MaxAcc", kPageServo, 7, 1, 127, 0},
    {OutputFieldId::BounceDown, "TextBounceDown", "BounceDown", kPageServo, 8, 0, 63, 64},
    {OutputFieldId::BounceDownFactor, "TextBounceDownFactor", "BounceDownFactor", kPageServo, 9, 0, 127, 0},
    {OutputFieldId::BounceUp, "TextBounceUp", "BounceUp", kPageServo, 10, -63, 0, 64},
    {OutputFieldId::BounceUpFactor, "TextBounceUpFactor", "BounceUpFactor", kPageServo, 11, 0, 127, 0},
    {OutputFieldId::PwmInitLevel, "TextPWMInitLevel", "Initial Level", kPagePwm, 1, 0, 31, 0},
    {OutputFieldId::PwmAccel, "TextPWMAccel", "Acceleration", kPagePwm, 3, 0, 31, 0},
    {OutputFieldId::PwmOffLevel, "TextPWMOffLevel", "Off - Level", kPagePwm, 4, 0, 31, 0},
    {OutputFieldId::PwmOnLevel, "TextPWMOnLevel", "On-Level", kPagePwm, 5, 0, 31, 0},
    {OutputFieldId::InputOffDelay, "TextInputDelay(0)", "OFF-delay (debounce)", kPageInput, 3, 0, 31, 0},
    {OutputFieldId::InputOnDelay, "TextInputDelay(1)", "ON-delay (debounce)", kPageInput, 4, 0, 31, 0},
}};

}  // namespace

std::string OutputTypeInWords(int outputType) {
  switch (outputType) {
    case kOutputNone: return "not configured";
    case kOutputServo: return "servo";
    case kOutputPwm: return "PWM output";
    case kOutputPwmInverted: return "PWM output, inverted";
    case kOutputInput: return "input";
    case kOutputInputLowActive: return "input, low active";
    default: return "type " + std::to_string(outputType);
  }
}

int OutputConfigBytesOf(int outputType) {
  switch (outputType) {
    case kOutputServo: return 12;
    case kOutputPwm:
    case kOutputPwmInverted: return 6;
    case kOutputInput:
    case kOutputInputLowActive: return 5;
    default: return 1;
  }
}

int PageOfOutputType(int outputType) {
  switch (outputType) {
    case kOutputNone: return kPageClear;
    case kOutputServo: return kPageServo;
    case kOutputPwm:
    case kOutputPwmInverted: return kPagePwm;
    case kOutputInput:
    case kOutputInputLowActive: return kPageInput;
    default: return -1;
  }
}

bool PageMatchesType(int page, int outputType) { return PageOfOutputType(outputType) == page; }

void InstallPageDefaults(PinRecord& pin, int page) {
  auto& c = pin.OutputConfig;
  for (int i = 0; i < kOutputConfigSize - 1; ++i) c[i] = 0;
  pin.OutputLevel = 0;
  switch (page) {
    case kPageServo:
      c[0] = kOutputServo;
      c[1] = 64;
      c[3] = 64;
      c[4] = 127;
      c[5] = 58;
      c[6] = 127;
      c[7] = 127;
      c[8] = 64;
      c[10] = 64;
      pin.OutputLevel = 64;
      break;
    case kPagePwm:
      c[0] = kOutputPwm;
      c[3] = 28;
      c[5] = 31;
      break;
    case kPageInput:
      c[0] = kOutputInputLowActive;
      c[3] = 4;
      c[4] = 4;
      break;
    default: break;
  }
}

const std::array<OutputField, kOutputFieldCount>& OutputFields() { return kFields; }

const OutputField& OutputFieldOf(OutputFieldId id) { return kFields[static_cast<int>(id)]; }

uint8_t ServoFlagByte(int range, bool autoSuspend, bool suspended) {
  return static_cast<uint8_t>((range & 7) + 8 + (autoSuspend ? 16 : 0) + (suspended ? 32 : 0));
}

int ServoRangeOption(uint8_t flags) {
  const int range = flags & 7;
  return range <= 4 ? range : 0;
}

uint8_t NormalisedServoFlags(uint8_t flags) {
  if (flags > 15 && (flags & 8) == 0) return static_cast<uint8_t>((flags / 16) % 8 + 40);
  return flags;
}

}  // namespace brixo
