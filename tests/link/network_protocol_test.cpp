// The pieces of a network port that need no network: its names, the telnet layer and the
// RFC 2217 client's negotiation, settings and acknowledgements.
#include <gtest/gtest.h>

#include <numeric>

#include "link/com_port_control.h"
#include "link/network_address.h"
#include "link/telnet_codec.h"
#include "support/case_name.h"

namespace brixo::testing {
namespace {

using namespace telnet;
using Bytes = std::vector<uint8_t>;

struct UrlCase {
  const char* Name;
  const char* Text;
  std::optional<NetworkAddress> Parsed;
  const char* Shown;  // the display name; empty when the text is no address
};

const UrlCase kUrls[] = {
    {"rfc2217 host name", "rfc2217://layout-pi:3333", NetworkAddress{NetworkProtocol::Rfc2217, "layout-pi", 3333},
     "layout-pi:3333 (RFC 2217)"},
    {"raw ipv4", "socket://192.168.1.20:4001", NetworkAddress{NetworkProtocol::RawTcp, "192.168.1.20", 4001},
     "192.168.1.20:4001 (raw TCP)"},
    {"scheme in capitals", "RFC2217://pi:1", NetworkAddress{NetworkProtocol::Rfc2217, "pi", 1}, "pi:1 (RFC 2217)"},
    {"ipv6", "rfc2217://[::1]:65535", NetworkAddress{NetworkProtocol::Rfc2217, "::1", 65535}, "[::1]:65535 (RFC 2217)"},
    {"no port", "rfc2217://layout-pi", std::nullopt, ""},
    {"port zero", "socket://pi:0", std::nullopt, ""},
    {"port too large", "socket://pi:65536", std::nullopt, ""},
    {"port not a number", "socket://pi:33a", std::nullopt, ""},
    {"empty host", "socket://:3333", std::nullopt, ""},
    {"path after port", "rfc2217://pi:3333/x", std::nullopt, ""},
    {"ipv6 without brackets", "rfc2217://::1:3333", std::nullopt, ""},
    {"unclosed bracket", "rfc2217://[::1:3333", std::nullopt, ""},
    {"other scheme", "telnet://pi:23", std::nullopt, ""},
    {"device path", "/dev/ttyUSB0", std::nullopt, ""},
};

class NetworkUrlTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(NetworkUrlTest, ParsesShowsAndWritesBack) {
  const UrlCase& c = GetParam();
  std::string error;
  const std::optional<NetworkAddress> parsed = ParseNetworkAddress(c.Text, &error);
  EXPECT_EQ(parsed, c.Parsed);
  if (!parsed) {
    EXPECT_FALSE(error.empty()) << "a refusal says why";
    EXPECT_EQ(PortDisplayName(c.Text), c.Text) << "shown as given";
    return;
  }
  EXPECT_TRUE(IsNetworkPortName(c.Text));
  EXPECT_EQ(NetworkPortName(*parsed), c.Shown);
  EXPECT_EQ(PortDisplayName(c.Text), c.Shown);
  EXPECT_EQ(ParseNetworkAddress(NetworkUrl(*parsed)), parsed) << "the stored form reads back the same";
}

INSTANTIATE_TEST_SUITE_P(Names, NetworkUrlTest, ::testing::ValuesIn(kUrls), CaseName());

TEST(NetworkUrl, OnlyTheNetworkSchemesAreNetworkNames) {
  EXPECT_TRUE(IsNetworkPortName("socket://broken"));
  EXPECT_TRUE(IsNetworkPortName("rfc2217://"));
  EXPECT_FALSE(IsNetworkPortName("/dev/ttyS0"));
  EXPECT_FALSE(IsNetworkPortName("3"));
  EXPECT_FALSE(IsNetworkPortName("Simulated Brixo"));
}

// A stream from a server with everything a reader meets: data holding 255, negotiations,
// a sub-negotiation whose value holds 255, and a command of its own (NOP).
Bytes ServerStream(Bytes& data, std::vector<Command>& commands) {
  Bytes out;
  data = {1, 255, 2};
  AppendEscaped(data, out);
  AppendNegotiation(kWill, kBinary, out);
  AppendSubNegotiation(kComPort, Bytes{101, 0, 0, 255, 255}, out);
  out.insert(out.end(), {kIac, 241});
  AppendEscaped(Bytes{255, 3}, out);
  data.insert(data.end(), {255, 3});
  AppendNegotiation(kDont, kEcho, out);
  commands = {{Command::Kind::Negotiation, kWill, kBinary, {}, 3},
              {Command::Kind::SubNegotiation, kSb, kComPort, {101, 0, 0, 255, 255}, 3},
              {Command::Kind::Other, 241, 0, {}, 3},
              {Command::Kind::Negotiation, kDont, kEcho, {}, 5}};
  return out;
}

TEST(TelnetReader, AStreamCutAnywhereReadsTheSame) {
  Bytes wantData;
  std::vector<Command> wantCommands;
  const Bytes stream = ServerStream(wantData, wantCommands);
  for (size_t cut = 0; cut <= stream.size(); ++cut) {
    Reader reader;
    Bytes data;
    std::vector<Command> commands;
    reader.Feed(std::span(stream).first(cut), data, commands);
    const size_t firstData = data.size();
    std::vector<Command> second;
    reader.Feed(std::span(stream).subspan(cut), data, second);
    for (Command& c : second) c.At += firstData;  // counted from the start of its own feed
    commands.insert(commands.end(), second.begin(), second.end());
    EXPECT_EQ(data, wantData) << "cut at " << cut;
    EXPECT_EQ(commands, wantCommands) << "cut at " << cut;
  }
}

TEST(TelnetReader, EveryByteValuePassesBothWays) {
  Bytes all(256);
  std::iota(all.begin(), all.end(), 0);
  Bytes wire;
  AppendEscaped(all, wire);
  EXPECT_EQ(wire.size(), 257u) << "only 255 goes twice";
  Reader reader;
  Bytes data;
  std::vector<Command> commands;
  reader.Feed(wire, data, commands);
  EXPECT_EQ(data, all);
  EXPECT_TRUE(commands.empty());
}

struct NegotiationCase {
  const char* Name;
  uint8_t Verb;
  uint8_t Option;
  Bytes Reply;  // after the client's offer
  bool Agreed;
  bool Declined;
};

const NegotiationCase kNegotiations[] = {
    {"do com port is the agreement", kDo, kComPort, {}, true, false},
    {"dont com port declines", kDont, kComPort, {kIac, kWont, kComPort}, false, true},
    {"will binary is the answer to do", kWill, kBinary, {}, false, false},
    {"do binary is the answer to will", kDo, kBinary, {}, false, false},
    {"wont binary is acknowledged", kWont, kBinary, {kIac, kDont, kBinary}, false, false},
    {"dont go ahead suppression is acknowledged", kDont, kSuppressGoAhead, {kIac, kWont, kSuppressGoAhead}, false,
     false},
    {"an echo is refused", kWill, kEcho, {kIac, kDont, kEcho}, false, false},
    {"echoing ourselves is refused", kDo, kEcho, {kIac, kWont, kEcho}, false, false},
    {"dont echo needs no answer", kDont, kEcho, {}, false, false},
    {"an unknown option is refused", kDo, 24, {kIac, kWont, 24}, false, false},
    {"an unknown offer is refused", kWill, 31, {kIac, kDont, 31}, false, false},
};

class ComPortNegotiationTest : public ::testing::TestWithParam<NegotiationCase> {};

TEST_P(ComPortNegotiationTest, AnswersOnlyWhatChangesAndNeverLoops) {
  const NegotiationCase& c = GetParam();
  ComPortControl control;
  const Bytes offer = control.Offer();
  EXPECT_EQ(offer, (Bytes{kIac, kWill, kComPort, kIac, kWill, kBinary, kIac, kWill, kSuppressGoAhead, kIac, kDo,
                          kBinary, kIac, kDo, kSuppressGoAhead}));
  const Command command{Command::Kind::Negotiation, c.Verb, c.Option, {}, 0};
  Bytes reply;
  control.Take(command, reply);
  EXPECT_EQ(reply, c.Reply);
  EXPECT_EQ(control.Agreed(), c.Agreed);
  EXPECT_EQ(control.Declined(), c.Declined);
  // The same command again is only ever answered by a refusal that repeats itself.
  Bytes again;
  control.Take(command, again);
  const bool refusal = c.Verb == kWill || c.Verb == kDo;
  if (!refusal || c.Reply.empty()) {
    EXPECT_TRUE(again.empty()) << "no answer to an answer";
  }
}

INSTANTIATE_TEST_SUITE_P(Options, ComPortNegotiationTest, ::testing::ValuesIn(kNegotiations), CaseName());

struct SettingsCase {
  const char* Name;
  const char* Line;
  std::optional<ComPortSettings> Settings;
};

const SettingsCase kSettings[] = {
    {"odd 19200", "19200,o,8,1", ComPortSettings{19200, 8, 2, 1}},
    {"none 9600 two stops", "9600,n,7,2", ComPortSettings{9600, 7, 1, 2}},
    {"even one and a half", "38400,e,8,1.5", ComPortSettings{38400, 8, 3, 3}},
    {"mark", "38400,m,8,1", ComPortSettings{38400, 8, 4, 1}},
    {"space five bits", "4800,s,5,1", ComPortSettings{4800, 5, 5, 1}},
    {"unknown parity", "19200,x,8,1", std::nullopt},
    {"no bit rate", "fast,o,8,1", std::nullopt},
    {"three fields", "19200,o,8", std::nullopt},
};

class ComPortSettingsTest : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(ComPortSettingsTest, LineSettingsBecomeRfc2217Values) {
  EXPECT_EQ(ComPortSettingsFor(GetParam().Line), GetParam().Settings);
}

INSTANTIATE_TEST_SUITE_P(Lines, ComPortSettingsTest, ::testing::ValuesIn(kSettings), CaseName());

Bytes Answer(ComPortCommand command, Bytes value) {
  value.insert(value.begin(), static_cast<uint8_t>(static_cast<uint8_t>(command) + kComPortServerOffset));
  return value;
}

void TakeAnswer(ComPortControl& control, Bytes payload) {
  Bytes reply;
  control.Take(Command{Command::Kind::SubNegotiation, kSb, kComPort, std::move(payload), 0}, reply);
  EXPECT_TRUE(reply.empty());
}

TEST(ComPortRequests, FirstAllFourInTheirOrderThenOnlyWhatChanged) {
  ComPortControl control;
  const Bytes first = control.Request({19200, 8, 2, 1});
  EXPECT_EQ(first, (Bytes{kIac, kSb, kComPort, 1, 0, 0, 0x4B, 0x00, kIac, kSe,  //
                          kIac, kSb, kComPort, 2, 8, kIac, kSe,                  //
                          kIac, kSb, kComPort, 3, 2, kIac, kSe,                  //
                          kIac, kSb, kComPort, 4, 1, kIac, kSe,                  //
                          kIac, kSb, kComPort, 12, 3, kIac, kSe}));
  EXPECT_FALSE(control.Settled());
  TakeAnswer(control, Answer(ComPortCommand::PurgeData, {3}));
  EXPECT_TRUE(control.TakePurged());
  EXPECT_FALSE(control.TakePurged()) << "told once";
  TakeAnswer(control, Answer(ComPortCommand::SetBaudRate, {0, 0, 0x4B, 0x00}));
  TakeAnswer(control, Answer(ComPortCommand::SetDataSize, {8}));
  TakeAnswer(control, Answer(ComPortCommand::SetParity, {2}));
  EXPECT_FALSE(control.Settled());
  TakeAnswer(control, Answer(ComPortCommand::SetStopSize, {1}));
  EXPECT_TRUE(control.Settled());
  EXPECT_EQ(control.Refusal(), "");

  // A bit rate whose bytes hold 255 goes escaped.
  const Bytes second = control.Request({65535, 8, 2, 1});
  EXPECT_EQ(second, (Bytes{kIac, kSb, kComPort, 1, 0, 0, 255, 255, 255, 255, kIac, kSe,  //
                           kIac, kSb, kComPort, 12, 3, kIac, kSe}));
}

struct RefusalCase {
  const char* Name;
  ComPortCommand Command;
  Bytes Value;
  const char* Text;
};

const RefusalCase kRefusals[] = {
    {"bit rate", ComPortCommand::SetBaudRate, {0, 0, 0x25, 0x80}, "bit rate 38400 (the server set 9600)"},
    {"data bits", ComPortCommand::SetDataSize, {7}, "data bits 8 (the server set 7)"},
    {"parity", ComPortCommand::SetParity, {1}, "parity odd (the server set none)"},
    {"stop bits", ComPortCommand::SetStopSize, {2}, "stop bits 1 (the server set 2)"},
};

class ComPortRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ComPortRefusalTest, AnotherValueInTheAnswerIsARefusal) {
  ComPortControl control;
  control.Request({38400, 8, 2, 1});
  // Notifications the client did not ask for change nothing.
  TakeAnswer(control, Answer(static_cast<ComPortCommand>(6), {0}));
  TakeAnswer(control, Answer(static_cast<ComPortCommand>(7), {0}));
  EXPECT_EQ(control.Refusal(), "");
  TakeAnswer(control, Answer(GetParam().Command, GetParam().Value));
  EXPECT_EQ(control.Refusal(), GetParam().Text);
  // Asked again, only the refused setting goes: the others stand.
  const Bytes again = control.Request({38400, 8, 2, 1});
  EXPECT_EQ(again[3], static_cast<uint8_t>(GetParam().Command));
}

INSTANTIATE_TEST_SUITE_P(Settings, ComPortRefusalTest, ::testing::ValuesIn(kRefusals), CaseName());

}  // namespace
}  // namespace brixo::testing
