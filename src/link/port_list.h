#pragma once
// Which serial devices the port list offers and under which numbers. Numbers 1..16 go to
// the machine's serial devices in a stable order: /dev/ttyUSB*, then /dev/ttyACM*, then
// /dev/ttyS*, each in numeric order (ttyS2 before ttyS10).
#include <string>
#include <vector>

namespace brixo {

inline constexpr int kMaxMachinePorts = 16;

struct PortEntry {
  int Number = 0;
  std::string Device;
  // The list text: number, blank, device ("1 /dev/ttyUSB0").
  std::string Text() const { return std::to_string(Number) + " " + Device; }
};

// Full paths of the serial devices among the entry names of directory dir, in list order,
// at most kMaxMachinePorts of them.
std::vector<std::string> OrderSerialDevices(const std::vector<std::string>& entryNames,
                                            const std::string& dir = "/dev");

// The entry names of /dev that look like serial devices, ordered as above.
std::vector<std::string> ScanSerialDevices();

// Numbers the machine's devices from 1 and the extra devices after them.
std::vector<PortEntry> NumberPorts(const std::vector<std::string>& machineDevices,
                                   const std::vector<std::string>& extraDevices);

}  // namespace brixo
