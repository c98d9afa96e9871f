#pragma once
// The controllers that share one serial line. Every controller sees every byte and answers
// what is addressed to it; when more than one answers the same frame their replies collide
// and the line carries noise that no receiver takes for a frame.
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "sim/sim_controller.h"

namespace brixo {

// Bytes sent back on the line, and how long after the request they start.
struct LineReply {
  std::vector<uint8_t> Bytes;
  double DelaySeconds = 0.0;
};

class ControllerBus {
 public:
  // One controller, at module address 0.
  ControllerBus();

  // The first controller: the one a single-controller line has.
  SimController& First() { return controllers_.front(); }
  const SimController& First() const { return controllers_.front(); }
  // Adds a controller with its own factory-fresh memory; references stay valid.
  SimController& Add(int module);
  int Count() const { return static_cast<int>(controllers_.size()); }
  SimController& At(int index) { return controllers_.at(static_cast<size_t>(index)); }
  // The controller at this module address that answers this extended address (any when
  // none is given); null when there is none.
  SimController* Find(int module, std::optional<int> extended = std::nullopt);

  LineReply ReceiveLineByte(uint8_t byte);
  // A message carried by the interface unit; the answer when exactly one controller gave one.
  std::optional<ControllerAnswer> Accept(const ControllerRequest& request);
  void AcceptLegacy(const std::array<int, 4>& frame);
  // One controller's GoneAfterFrames fault has struck: the device serving the line is gone.
  bool AnyGone() const;

 private:
  std::deque<SimController> controllers_;
};

}  // namespace brixo
