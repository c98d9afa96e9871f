#pragma once
// The ports the application offers: whatever the injected factory serves (real devices
// through QSerialPort in the window and the CLI; nothing in tests), serial servers on the
// network by their URL ("rfc2217://layout-pi:3333"), plus the in-process simulated
// controller under its own entry. The simulator outlives every port object made
// for it, so it keeps its configuration when the port is closed and opened again.
#include <memory>
#include <string>

#include "link/clock.h"
#include "link/serial_port_factory.h"
#include "sim/sim_serial_port.h"

namespace brixo {

// The port-list entry of the simulated controller.
inline constexpr const char* kSimulatedPortName = "Simulated Brixo";

class AppPortFactory final : public SerialPortFactory {
 public:
  // devices may be null: then only the simulator (when enabled) is served.
  AppPortFactory(Clock& clock, SerialPortFactory* devices) : clock_(clock), devices_(devices) {}

  // Creates the simulated controller (once); its port entry becomes usable.
  SimSerialPort& EnableSimulator();
  // Null until EnableSimulator.
  SimSerialPort* Simulator() { return simulator_.get(); }

  std::unique_ptr<SerialPort> CreatePort(const std::string& device) override;

 private:
  Clock& clock_;
  SerialPortFactory* devices_;
  std::unique_ptr<SimSerialPort> simulator_;
};

}  // namespace brixo
