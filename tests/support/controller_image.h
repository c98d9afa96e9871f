#pragma once
// The simulated controller's memory as a list of bytes, each marked with whether the data
// file describes it. Built by walking the memory itself, so that a member added to the
// controller's memory is noticed here (its bytes would be neither described nor excluded)
// instead of being silently left out of the round-trip and mutation properties.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "sim/controller_memory.h"

namespace brixo::testing {

struct ImageByte {
  std::string Name;
  uint8_t* Byte = nullptr;
  bool Described = false;  // false: the controller holds it, the data file does not
};

// A new member of ControllerMemory must be listed in ControllerImage below; these sizes
// make the build say so.
static_assert(sizeof(PinMemory) == 1 + 12 * 9 * 5 + 1 + 3 + 13 + 13 + 1 + 4 + 4,
              "PinMemory changed: classify its new bytes in ControllerImage");
namespace image_detail {
constexpr size_t RoundUp(size_t n, size_t to) { return (n + to - 1) / to * to; }
// Version .. SerialAddressByte, the identification string, EnableOnMask .. SerialFormat, the pins.
constexpr size_t kGeneralBytes = 4 + 4 + 1 + 4 + 1 + 1 + 1 + 1 + 1 + 1 + 1;
constexpr size_t kMemorySize =
    RoundUp(RoundUp(kGeneralBytes, alignof(std::string)) + sizeof(std::string) + 6 + sizeof(PinMemory) * kSimPinCount,
            alignof(ControllerMemory));
}  // namespace image_detail
static_assert(sizeof(ControllerMemory) == image_detail::kMemorySize,
              "ControllerMemory changed: list its new bytes in ControllerImage");

namespace image_detail {

inline std::string PinName(int p, const std::string& what) { return "pin " + std::to_string(p) + " " + what; }

// Every byte of one pin's memory, classified by where it lies in the record.
inline void AddPin(std::vector<ImageByte>& image, PinMemory& pin, int p, bool shortPwm) {
  uint8_t* base = reinterpret_cast<uint8_t*>(&pin);
  const int aspects = pin.AspectConfig == 3 ? 4 : pin.AspectConfig == 2 ? 12 : 0;
  const int steps = pin.AspectConfig == 3 ? 9 : pin.AspectConfig == 2 ? 3 : 0;
  const int configBytes = OutputConfigLength(pin.StoredOutputConfig[0], shortPwm);
  for (size_t offset = 0; offset < sizeof(PinMemory); ++offset) {
    ImageByte b;
    b.Byte = base + offset;
    auto within = [offset](size_t start, size_t size) { return offset >= start && offset < start + size; };
    if (offset == offsetof(PinMemory, AspectConfig)) {
      b = {PinName(p, "layout"), b.Byte, true};
    } else if (within(offsetof(PinMemory, Steps), sizeof(pin.Steps))) {
      const size_t k = offset - offsetof(PinMemory, Steps);
      const int a = static_cast<int>(k / (9 * 5));
      const int s = static_cast<int>(k / 5 % 9);
      b = {PinName(p, "aspect " + std::to_string(a) + " step " + std::to_string(s) + " byte " + std::to_string(k % 5)),
           b.Byte, a < aspects && s < steps};
    } else if (offset == offsetof(PinMemory, InitByte)) {
      b = {PinName(p, "initial aspect byte"), b.Byte, true};
    } else if (within(offsetof(PinMemory, AddressBytes), 3)) {
      b = {PinName(p, "address byte " + std::to_string(offset - offsetof(PinMemory, AddressBytes))), b.Byte, true};
    } else if (within(offsetof(PinMemory, StoredOutputConfig), kSimOutputConfigSize)) {
      const int i = static_cast<int>(offset - offsetof(PinMemory, StoredOutputConfig));
      b = {PinName(p, "stored output byte " + std::to_string(i)), b.Byte, i < configBytes};
    } else if (within(offsetof(PinMemory, ActiveOutputConfig), kSimOutputConfigSize) ||
               offset == offsetof(PinMemory, OutputLevel)) {
      b = {PinName(p, "running output"), b.Byte, false};  // what the outputs do now
    } else if (within(offsetof(PinMemory, OnActions), 4)) {
      b = {PinName(p, "on-action byte " + std::to_string(offset - offsetof(PinMemory, OnActions))), b.Byte, true};
    } else if (within(offsetof(PinMemory, OffActions), 4)) {
      b = {PinName(p, "off-action byte " + std::to_string(offset - offsetof(PinMemory, OffActions))), b.Byte, true};
    } else {
      ADD_FAILURE() << "pin memory byte " << offset << " is neither described nor excluded";
    }
    image.push_back(b);
  }
}

}  // namespace image_detail

inline std::vector<ImageByte> ControllerImage(ControllerMemory& m, bool shortPwm = false) {
  std::vector<ImageByte> image;
  auto add = [&image](const std::string& name, uint8_t& byte, bool described = true) {
    image.push_back({name, &byte, described});
  };
  auto addAll = [&add](const std::string& name, auto& bytes, bool described = true) {
    for (size_t i = 0; i < bytes.size(); ++i) add(name + " " + std::to_string(i), bytes[i], described);
  };
  addAll("version", m.Version, false);  // the firmware's, not the configuration's
  addAll("hardware group", m.HardwareConfig);
  add("module extended address", m.ModuleXAddress);
  addAll("group mask", m.GroupMask);
  add("DCC low", m.DccLow);
  add("DCC high", m.DccHigh);
  add("DCC options", m.DccOptions);
  add("green LED", m.GreenLed);
  add("orange LED", m.OrangeLed);
  add("serial flex flag", m.SerialFlexFlag);
  add("serial address byte", m.SerialAddressByte);
  for (size_t i = 0; i < m.IdString.size(); ++i) {
    add("ID character " + std::to_string(i), reinterpret_cast<uint8_t&>(m.IdString[i]));
  }
  add("enable ON mask", m.EnableOnMask);
  add("enable OFF mask", m.EnableOffMask);
  add("extended DCC low", m.XDccLow);
  add("extended DCC high", m.XDccHigh);
  add("serial port enable", m.SerialEnable);
  add("serial port format", m.SerialFormat);
  for (int p = 0; p < kSimPinCount; ++p) image_detail::AddPin(image, m.Pins[p], p, shortPwm);
  return image;
}

// The described bytes' values, in image order.
inline std::vector<uint8_t> DescribedBytes(ControllerMemory& m) {
  std::vector<uint8_t> values;
  for (const ImageByte& b : ControllerImage(m)) {
    if (b.Described) values.push_back(*b.Byte);
  }
  return values;
}

}  // namespace brixo::testing
