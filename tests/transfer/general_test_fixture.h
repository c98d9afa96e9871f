#pragma once
// A transfer context on the in-process simulated controller for the general-settings and
// event-control tests: manual clock, scripted message boxes, a recording view, and a port
// that can reshape the controller's replies.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/brixo_link.h"
#include "link/clock.h"
#include "sim/sim_serial_port.h"
#include "transfer/transfer_context.h"

namespace brixo::gentest {

// Answers from a script (OK once it runs out) and records every text shown.
class ScriptedPrompt : public UserPrompt {
 public:
  MessageAnswer ShowMessage(const std::string& text, MessageIcon, MessageButtons) override {
    Messages.push_back(text);
    if (Answers.empty()) return MessageAnswer::Ok;
    const MessageAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  std::deque<MessageAnswer> Answers;
  std::vector<std::string> Messages;
};

class QuietLog : public CommLog {
 public:
  void AppendLine(const std::string&) override {}
};

class CallView : public TransferView {
 public:
  void ShowAddressCounts() override { Calls.push_back("ShowAddressCounts"); }
  void ShowOutputConfig() override { Calls.push_back("ShowOutputConfig"); }
  void ShowSerialAddress() override { Calls.push_back("ShowSerialAddress"); }
  void ShowDccAddress() override { Calls.push_back("ShowDccAddress"); }
  void ShowXDccAddress() override { Calls.push_back("ShowXDccAddress"); }
  void ShowEventPin() override { Calls.push_back("ShowEventPin"); }
  void SetBusy(bool visible) override { Calls.push_back(visible ? "SetBusy(1)" : "SetBusy(0)"); }
  void ShowProgress(const std::string& text) override { Progress.push_back(text); }
  std::vector<std::string> Calls;
  std::vector<std::string> Progress;
};

// Hands the simulated controller's replies over after letting a test change their payload
// (re-framed with a fitting header and check byte): replies no real fault produces.
class ReshapingPort : public SerialPort {
 public:
  explicit ReshapingPort(SimSerialPort& inner) : inner_(inner) {}
  // Called with each reply's payload and address byte; may change either.
  std::function<void(std::vector<int>&, int&)> Reshape;

  bool SetLineSettings(const std::string& s) override { return inner_.SetLineSettings(s); }
  std::string LineSettings() const override { return inner_.LineSettings(); }
  bool Open(const std::string& device) override { return inner_.Open(device); }
  void Close() override { inner_.Close(); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  bool Write(std::span<const uint8_t> bytes) override { return inner_.Write(bytes); }
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
  bool WaitForBytes(int timeoutMs) override { return BytesWaiting() > 0 || inner_.WaitForBytes(timeoutMs); }

 private:
  void Drain() {
    while (inner_.BytesWaiting() > 0) {
      const auto b = static_cast<uint8_t>(inner_.ReadByte());
      if (b < 128) frame_.clear();
      else if (frame_.empty()) continue;
      frame_.push_back(b);
      if (frame_.size() >= 2 && frame_.size() == size_t(3 + (frame_[1] & 15))) Emit();
    }
  }
  void Emit() {
    std::vector<int> payload;
    for (size_t i = 2; i + 1 < frame_.size(); ++i) payload.push_back(frame_[i] & 127);
    int address = frame_[0];
    if (Reshape) Reshape(payload, address);
    std::vector<int> bytes{address, 0xE0 | int(payload.size())};
    for (int v : payload) bytes.push_back(128 + v);
    int sum = 0;
    for (int v : bytes) sum += v;
    bytes.push_back(128 + (128 - sum % 128) % 128);
    for (int v : bytes) out_.push_back(static_cast<uint8_t>(v));
    frame_.clear();
  }
  SimSerialPort& inner_;
  std::vector<uint8_t> frame_;
  std::deque<uint8_t> out_;
};

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim.Open("SIM"));
    link.AttachPort(&port);
  }
  ControllerMemory& Memory() { return sim.Controller().Memory(); }
  // Payloads the controller accepted, without the synchronising empty frames.
  std::vector<std::vector<int>> Sent() const {
    std::vector<std::vector<int>> sent;
    for (const auto& p : sim.ReceivedPayloads())
      if (!p.empty()) sent.push_back(p);
    return sent;
  }
  void ClearSent() { sim.Controller().ClearReceived(); }
  // Replaces the payload of replies that echo the given two bytes.
  void ReshapeReply(int r0, int r1, std::vector<int> replacement) {
    port.Reshape = [=](std::vector<int>& payload, int&) {
      if (payload.size() >= 2 && payload[0] == r0 && payload[1] == r1) payload = replacement;
    };
  }
  // The reply that echoes r0, r1 comes back with the wrong alternation bit: the link
  // rejects it without switching bidirectional communication off.
  void SpoilReply(int r0, int r1) {
    port.Reshape = [=](std::vector<int>& payload, int& address) {
      if (payload.size() >= 2 && payload[0] == r0 && payload[1] == r1) address ^= 64;
    };
  }

  ManualClock clock;
  ScriptedPrompt prompt;
  QuietLog log;
  SimSerialPort sim{clock};
  ReshapingPort port{sim};
  BrixoLink link{clock, prompt, log};
  ConfigModel model;
  AddressMaps maps;
  GeneralSettings general;
  EventControlState events;
  VerificationReport report;
  CallView view;
  TransferContext ctx{link, model, maps, general, events, report, view};
};

}  // namespace brixo::gentest
