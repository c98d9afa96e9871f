#include "link/com_port_control.h"

#include <algorithm>
#include <array>

#include "link/line_timing.h"

namespace brixo {

namespace {

using namespace telnet;

bool Supported(uint8_t option) { return option == kComPort || option == kBinary || option == kSuppressGoAhead; }
// Options the server may switch on for its side: binary and no go-aheads. An echo of what
// is sent would come back as a controller's reply.
bool WantedFromServer(uint8_t option) { return option == kBinary || option == kSuppressGoAhead; }

constexpr std::array<const char*, 6> kParityNames{"?", "none", "odd", "even", "mark", "space"};
constexpr std::array<const char*, 4> kStopNames{"?", "1", "2", "1.5"};

std::string ValueText(ComPortCommand command, uint32_t value) {
  switch (command) {
    case ComPortCommand::SetParity: return value < kParityNames.size() ? kParityNames[value] : std::to_string(value);
    case ComPortCommand::SetStopSize: return value < kStopNames.size() ? kStopNames[value] : std::to_string(value);
    default: return std::to_string(value);
  }
}

const char* SettingName(ComPortCommand command) {
  switch (command) {
    case ComPortCommand::SetBaudRate: return "bit rate";
    case ComPortCommand::SetDataSize: return "data bits";
    case ComPortCommand::SetParity: return "parity";
    case ComPortCommand::SetStopSize: return "stop bits";
    default: return "setting";
  }
}

std::vector<uint8_t> ValueBytes(ComPortCommand command, uint32_t value) {
  if (command == ComPortCommand::SetBaudRate)
    return {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
  return {uint8_t(value)};
}

}  // namespace

std::optional<ComPortSettings> ComPortSettingsFor(const std::string& lineSettings) {
  if (BitsPerByte(lineSettings) == 0) return std::nullopt;
  const size_t first = lineSettings.find(',');
  const size_t second = lineSettings.find(',', first + 1);
  const size_t third = lineSettings.find(',', second + 1);
  const std::string parity = lineSettings.substr(first + 1, second - first - 1);
  const std::string stop = lineSettings.substr(third + 1);
  ComPortSettings settings;
  settings.BitRate = static_cast<uint32_t>(BitRate(lineSettings));
  settings.DataSize = static_cast<uint8_t>(lineSettings[second + 1] - '0');
  const std::array<const char*, 5> letters{"n", "o", "e", "m", "s"};
  settings.Parity = static_cast<uint8_t>(1 + (std::find(letters.begin(), letters.end(), parity) - letters.begin()));
  settings.StopSize = stop == "1" ? 1 : stop == "2" ? 2 : 3;
  return settings;
}

std::vector<uint8_t> ComPortControl::Offer() {
  std::vector<uint8_t> out;
  for (uint8_t option : {kComPort, kBinary, kSuppressGoAhead}) {
    AppendNegotiation(kWill, option, out);
    weWill_[option] = true;
  }
  for (uint8_t option : {kBinary, kSuppressGoAhead}) {
    AppendNegotiation(kDo, option, out);
    theyDo_[option] = true;
  }
  return out;
}

void ComPortControl::Take(const Command& command, std::vector<uint8_t>& reply) {
  if (command.Type == Command::Kind::Negotiation) Negotiate(command, reply);
  if (command.Type == Command::Kind::SubNegotiation && command.Option == kComPort) TakeAnswer(command.Payload);
}

// Answers only what changes a state, so that two ends that both answer never loop.
void ComPortControl::Negotiate(const Command& command, std::vector<uint8_t>& reply) {
  const uint8_t option = command.Option;
  switch (command.Verb) {
    case kDo:
      if (option == kComPort) agreed_ = true;
      if (weWill_[option]) break;
      if (Supported(option)) {
        weWill_[option] = true;
        AppendNegotiation(kWill, option, reply);
      } else {
        AppendNegotiation(kWont, option, reply);
      }
      break;
    case kDont:
      if (option == kComPort) {
        declined_ = true;
        agreed_ = false;
      }
      if (!weWill_[option]) break;
      weWill_[option] = false;
      AppendNegotiation(kWont, option, reply);
      break;
    case kWill:
      if (theyDo_[option]) break;
      if (WantedFromServer(option)) {
        theyDo_[option] = true;
        AppendNegotiation(kDo, option, reply);
      } else {
        AppendNegotiation(kDont, option, reply);
      }
      break;
    case kWont:
      if (!theyDo_[option]) break;
      theyDo_[option] = false;
      AppendNegotiation(kDont, option, reply);
      break;
    default:
      break;
  }
}

void ComPortControl::Ask(ComPortCommand command, uint32_t value, std::vector<uint8_t>& out) {
  std::vector<uint8_t> payload{static_cast<uint8_t>(command)};
  const std::vector<uint8_t> bytes = ValueBytes(command, value);
  payload.insert(payload.end(), bytes.begin(), bytes.end());
  AppendSubNegotiation(kComPort, payload, out);
  awaited_.push_back({command, value});
}

std::vector<uint8_t> ComPortControl::Request(const ComPortSettings& wanted) {
  std::vector<uint8_t> out;
  const ComPortSettings* known = acknowledged_ ? &*acknowledged_ : nullptr;
  // The order RFC 2217 recommends, so that no step passes through a combination the
  // server's device refuses.
  if (!known || known->BitRate != wanted.BitRate) Ask(ComPortCommand::SetBaudRate, wanted.BitRate, out);
  if (!known || known->DataSize != wanted.DataSize) Ask(ComPortCommand::SetDataSize, wanted.DataSize, out);
  if (!known || known->Parity != wanted.Parity) Ask(ComPortCommand::SetParity, wanted.Parity, out);
  if (!known || known->StopSize != wanted.StopSize) Ask(ComPortCommand::SetStopSize, wanted.StopSize, out);
  Ask(ComPortCommand::PurgeData, kPurgeBothBuffers, out);
  purged_ = false;
  // What the server will hold once it has answered; an answer with another value corrects it.
  acknowledged_ = wanted;
  return out;
}

void ComPortControl::TakeAnswer(const std::vector<uint8_t>& payload) {
  if (payload.empty() || payload[0] < kComPortServerOffset) return;
  const auto command = static_cast<ComPortCommand>(payload[0] - kComPortServerOffset);
  const auto awaited = std::find_if(awaited_.begin(), awaited_.end(),
                                    [&](const Awaited& a) { return a.Command == command; });
  // Notifications of line and modem state, and answers nobody asked for.
  if (awaited == awaited_.end()) return;
  uint32_t value = 0;
  for (size_t i = 1; i < payload.size() && i <= 4; ++i) value = (value << 8) | payload[i];
  const Awaited asked = *awaited;
  awaited_.erase(awaited);
  if (command == ComPortCommand::PurgeData) {
    purged_ = true;
    return;
  }
  if (value != asked.Value && refusal_.empty()) {
    refusal_ = std::string(SettingName(command)) + " " + ValueText(command, asked.Value) + " (the server set " +
               ValueText(command, value) + ")";
  }
  ComPortSettings& known = *acknowledged_;
  switch (command) {
    case ComPortCommand::SetBaudRate: known.BitRate = value; break;
    case ComPortCommand::SetDataSize: known.DataSize = uint8_t(value); break;
    case ComPortCommand::SetParity: known.Parity = uint8_t(value); break;
    case ComPortCommand::SetStopSize: known.StopSize = uint8_t(value); break;
    default: break;
  }
}

bool ComPortControl::TakePurged() {
  const bool purged = purged_;
  purged_ = false;
  return purged;
}

}  // namespace brixo
