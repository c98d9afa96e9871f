#pragma once
// Frame building on the test side, kept apart from both the tool's link and the
// simulator's own codec so that neither can hide a fault of the other.
#include <cstdint>
#include <optional>
#include <vector>

#include "link/clock.h"
#include "sim/sim_serial_port.h"

namespace brixo::test {

using Bytes = std::vector<uint8_t>;

inline Bytes WithCheck(Bytes bytes) {
  int sum = 0;
  for (uint8_t b : bytes) sum += b;
  bytes.push_back(static_cast<uint8_t>(128 + (128 - sum % 128) % 128));
  return bytes;
}

// A direct request: address byte module*4+3 (+64 alternation), header 0xC0 (+32
// bidirectional, +16 extended) + n.
inline Bytes Request(int module, const std::vector<int>& payload, bool toggle = false,
                     bool bidirectional = true, std::optional<int> extended = std::nullopt) {
  Bytes b{static_cast<uint8_t>(module * 4 + 3 + (toggle ? 64 : 0)),
          static_cast<uint8_t>(0xC0 + (bidirectional ? 32 : 0) + (extended ? 16 : 0) + payload.size())};
  if (extended) b.push_back(static_cast<uint8_t>(128 + *extended));
  for (int v : payload) b.push_back(static_cast<uint8_t>(128 + v));
  return WithCheck(b);
}

// A host frame with toggle 0 and the given data.
inline Bytes HostRequest(const std::vector<int>& data) {
  const int m = static_cast<int>(data.size());
  const int code = m <= 7 ? 0x28 + m : (m <= 15 ? m - 8 : m);
  Bytes b{static_cast<uint8_t>(code)};
  for (int v : data) b.push_back(static_cast<uint8_t>(128 + v));
  return WithCheck(b);
}

inline bool SumValid(const Bytes& frame) {
  int sum = 0;
  for (uint8_t b : frame) sum += b;
  return !frame.empty() && sum % 128 == 0;
}

// The simulated line with a manual clock; Send returns whatever is readable afterwards.
struct Line {
  ManualClock clock;
  SimSerialPort port{clock};
  Line() { port.Open("SIM"); }

  Bytes Send(const Bytes& bytes) {
    port.Write(bytes);
    Bytes out;
    while (port.WaitForBytes(20)) {
      while (port.BytesWaiting() > 0) out.push_back(static_cast<uint8_t>(port.ReadByte()));
    }
    return out;
  }
  // Sends a direct request and returns the reply payload (bit 7 removed), or nothing when
  // no well-formed reply came back.
  std::optional<std::vector<int>> Ask(const std::vector<int>& payload, int module = 0) {
    const Bytes reply = Send(Request(module, payload));
    if (reply.size() < 3 || !SumValid(reply)) return std::nullopt;
    const size_t skip = (reply[1] & 16) ? 3 : 2;
    std::vector<int> out;
    for (size_t i = skip; i + 1 < reply.size(); ++i) out.push_back(reply[i] & 127);
    if (static_cast<int>(out.size()) != (reply[1] & 15)) return std::nullopt;
    return out;
  }
};

}  // namespace brixo::test
