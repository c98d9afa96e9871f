#pragma once
// Passes everything through to the simulated controller but lets a test change chosen
// replies, re-framed with a fitting header and check byte: replies no real controller
// fault produces.
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "link/forwarding_port.h"
#include "sim/sim_serial_port.h"

namespace brixo::testing {

class ReplyRewritingPort : public ForwardingPort {
 public:
  explicit ReplyRewritingPort(SimSerialPort& inner) : ForwardingPort(inner) {}
  // Called with the payload and address byte of each reply that echoes a request (two
  // payload bytes or more); may change either.
  std::function<void(std::vector<int>& payload, int& address)> Rewrite;

  bool Write(std::span<const uint8_t> bytes) override {
    const bool ok = Inner().Write(bytes);
    Drain();
    return ok;
  }
  int BytesWaiting() override {
    Drain();
    return static_cast<int>(out_.size());
  }
  int ReadByte() override {
    Drain();
    if (out_.empty()) return -1;
    const int b = out_.front();
    out_.pop_front();
    return b;
  }
  bool WaitForBytes(int timeoutMs) override {
    if (BytesWaiting() > 0) return true;
    Inner().WaitForBytes(timeoutMs);
    return BytesWaiting() > 0;
  }
  // Waits on the rewritten replies, not on the simulator's own.
  bool WaitForCount(int count, int timeoutMs) override { return BytesWaiting() >= count || WaitForBytes(timeoutMs); }

 private:
  void Drain() {
    while (Inner().BytesWaiting() > 0) Take(static_cast<uint8_t>(Inner().ReadByte()));
  }
  void Take(uint8_t b) {
    if (b < 128) frame_.clear();
    else if (frame_.empty()) return;
    frame_.push_back(b);
    if (frame_.size() >= 2 && frame_.size() == static_cast<size_t>(3 + (frame_[1] & 15))) Emit();
  }
  void Emit() {
    std::vector<int> payload;
    for (size_t i = 2; i + 1 < frame_.size(); ++i) payload.push_back(frame_[i] & 127);
    int address = frame_[0];
    if (Rewrite && payload.size() >= 2) Rewrite(payload, address);
    std::vector<int> bytes{address, 0xE0 | static_cast<int>(payload.size())};
    for (int v : payload) bytes.push_back(128 + v);
    int sum = 0;
    for (int v : bytes) sum += v;
    bytes.push_back(128 + (128 - sum % 128) % 128);
    for (int v : bytes) out_.push_back(static_cast<uint8_t>(v));
    frame_.clear();
  }
  std::vector<uint8_t> frame_;
  std::deque<uint8_t> out_;
};

}  // namespace brixo::testing
