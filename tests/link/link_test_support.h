#pragma once
// A scripted stand-in for the port, driven by a ManualClock so that 2-second windows pass
// without waiting, with recording message boxes and monitor.
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/brixo_link.h"
#include "link/clock.h"
#include "link/serial_port_factory.h"
#include "support/recording_log.h"
#include "support/recording_prompt.h"

namespace brixo::test {

using Bytes = std::vector<uint8_t>;

// Appends the byte that makes the frame's sum (bit 7 of all but the first byte removed)
// a multiple of 128, independently of the link's own encoder.
inline Bytes WithCheck(Bytes frame) {
  int sum = frame[0];
  for (size_t i = 1; i < frame.size(); ++i) sum += frame[i] & 127;
  frame.push_back(static_cast<uint8_t>(128 + (128 - sum % 128) % 128));
  return frame;
}

class FakePort : public SerialPort {
 public:
  explicit FakePort(ManualClock& clock) : clock_(clock) {}

  // The answer to the next Write (in order); it becomes readable delay seconds after it.
  void QueueReply(Bytes bytes, double delay = 0) { replies_.push_back({std::move(bytes), delay}); }
  void QueueSilence() { replies_.push_back({{}, 0}); }
  // Bytes readable at once.
  void Feed(const Bytes& bytes) { rx_.insert(rx_.end(), bytes.begin(), bytes.end()); }
  // Closes the port with this fault at the next wait.
  void FailOnWait(std::string fault) { failText_ = std::move(fault); }

  std::vector<Bytes> Writes;
  double WriteSeconds = 0;       // clock time each Write takes
  double ClockJumpOnWait = 0;    // added to the clock at the first wait (negative: back)
  int Waits = 0;
  bool OpenSucceeds = true;
  std::string RefuseReason = "busy";
  std::string OpenedDevice;
  std::string SettingsAtOpen;
  std::string Fault;

  bool SetLineSettings(const std::string& s) override { settings_ = s; return true; }
  std::string LineSettings() const override { return settings_; }
  bool Open(const std::string& device) override {
    if (!OpenSucceeds) { Fault = RefuseReason; return false; }
    open_ = true;
    OpenedDevice = device;
    SettingsAtOpen = settings_;
    return true;
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool Write(std::span<const uint8_t> bytes) override {
    Writes.emplace_back(bytes.begin(), bytes.end());
    clock_.Advance(WriteSeconds);
    if (!replies_.empty()) {
      Reply r = std::move(replies_.front());
      replies_.pop_front();
      if (r.Delay == 0) Feed(r.Data);
      else pending_.push_back({std::move(r.Data), clock_.NowSeconds() + r.Delay});
    }
    return open_;
  }
  int BytesWaiting() override { return static_cast<int>(rx_.size()); }
  int ReadByte() override {
    if (rx_.empty()) return -1;
    int c = rx_.front();
    rx_.pop_front();
    return c;
  }
  bool WaitForBytes(int timeoutMs) override {
    if (++Waits == 1 && ClockJumpOnWait != 0) { clock_.Advance(ClockJumpOnWait); return false; }
    if (!failText_.empty()) { Fault = failText_; failText_.clear(); open_ = false; return false; }
    if (!rx_.empty()) return true;
    const double deadline = clock_.NowSeconds() + timeoutMs / 1000.0;
    if (!pending_.empty() && pending_.front().Due <= deadline) {
      clock_.Advance(pending_.front().Due - clock_.NowSeconds());
      Feed(pending_.front().Data);
      pending_.pop_front();
      return true;
    }
    clock_.Advance(timeoutMs / 1000.0);
    return false;
  }
  std::string TakeFault() override { std::string f; f.swap(Fault); return f; }
  // The round trip of a serial server on the network in front of the line.
  double RoundTrip = 0;
  double RoundTripSeconds() const override { return RoundTrip; }
  // What the port says it could not arrange when it opens.
  std::vector<std::string> Notes;
  std::vector<std::string> TakeNotes() override { std::vector<std::string> n; n.swap(Notes); return n; }

 private:
  struct Reply { Bytes Data; double Delay; };
  struct Pending { Bytes Data; double Due; };
  ManualClock& clock_;
  std::deque<Reply> replies_;
  std::deque<Pending> pending_;
  std::deque<uint8_t> rx_;
  std::string settings_;
  std::string failText_;
  bool open_ = false;
};

using testing::RecordingLog;
using testing::RecordingPrompt;

// A link on a fake port that is open, with the alternation bit at 0 and no resync due.
struct LinkRig {
  ManualClock Clock;
  RecordingPrompt Prompt;
  RecordingLog Log;
  FakePort Port{Clock};
  BrixoLink Link{Clock, Prompt, Log};
  LinkRig() {
    Port.Open("fake");
    Link.AttachPort(&Port);
  }
};

// Hands out FakePorts; devices named in Refuse cannot be opened.
class FakeFactory : public SerialPortFactory {
 public:
  explicit FakeFactory(ManualClock& clock) : clock_(clock) {}
  std::vector<std::string> Refuse;
  std::vector<std::string> NotesAtOpen;  // every port made says these when it opens
  std::string RefuseReason = "busy";
  std::vector<FakePort*> Made;  // still owned by whoever holds them
  std::unique_ptr<SerialPort> CreatePort(const std::string& device) override {
    auto port = std::make_unique<FakePort>(clock_);
    port->Notes = NotesAtOpen;
    for (const std::string& r : Refuse) {
      if (r == device) port->OpenSucceeds = false;
      port->RefuseReason = RefuseReason;
    }
    Made.push_back(port.get());
    return port;
  }

 private:
  ManualClock& clock_;
};

}  // namespace brixo::test
