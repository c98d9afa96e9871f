#pragma once
// A serial server in a thread of the test, on a free port of 127.0.0.1, serving one client
// at a time, for what the real one will not do on request: decline COM-port control, refuse a setting, keep silent,
// send stale bytes before a purge. It echoes every data byte back, so that what crosses the
// connection both ways can be checked byte by byte.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "link/com_port_control.h"
#include "link/telnet_codec.h"

namespace brixo::testing {

struct FakeServerScript {
  bool Telnet = true;          // RFC 2217; false: raw TCP
  bool DeclineComPort = false;  // answers WILL COM-PORT-OPTION with DONT
  bool Silent = false;          // accepts, then never answers
  bool HangUpAtOnce = false;    // accepts, then closes the connection (its line is in use)
  // Answers this setting with another value than asked.
  std::optional<ComPortCommand> Refuse;
  uint32_t RefusedWith = 0;
  // Sent before the acknowledgement of the first purge: what a line left behind.
  std::vector<uint8_t> StaleBytes;
};

class FakeSerialServer {
 public:
  explicit FakeSerialServer(FakeServerScript script) : script_(std::move(script)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    ::listen(listener_, 4);
    thread_ = std::thread([this] { Serve(); });
  }
  ~FakeSerialServer() {
    stop_ = true;
    thread_.join();
    Hangup();
    ::close(listener_);
  }
  FakeSerialServer(const FakeSerialServer&) = delete;
  FakeSerialServer& operator=(const FakeSerialServer&) = delete;

  int Port() const { return port_; }
  // Connections taken so far.
  int Accepted() const { return accepted_; }
  // Closes the connection and takes no more, as a server that was killed does.
  void Hangup() {
    std::lock_guard lock(mutex_);
    // Unread bytes would turn the close into a reset, and the client would see another fault.
    if (client_ >= 0) {
      uint8_t sink[512];
      while (::recv(client_, sink, sizeof sink, MSG_DONTWAIT) > 0) {
      }
      ::close(client_);
    }
    client_ = -1;
    hungUp_ = true;
  }

  struct Seen {
    std::vector<uint8_t> Data;                 // data bytes, unescaped
    std::vector<telnet::Command> Commands;     // the client's telnet commands, in order
    std::vector<std::vector<uint8_t>> Requests;  // COM-port requests (command byte and value)
  };
  Seen Received() {
    std::lock_guard lock(mutex_);
    return seen_;
  }

 private:
  void Send(const std::vector<uint8_t>& bytes) {
    if (client_ >= 0) ::send(client_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  }

  void Greet() {
    if (!script_.Telnet || script_.Silent) return;
    // What ser2net says first.
    std::vector<uint8_t> out;
    using namespace telnet;
    for (auto [verb, option] : {std::pair{kWill, kSuppressGoAhead}, {kDo, kSuppressGoAhead}, {kWill, kEcho},
                                {kDont, kEcho}, {kDo, kBinary}, {kWill, kBinary}})
      AppendNegotiation(verb, option, out);
    if (!script_.DeclineComPort) AppendNegotiation(kDo, kComPort, out);
    Send(out);
  }

  void Answer(const telnet::Command& command) {
    using namespace telnet;
    std::vector<uint8_t> out;
    if (command.Type == Command::Kind::Negotiation && command.Verb == kWill && command.Option == kComPort &&
        script_.DeclineComPort)
      AppendNegotiation(kDont, kComPort, out);
    if (command.Type == Command::Kind::SubNegotiation && command.Option == kComPort && !command.Payload.empty()) {
      seen_.Requests.push_back(command.Payload);
      std::vector<uint8_t> answer = command.Payload;
      const auto asked = static_cast<ComPortCommand>(answer[0]);
      if (asked == ComPortCommand::PurgeData && !script_.StaleBytes.empty()) {
        AppendEscaped(script_.StaleBytes, out);
        script_.StaleBytes.clear();
      }
      if (script_.Refuse && asked == *script_.Refuse) {
        const uint32_t v = script_.RefusedWith;
        answer.resize(1);
        if (asked == ComPortCommand::SetBaudRate) answer.insert(answer.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
        else answer.push_back(uint8_t(v));
      }
      answer[0] = static_cast<uint8_t>(answer[0] + kComPortServerOffset);
      AppendSubNegotiation(kComPort, answer, out);
    }
    Send(out);
  }

  void Serve() {
    telnet::Reader reader;
    while (!stop_) {
      int client = -1;
      {
        std::lock_guard lock(mutex_);
        client = client_;
      }
      const int watched = client >= 0 ? client : (hungUp_ ? -1 : listener_);
      pollfd state{watched, POLLIN, 0};
      if (::poll(&state, 1, 10) <= 0) continue;
      std::lock_guard lock(mutex_);
      if (client_ < 0 && !hungUp_) {
        client_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        ++accepted_;
        if (script_.HangUpAtOnce) {
          ::close(client_);
          client_ = -1;
          continue;
        }
        Greet();
        continue;
      }
      if (client_ < 0) continue;
      uint8_t buffer[4096];
      const ssize_t got = ::recv(client_, buffer, sizeof buffer, MSG_DONTWAIT);
      if (got <= 0) {
        // The client left: the next one may come.
        if (got == 0) {
          ::close(client_);
          client_ = -1;
          reader = telnet::Reader();
        }
        continue;
      }
      if (script_.Silent) continue;
      std::vector<uint8_t> data;
      std::vector<telnet::Command> commands;
      if (script_.Telnet) {
        reader.Feed(std::span<const uint8_t>(buffer, static_cast<size_t>(got)), data, commands);
      } else {
        data.assign(buffer, buffer + got);
      }
      for (const telnet::Command& command : commands) {
        seen_.Commands.push_back(command);
        Answer(command);
      }
      seen_.Data.insert(seen_.Data.end(), data.begin(), data.end());
      std::vector<uint8_t> echo;
      if (script_.Telnet) telnet::AppendEscaped(data, echo);
      else echo = data;
      Send(echo);
    }
  }

  FakeServerScript script_;
  int listener_ = -1;
  int port_ = 0;
  int client_ = -1;
  bool hungUp_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<int> accepted_{0};
  std::mutex mutex_;
  Seen seen_;
  std::thread thread_;
};

}  // namespace brixo::testing
