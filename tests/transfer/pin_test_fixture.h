#pragma once
// A transfer context wired to the in-process simulated controller, with a manual clock,
// a recording message prompt and a recording view. Shared by the pin, deferred-command
// and sequence tests.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/brixo_link.h"
#include "link/clock.h"
#include "sim/sim_serial_port.h"
#include "transfer/transfer_context.h"

namespace brixo::testing {

class RecordingPrompt : public UserPrompt {
 public:
  MessageAnswer ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons) override {
    Messages.push_back(text);
    Icons.push_back(icon);
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
  }
  std::vector<std::string> Messages;
  std::vector<MessageIcon> Icons;
};

class NullLog : public CommLog {
 public:
  void AppendLine(const std::string&) override {}
};

// Records every call in order; SetBusy as "SetBusy(1)" / "SetBusy(0)".
class RecordingView : public TransferView {
 public:
  void RebuildAddressMaps() override { Record("RebuildAddressMaps"); }
  void ShowPin() override { Record("ShowPin"); }
  void ShowAddressCounts() override { Record("ShowAddressCounts"); }
  void ShowOutputConfig() override { Record("ShowOutputConfig"); }
  void ShowEventPin() override { Record("ShowEventPin"); }
  void ShowGeneralSettings() override { Record("ShowGeneralSettings"); }
  void SetBusy(bool visible) override { Record(visible ? "SetBusy(1)" : "SetBusy(0)"); }
  void ShowProgress(const std::string& text) override {
    Progress.push_back(text);
    if (OnProgress) OnProgress(text);
  }
  void ShowReport() override { Record("ShowReport"); }

  bool Saw(const std::string& call) const {
    for (const auto& c : Calls) {
      if (c == call) return true;
    }
    return false;
  }
  std::vector<std::string> Calls;
  std::vector<std::string> Progress;
  std::function<void(const std::string&)> OnCall;
  std::function<void(const std::string&)> OnProgress;

 private:
  void Record(const std::string& call) {
    Calls.push_back(call);
    if (OnCall) OnCall(call);
  }
};

// Passes everything through to the simulated port but lets a test reshape the payload of
// chosen replies (re-framing them with a correct header and check byte), for replies no
// real controller fault produces.
class ReplyRewritingPort : public SerialPort {
 public:
  explicit ReplyRewritingPort(SimSerialPort& inner) : inner_(inner) {}
  // Called with each reply payload; may change it.
  std::function<void(std::vector<int>&)> Rewrite;

  bool SetLineSettings(const std::string& s) override { return inner_.SetLineSettings(s); }
  std::string LineSettings() const override { return inner_.LineSettings(); }
  bool Open(const std::string& device) override { return inner_.Open(device); }
  void Close() override { inner_.Close(); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  bool Write(std::span<const uint8_t> bytes) override {
    const bool ok = inner_.Write(bytes);
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
    inner_.WaitForBytes(timeoutMs);
    return BytesWaiting() > 0;
  }

 private:
  void Drain() {
    while (inner_.BytesWaiting() > 0) Take(static_cast<uint8_t>(inner_.ReadByte()));
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
    if (Rewrite && payload.size() >= 2) Rewrite(payload);
    std::vector<int> bytes{frame_[0], 0x80 | 0x60 | static_cast<int>(payload.size())};
    for (int v : payload) bytes.push_back(128 + v);
    int sum = 0;
    for (int v : bytes) sum += v;
    bytes.push_back(128 + ((128 - sum % 128) % 128));
    for (int v : bytes) out_.push_back(static_cast<uint8_t>(v));
    frame_.clear();
  }
  SimSerialPort& inner_;
  std::vector<uint8_t> frame_;
  std::deque<uint8_t> out_;
};

class TransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(port.Open("SIM"));
    link.AttachPort(&port);
  }

  // Payloads the controller received, without the synchronising empty frames.
  std::vector<std::vector<int>> Payloads() const {
    std::vector<std::vector<int>> result;
    for (const auto& p : port.ReceivedPayloads()) {
      if (!p.empty()) result.push_back(p);
    }
    return result;
  }
  std::vector<int> Commands() const {
    std::vector<int> codes;
    for (const auto& p : Payloads()) codes.push_back(p[0]);
    return codes;
  }
  int CountCommand(int code) const {
    int n = 0;
    for (int c : Commands()) n += c == code;
    return n;
  }
  void ClearPayloads() { port.Controller().ClearReceived(); }
  PinMemory& SimPin(int p) { return port.Controller().Memory().Pins[p]; }

  ManualClock clock;
  RecordingPrompt prompt;
  NullLog log;
  SimSerialPort port{clock};
  BrixoLink link{clock, prompt, log};
  ConfigModel model;
  AddressMaps maps;
  GeneralSettings general;
  EventControlState events;
  VerificationReport report;
  RecordingView view;
  TransferContext ctx{link, model, maps, general, events, report, view};
};

// A pin program that exercises every encoding: fade, the seven-bit split of "SendSerial 1",
// a backward device pointer, all three address counts and an initial aspect.
inline PinRecord SamplePin(uint8_t layout) {
  PinRecord pin;
  pin.AspectConfig = layout;
  pin.InitAspect = 3;
  pin.DccAddressCount = 2;
  pin.XDccAddressCount = 1;
  pin.SerialAddressCount = 3;
  pin.DevicePointer = -3;
  for (int a = 0; a < 12; ++a) {
    for (int s = 0; s < 9; ++s) {
      pin.Aspects[a].Steps[s] = StepRecord{uint8_t(1 + (a + s) % 3), 0, uint8_t(s), uint8_t(a), uint8_t(a + s), 1};
    }
  }
  pin.Aspects[0].Steps[0] = StepRecord{38, 1, 2, 17, 5, 2};     // "Set Level" with fade
  pin.Aspects[1].Steps[1] = StepRecord{4, 0, 0, 200, 129, 3};   // "SendSerial 1", Byte 200
  return pin;
}

}  // namespace brixo::testing
