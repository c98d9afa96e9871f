#include "link/telnet_codec.h"

namespace brixo::telnet {

void AppendEscaped(std::span<const uint8_t> data, std::vector<uint8_t>& out) {
  for (uint8_t byte : data) {
    out.push_back(byte);
    if (byte == kIac) out.push_back(kIac);
  }
}

void AppendNegotiation(uint8_t verb, uint8_t option, std::vector<uint8_t>& out) {
  out.insert(out.end(), {kIac, verb, option});
}

void AppendSubNegotiation(uint8_t option, std::span<const uint8_t> value, std::vector<uint8_t>& out) {
  out.insert(out.end(), {kIac, kSb, option});
  AppendEscaped(value, out);
  out.insert(out.end(), {kIac, kSe});
}

void Reader::Feed(std::span<const uint8_t> bytes, std::vector<uint8_t>& data, std::vector<Command>& commands) {
  const size_t dataBefore = data.size();
  const auto done = [&](Command command) {
    command.At = data.size() - dataBefore;
    commands.push_back(std::move(command));
  };
  for (uint8_t byte : bytes) {
    switch (state_) {
      case State::Data:
        if (byte == kIac) state_ = State::Iac;
        else data.push_back(byte);
        break;
      case State::Iac:
        if (byte == kIac) {
          data.push_back(kIac);
          state_ = State::Data;
        } else if (byte == kWill || byte == kWont || byte == kDo || byte == kDont) {
          pending_ = Command{Command::Kind::Negotiation, byte, 0, {}, 0};
          state_ = State::Option;
        } else if (byte == kSb) {
          pending_ = Command{Command::Kind::SubNegotiation, byte, 0, {}, 0};
          state_ = State::SubOption;
        } else {
          // NOP, data mark, go-ahead and the like: nothing this line needs.
          done(Command{Command::Kind::Other, byte, 0, {}, 0});
          state_ = State::Data;
        }
        break;
      case State::Option:
        pending_.Option = byte;
        done(pending_);
        state_ = State::Data;
        break;
      case State::SubOption:
        pending_.Option = byte;
        state_ = State::SubData;
        break;
      case State::SubData:
        if (byte == kIac) state_ = State::SubIac;
        else if (pending_.Payload.size() < kMostPayload) pending_.Payload.push_back(byte);
        break;
      case State::SubIac:
        if (byte == kSe) {
          done(pending_);
          state_ = State::Data;
        } else {
          // A doubled 255 is a value byte; anything else ends a malformed sub-negotiation
          // as well as anything can.
          if (byte == kIac && pending_.Payload.size() < kMostPayload) pending_.Payload.push_back(kIac);
          state_ = byte == kIac ? State::SubData : State::Data;
        }
        break;
    }
  }
}

}  // namespace brixo::telnet
