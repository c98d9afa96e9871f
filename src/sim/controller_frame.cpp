#include "sim/controller_frame.h"

#include "sim/line_check.h"

namespace brixo {

namespace {
constexpr std::array<uint8_t, 9> kBurst{0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA, 0xAA};
constexpr size_t kLegacyLength = 5;

// A direct header always has bit 6 set; a legacy frame's second byte is 128 + b1 and the
// tool's legacy commands keep b1 small, so bit 6 tells the two apart.
bool IsLegacySecondByte(uint8_t byte) { return (byte & 0x40) == 0; }

size_t DirectLength(uint8_t header) {
  return 2 + ((header & 0x10) ? 1 : 0) + (header & 0x0F) + 1;
}
}  // namespace

bool ControllerFrameReader::BurstJustEnded(uint8_t byte) {
  if (recentCount_ < 9) {
    recent_[recentCount_++] = byte;
  } else {
    for (int i = 0; i < 8; ++i) recent_[i] = recent_[i + 1];
    recent_[8] = byte;
  }
  return recentCount_ == 9 && recent_ == kBurst;
}

std::optional<LineEvent> ControllerFrameReader::Push(uint8_t byte) {
  if (BurstJustEnded(byte)) {
    buffer_.clear();
    recentCount_ = 0;
    LineEvent event;
    event.What = LineEvent::Kind::Burst;
    return event;
  }
  if (byte < 0x80) {
    // An address byte starts a new frame wherever the previous one stood.
    buffer_.assign(1, byte);
    return std::nullopt;
  }
  if (buffer_.empty()) return std::nullopt;  // noise between frames
  buffer_.push_back(byte);
  const size_t wanted = IsLegacySecondByte(buffer_[1]) ? kLegacyLength : DirectLength(buffer_[1]);
  if (buffer_.size() < wanted) return std::nullopt;
  return Complete();
}

std::optional<LineEvent> ControllerFrameReader::Complete() {
  std::vector<uint8_t> frame;
  frame.swap(buffer_);
  if (!LineSumValid(frame)) return std::nullopt;
  LineEvent event;
  if (IsLegacySecondByte(frame[1])) {
    event.What = LineEvent::Kind::Legacy;
    event.Legacy = {frame[0], frame[1] & 127, frame[2] & 127, frame[3] & 127};
    return event;
  }
  event.What = LineEvent::Kind::Frame;
  ControllerFrame& f = event.Frame;
  f.AddressByte = frame[0];
  f.Header = frame[1];
  size_t at = 2;
  if (frame[1] & 0x10) f.Extended = frame[at++] & 127;
  for (; at + 1 < frame.size(); ++at) f.Payload.push_back(frame[at] & 127);
  return event;
}

std::vector<uint8_t> EncodeControllerReply(uint8_t addressByte, std::optional<int> extended,
                                           const std::vector<int>& payload) {
  std::vector<uint8_t> out;
  out.push_back(static_cast<uint8_t>(addressByte & 0x7F));
  out.push_back(static_cast<uint8_t>(0x80 | 0x60 | (extended ? 0x10 : 0) | (payload.size() & 15)));
  if (extended) out.push_back(static_cast<uint8_t>(0x80 | (*extended & 127)));
  for (int v : payload) out.push_back(static_cast<uint8_t>(0x80 | (v & 127)));
  out.push_back(LineCheckByte(out));
  return out;
}

}  // namespace brixo
