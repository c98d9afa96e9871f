#pragma once
// The host system's interface unit in front of the controller: answers host frames and
// queries, carries tunnelled controller messages, and can be switched into transparent
// mode in which it passes bytes straight through.
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "sim/controller_bus.h"
#include "sim/host_frame.h"

namespace brixo {

// Bytes the unit sends back, and how long after the request they start.
using UnitOutput = LineReply;

struct InterfaceUnitConfig {
  int ProtocolVersion = 3200;  // answered to 1, 2 as H, L
  int UnitType = 2;            // 2 Kesta, 3 Vulmo, 10 Sarpa
  int UnitVersion = 1020;      // answered to 1, 10 with the type
  // Tunnelled replies come with the next poll; false answers the request frame itself.
  bool ReplyOnNextPoll = true;
  // An answer with nothing to deliver takes this long, so that a tool polling for a reply
  // that never comes sees its clock move.
  double IdlePollSeconds = 0.002;
  bool Silent = false;          // answers nothing at all
  bool WrongCheckByte = false;  // every answer carries a bad check byte
};

class InterfaceUnit {
 public:
  explicit InterfaceUnit(ControllerBus& controllers);

  InterfaceUnitConfig& Config() { return config_; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on) { transparent_ = on; }
  // Host frames received with valid check bytes, as data bytes (empty = poll).
  const std::vector<std::vector<int>>& HostFrames() const { return frames_; }

  // One byte from the tool at clock time now; returns what the unit sends back.
  UnitOutput ReceiveLineByte(uint8_t byte, double now);

 private:
  struct PendingReply {
    std::vector<int> Data;
    double Due;  // the controller's answer is not there before this time
  };
  UnitOutput Answer(const std::vector<int>& data, double now);
  UnitOutput Frame(const std::vector<int>& data, double delay = 0.0);

  ControllerBus& controllers_;
  InterfaceUnitConfig config_;
  HostFrameReader reader_;
  bool transparent_ = false;
  int toggle_ = 0;
  std::deque<PendingReply> pending_;  // tunnelled replies waiting for a poll
  std::vector<std::vector<int>> frames_;
};

// Packs a version such as 3200 into the two bytes H, L the host protocol uses; a version
// without an exact form becomes the highest one below it.
std::pair<int, int> PackHostVersion(int version);

}  // namespace brixo
