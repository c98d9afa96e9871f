#include "sim/sim_serial_port.h"

#include <algorithm>
#include <cmath>

namespace brixo {

SimSerialPort::SimSerialPort(Clock& clock) : clock_(clock), host_(controllers_) {}

void SimSerialPort::SetHostAttached(bool attached) {
  hostAttached_ = attached;
  host_.SetTransparent(false);
}

std::vector<std::vector<int>> SimSerialPort::ReceivedPayloads() const {
  return controllers_.First().ReceivedPayloads();
}

std::vector<std::array<int, 4>> SimSerialPort::LegacyFrames() const {
  return controllers_.First().LegacyFrames();
}

void SimSerialPort::InjectBytes(std::span<const uint8_t> bytes) {
  Queue(std::vector<uint8_t>(bytes.begin(), bytes.end()), 0.0);
}

bool SimSerialPort::SetLineSettings(const std::string& settings) {
  lineSettings_ = settings;
  return true;
}

bool SimSerialPort::Open(const std::string& device) {
  if (openFails_ || unplugged_) return false;
  open_ = true;
  device_ = device;
  fault_.clear();
  return true;
}

void SimSerialPort::Close() {
  open_ = false;
  pending_.clear();
}

bool SimSerialPort::Write(std::span<const uint8_t> bytes) {
  if (!open_) return false;
  for (uint8_t byte : bytes) {
    written_.push_back(byte);
    if (hostAttached_) {
      UnitOutput answer = host_.ReceiveLineByte(byte, clock_.NowSeconds());
      if (!answer.Bytes.empty()) Queue(answer.Bytes, replyDelay_ + answer.DelaySeconds);
      continue;
    }
    LineReply reply = controllers_.ReceiveLineByte(byte);
    if (!reply.Bytes.empty()) Queue(reply.Bytes, replyDelay_ + reply.DelaySeconds);
  }
  CheckStillThere();
  return open_;
}

void SimSerialPort::CheckStillThere() {
  if (!open_ || !(unplugged_ || controllers_.AnyGone())) return;
  Close();
  fault_ = PortGoneFault(device_);
}

std::string SimSerialPort::TakeFault() {
  std::string fault;
  fault.swap(fault_);
  return fault;
}

// A late reply does not hold up a prompt one behind it: replies take their place by the
// time they become readable. The bytes of one reply share that time, so none is split.
void SimSerialPort::Queue(const std::vector<uint8_t>& bytes, double delaySeconds) {
  const double due = clock_.NowSeconds() + delaySeconds;
  auto at = std::upper_bound(pending_.begin(), pending_.end(), due,
                             [](double t, const PendingByte& p) { return t < p.due; });
  std::vector<PendingByte> reply;
  for (uint8_t b : bytes) reply.push_back({b, due});
  pending_.insert(at, reply.begin(), reply.end());
}

std::optional<double> SimSerialPort::NextByteDue() const {
  if (pending_.empty()) return std::nullopt;
  return pending_.front().due;
}

int SimSerialPort::BytesWaiting() {
  if (!open_) return 0;
  const double now = clock_.NowSeconds();
  int count = 0;
  for (const PendingByte& p : pending_) {
    if (p.due > now) break;  // bytes arrive in order: nothing behind a late one is readable
    ++count;
  }
  return count;
}

int SimSerialPort::ReadByte() {
  if (BytesWaiting() == 0) return -1;
  const int value = pending_.front().value;
  pending_.pop_front();
  return value;
}

bool SimSerialPort::WaitForBytes(int timeoutMs) { return WaitForCount(1, timeoutMs); }

// Sleeps until the count-th byte is due, or the last queued one when fewer are queued:
// what the far end has sent is known here, so one sleep does.
bool SimSerialPort::WaitForCount(int count, int timeoutMs) {
  if (!open_) return false;
  count = std::max(1, count);
  const double end = clock_.NowSeconds() + std::max(0, timeoutMs) / 1000.0;
  for (;;) {
    const int waiting = BytesWaiting();
    if (waiting >= count || (waiting > 0 && static_cast<size_t>(waiting) == pending_.size())) return true;
    const double now = clock_.NowSeconds();
    if (now >= end) return waiting > 0;
    double wake = end;
    if (!pending_.empty()) wake = std::min(wake, pending_[std::min(pending_.size(), static_cast<size_t>(count)) - 1].due);
    const int ms = std::max(1, static_cast<int>(std::ceil((wake - now) * 1000.0 - 1e-9)));
    clock_.SleepMs(ms);
  }
}

}  // namespace brixo
