#pragma once
// The controller's side of the direct serial line: splitting the byte stream into frames
// (direct frames, legacy five-byte frames and the resynchronisation burst) and building
// reply frames. Written independently of the tool's own link code on purpose.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace brixo {

struct ControllerFrame {
  uint8_t AddressByte = 0;  // as received, alternation bit included
  uint8_t Header = 0;       // as received, bit 7 set
  std::optional<int> Extended;
  std::vector<int> Payload;

  int Module() const { return (AddressByte >> 2) & 15; }
  bool Bidirectional() const { return (Header & 32) != 0; }
};

struct LineEvent {
  enum class Kind { Frame, Legacy, Burst };
  Kind What = Kind::Frame;
  ControllerFrame Frame;           // Kind::Frame
  std::array<int, 4> Legacy{};     // Kind::Legacy: address byte, b1, b2, b3
};

// Collects bytes into frames. Frames with a wrong check byte are dropped, as the
// controller cannot tell what they were meant to say.
class ControllerFrameReader {
 public:
  std::optional<LineEvent> Push(uint8_t byte);
  void Reset() { buffer_.clear(); }

 private:
  bool BurstJustEnded(uint8_t byte);
  std::optional<LineEvent> Complete();

  std::vector<uint8_t> buffer_;
  std::array<uint8_t, 9> recent_{};
  int recentCount_ = 0;
};

// A whole reply frame: address byte, header 0xE0 | (0x10 with extended byte) | n,
// [128 + extended], 128 + payload values, check byte.
std::vector<uint8_t> EncodeControllerReply(uint8_t addressByte, std::optional<int> extended,
                                           const std::vector<int>& payload);

}  // namespace brixo
