#include "sim_line.h"

#include "sim/sim_serial_port.h"

namespace brixo {

namespace {

class SimLineImpl final : public SimLine {
 public:
  explicit SimLineImpl(Clock& clock) : port_(clock) { port_.Open("SIM"); }
  SerialPort& Port() override { return port_; }
  void SetOutputConfig(int pin, const std::array<uint8_t, 13>& stored, const std::array<uint8_t, 13>& active,
                       int level) override {
    PinMemory& p = port_.Controller().Memory().Pins[pin];
    p.StoredOutputConfig = stored;
    p.ActiveOutputConfig = active;
    p.OutputLevel = static_cast<uint8_t>(level);
  }
  void SetShortPwm(bool shortPwm) override { port_.Controller().Faults().ShortPwmConfig = shortPwm; }
  void SetNoReply(bool noReply) override { port_.Controller().Faults().NoReply = noReply; }
  std::vector<int> LastPayload() const override {
    const auto payloads = port_.ReceivedPayloads();
    return payloads.empty() ? std::vector<int>{} : payloads.back();
  }

 private:
  SimSerialPort port_;
};

}  // namespace

std::unique_ptr<SimLine> SimLine::Open(Clock& clock) { return std::make_unique<SimLineImpl>(clock); }

}  // namespace brixo
