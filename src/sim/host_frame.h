#pragma once
// Host-interface frames: header (bit 7 clear, bit 6 toggle, length code), data bytes with
// bit 7 set, check byte.
#include <cstdint>
#include <optional>
#include <vector>

namespace brixo {

// Header length code for m data bytes (0..23), toggle bit not included.
int HostLengthCode(int m);
// Data length announced by a received header byte.
int HostDataLength(uint8_t header);

std::vector<uint8_t> EncodeHostFrame(int toggle, const std::vector<int>& data);

class HostFrameReader {
 public:
  // Returns the data of a complete frame with a valid check byte.
  std::optional<std::vector<int>> Push(uint8_t byte);

 private:
  std::vector<uint8_t> buffer_;
  int expected_ = 0;
};

}  // namespace brixo
