#pragma once
// A TCP connection to a serial server: connecting within a time limit, with each way it
// can fail told apart, and the round trip the operating system measures on it.
#include <string>

namespace brixo {

enum class ConnectProblem {
  None,
  HostUnknown,  // the name resolves to no address
  Refused,      // the host answered, but nothing listens on the port
  NoAnswer,     // nothing answered within the time limit
  Failed,       // anything else (no route, no network)
};

struct TcpConnectResult {
  int Handle = -1;  // connected, non-blocking, TCP_NODELAY; -1 on failure
  ConnectProblem Problem = ConnectProblem::None;
  std::string Detail;        // the system's own words for Failed and HostUnknown
  double HandshakeSeconds = 0;  // how long the connection took to be made: one round trip
};

// Tries every address the host name resolves to, in turn, until one connects or the time
// limit has passed. The name lookup itself is left to the system's resolver.
TcpConnectResult ConnectTcp(const std::string& host, int port, int timeoutMs);

// The smoothed round trip the system measured on the connection plus four times its
// variation (its own retransmission allowance), in seconds; 0 when it cannot tell.
double TcpRoundTripSeconds(int handle);

}  // namespace brixo
