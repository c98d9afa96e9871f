#include "link/port_list.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace brixo {

namespace {

constexpr std::array<std::string_view, 3> kFamilies{"ttyUSB", "ttyACM", "ttyS"};

struct SortKey {
  size_t Family;
  unsigned long Index;
  bool operator<(const SortKey& other) const {
    return Family != other.Family ? Family < other.Family : Index < other.Index;
  }
};

// The family rank and device index of a name such as "ttyUSB3"; false for other names.
bool ParseDeviceName(const std::string& name, SortKey& key) {
  for (size_t f = 0; f < kFamilies.size(); ++f) {
    const std::string_view prefix = kFamilies[f];
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.size() > 6 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return false;
    key = {f, std::stoul(digits)};
    return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> OrderSerialDevices(const std::vector<std::string>& entryNames, const std::string& dir) {
  std::vector<std::pair<SortKey, std::string>> found;
  for (const std::string& name : entryNames) {
    SortKey key;
    if (ParseDeviceName(name, key)) found.emplace_back(key, name);
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> devices;
  for (const auto& [key, name] : found) {
    if (devices.size() == static_cast<size_t>(kMaxMachinePorts)) break;
    devices.push_back(dir + "/" + name);
  }
  return devices;
}

std::vector<std::string> ScanSerialDevices() {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it("/dev", error), end; !error && it != end; it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  return OrderSerialDevices(names);
}

std::vector<PortEntry> NumberPorts(const std::vector<std::string>& machineDevices,
                                   const std::vector<std::string>& extraDevices) {
  std::vector<PortEntry> entries;
  int number = 0;
  for (const std::string& device : machineDevices) entries.push_back({++number, device});
  for (const std::string& device : extraDevices) entries.push_back({++number, device});
  return entries;
}

}  // namespace brixo
