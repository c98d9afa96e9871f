#pragma once
// Which serial devices the port list offers and under which numbers. The machine's own
// devices come from a scanner (QSerialPortInfo in the window and the CLI, fakes in tests):
// USB adapters first, then the others, each family in natural order (ttyS2 before ttyS10),
// numbered 1..16; devices named on the command line follow them.
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace brixo {

inline constexpr int kMaxMachinePorts = 16;

// What the machine tells about one of its serial devices.
struct SerialDeviceInfo {
  std::string Device;        // "/dev/ttyUSB0"
  std::string Description;   // "FT232R USB UART"
  std::string Manufacturer;  // "FTDI"
  std::string SerialNumber;  // "A12345"
  std::string ById;          // "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0"
  bool Usb = false;          // behind a USB vendor and product id
  bool operator==(const SerialDeviceInfo&) const = default;
};

// Lists the machine's serial devices that exist; the order does not matter.
using PortScanner = std::function<std::vector<SerialDeviceInfo>()>;

struct PortEntry {
  int Number = 0;
  SerialDeviceInfo Info;
  const std::string& Device() const { return Info.Device; }
  // The list text: number, blank, device, and what tells two adapters apart
  // ("1 /dev/ttyUSB0 — FT232R USB UART (A12345)").
  std::string Text() const;
  // Everything known of the device, one fact a line, for a tool tip.
  std::string Details() const;
};

// The machine's devices in list order, at most kMaxMachinePorts of them.
std::vector<SerialDeviceInfo> OrderSerialDevices(std::vector<SerialDeviceInfo> devices);

// Numbers the machine's devices from 1 and the extra devices after them; an extra device
// that the machine lists already keeps the machine's entry.
std::vector<PortEntry> NumberPorts(const std::vector<SerialDeviceInfo>& machineDevices,
                                   const std::vector<std::string>& extraDevices);

// The links of a /dev/serial/by-id folder, by the device each one names.
std::map<std::string, std::string> ByIdLinks(const std::string& folder = "/dev/serial/by-id");

// A port as it is remembered between runs: by what stays when an adapter is plugged into
// another socket or after others (its serial number, its by-id name), not by its number.
struct PortIdentity {
  std::string SerialNumber;
  std::string ById;
  std::string Device;
  bool Empty() const { return SerialNumber.empty() && ById.empty() && Device.empty(); }
  bool operator==(const PortIdentity&) const = default;
};

PortIdentity IdentityOf(const SerialDeviceInfo& device);
// The entry of the remembered port, or null. A device known by a by-id name or a serial
// number is found only by that; a device path alone stands for ports without either (a
// built-in ttyS0), whose path does not change.
const PortEntry* FindPort(const std::vector<PortEntry>& entries, const PortIdentity& identity);

}  // namespace brixo
