#pragma once
// The message exchange with the controller: framing, resynchronisation, the reply
// receivers for direct and tunnelled frames, and the legacy five-byte frame.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/cancellation_token.h"
#include "link/clock.h"
#include "link/comm_log.h"
#include "link/serial_port.h"
#include "link/user_prompt.h"

namespace brixo {

// " [0F]" style rendering of one logged byte.
std::string FormatLogByte(int value);

class BrixoLink {
 public:
  BrixoLink(Clock& clock, UserPrompt& prompt, CommLog& log);

  // The port the exchange talks through; not owned. Null means no port selected.
  void AttachPort(SerialPort* port);
  SerialPort* Port() const { return port_; }
  bool PortOpen() const;

  // Link state, as the window's controls and the exchange see it.
  uint8_t ModuleAddress = 0;    // 0..15 direct, 0..31 tunnelled
  uint8_t ExtendedAddress = 0;  // 0..95
  uint8_t ToggleState = 0;      // 0 or 64; 128 = resynchronise before the next direct frame
  int HostToggle = 0;           // 0 or 1
  std::array<uint8_t, 21> ReplyBuffer{};
  bool ReplyValid = false;
  bool CheckBrixoBD = true;     // "Bidirectional Comm."
  bool CheckQuendal = false;    // "Use Quendal Tunneling"
  bool CheckXaddress = false;   // "Use eXtended Addr"
  // Every link failure (not only a lost port) trips the cancellation token, so the running
  // operation ends at its next exchange instead of going on without replies.
  bool StopOnLinkFailure = false;

  // Sends one controller message (payload values 0..127, at most 15 of them).
  // Direct mode: true whenever the frame was sent; callers needing data also test ReplyValid.
  bool SendBrixoMessage(bool waitForReply, const std::vector<int>& payload);
  bool ReceiveBrixoReply();
  // One host-interface frame with data.size() data bytes (empty = poll frame).
  bool SendQuendalMessage(const std::vector<int>& data);
  std::string ReceiveQuendalReply();
  void SendResyncBurst();
  void SendTamloMessage(int a, int b1, int b2, int b3);

  // Reply fields shared by every transfer: L and R0, R1, ...
  int ReplyLength() const { return ReplyBuffer[1] & 15; }
  int R(int i) const { return (i >= 0 && i + 2 < int(ReplyBuffer.size())) ? ReplyBuffer[i + 2] : 0; }

  // Every data byte of the last valid host frame; ReplyBuffer holds only as many as fit.
  const std::vector<uint8_t>& LastHostData() const { return hostData_; }

  // Shows a fault that closed the port behind our back (once) and makes sure the port
  // stays closed; the running operation stops. True when there was one.
  bool ReportPortFault();
  // Told after a port fault was reported, so that whoever shows the port shows it closed.
  std::function<void()> onPortLost;

  // Asked before every exchange; while it stops an operation nothing is sent and nothing
  // is shown.
  CancellationToken& Cancellation() { return cancellation_; }
  const CancellationToken& Cancellation() const { return cancellation_; }

  Clock& GetClock() { return clock_; }
  UserPrompt& Prompt() { return prompt_; }
  CommLog& Log() { return log_; }

 private:
  Clock& clock_;
  UserPrompt& prompt_;
  CommLog& log_;
  SerialPort* port_ = nullptr;
  std::vector<uint8_t> hostData_;
  CancellationToken cancellation_;

  bool SendDirect(const std::vector<int>& payload);
  bool SendTunnelled(bool waitForReply, const std::vector<int>& payload);
  bool ValidateDirectReply(uint8_t addressSent);
  bool TakeTunnelledReply(bool& failed);
  void ShowPortClosed();
  // Shows an exchange failure and, when StopOnLinkFailure is set, stops the operation.
  void LinkFailed(const std::string& text, MessageIcon icon = MessageIcon::None);
  // The operation was stopped for a reason of its own, not by this exchange's failure.
  bool StoppedFromOutside() const;
  void WriteFrame(const std::vector<uint8_t>& frame);
  int NextByte(double windowStart);
};

}  // namespace brixo
