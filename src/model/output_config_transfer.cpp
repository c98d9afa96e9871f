#include "model/output_config_transfer.h"

#include "model/output_config.h"

namespace brixo {

namespace {

constexpr int kGetCommand = 81;   // + 32 for the flash copy
constexpr int kSetCommand = 65;   // + 32 for the flash copy
constexpr const char* kNoValidResponse = "No valid response";

}  // namespace

bool IsShortPwmReply(int outputType, int reportedBytes) {
  return (outputType == kOutputPwm || outputType == kOutputPwmInverted) && reportedBytes == 5;
}

uint8_t WrittenServoFlags(uint8_t flags) { return static_cast<uint8_t>(NormalisedServoFlags(flags & 63) | 8); }

std::vector<int> OutputConfigPayload(const PinRecord& pin, int variant) {
  const auto& c = pin.OutputConfig;
  const int type = c[0];
  const int level = variant == 0 ? pin.OutputLevel : c[1];
  switch (type) {
    case kOutputServo: {
      std::vector<int> bytes{type, level, WrittenServoFlags(c[2])};
      for (int i = 3; i <= 11; ++i) bytes.push_back(c[i]);
      return bytes;
    }
    case kOutputPwm:
    case kOutputPwmInverted: return {type, level, c[2], c[3], c[4], c[5]};
    case kOutputInput:
    case kOutputInputLowActive: return {type, level, c[2], c[3], c[4]};
    default: return {0};
  }
}

bool ReadOutputConfig(BrixoLink& link, PinRecord& record, int variant, int pin) {
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
  const int type = link.R(2);
  // A reply without the bytes its type uses would leave the rest of the old configuration.
  if (n < OutputConfigBytesOf(type) && !IsShortPwmReply(type, n)) {
    link.Prompt().ShowMessage(kNoValidResponse);
    return false;
  }
  auto& config = record.OutputConfig;
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

bool ReadOutputConfig(BrixoLink& link, ConfigModel& model, int variant, int pin) {
  if (pin < 0 || pin >= kPinCount) return false;
  return ReadOutputConfig(link, model.PinTable[pin], variant, pin);
}

bool WriteOutputConfig(BrixoLink& link, ConfigModel& model, int variant, int pin) {
  if (pin < 0 || pin >= kPinCount) return false;
  variant = variant != 0 ? 1 : 0;
  PinRecord& record = model.PinTable[pin];
  if (record.OutputConfig[0] == kOutputServo) record.OutputConfig[2] = WrittenServoFlags(record.OutputConfig[2]);
  std::vector<int> payload = {kSetCommand + 32 * variant, pin};
  for (int b : OutputConfigPayload(record, variant)) payload.push_back(b);
  return link.SendBrixoMessage(false, payload);
}

}  // namespace brixo
