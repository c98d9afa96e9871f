#include "model/output_config_transfer.h"

#include <vector>

#include "model/output_config.h"

namespace brixo {

namespace {

constexpr int kGetCommand = 81;   // + 32 for the flash copy
constexpr int kSetCommand = 65;   // + 32 for the flash copy
constexpr const char* kNoValidResponse = "No valid response";

}  // namespace

bool ReadOutputConfig(BrixoLink& link, ConfigModel& model, int variant, int pin) {
  if (pin < 0 || pin >= kPinCount) return false;
  variant = variant != 0 ? 1 : 0;
  link.CheckBrixoBD = true;
  if (!link.SendBrixoMessage(true, {kGetCommand + 32 * variant, pin}) || !link.ReplyValid) return false;
  const int length = link.ReplyLength();
  if (length < 3 || (link.R(0) != 113 && link.R(0) != 81) || link.R(1) != pin) {
    link.Prompt().ShowMessage(kNoValidResponse);
    return false;
  }
  const int n = length - 2;
  PinRecord& record = model.PinTable[pin];
  auto& config = record.OutputConfig;
  const int type = link.R(2);
  if (type != config[0]) {
    for (int i = 1; i < kOutputConfigSize; ++i) config[i] = 0;
    if (type == kOutputServo) {
      record.OutputLevel = 64;
      config[1] = 64;
    }
  }
  for (int i = 0; i < n && i < kOutputConfigSize; ++i) {
    const uint8_t value = static_cast<uint8_t>(link.R(2 + i));
    if (variant == 0 && i == 1) {
      record.OutputLevel = value;
    } else {
      config[i] = value;
    }
  }
  if ((config[0] == kOutputPwm || config[0] == kOutputPwmInverted) && n < 6) {
    config[4] = 0;
    config[5] = 31;
  }
  if (config[0] == kOutputServo) config[2] = NormalisedServoFlags(config[2]);
  return true;
}

void WriteOutputConfig(BrixoLink& link, ConfigModel& model, int variant, int pin) {
  if (pin < 0 || pin >= kPinCount) return;
  variant = variant != 0 ? 1 : 0;
  PinRecord& record = model.PinTable[pin];
  auto& c = record.OutputConfig;
  const int command = kSetCommand + 32 * variant;
  const int type = c[0];
  const int level = variant == 0 ? record.OutputLevel : c[1];
  std::vector<int> payload = {command, pin};
  switch (type) {
    case kOutputServo:
      // "Servo Initialised" is the controller's own report, never something to set.
      c[2] &= 63;
      payload.insert(payload.end(), {type, level, c[2]});
      for (int i = 3; i <= 11; ++i) payload.push_back(c[i]);
      break;
    case kOutputPwm:
    case kOutputPwmInverted:
      payload.insert(payload.end(), {type, level, c[2], c[3], c[4], c[5]});
      break;
    case kOutputInput:
    case kOutputInputLowActive:
      payload.insert(payload.end(), {type, level, c[2], c[3], c[4]});
      break;
    default:
      payload.push_back(0);
      break;
  }
  link.SendBrixoMessage(false, payload);
}

}  // namespace brixo
