#pragma once
// The telnet layer of an RFC 2217 connection: data bytes with 255 doubled, option
// negotiation, and sub-negotiations. Pure byte handling, so that it can be tried without a
// server.
#include <cstdint>
#include <span>
#include <vector>

namespace brixo::telnet {

inline constexpr uint8_t kIac = 255;
inline constexpr uint8_t kDont = 254;
inline constexpr uint8_t kDo = 253;
inline constexpr uint8_t kWont = 252;
inline constexpr uint8_t kWill = 251;
inline constexpr uint8_t kSb = 250;
inline constexpr uint8_t kSe = 240;

inline constexpr uint8_t kBinary = 0;
inline constexpr uint8_t kEcho = 1;
inline constexpr uint8_t kSuppressGoAhead = 3;
inline constexpr uint8_t kComPort = 44;

// Appends data bytes as they travel: a 255 goes twice.
void AppendEscaped(std::span<const uint8_t> data, std::vector<uint8_t>& out);

// IAC verb option.
void AppendNegotiation(uint8_t verb, uint8_t option, std::vector<uint8_t>& out);

// IAC SB option value... IAC SE, the value escaped.
void AppendSubNegotiation(uint8_t option, std::span<const uint8_t> value, std::vector<uint8_t>& out);

// A telnet command the far end sent.
struct Command {
  enum class Kind { Negotiation, SubNegotiation, Other };
  Kind Type = Kind::Other;
  uint8_t Verb = 0;              // WILL, WONT, DO, DONT; SB for a sub-negotiation; else the command
  uint8_t Option = 0;
  std::vector<uint8_t> Payload;  // of a sub-negotiation, unescaped, option byte excluded
  size_t At = 0;                 // how many data bytes of the same Feed came before it
  bool operator==(const Command&) const = default;
};

// Splits what the far end sends into data bytes and commands. A command may be cut
// anywhere between two reads: the reader keeps its place.
class Reader {
 public:
  void Feed(std::span<const uint8_t> bytes, std::vector<uint8_t>& data, std::vector<Command>& commands);

 private:
  enum class State { Data, Iac, Option, SubOption, SubData, SubIac };
  State state_ = State::Data;
  Command pending_;
  // A sub-negotiation longer than this is no COM-port answer: the rest is dropped.
  static constexpr size_t kMostPayload = 256;
};

}  // namespace brixo::telnet
