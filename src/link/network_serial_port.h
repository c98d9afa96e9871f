#pragma once
// A serial line behind a serial server on the network ("socket://HOST:PORT" raw TCP,
// "rfc2217://HOST:PORT" telnet with COM-port control), as a port like any local one, so
// that every command works over it unchanged. Plain POSIX sockets: the waits happen in
// the operating system (poll), as a local port's do.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/com_port_control.h"
#include "link/network_address.h"
#include "link/serial_port.h"
#include "link/telnet_codec.h"

namespace brixo {

struct NetworkPortOptions {
  // How long a host may take to accept the connection.
  int ConnectTimeoutMs = 5000;
  // How long an RFC 2217 server may take to agree and to acknowledge settings.
  int AnswerTimeoutMs = 3000;
};

class NetworkSerialPort final : public SerialPort {
 public:
  explicit NetworkSerialPort(NetworkPortOptions options = {}) : options_(options) {}
  ~NetworkSerialPort() override;
  NetworkSerialPort(const NetworkSerialPort&) = delete;
  NetworkSerialPort& operator=(const NetworkSerialPort&) = delete;

  // Over RFC 2217 a change on an open port goes to the server at once and is awaited; a
  // setting it refuses closes the port with the reason as its fault.
  bool SetLineSettings(const std::string& settings) override;
  std::string LineSettings() const override { return settings_; }
  bool Open(const std::string& device) override;
  void Close() override;
  bool IsOpen() const override { return handle_ >= 0; }
  bool Write(std::span<const uint8_t> bytes) override;
  int BytesWaiting() override;
  int ReadByte() override;
  bool WaitForBytes(int timeoutMs) override { return WaitForCount(1, timeoutMs); }
  bool WaitForCount(int count, int timeoutMs) override;
  std::vector<std::string> TakeNotes() override;
  // Takes what came meanwhile, as the next exchange would, and so sees a closed connection.
  void CheckStillThere() override { Receive(); }
  std::string TakeFault() override;
  double RoundTripSeconds() const override { return roundTrip_; }

 private:
  using Steady = std::chrono::steady_clock;
  // Connects to the address; false with the fault set.
  bool Connect();
  bool Negotiate();
  // Sends the requests for the current settings and waits for every answer; false (with
  // the fault set and the port closed) when the server declined, refused or kept silent.
  bool ApplySettings(Steady::time_point asked);
  bool AwaitAnswers(Steady::time_point until);
  bool Send(const std::vector<uint8_t>& bytes);
  // Takes what the connection holds without waiting; false once it has ended.
  bool Receive();
  void AcknowledgeAtOnce();
  void TakeCommands(std::vector<uint8_t>& fresh, const std::vector<telnet::Command>& commands);
  void Lost(const std::string& why);
  void Fail(const std::string& fault);
  void NoteRoundTrip();
  int Waiting() const { return static_cast<int>(inbox_.size() - inboxHead_); }
  Steady::duration WireTime(int bytes) const;

  NetworkPortOptions options_;
  std::string settings_ = "19200,o,8,1";
  double byteSeconds_ = 11.0 / 19200;
  std::optional<NetworkAddress> address_;
  std::string name_;  // "layout-pi:3333 (RFC 2217)"
  int handle_ = -1;
  telnet::Reader reader_;
  ComPortControl control_;
  std::vector<uint8_t> inbox_;  // received data, handed out from inboxHead_ on
  size_t inboxHead_ = 0;
  double roundTripFloor_ = 0;  // the round trips measured by the connection's own exchanges
  double roundTrip_ = 0;
  Steady::time_point lineFreeAt_{};  // when what was written last has crossed the line
  int receivedSinceWrite_ = 0;
  bool opening_ = false;  // negotiating, before the port is handed out
  bool hungUpWhileOpening_ = false;
  std::string fault_;
  std::vector<std::string> notes_;
};

}  // namespace brixo
