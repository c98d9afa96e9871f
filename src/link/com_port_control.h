#pragma once
// The client's side of RFC 2217 (telnet COM-port control): the option negotiation, the
// line settings as the server takes them, their acknowledgements and the purges. It
// produces and consumes telnet bytes only; the network port carries them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/telnet_codec.h"

namespace brixo {

// RFC 2217 command codes the client sends; the server answers with the code plus 100.
enum class ComPortCommand : uint8_t {
  Signature = 0,
  SetBaudRate = 1,
  SetDataSize = 2,
  SetParity = 3,
  SetStopSize = 4,
  PurgeData = 12,
};
inline constexpr uint8_t kComPortServerOffset = 100;
inline constexpr uint8_t kPurgeBothBuffers = 3;

// The line settings as RFC 2217 carries them.
struct ComPortSettings {
  uint32_t BitRate = 19200;
  uint8_t DataSize = 8;  // 5..8
  uint8_t Parity = 2;    // 1 none, 2 odd, 3 even, 4 mark, 5 space
  uint8_t StopSize = 1;  // 1 one, 2 two, 3 one and a half
  bool operator==(const ComPortSettings&) const = default;
};

// "19200,o,8,1" as RFC 2217 values; nothing for a text of another shape.
std::optional<ComPortSettings> ComPortSettingsFor(const std::string& lineSettings);

class ComPortControl {
 public:
  // What a client says on connecting: it will use COM-port control, binary both ways and
  // no go-aheads (so that every byte value passes as it is).
  std::vector<uint8_t> Offer();
  // A command of the server; the answers it needs are appended to reply.
  void Take(const telnet::Command& command, std::vector<uint8_t>& reply);

  // The server agreed to COM-port control (DO COM-PORT-OPTION), or declined it.
  bool Agreed() const { return agreed_; }
  bool Declined() const { return declined_; }

  // Asks for the settings that differ from what the server last acknowledged (all of
  // them the first time), then for a purge of both of its buffers, so that nothing sent
  // or received at other settings is left. Each request awaits its acknowledgement.
  std::vector<uint8_t> Request(const ComPortSettings& wanted);
  // Every request has had its acknowledgement.
  bool Settled() const { return awaited_.empty(); }
  // The purge asked for last has been acknowledged since the previous call: received
  // data from before it is stale.
  bool TakePurged();
  // The first setting the server acknowledged with another value than asked for
  // ("bit rate 38400 (the server set 9600)"); empty while there is none.
  const std::string& Refusal() const { return refusal_; }

 private:
  struct Awaited {
    ComPortCommand Command;
    uint32_t Value;
  };
  void Ask(ComPortCommand command, uint32_t value, std::vector<uint8_t>& out);
  void TakeAnswer(const std::vector<uint8_t>& payload);
  void Negotiate(const telnet::Command& command, std::vector<uint8_t>& reply);

  bool weWill_[256] = {};  // options we said WILL to and still do
  bool theyDo_[256] = {};  // options we said DO to and the server has not refused
  bool agreed_ = false;
  bool declined_ = false;
  std::optional<ComPortSettings> acknowledged_;  // what the server holds, or will once it answered
  std::vector<Awaited> awaited_;
  bool purged_ = false;
  std::string refusal_;
};

}  // namespace brixo
