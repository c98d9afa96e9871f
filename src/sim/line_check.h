#pragma once
// The check byte shared by controller, legacy and host frames: it makes the sum of all
// bytes of a frame a multiple of 128.
#include <cstdint>
#include <span>

namespace brixo {

inline uint8_t LineCheckByte(std::span<const uint8_t> bytesBefore) {
  unsigned sum = 0;
  for (uint8_t b : bytesBefore) sum += b;
  return static_cast<uint8_t>(128 + ((128 - sum % 128) % 128));
}

inline bool LineSumValid(std::span<const uint8_t> frame) {
  unsigned sum = 0;
  for (uint8_t b : frame) sum += b;
  return sum % 128 == 0;
}

}  // namespace brixo
