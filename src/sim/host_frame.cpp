#include "sim/host_frame.h"

#include "sim/line_check.h"

namespace brixo {

int HostLengthCode(int m) {
  if (m <= 7) return 0x28 + m;
  if (m <= 15) return m - 8;
  return m;  // 16..23: bit 4 set, bit 3 clear
}

int HostDataLength(uint8_t header) {
  if (header & 0x08) return header & 7;
  return 8 + (header & 7) + ((header & 0x10) ? 8 : 0);
}

std::vector<uint8_t> EncodeHostFrame(int toggle, const std::vector<int>& data) {
  std::vector<uint8_t> out;
  out.push_back(static_cast<uint8_t>(HostLengthCode(static_cast<int>(data.size())) | (toggle ? 0x40 : 0)));
  for (int v : data) out.push_back(static_cast<uint8_t>(0x80 | (v & 127)));
  out.push_back(LineCheckByte(out));
  return out;
}

std::optional<std::vector<int>> HostFrameReader::Push(uint8_t byte) {
  if (byte < 0x80) {
    buffer_.assign(1, byte);
    expected_ = HostDataLength(byte) + 2;
    return std::nullopt;
  }
  if (buffer_.empty()) return std::nullopt;
  buffer_.push_back(byte);
  if (static_cast<int>(buffer_.size()) < expected_) return std::nullopt;
  std::vector<uint8_t> frame;
  frame.swap(buffer_);
  if (!LineSumValid(frame)) return std::nullopt;
  std::vector<int> data;
  for (size_t i = 1; i + 1 < frame.size(); ++i) data.push_back(frame[i] & 127);
  return data;
}

}  // namespace brixo
