#pragma once
// Makes the port object for a device name, so that the window can offer real devices,
// the CLI a pseudo-terminal, and tests their fakes or the in-process simulator.
#include <memory>
#include <string>

#include "link/serial_port.h"

namespace brixo {

class SerialPortFactory {
 public:
  virtual ~SerialPortFactory() = default;
  // A closed port for the device, or null when this factory cannot serve it.
  virtual std::unique_ptr<SerialPort> CreatePort(const std::string& device) = 0;
};

}  // namespace brixo
