#pragma once
// Byte layouts of the three frame kinds on the serial line: the controller frame, the
// host-interface frame and the five-byte legacy frame, plus the resynchronisation burst.
// Every frame ends with a check byte that makes the sum of its bytes (low 7 bits for
// all but the first) a multiple of 128.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brixo {

inline constexpr int kMaxPayload = 15;       // controller payload bytes per frame
inline constexpr int kMaxHostData = 23;      // data bytes a host header can announce
inline constexpr uint8_t kBidirectionalBit = 32;
inline constexpr uint8_t kExtendedBit = 16;

inline constexpr std::array<uint8_t, 9> kResyncBurst{0x00, 0x00, 0x00, 0xFF, 0xFF,
                                                     0xFF, 0xAA, 0xAA, 0xAA};

// 128 + ((-S) mod 128) for the bytes given.
uint8_t CheckByte(std::span<const uint8_t> bytes);

// The first value outside 0..127, if any: such a value would set bit 7 and read as an
// address byte on the line.
std::optional<int> FirstOutOfRange(std::span<const int> values);
std::string OutOfRangeMessage(int value);

struct DirectFrameFields {
  uint8_t AddressByte = 3;           // module × 4 + 3 + alternation bit
  bool Bidirectional = true;
  std::optional<int> ExtendedAddress;  // present when extended addressing is on
  std::vector<int> Payload;          // 0..kMaxPayload values, each 0..127
};

std::vector<uint8_t> BuildDirectFrame(const DirectFrameFields& fields);

// Host header for m data bytes (0..kMaxHostData) with the alternation bit hostToggle.
uint8_t EncodeHostHeader(int m, int hostToggle);
// Data length announced by a received host header.
int DecodeHostLength(uint8_t header);
std::vector<uint8_t> BuildHostFrame(int hostToggle, std::span<const int> data);

std::vector<uint8_t> BuildTamloFrame(int a, int b1, int b2, int b3);

}  // namespace brixo
