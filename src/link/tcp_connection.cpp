#include "link/tcp_connection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace brixo {

namespace {

using Steady = std::chrono::steady_clock;

struct AddressList {
  addrinfo* First = nullptr;
  ~AddressList() {
    if (First != nullptr) ::freeaddrinfo(First);
  }
};

// One address: connected (the handle), refused, no answer in time, or another failure.
struct Attempt {
  int Handle = -1;
  int Error = 0;
};

Attempt ConnectOne(const addrinfo& address, Steady::time_point deadline) {
  Attempt attempt;
  const int handle = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                              address.ai_protocol);
  if (handle < 0) {
    attempt.Error = errno;
    return attempt;
  }
  if (::connect(handle, address.ai_addr, address.ai_addrlen) != 0 && errno != EINPROGRESS) {
    attempt.Error = errno;
    ::close(handle);
    return attempt;
  }
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now()).count();
    pollfd state{handle, POLLOUT, 0};
    const int ready = ::poll(&state, 1, static_cast<int>(std::max<long long>(0, left)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      attempt.Error = ETIMEDOUT;
      ::close(handle);
      return attempt;
    }
    break;
  }
  int error = 0;
  socklen_t size = sizeof error;
  if (::getsockopt(handle, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
  if (error != 0) {
    attempt.Error = error;
    ::close(handle);
    return attempt;
  }
  // Requests are a few bytes each, and each waits for its reply: none may wait for more.
  const int on = 1;
  ::setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  attempt.Handle = handle;
  return attempt;
}

}  // namespace

TcpConnectResult ConnectTcp(const std::string& host, int port, int timeoutMs) {
  TcpConnectResult result;
  const Steady::time_point start = Steady::now();
  const Steady::time_point deadline = start + std::chrono::milliseconds(std::max(0, timeoutMs));
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  AddressList list;
  const int lookup = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list.First);
  if (lookup != 0 || list.First == nullptr) {
    result.Problem = ConnectProblem::HostUnknown;
    result.Detail = lookup == EAI_SYSTEM ? std::strerror(errno) : ::gai_strerror(lookup);
    return result;
  }
  bool refused = false;
  bool silent = false;
  int otherError = 0;
  for (const addrinfo* address = list.First; address != nullptr; address = address->ai_next) {
    const Steady::time_point tried = Steady::now();
    const Attempt attempt = ConnectOne(*address, deadline);
    if (attempt.Handle >= 0) {
      result.Handle = attempt.Handle;
      result.HandshakeSeconds = std::chrono::duration<double>(Steady::now() - tried).count();
      return result;
    }
    if (attempt.Error == ECONNREFUSED) {
      refused = true;
    } else if (attempt.Error == ETIMEDOUT || attempt.Error == EHOSTUNREACH) {
      // A host that is switched off is as silent as one whose packets are dropped.
      silent = true;
    } else {
      otherError = attempt.Error;
    }
    if (Steady::now() >= deadline) break;
  }
  if (silent) {
    result.Problem = ConnectProblem::NoAnswer;
  } else if (refused) {
    result.Problem = ConnectProblem::Refused;
  } else {
    result.Problem = ConnectProblem::Failed;
    result.Detail = std::strerror(otherError != 0 ? otherError : ETIMEDOUT);
  }
  return result;
}

double TcpRoundTripSeconds(int handle) {
  tcp_info info{};
  socklen_t size = sizeof info;
  if (::getsockopt(handle, IPPROTO_TCP, TCP_INFO, &info, &size) != 0) return 0;
  return (static_cast<double>(info.tcpi_rtt) + 4.0 * info.tcpi_rttvar) / 1e6;
}

}  // namespace brixo
