#include "link/network_serial_port.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "link/line_timing.h"
#include "link/tcp_connection.h"

namespace brixo {

namespace {

// How long past the moment a reply could be complete (its wire time and a round trip)
// all of it is still awaited before any byte will do: the reply may be shorter than the
// one expected.
constexpr std::chrono::milliseconds kPatienceGrace{1};

// How often, and how far apart, a server that hangs up while the connection is being
// set up is tried again.
constexpr int kOpenAttempts = 4;
constexpr std::chrono::milliseconds kOpenRetryPause{150};

std::string Seconds(int ms) {
  const int tenths = (ms + 50) / 100;
  return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "") + " s";
}

std::string HostAndPort(const NetworkAddress& address) {
  const std::string name = NetworkPortName(address);
  return name.substr(0, name.find(" ("));
}

std::string ConnectFault(const NetworkAddress& address, const TcpConnectResult& result, int timeoutMs) {
  const std::string where = HostAndPort(address);
  switch (result.Problem) {
    case ConnectProblem::HostUnknown:
      return "The host " + address.Host + " is unknown (" + result.Detail + ")";
    case ConnectProblem::Refused:
      return where + " refused the connection: no serial server listens on port " + std::to_string(address.Port);
    case ConnectProblem::NoAnswer:
      return where + " did not answer within " + Seconds(timeoutMs) +
             " (host switched off or unreachable, or a firewall drops the connection)";
    case ConnectProblem::Failed:
    case ConnectProblem::None:
      break;
  }
  return "Cannot connect to " + where + ": " + result.Detail;
}

short PollHandle(int handle, short events, int timeoutMs) {
  pollfd state{handle, events, 0};
  const int ready = ::poll(&state, 1, std::max(0, timeoutMs));
  if (ready < 0) return errno == EINTR ? 0 : POLLERR;
  return ready == 0 ? 0 : state.revents;
}

int MsUntil(std::chrono::steady_clock::time_point until) {
  const auto left = until - std::chrono::steady_clock::now();
  // Rounded up: a wait that ends a little early only costs another round of the loop.
  return static_cast<int>(std::max<long long>(
      0, std::chrono::duration_cast<std::chrono::microseconds>(left).count() / 1000 + 1));
}

}  // namespace

NetworkSerialPort::~NetworkSerialPort() { Close(); }

bool NetworkSerialPort::SetLineSettings(const std::string& settings) {
  if (!ComPortSettingsFor(settings)) return false;
  settings_ = settings;
  byteSeconds_ = ByteSeconds(settings);
  if (!IsOpen() || address_->Protocol != NetworkProtocol::Rfc2217) return true;
  return ApplySettings(Steady::now());
}

bool NetworkSerialPort::Open(const std::string& device) {
  Close();
  fault_.clear();
  notes_.clear();
  std::string error;
  address_ = ParseNetworkAddress(device, &error);
  if (!address_) {
    fault_ = error;
    return false;
  }
  name_ = NetworkPortName(*address_);
  if (address_->Protocol == NetworkProtocol::RawTcp) {
    if (!Connect()) return false;
    notes_.push_back(name_ + ": the serial server sets the line itself; it must be set to " + settings_);
    return true;
  }
  // ser2net lets go of its device a moment after a client has gone, and hangs up on the
  // next one meanwhile: one run of brixo-cli right after another meets that.
  for (int attempt = 1;; ++attempt) {
    if (!Connect()) return false;
    opening_ = true;
    hungUpWhileOpening_ = false;
    const bool negotiated = Negotiate();
    opening_ = false;
    if (negotiated || !hungUpWhileOpening_ || attempt == kOpenAttempts) return negotiated;
    fault_.clear();
    std::this_thread::sleep_for(kOpenRetryPause);
  }
}

bool NetworkSerialPort::Connect() {
  const TcpConnectResult connection = ConnectTcp(address_->Host, address_->Port, options_.ConnectTimeoutMs);
  if (connection.Handle < 0) {
    fault_ = ConnectFault(*address_, connection, options_.ConnectTimeoutMs);
    return false;
  }
  handle_ = connection.Handle;
  roundTripFloor_ = connection.HandshakeSeconds;
  roundTrip_ = roundTripFloor_;
  reader_ = telnet::Reader();
  control_ = ComPortControl();
  inbox_.clear();
  inboxHead_ = 0;
  receivedSinceWrite_ = 0;
  lineFreeAt_ = Steady::now();
  return true;
}

bool NetworkSerialPort::Negotiate() {
  const Steady::time_point asked = Steady::now();
  if (!Send(control_.Offer())) return false;
  return ApplySettings(asked);
}

bool NetworkSerialPort::ApplySettings(Steady::time_point asked) {
  if (!Send(control_.Request(*ComPortSettingsFor(settings_)))) return false;
  const bool answered = AwaitAnswers(asked + std::chrono::milliseconds(options_.AnswerTimeoutMs));
  if (!IsOpen()) return false;  // the connection ended meanwhile, and said so
  if (control_.Declined()) {
    Fail("The serial server " + HostAndPort(*address_) +
         " does not offer RFC 2217 COM-port control; for a server that passes bytes on as they are, use socket://" +
         HostAndPort(*address_));
    return false;
  }
  if (!control_.Refusal().empty()) {
    Fail("The serial server " + HostAndPort(*address_) + " refused a line setting: " + control_.Refusal());
    return false;
  }
  if (!answered) {
    Fail("The serial server " + HostAndPort(*address_) + " gave no answer within " +
         Seconds(options_.AnswerTimeoutMs) + " (is it set up for RFC 2217, \"telnet(rfc2217)\"?)");
    return false;
  }
  // Asking and being answered is a round trip through the server, its own work included.
  roundTripFloor_ = std::max(roundTripFloor_, std::chrono::duration<double>(Steady::now() - asked).count());
  NoteRoundTrip();
  return true;
}

bool NetworkSerialPort::AwaitAnswers(Steady::time_point until) {
  for (;;) {
    if (!Receive()) return false;
    if (control_.Declined() || !control_.Refusal().empty()) return true;
    if (control_.Agreed() && control_.Settled()) return true;
    if (Steady::now() >= until) return false;
    PollHandle(handle_, POLLIN, MsUntil(until));
  }
}

void NetworkSerialPort::Close() {
  if (handle_ >= 0) ::close(handle_);
  handle_ = -1;
}

void NetworkSerialPort::Fail(const std::string& fault) {
  if (fault_.empty()) fault_ = fault;
  Close();
}

void NetworkSerialPort::Lost(const std::string& why) {
  // ser2net hangs up at once on a client while another one has the line.
  if (opening_) {
    hungUpWhileOpening_ = true;
    Fail("The serial server " + HostAndPort(*address_) +
         " closed the connection without answering (its line is in use by another client, or its device is "
         "missing)");
    return;
  }
  Fail("Communications port " + name_ + " went away (" + why + ")");
}

bool NetworkSerialPort::Send(const std::vector<uint8_t>& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    if (!IsOpen()) return false;
    const ssize_t sent = ::send(handle_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (sent > 0) {
      done += static_cast<size_t>(sent);
    } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // A server that takes nothing for a second is stuck, or its line is.
      if ((PollHandle(handle_, POLLOUT, 1000) & POLLOUT) == 0) {
        Lost("the serial server takes no more data");
        return false;
      }
    } else if (sent < 0 && errno != EINTR) {
      Lost("connection to the serial server lost: " + std::string(std::strerror(errno)));
      return false;
    }
  }
  return true;
}

bool NetworkSerialPort::Write(std::span<const uint8_t> bytes) {
  if (!IsOpen()) return false;
  std::vector<uint8_t> out;
  if (address_->Protocol == NetworkProtocol::Rfc2217) {
    telnet::AppendEscaped(bytes, out);
  } else {
    out.assign(bytes.begin(), bytes.end());
  }
  if (!Send(out)) return false;
  // No answer can be complete before the request has crossed the line.
  lineFreeAt_ = Steady::now() + WireTime(static_cast<int>(bytes.size()));
  receivedSinceWrite_ = 0;
  NoteRoundTrip();
  return true;
}

void NetworkSerialPort::NoteRoundTrip() {
  if (IsOpen()) roundTrip_ = std::max(roundTripFloor_, TcpRoundTripSeconds(handle_));
}

bool NetworkSerialPort::Receive() {
  if (!IsOpen()) return false;
  uint8_t buffer[4096];
  for (;;) {
    const ssize_t got = ::recv(handle_, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got > 0) {
      AcknowledgeAtOnce();
      const std::span<const uint8_t> bytes(buffer, static_cast<size_t>(got));
      if (address_->Protocol == NetworkProtocol::Rfc2217) {
        std::vector<uint8_t> fresh;
        std::vector<telnet::Command> commands;
        reader_.Feed(bytes, fresh, commands);
        TakeCommands(fresh, commands);
        if (!IsOpen()) return false;
      } else {
        inbox_.insert(inbox_.end(), bytes.begin(), bytes.end());
        receivedSinceWrite_ += static_cast<int>(got);
      }
      if (static_cast<size_t>(got) < sizeof buffer) return true;
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    Lost(got == 0 ? "the serial server closed the connection"
                  : "connection to the serial server lost: " + std::string(std::strerror(errno)));
    return false;
  }
}

void NetworkSerialPort::TakeCommands(std::vector<uint8_t>& fresh, const std::vector<telnet::Command>& commands) {
  size_t keepFrom = 0;
  std::vector<uint8_t> reply;
  for (const telnet::Command& command : commands) {
    control_.Take(command, reply);
    // What the line brought before the purge belongs to the old settings.
    if (control_.TakePurged()) {
      inbox_.erase(inbox_.begin() + static_cast<long>(inboxHead_), inbox_.end());
      keepFrom = command.At;
    }
  }
  if (!reply.empty()) Send(reply);
  inbox_.insert(inbox_.end(), fresh.begin() + static_cast<long>(keepFrom), fresh.end());
  receivedSinceWrite_ += static_cast<int>(fresh.size() - keepFrom);
}

// A server that sends with Nagle's algorithm on (ser2net unless told "nodelay") holds
// each further byte of a reply until the one before is acknowledged, and the system's
// delayed acknowledgement would make that 40 ms a byte. The system forgets this after a
// while, so it is asked again whenever data came.
void NetworkSerialPort::AcknowledgeAtOnce() {
  const int on = 1;
  ::setsockopt(handle_, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
}

int NetworkSerialPort::BytesWaiting() {
  if (inboxHead_ == inbox_.size()) Receive();
  return Waiting();
}

int NetworkSerialPort::ReadByte() {
  if (inboxHead_ == inbox_.size()) {
    inbox_.clear();
    inboxHead_ = 0;
    Receive();
  }
  if (inboxHead_ == inbox_.size()) return -1;
  return inbox_[inboxHead_++];
}

NetworkSerialPort::Steady::duration NetworkSerialPort::WireTime(int bytes) const {
  return std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(bytes * byteSeconds_));
}

// Waits for the whole of what is missing until it could have come (its wire time after the
// request, and the round trip to the server); past that, any byte will do, as the caller
// then knows more and asks again.
bool NetworkSerialPort::WaitForCount(int count, int timeoutMs) {
  const Steady::time_point start = Steady::now();
  const Steady::time_point end = start + std::chrono::milliseconds(std::max(0, timeoutMs));
  count = std::max(1, count);
  if (!IsOpen()) return false;
  if (!Receive()) return Waiting() > 0;
  int have = Waiting();
  if (have >= count) return true;
  const auto roundTrip = std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(roundTrip_));
  const Steady::time_point complete =
      std::max(lineFreeAt_ + WireTime(receivedSinceWrite_ + count - have), start + WireTime(count - have)) + roundTrip;
  Steady::time_point patience = complete + kPatienceGrace;
  int wanted = count;
  for (;;) {
    const short events = PollHandle(handle_, POLLIN, MsUntil(std::min(patience, end)));
    if (!Receive()) return Waiting() > 0;
    have = Waiting();
    if (have >= wanted) return true;
    if ((events & (POLLERR | POLLNVAL)) != 0) {
      Lost("connection to the serial server failed");
      return have > 0;
    }
    const Steady::time_point now = Steady::now();
    if (now >= end) return have > 0;
    if (now >= patience) {
      if (have > 0) return true;
      wanted = 1;  // nothing yet: the first byte, whenever it comes
      patience = end;
    }
  }
}

std::vector<std::string> NetworkSerialPort::TakeNotes() {
  std::vector<std::string> notes;
  notes.swap(notes_);
  return notes;
}

std::string NetworkSerialPort::TakeFault() {
  std::string fault;
  fault.swap(fault_);
  return fault;
}

}  // namespace brixo
