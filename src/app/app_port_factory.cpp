#include "app/app_port_factory.h"

#include "link/network_serial_port.h"

namespace brixo {

namespace {

// A port object lent out for the simulator, which stays with the factory.
class SimulatorHandle final : public SerialPort {
 public:
  explicit SimulatorHandle(SimSerialPort& line) : line_(line) {}
  ~SimulatorHandle() override { Close(); }

  bool SetLineSettings(const std::string& settings) override { return line_.SetLineSettings(settings); }
  std::string LineSettings() const override { return line_.LineSettings(); }
  bool Open(const std::string& device) override {
    opened_ = line_.Open(device);
    return opened_;
  }
  void Close() override {
    // Only the handle that opened the line may close it: a probe that failed to open
    // must not shut the line of the port in use.
    if (opened_) line_.Close();
    opened_ = false;
  }
  bool IsOpen() const override { return opened_ && line_.IsOpen(); }
  bool Write(std::span<const uint8_t> bytes) override { return IsOpen() && line_.Write(bytes); }
  int BytesWaiting() override { return IsOpen() ? line_.BytesWaiting() : 0; }
  int ReadByte() override { return IsOpen() ? line_.ReadByte() : -1; }
  bool WaitForBytes(int timeoutMs) override { return IsOpen() && line_.WaitForBytes(timeoutMs); }
  bool WaitForCount(int count, int timeoutMs) override { return IsOpen() && line_.WaitForCount(count, timeoutMs); }
  void CheckStillThere() override {
    if (opened_) line_.CheckStillThere();
  }
  std::string TakeFault() override { return opened_ ? line_.TakeFault() : std::string(); }

 private:
  SimSerialPort& line_;
  bool opened_ = false;
};

}  // namespace

SimSerialPort& AppPortFactory::EnableSimulator() {
  if (!simulator_) simulator_ = std::make_unique<SimSerialPort>(clock_);
  return *simulator_;
}

std::unique_ptr<SerialPort> AppPortFactory::CreatePort(const std::string& device) {
  if (device == kSimulatedPortName) {
    if (!simulator_) return nullptr;
    return std::make_unique<SimulatorHandle>(*simulator_);
  }
  if (IsNetworkPortName(device)) return std::make_unique<NetworkSerialPort>();
  return devices_ != nullptr ? devices_->CreatePort(device) : nullptr;
}

}  // namespace brixo
