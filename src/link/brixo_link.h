#pragma once
// The message exchange with the controller: framing, resynchronisation, the reply
// receivers for direct and tunnelled frames, and the legacy five-byte frame.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "link/cancellation_token.h"
#include "link/clock.h"
#include "link/comm_log.h"
#include "link/serial_port.h"
#include "link/user_prompt.h"

namespace brixo {

// " [0F]" style rendering of one logged byte.
std::string FormatLogByte(int value);

// How long a reply (or the host's answer) may take, counted from when we start waiting.
inline constexpr double kReplyWindowSeconds = 2.0;

// A valid reply frame that came from another controller than the one just addressed: a
// late answer to an earlier message.
struct OtherReply {
  int Module = 0;
  std::optional<int> Extended;
  std::vector<int> Payload;
};

// How one exchange waits for the controller's reply. The defaults are every ordinary
// exchange's.
struct ReplyWait {
  // Counted from when the wait starts; while tunnelling, the time spent polling the host.
  double Seconds = kReplyWindowSeconds;
  // Silence and unusable replies are the caller's to judge (LastOutcome, LastProblem), not
  // messages for the user, and "Bidirectional Comm." stays as it is; nor do they trip
  // StopOnLinkFailure. A closed port and a silent host are still shown and are still link
  // failures.
  bool Quiet = false;
  // Set: replies of other controllers go here and the wait goes on. Unset: such a reply
  // ends the wait as an invalid response.
  std::function<void(const OtherReply&)> OnOtherReply;
};

// How the last exchange ended.
enum class ExchangeOutcome {
  NotSent,    // refused before anything was written
  Sent,       // written; no reply was awaited
  Answered,   // the awaited reply came and passed every check
  NoReply,    // nothing came within the window
  Garbled,    // bytes came, but no frame with a right check byte (replies that collided)
  Refused,    // a reply came but failed a check (address, extended address)
  LinkFailed  // the port failed or the host did not answer
};

// What asked for a reply, as far as its size goes. Exact: the kind of frame, its command
// bytes and its length. Family: the same without the last command byte, which is often a
// pin number rather than a sub-command, so that the first request for a pin goes by what
// the other pins answered. 0: nothing to learn from.
struct ReplySizeKey {
  uint32_t Exact = 0;
  uint32_t Family = 0;
};

// Who did not answer, for the words that tell the user what to try.
enum class SilentParty { Controller, Interface };

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
  // Tunnelled: true only when the controller's reply came, whatever waitForReply says (it
  // tells what the caller wants from the reply, not whether the reply is collected): a
  // write whose reply does not come fails as a read does.
  bool SendBrixoMessage(bool waitForReply, const std::vector<int>& payload, const ReplyWait& wait = {});
  bool ReceiveBrixoReply();
  // Sends nothing to a controller; hands every reply that arrives within the wait's window
  // to its OnOtherReply (while tunnelling, the host is polled for them). LastOutcome is
  // LinkFailed when the port or the host failed meanwhile.
  void ListenForReplies(const ReplyWait& wait);
  ExchangeOutcome LastOutcome() const { return outcome_; }
  // The message a quiet exchange kept back; empty when there was none.
  const std::string& LastProblem() const { return problem_; }
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
  // What the user may try when nobody answers ("No answer from module 6 at 19200 bit/s —
  // check ..."), from the owner, who knows how the user numbers modules and finds them. It
  // follows the first message of an operation that an answer did not come, as its second
  // line, unless the controller answered earlier in that operation; empty adds nothing.
  std::function<std::string(SilentParty)> noAnswerAdvice;
  // Told before each controller exchange of a running operation, between two exchanges,
  // so that whoever shows the operation can take a "Stop" meanwhile: the exchange about to
  // start then does not.
  std::function<void()> onBetweenExchanges;

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
  const ReplyWait* wait_;  // the running exchange's, or the ordinary one
  ExchangeOutcome outcome_ = ExchangeOutcome::NotSent;
  // Bytes the direct receiver took during the running exchange that belonged to no frame
  // with a right check byte.
  int unframedBytes_ = 0;
  std::string problem_;
  // The operation that was last told what to try; an exchange outside any operation is
  // told each time.
  std::optional<unsigned> advisedOperation_;
  // The operation in which the controller last answered.
  std::optional<unsigned> heardOperation_;

  bool SendDirect(const std::vector<int>& payload);
  bool SendTunnelled(const std::vector<int>& payload);
  // Where the direct receiver stands within a frame.
  struct DirectFrameState {
    int Position = 0;  // 0: waiting for an address byte, 1: header next, 2..: payload
    int Remaining = 0;
    int Sum = 0;
  };
  bool ReceiveDirectFrame(double windowStart, double windowSeconds);
  // How many bytes to wait for at once at this point of a direct frame.
  int DirectBytesWanted(const DirectFrameState& state) const;
  // Bytes of the reply frame the running request got last time; 0 when unknown.
  int ExpectedReplyBytes() const;
  void NoteReplyBytes(int bytes);
  // One received byte; true when it completed a frame with a right check byte.
  bool PushDirectByte(DirectFrameState& state, int c);
  void ClearStaleInput();
  // Receives direct frames until one of the addressed controller arrives; frames of others
  // go to the wait's OnOtherReply when it has one.
  bool ReceiveOwnDirectReply(uint8_t addressSent);
  // Nothing addressed: every reply is another controller's.
  bool PassOnDirectFrameOfOther(std::optional<uint8_t> addressSent);
  bool PassOnHostDataOfOther();
  void LogDirectReply();
  bool ValidateDirectReply(uint8_t addressSent);
  bool TakeTunnelledReply(bool& failed);
  // An unusable reply (or none): a link failure, or the caller's to judge when the wait is
  // quiet.
  void ReplyProblem(const std::string& text);
  void ShowPortClosed();
  double PollRoundTrips() const;
  // Shows an exchange failure and, when StopOnLinkFailure is set, stops the operation.
  void LinkFailed(const std::string& text, MessageIcon icon = MessageIcon::None);
  // The text of a message that nobody answered, with what to try on its second line when
  // this operation has neither been told yet nor heard the controller.
  std::string WithAdvice(const std::string& text, SilentParty party);
  // The controller answered: the operation under way has found it.
  void NoteHeard();
  // The operation was stopped for a reason of its own, not by this exchange's failure.
  bool StoppedFromOutside() const;
  void WriteFrame(const std::vector<uint8_t>& frame);
  // The next received byte within the window, -1 when none came. wanted: bytes the frame
  // needs at least, so that the port can wait for all of them at once.
  int NextByte(double windowStart, double windowSeconds, int wanted = 1);

  // Sizes of the replies seen, by what asked for them, so that a reply is awaited whole
  // instead of byte by byte. The smallest size seen counts: waiting for bytes that never
  // come would cost their wire time.
  std::unordered_map<uint32_t, int> replySizes_;
  ReplySizeKey replyKey_;  // the request whose reply is awaited
  ReplySizeKey pollKey_;   // while a tunnelled reply is polled for: its request
};

}  // namespace brixo
