#pragma once
// The simulated controller on an in-process line, reached without its own headers: they
// declare names that clash with the model's in one translation unit.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "link/clock.h"
#include "link/serial_port.h"

namespace brixo {

class SimLine {
 public:
  static std::unique_ptr<SimLine> Open(Clock& clock);
  virtual ~SimLine() = default;

  virtual SerialPort& Port() = 0;
  virtual void SetOutputConfig(int pin, const std::array<uint8_t, 13>& stored,
                               const std::array<uint8_t, 13>& active, int level) = 0;
  virtual void SetShortPwm(bool shortPwm) = 0;
  virtual void SetNoReply(bool noReply) = 0;
  virtual std::vector<int> LastPayload() const = 0;
};

}  // namespace brixo
