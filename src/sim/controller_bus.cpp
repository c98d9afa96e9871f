#include "sim/controller_bus.h"

#include <algorithm>

namespace brixo {

namespace {
// A byte with bit 7 set: never an address or host header, so receivers skip it.
constexpr uint8_t kNoise = 0xFF;
}  // namespace

ControllerBus::ControllerBus() { controllers_.emplace_back(); }

SimController& ControllerBus::Add(int module) {
  SimController& added = controllers_.emplace_back();
  added.SetModuleAddress(module);
  return added;
}

SimController* ControllerBus::Find(int module, std::optional<int> extended) {
  for (SimController& c : controllers_) {
    if (c.ModuleAddress() == module && (!extended || c.Memory().ModuleXAddress == *extended)) return &c;
  }
  return nullptr;
}

LineReply ControllerBus::ReceiveLineByte(uint8_t byte) {
  LineReply reply;
  int speakers = 0;
  for (SimController& c : controllers_) {
    std::vector<uint8_t> bytes = c.ReceiveLineByte(byte);
    if (bytes.empty()) continue;
    reply.DelaySeconds = std::max(reply.DelaySeconds, c.Faults().ReplyDelaySeconds);
    if (++speakers == 1) {
      reply.Bytes = std::move(bytes);
    } else {
      reply.Bytes.assign(std::max(reply.Bytes.size(), bytes.size()), kNoise);
    }
  }
  return reply;
}

std::optional<ControllerAnswer> ControllerBus::Accept(const ControllerRequest& request) {
  std::optional<ControllerAnswer> answer;
  int speakers = 0;
  for (SimController& c : controllers_) {
    std::optional<ControllerAnswer> own = c.Accept(request);
    if (own && ++speakers == 1) answer = std::move(own);
  }
  if (speakers > 1) return std::nullopt;  // the interface unit heard a collision
  return answer;
}

bool ControllerBus::AnyGone() const {
  return std::any_of(controllers_.begin(), controllers_.end(), [](const SimController& c) { return c.Gone(); });
}

void ControllerBus::AcceptLegacy(const std::array<int, 4>& frame) {
  for (SimController& c : controllers_) c.AcceptLegacy(frame);
}

}  // namespace brixo
