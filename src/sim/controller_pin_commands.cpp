// Per-pin reads (81, 113..118) and writes (65, 97, 98..102) of the simulated controller.
#include <algorithm>

#include "sim/sim_controller.h"

namespace brixo {

namespace {
bool ValidPin(int pin) { return pin >= 0 && pin < kSimPinCount; }

std::vector<int> Echo(const std::vector<int>& payload) {
  return {payload.begin(), payload.begin() + std::min<size_t>(2, payload.size())};
}

// Payload length of a set/write of the given output type: command, pin, then the
// configuration bytes the type uses.
size_t OutputWriteLength(int type) { return 2 + static_cast<size_t>(OutputConfigLength(type, false)); }
}  // namespace

std::vector<int> SimController::OutputConfigReply(int command, int pin) const {
  const PinMemory& p = memory_.Pins[pin];
  const bool active = command == 81;
  const auto& config = active ? p.ActiveOutputConfig : p.StoredOutputConfig;
  const int n = OutputConfigLength(config[0], faults_.ShortPwmConfig);
  std::vector<int> reply{command, pin};
  for (int i = 0; i < n; ++i) reply.push_back(config[i]);
  if (active && n > 1) reply[3] = p.OutputLevel;
  return reply;
}

std::vector<int> SimController::ReadPin(const std::vector<int>& payload) const {
  const int command = payload[0];
  const size_t wanted = command == 115 ? 4 : 2;
  if (payload.size() != wanted || !ValidPin(payload[1])) return Echo(payload);
  const int pin = payload[1];
  const PinMemory& p = memory_.Pins[pin];
  std::vector<int> reply{command, pin};
  switch (command) {
    case 81:
    case 113:
      return OutputConfigReply(command, pin);
    case 114:
      reply.push_back(p.AspectConfig);
      break;
    case 115: {
      const int aspect = payload[2];
      const int step = payload[3];
      if (aspect >= kSimAspectCount || step >= kSimStepCount) return Echo(payload);
      reply.push_back(aspect);
      reply.push_back(step);
      for (uint8_t b : p.Steps[aspect][step]) reply.push_back(b);
      break;
    }
    case 116:
      reply.push_back(p.InitByte);
      if (!faults_.NoEventControl) {
        for (uint8_t b : p.OnActions) reply.push_back(b);
      }
      break;
    case 117:
      if (faults_.NoEventControl) return Echo(payload);
      for (uint8_t b : p.OffActions) reply.push_back(b);
      break;
    case 118:
      for (uint8_t b : p.AddressBytes) reply.push_back(b);
      break;
    default:
      break;
  }
  return reply;
}

std::vector<int> SimController::WritePin(const std::vector<int>& payload) {
  const size_t n = payload.size();
  if (n < 2 || !ValidPin(payload[1])) return Echo(payload);
  PinMemory& p = memory_.Pins[payload[1]];
  auto value = [&payload](size_t i) { return static_cast<uint8_t>(payload[i]); };
  switch (payload[0]) {
    case 98:
      if (n == 3) p.AspectConfig = value(2);
      break;
    case 99:
      if (n == 9 && payload[2] < kSimAspectCount && payload[3] < kSimStepCount) {
        StepBytes& step = p.Steps[payload[2]][payload[3]];
        for (size_t i = 0; i < step.size(); ++i) step[i] = value(4 + i);
      }
      break;
    case 100:
      // The same command carries the initial aspect or the on-actions; the length decides.
      if (n == 3) {
        p.InitByte = value(2);
      } else if (n == 6 && !faults_.NoEventControl) {
        for (size_t i = 0; i < 4; ++i) p.OnActions[i] = value(2 + i);
      }
      break;
    case 101:
      if (n == 6 && !faults_.NoEventControl) {
        for (size_t i = 0; i < 4; ++i) p.OffActions[i] = value(2 + i);
      }
      break;
    case 102:
      if (n == 5) {
        for (size_t i = 0; i < 3; ++i) p.AddressBytes[i] = value(2 + i);
      }
      break;
    default:
      break;
  }
  return Echo(payload);
}

std::vector<int> SimController::WriteOutputConfig(const std::vector<int>& payload) {
  const size_t n = payload.size();
  if (n < 3 || !ValidPin(payload[1])) return Echo(payload);
  const int type = payload[2];
  if (n != OutputWriteLength(type)) return Echo(payload);
  PinMemory& p = memory_.Pins[payload[1]];
  std::array<uint8_t, kSimOutputConfigSize> config{};
  for (size_t i = 2; i < n; ++i) config[i - 2] = static_cast<uint8_t>(payload[i]);
  const bool set = payload[0] == 65;
  if (set) {
    // Set works on the running output only: byte 1 of the message is its level/position.
    if (n > 3) p.OutputLevel = config[1];
    config[1] = p.ActiveOutputConfig[1];
    p.ActiveOutputConfig = config;
  } else {
    p.StoredOutputConfig = config;
    p.ActiveOutputConfig = config;
  }
  return Echo(payload);
}

}  // namespace brixo
