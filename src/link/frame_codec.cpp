#include "link/frame_codec.h"


#include "link/brixo_link.h"

namespace brixo {

uint8_t CheckByte(std::span<const uint8_t> bytes) {
  int sum = 0;
  for (uint8_t b : bytes) sum += b;
  return static_cast<uint8_t>(128 + ((128 - sum % 128) % 128));
}

std::optional<int> FirstOutOfRange(std::span<const int> values) {
  for (int v : values) {
    if (v < 0 || v > 127) return v;
  }
  return std::nullopt;
}

std::string OutOfRangeMessage(int value) {
  return "Value out of range 0..127: " + std::to_string(value);
}

std::vector<uint8_t> BuildDirectFrame(const DirectFrameFields& fields) {
  std::vector<uint8_t> frame;
  frame.reserve(fields.Payload.size() + 4);
  frame.push_back(fields.AddressByte);
  uint8_t header = 128 + 64 + static_cast<uint8_t>(fields.Payload.size());
  if (fields.Bidirectional) header += kBidirectionalBit;
  if (fields.ExtendedAddress) header += kExtendedBit;
  frame.push_back(header);
  if (fields.ExtendedAddress) frame.push_back(static_cast<uint8_t>(128 + *fields.ExtendedAddress));
  for (int v : fields.Payload) frame.push_back(static_cast<uint8_t>(128 + v));
  frame.push_back(CheckByte(frame));
  return frame;
}

uint8_t EncodeHostHeader(int m, int hostToggle) {
  uint8_t header;
  if (m <= 7) {
    header = static_cast<uint8_t>(0x28 + m);
  } else if (m <= 15) {
    header = static_cast<uint8_t>(m - 8);
  } else {
    header = static_cast<uint8_t>(m);  // 16..23: bit 4 set, bit 3 clear
  }
  if (hostToggle) header |= 0x40;
  return header;
}

int DecodeHostLength(uint8_t header) {
  if (header & 0x08) return header & 0x07;
  return 8 + (header & 0x07) + ((header & 0x10) ? 8 : 0);
}

std::vector<uint8_t> BuildHostFrame(int hostToggle, std::span<const int> data) {
  std::vector<uint8_t> frame;
  frame.reserve(data.size() + 2);
  frame.push_back(EncodeHostHeader(static_cast<int>(data.size()), hostToggle));
  for (int v : data) frame.push_back(static_cast<uint8_t>(128 + v));
  frame.push_back(CheckByte(frame));
  return frame;
}

std::vector<uint8_t> BuildTamloFrame(int a, int b1, int b2, int b3) {
  std::vector<uint8_t> frame{static_cast<uint8_t>(a), static_cast<uint8_t>(128 + b1),
                             static_cast<uint8_t>(128 + b2), static_cast<uint8_t>(128 + b3)};
  frame.push_back(CheckByte(frame));
  return frame;
}

std::string FormatLogByte(int value) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  const char text[] = {' ', '[', kDigits[(value >> 4) & 15], kDigits[value & 15], ']'};
  return std::string(text, sizeof text);
}

}  // namespace brixo
