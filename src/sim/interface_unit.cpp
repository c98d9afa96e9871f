#include "sim/interface_unit.h"

#include <algorithm>

#include "sim/line_check.h"

namespace brixo {

namespace {
constexpr int kInnerHeader = 96;
constexpr int kInnerHeaderExtended = 112;
constexpr int kModuleTag = 96;
constexpr int kLegacyDataLength = 5;
}  // namespace

std::pair<int, int> PackHostVersion(int version) {
  // Each byte holds a decimal digit in its low three bits and one in the bits above, so
  // not every version has a form (3199 has none). Take the highest one not above it,
  // which keeps "older than" answers true.
  std::pair<int, int> best{0, 0};
  int bestValue = -1;
  for (int h = 127; h >= 0; --h) {  // highest H first: the plain digit form
    for (int l = 0; l < 128; ++l) {
      const int value = (h / 8) * 1000 + (h % 8) * 100 + (l / 8) * 10 + l % 8;
      if (value <= version && value > bestValue) {
        bestValue = value;
        best = {h, l};
      }
    }
  }
  return best;
}

InterfaceUnit::InterfaceUnit(ControllerBus& controllers) : controllers_(controllers) {}

UnitOutput InterfaceUnit::ReceiveLineByte(uint8_t byte, double now) {
  if (transparent_) return controllers_.ReceiveLineByte(byte);
  std::optional<std::vector<int>> data = reader_.Push(byte);
  if (!data) return {};
  frames_.push_back(*data);
  if (config_.Silent) return {};
  return Answer(*data, now);
}

UnitOutput InterfaceUnit::Frame(const std::vector<int>& data, double delay) {
  UnitOutput out{EncodeHostFrame(toggle_, data), delay};
  toggle_ ^= 1;
  if (config_.WrongCheckByte) out.Bytes.back() = static_cast<uint8_t>(0x80 | ((out.Bytes.back() + 1) & 127));
  return out;
}

UnitOutput InterfaceUnit::Answer(const std::vector<int>& data, double now) {
  const std::vector<int> status;  // an empty frame: "nothing to report"
  if (data.empty()) {
    // Replies are handed on in the order they came in from the line: a slow controller
    // does not hold up the answer of a quick one asked after it.
    auto due = std::min_element(pending_.begin(), pending_.end(),
                                [](const PendingReply& a, const PendingReply& b) { return a.Due < b.Due; });
    if (due == pending_.end() || due->Due > now) return Frame(status, config_.IdlePollSeconds);
    std::vector<int> reply = std::move(due->Data);
    pending_.erase(due);
    return Frame(reply);
  }
  if (data.size() == 2 && data[0] == 1 && data[1] == 2) {
    auto [h, l] = PackHostVersion(config_.ProtocolVersion);
    return Frame({1, 2, h, l});
  }
  if (data.size() == 2 && data[0] == 1 && data[1] == 10) {
    auto [h, l] = PackHostVersion(config_.UnitVersion);
    return Frame({1, 10, config_.UnitType & 127, h, l});
  }
  if (data.size() == 3 && data[0] == 1 && data[1] == 5 && data[2] == 16) {
    UnitOutput out = Frame(status);
    transparent_ = true;  // from the next byte on, the line belongs to the controller
    return out;
  }
  const bool forModule = data.size() >= 3 && data[0] == 0 && data[1] >= kModuleTag;
  const bool innerHeader = forModule && (data[2] == kInnerHeader || data[2] == kInnerHeaderExtended);
  if (forModule && !innerHeader && data.size() == kLegacyDataLength) {
    controllers_.AcceptLegacy({((data[1] - kModuleTag) & 31) * 4 + 3, data[2], data[3], data[4]});
    return Frame(status);
  }
  if (innerHeader) {
    ControllerRequest request;
    request.Module = (data[1] - kModuleTag) & 31;
    request.Bidirectional = true;
    size_t at = 3;
    if (data[2] == kInnerHeaderExtended) {
      if (data.size() < 4) return Frame(status);
      request.Extended = data[at++];
    }
    request.Payload.assign(data.begin() + static_cast<long>(at), data.end());
    std::optional<ControllerAnswer> answer = controllers_.Accept(request);
    if (answer) {
      std::vector<int> reply{0, kModuleTag + request.Module,
                             kInnerHeader + (answer->Extended ? 16 : 0) + static_cast<int>(answer->Payload.size() & 15)};
      if (answer->Extended) reply.push_back(*answer->Extended);
      reply.insert(reply.end(), answer->Payload.begin(), answer->Payload.end());
      const double delay = answer->DelaySeconds;
      if (!config_.ReplyOnNextPoll) return Frame(reply, delay);
      pending_.push_back({std::move(reply), now + delay});
    }
  }
  return Frame(status);
}

}  // namespace brixo
