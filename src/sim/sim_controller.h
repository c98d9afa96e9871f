#pragma once
// The simulated controller: accepts the frames addressed to it, keeps its configuration
// memory, answers reads, applies writes and live commands, and records what it received.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "sim/controller_frame.h"
#include "sim/controller_memory.h"
#include "sim/sim_faults.h"

namespace brixo {

// What the running outputs show, as set by live and legacy commands.
struct LiveOutputs {
  std::array<int, kSimPinCount> Aspect;  // last aspect per pin, -1 = none set
  std::array<bool, kSimPinCount> LampTest{};
  int ResetCount = 0;
  LiveOutputs() { Aspect.fill(-1); }
};

// One controller message, however it travelled (direct frame or tunnelled).
struct ControllerRequest {
  int Module = 0;
  bool Bidirectional = true;
  std::optional<int> Extended;
  std::vector<int> Payload;
};

struct ControllerAnswer {
  std::optional<int> Extended;  // extended-address byte the reply carries
  std::vector<int> Payload;
  double DelaySeconds = 0.0;    // how long after the request the reply starts
};

class SimController {
 public:
  SimController();

  ControllerMemory& Memory() { return memory_; }
  const ControllerMemory& Memory() const { return memory_; }
  SimFaults& Faults() { return faults_; }
  LiveOutputs& Outputs() { return outputs_; }

  // The controller's module address (0..31; direct frames reach 0..15).
  void SetModuleAddress(int module) { module_ = module & 31; }
  int ModuleAddress() const { return module_; }
  // The four values answered to the empty frame.
  void SetFeedback(const std::array<int, 4>& values) { feedback_ = values; }
  // The GoneAfterFrames fault has struck: the device is no longer there.
  bool Gone() const { return gone_; }

  // Direct line: one byte in, the bytes of any reply out. Each controller remembers the
  // last frame it carried out: the same frame again, alternation bit included, is the
  // tool repeating itself and is only answered again, not carried out twice. The
  // synchronising empty frame after a burst makes the controller it names forget it.
  std::vector<uint8_t> ReceiveLineByte(uint8_t byte);
  // A message for some module; runs it when it is for this controller and returns the
  // reply when one is due.
  std::optional<ControllerAnswer> Accept(const ControllerRequest& request);
  // A legacy five-byte message (address byte, b1, b2, b3); never answered.
  void AcceptLegacy(const std::array<int, 4>& frame);

  const std::vector<std::vector<int>>& ReceivedPayloads() const { return received_; }
  const std::vector<std::array<int, 4>>& LegacyFrames() const { return legacy_; }
  void ClearReceived() {
    received_.clear();
    legacy_.clear();
  }

 private:
  bool AddressedToMe(const ControllerRequest& request) const;
  // The faults that lose frames (gone, silent, one lost frame): true for a frame addressed
  // here that is lost on the line, neither carried out nor answered.
  bool LoseThisFrame();
  std::optional<ControllerAnswer> CarryOut(const ControllerRequest& request);
  std::vector<int> Execute(const std::vector<int>& payload);
  std::vector<int> ReadGeneral(int sub) const;
  std::vector<int> WriteGeneral(const std::vector<int>& payload);
  std::vector<int> ReadPin(const std::vector<int>& payload) const;
  std::vector<int> WritePin(const std::vector<int>& payload);
  std::vector<int> WriteOutputConfig(const std::vector<int>& payload);
  std::vector<int> LiveCommand(const std::vector<int>& payload);
  std::vector<int> OutputConfigReply(int command, int pin) const;
  std::vector<uint8_t> DirectReply(const ControllerFrame& frame, const ControllerAnswer& answer) const;

  ControllerMemory memory_;
  SimFaults faults_;
  LiveOutputs outputs_;
  int module_ = 0;
  std::array<int, 4> feedback_{0, 0, 0, 0};
  ControllerFrameReader reader_;
  bool afterBurst_ = false;
  bool gone_ = false;
  std::optional<ControllerFrame> lastFrame_;  // the last frame carried out since the last sync
  std::vector<uint8_t> lastReply_;            // and what it was answered with
  std::vector<std::vector<int>> received_;
  std::vector<std::array<int, 4>> legacy_;
};

}  // namespace brixo
