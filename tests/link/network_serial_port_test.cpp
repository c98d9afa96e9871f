// The network port against a serial server in the test's own thread: every byte value
// both ways, the settings and purges it asks for, and each way a connection fails, with
// the message the user gets.
#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <thread>

#include "link/network_serial_port.h"
#include "support/case_name.h"
#include "support/fake_serial_server.h"

namespace brixo::testing {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

std::string Url(NetworkProtocol protocol, int port) { return NetworkUrl({protocol, "127.0.0.1", port}); }

// Reads count bytes, as the link does: wait, then take what came.
Bytes ReadBytes(SerialPort& port, size_t count, int timeoutMs = 2000) {
  Bytes got;
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (got.size() < count && Clock::now() < end) {
    port.WaitForCount(static_cast<int>(count - got.size()), 100);
    for (int c; got.size() < count && (c = port.ReadByte()) >= 0;) got.push_back(static_cast<uint8_t>(c));
  }
  return got;
}

// A listening socket whose queue is full: the next connection's handshake is never
// answered, as with a host that is switched off.
class UnansweringListener {
 public:
  UnansweringListener() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    ::listen(listener_, 0);
    port_ = ntohs(address.sin_port);
    // The queue holds one connection nobody accepts; further ones get no answer.
    for (int& filler : fillers_) {
      filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
      ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ~UnansweringListener() {
    for (int filler : fillers_) ::close(filler);
    ::close(listener_);
  }
  int Port() const { return port_; }

 private:
  int listener_ = -1;
  int port_ = 0;
  int fillers_[2] = {-1, -1};
};

class NetworkPortEchoTest : public ::testing::TestWithParam<NetworkProtocol> {};

TEST_P(NetworkPortEchoTest, EveryByteValueCrossesBothWaysUnchanged) {
  FakeServerScript script;
  script.Telnet = GetParam() == NetworkProtocol::Rfc2217;
  FakeSerialServer server(script);
  NetworkSerialPort port;
  ASSERT_TRUE(port.Open(Url(GetParam(), server.Port()))) << port.TakeFault();
  EXPECT_TRUE(port.IsOpen());
  Bytes all(256);
  std::iota(all.begin(), all.end(), 0);
  // Twice, so that a 255 at the end of one write is no half of a telnet command.
  Bytes sent = all;
  sent.insert(sent.end(), all.rbegin(), all.rend());
  ASSERT_TRUE(port.Write(sent));
  EXPECT_EQ(ReadBytes(port, sent.size()), sent);
  EXPECT_EQ(server.Received().Data, sent);
  EXPECT_GT(port.RoundTripSeconds(), 0.0);
  EXPECT_LT(port.RoundTripSeconds(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Protocols, NetworkPortEchoTest,
                         ::testing::Values(NetworkProtocol::RawTcp, NetworkProtocol::Rfc2217),
                         [](const auto& info) { return info.param == NetworkProtocol::Rfc2217 ? "rfc2217" : "raw"; });

TEST(NetworkPort, Rfc2217SetsTheLineOnOpeningAndWhenItChangesAndPurgesEachTime) {
  FakeServerScript script;
  script.StaleBytes = {0x55, 0xFF, 0x01};
  FakeSerialServer server(script);
  NetworkSerialPort port;
  ASSERT_TRUE(port.SetLineSettings("38400,o,8,1"));
  ASSERT_TRUE(port.Open(Url(NetworkProtocol::Rfc2217, server.Port()))) << port.TakeFault();
  EXPECT_EQ(port.BytesWaiting(), 0) << "what the line held before the purge is gone";
  ASSERT_TRUE(port.SetLineSettings("9600,o,8,1"));
  EXPECT_TRUE(port.IsOpen());
  const std::vector<Bytes> requests = server.Received().Requests;
  EXPECT_EQ(requests, (std::vector<Bytes>{{1, 0, 0, 0x96, 0x00}, {2, 8}, {3, 2}, {4, 1}, {12, 3},
                                          {1, 0, 0, 0x25, 0x80}, {12, 3}}));
  // The client's answers to ser2net's greeting: echo refused, the rest were its own offers.
  const std::vector<telnet::Command> commands = server.Received().Commands;
  const bool refusedEcho = std::any_of(commands.begin(), commands.end(), [](const telnet::Command& c) {
    return c.Verb == telnet::kDont && c.Option == telnet::kEcho;
  });
  EXPECT_TRUE(refusedEcho);
  EXPECT_TRUE(port.TakeNotes().empty());
}

TEST(NetworkPort, RawTcpCannotSetTheLineAndSaysSoOnce) {
  FakeServerScript script;
  script.Telnet = false;
  FakeSerialServer server(script);
  NetworkSerialPort port;
  ASSERT_TRUE(port.Open(Url(NetworkProtocol::RawTcp, server.Port())));
  EXPECT_EQ(port.TakeNotes(), std::vector<std::string>{"127.0.0.1:" + std::to_string(server.Port()) +
                                                       " (raw TCP): the serial server sets the line itself; it must be "
                                                       "set to 19200,o,8,1"});
  EXPECT_TRUE(port.TakeNotes().empty());
}

// A server that goes away under an open port: the port closes and says so once, as a local
// port whose adapter was unplugged does.
TEST(NetworkPort, AServerThatHangsUpLeavesTheFaultOfAPortThatWentAway) {
  FakeSerialServer server({});
  NetworkSerialPort port;
  ASSERT_TRUE(port.Open(Url(NetworkProtocol::Rfc2217, server.Port())));
  server.Hangup();
  const auto start = Clock::now();
  EXPECT_FALSE(port.WaitForCount(5, 20000));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(10000)) << "the end of the connection ends the wait";
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.TakeFault(), "Communications port 127.0.0.1:" + std::to_string(server.Port()) +
                                  " (RFC 2217) went away (the serial server closed the connection)");
  EXPECT_EQ(port.TakeFault(), "");
  EXPECT_FALSE(port.Write(Bytes{1, 2, 3}));
}

struct OpenFailure {
  const char* Name;
  FakeServerScript Script;
  bool Listen;  // a fake server listens; otherwise nothing does
  std::string Fault;  // with PORT for the port number
  int Connections = 1;  // made to the server: a hang-up is tried again
};

std::string WithPort(std::string text, int port) {
  for (size_t at; (at = text.find("PORT")) != std::string::npos;) text.replace(at, 4, std::to_string(port));
  return text;
}

class NetworkPortOpenFailureTest : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(NetworkPortOpenFailureTest, LeavesThePortClosedWithItsOwnMessage) {
  const OpenFailure& c = GetParam();
  std::optional<FakeSerialServer> server;
  int port = 0;
  if (c.Listen) {
    server.emplace(c.Script);
    port = server->Port();
  } else {
    // A port that was free a moment ago: nothing listens there.
    FakeSerialServer gone({});
    port = gone.Port();
  }
  NetworkPortOptions options;
  options.AnswerTimeoutMs = 300;
  NetworkSerialPort serial(options);
  const auto start = Clock::now();
  EXPECT_FALSE(serial.Open(Url(NetworkProtocol::Rfc2217, port)));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(10000));
  EXPECT_FALSE(serial.IsOpen());
  EXPECT_EQ(serial.TakeFault(), WithPort(c.Fault, port));
  if (server) {
    EXPECT_EQ(server->Accepted(), c.Connections);
  }
}

FakeServerScript Declining() {
  FakeServerScript script;
  script.DeclineComPort = true;
  return script;
}
FakeServerScript Silent() {
  FakeServerScript script;
  script.Silent = true;
  return script;
}
FakeServerScript HangingUp() {
  FakeServerScript script;
  script.HangUpAtOnce = true;
  return script;
}
FakeServerScript Refusing(ComPortCommand command, uint32_t value) {
  FakeServerScript script;
  script.Refuse = command;
  script.RefusedWith = value;
  return script;
}

const OpenFailure kOpenFailures[] = {
    {"refused", {}, false, "127.0.0.1:PORT refused the connection: no serial server listens on port PORT"},
    {"declines com port control",
     Declining(),
     true,
     "The serial server 127.0.0.1:PORT does not offer RFC 2217 COM-port control; for a server that passes bytes on "
     "as they are, use socket://127.0.0.1:PORT"},
    {"silent server",
     Silent(),
     true,
     "The serial server 127.0.0.1:PORT gave no answer within 0.3 s (is it set up for RFC 2217, "
     "\"telnet(rfc2217)\"?)"},
    {"hangs up at once",
     HangingUp(),
     true,
     "The serial server 127.0.0.1:PORT closed the connection without answering (its line is in use by another "
     "client, or its device is missing)",
     4},
    {"refuses the bit rate",
     Refusing(ComPortCommand::SetBaudRate, 9600),
     true,
     "The serial server 127.0.0.1:PORT refused a line setting: bit rate 19200 (the server set 9600)"},
    {"refuses the parity",
     Refusing(ComPortCommand::SetParity, 1),
     true,
     "The serial server 127.0.0.1:PORT refused a line setting: parity odd (the server set none)"},
};

INSTANTIATE_TEST_SUITE_P(Servers, NetworkPortOpenFailureTest, ::testing::ValuesIn(kOpenFailures), CaseName());

TEST(NetworkPort, AHostThatDoesNotAnswerEndsAfterTheConnectTime) {
  UnansweringListener listener;
  NetworkPortOptions options;
  options.ConnectTimeoutMs = 300;
  NetworkSerialPort port(options);
  const auto start = Clock::now();
  EXPECT_FALSE(port.Open(Url(NetworkProtocol::RawTcp, listener.Port())));
  const auto took = Clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(250));
  EXPECT_LT(took, std::chrono::milliseconds(10000));
  EXPECT_EQ(port.TakeFault(), "127.0.0.1:" + std::to_string(listener.Port()) +
                                  " did not answer within 0.3 s (host switched off or unreachable, or a firewall "
                                  "drops the connection)");
}

TEST(NetworkPort, AnUnknownHostIsNamed) {
  NetworkSerialPort port;
  EXPECT_FALSE(port.Open("rfc2217://no-such-host.invalid:3333"));
  EXPECT_TRUE(port.TakeFault().starts_with("The host no-such-host.invalid is unknown ("));
}

TEST(NetworkPort, AMalformedNameIsRefusedBeforeAnyConnection) {
  NetworkSerialPort port;
  EXPECT_FALSE(port.Open("rfc2217://layout-pi"));
  EXPECT_EQ(port.TakeFault(), "rfc2217://layout-pi: the port number is missing (HOST:PORT)");
  EXPECT_FALSE(port.SetLineSettings("19200,x,8,1"));
  EXPECT_EQ(port.LineSettings(), "19200,o,8,1");
}

}  // namespace
}  // namespace brixo::testing
