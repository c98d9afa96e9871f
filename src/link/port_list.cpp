#include "link/port_list.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <tuple>

#include "link/network_address.h"

namespace brixo {

namespace {

constexpr std::array<std::string_view, 3> kFamilies{"ttyUSB", "ttyACM", "ttyS"};

// USB first; then the known families in their order, the others by name; within a family
// by the device's number, so that ttyS2 comes before ttyS10.
struct SortKey {
  bool NotUsb;
  size_t Family;
  std::string Stem;
  unsigned long Index;
  std::string Name;
  bool operator<(const SortKey& other) const {
    return std::tie(NotUsb, Family, Stem, Index, Name) <
           std::tie(other.NotUsb, other.Family, other.Stem, other.Index, other.Name);
  }
};

SortKey KeyOf(const SerialDeviceInfo& device) {
  const std::string name = std::filesystem::path(device.Device).filename().string();
  size_t digits = name.size();
  while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
  const std::string stem = name.substr(0, digits);
  const std::string number = name.substr(digits);
  const unsigned long index = number.empty() || number.size() > 9 ? 0 : std::stoul(number);
  size_t family = kFamilies.size();
  for (size_t f = 0; f < kFamilies.size(); ++f) {
    if (stem == kFamilies[f]) family = f;
  }
  return {!device.Usb, family, stem, index, device.Device};
}

}  // namespace

std::string PortEntry::Text() const {
  // A serial server on the network by its name: "2 layout-pi:3333 (RFC 2217)".
  if (IsNetworkPortName(Info.Device)) return std::to_string(Number) + " " + PortDisplayName(Info.Device);
  std::string text = std::to_string(Number) + " " + Info.Device;
  const std::string& label = Info.Description.empty() ? Info.Manufacturer : Info.Description;
  if (!label.empty()) text += " \u2014 " + label;
  if (!Info.SerialNumber.empty()) text += (label.empty() ? " \u2014 (" : " (") + Info.SerialNumber + ")";
  return text;
}

std::string PortEntry::Details() const {
  std::string text = Info.Device;
  if (const std::optional<NetworkAddress> address = ParseNetworkAddress(Info.Device))
    text += std::string("\nSerial server on the network (") + ProtocolName(address->Protocol) + ")";
  const std::pair<const char*, const std::string*> facts[] = {{"Description", &Info.Description},
                                                              {"Manufacturer", &Info.Manufacturer},
                                                              {"Serial number", &Info.SerialNumber},
                                                              {"Stable name", &Info.ById}};
  for (const auto& [caption, value] : facts) {
    if (!value->empty()) text += "\n" + std::string(caption) + ": " + *value;
  }
  return text;
}

std::vector<SerialDeviceInfo> OrderSerialDevices(std::vector<SerialDeviceInfo> devices) {
  std::stable_sort(devices.begin(), devices.end(),
                   [](const SerialDeviceInfo& a, const SerialDeviceInfo& b) { return KeyOf(a) < KeyOf(b); });
  if (devices.size() > static_cast<size_t>(kMaxMachinePorts)) devices.resize(kMaxMachinePorts);
  return devices;
}

std::vector<PortEntry> NumberPorts(const std::vector<SerialDeviceInfo>& machineDevices,
                                   const std::vector<std::string>& extraDevices) {
  std::vector<PortEntry> entries;
  int number = 0;
  for (const SerialDeviceInfo& device : machineDevices) entries.push_back({++number, device});
  for (const std::string& device : extraDevices) {
    const bool listed = std::any_of(machineDevices.begin(), machineDevices.end(),
                                    [&](const SerialDeviceInfo& machine) { return machine.Device == device; });
    if (listed) continue;
    SerialDeviceInfo extra;
    extra.Device = device;
    entries.push_back({++number, extra});
  }
  return entries;
}

std::map<std::string, std::string> ByIdLinks(const std::string& folder) {
  std::map<std::string, std::string> links;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code broken;
    const std::filesystem::path target = std::filesystem::canonical(it->path(), broken);
    if (!broken) links.emplace(target.string(), it->path().string());
  }
  return links;
}

PortIdentity IdentityOf(const SerialDeviceInfo& device) {
  return {device.SerialNumber, device.ById, device.Device};
}

const PortEntry* FindPort(const std::vector<PortEntry>& entries, const PortIdentity& identity) {
  const auto find = [&](auto matches) -> const PortEntry* {
    const auto it = std::find_if(entries.begin(), entries.end(), matches);
    return it == entries.end() ? nullptr : &*it;
  };
  if (!identity.ById.empty()) return find([&](const PortEntry& e) { return e.Info.ById == identity.ById; });
  if (!identity.SerialNumber.empty()) {
    // Two adapters of one make may share a serial number: the one at the old path first.
    if (const PortEntry* same = find([&](const PortEntry& e) {
          return e.Info.SerialNumber == identity.SerialNumber && e.Device() == identity.Device;
        }))
      return same;
    return find([&](const PortEntry& e) { return e.Info.SerialNumber == identity.SerialNumber; });
  }
  if (identity.Device.empty()) return nullptr;
  return find([&](const PortEntry& e) { return e.Device() == identity.Device; });
}

}  // namespace brixo
